// Objects and ownership.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// An event: the handler gets the object that raised it and the event's own arguments. Copies
// share one handler, so a hundred thousand labels wired to one method hold it once; two
// events are equal when they are copies of one.
template <class... Args>
class TEvent {
public:
    TEvent() = default;
    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, TEvent> && std::is_invocable_v<F&, TObject*, Args...>) TEvent(F handler)
        : handler_(std::make_shared<const std::function<void(TObject*, Args...)>>(std::move(handler)))
    {
    }

    explicit operator bool() const { return handler_ != nullptr; }
    void operator()(TObject* sender, Args... args) const { (*handler_)(sender, std::forward<Args>(args)...); }
    bool operator==(const TEvent& other) const { return handler_ == other.handler_; }

private:
    std::shared_ptr<const std::function<void(TObject*, Args...)>> handler_;
};

// A click or similar event, with nothing to say but who raised it.
using TNotifyEvent = TEvent<>;

// A component belongs to its owner, which destroys it. Destroying a component also takes
// it out of its owner's list, so either may go first and nothing is freed twice.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }

    // The component name. Any text is accepted, empty and duplicate names included:
    // nothing looks components up by it once a form is built.
    const std::string& Name() const;
    void SetName(std::string_view name);

    std::size_t ComponentCount() const { return extras_ ? extras_->components.size() : 0; }
    TComponent* Component(std::size_t index) const;
    // Makes room for that many more owned components, for an owner that knows they come.
    void ReserveComponents(std::size_t count);

    // Destroys every owned component, the newest first.
    void DestroyComponents();

protected:
    // A text of the component's own that its name shares when the two are equal, so that
    // a label named after its caption keeps it once; none by default.
    virtual const std::string* NameSharedText() const { return nullptr; }
    // To be called before that text changes: the name keeps its value.
    void UnshareName();

    // Event handlers of the components this one owns, each kept once; a component refers
    // to its owner's by number, or to its own when it has no owner.
    std::uint16_t HandlerNumber(const TNotifyEvent& handler);
    TNotifyEvent Handler(std::uint16_t number) const;

    // An object of a subclass's own that few components need (a control's input handlers),
    // kept with the other rarely used parts rather than in every component; none by default.
    TObject* Attachment() const { return extras_ ? extras_->attachment.get() : nullptr; }
    TObject& Attach(std::unique_ptr<TObject> attachment);

private:
    // What most components never need: owned components, a name that is not a shared
    // text, handlers; a label among thousands has none of it.
    struct TExtras {
        std::vector<TComponent*> components;
        std::string name;
        std::vector<TNotifyEvent> handlers;
        std::unique_ptr<TObject> attachment;
    };
    TExtras& Extras();
    void Remove(TComponent* component);

    TComponent* owner_;
    std::unique_ptr<TExtras> extras_;

protected:
    // Kept here, beside the base's own flag, so that subclasses' small settings fill the
    // same word instead of growing every control.
    bool nameShared_ = false;
    std::uint8_t settings_ = 0;
};
