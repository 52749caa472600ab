// Objects and ownership.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// A click or similar event: the handler gets the object that raised it.
using TNotifyEvent = std::function<void(TObject* sender)>;

// A component belongs to its owner, which destroys it. Destroying a component also takes
// it out of its owner's list, so either may go first and nothing is freed twice.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }

    // The component name. Any text is accepted, empty and duplicate names included:
    // nothing looks components up by it once a form is built.
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    std::size_t ComponentCount() const { return components_.size(); }
    TComponent* Component(std::size_t index) const { return components_.at(index); }

    // Destroys every owned component, the newest first.
    void DestroyComponents();

private:
    void Remove(TComponent* component);

    TComponent* owner_;
    std::string name_;
    std::vector<TComponent*> components_;
};
