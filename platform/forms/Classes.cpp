#include "platform/forms/Classes.h"

#include <algorithm>

#include "platform/text/SysUtils.h"

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_)
        owner_->Extras().components.push_back(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (owner_)
        owner_->Remove(this);
}

const std::string& TComponent::Name() const
{
    static const std::string none;
    if (nameShared_)
        return *NameSharedText();
    return extras_ ? extras_->name : none;
}

void TComponent::SetName(std::string_view name)
{
    const std::string* shared = NameSharedText();
    nameShared_ = shared && *shared == name;
    if (nameShared_) {
        if (extras_)
            extras_->name.clear();
    } else if (!name.empty() || extras_) {
        Extras().name = name;
    }
}

void TComponent::UnshareName()
{
    if (!nameShared_)
        return;
    Extras().name = *NameSharedText();
    nameShared_ = false;
}

TComponent* TComponent::Component(std::size_t index) const
{
    if (index >= ComponentCount())
        throw Exception("Component index out of range");
    return extras_->components[index];
}

void TComponent::ReserveComponents(std::size_t count)
{
    auto& components = Extras().components;
    components.reserve(components.size() + count);
}

void TComponent::DestroyComponents()
{
    // Each delete takes the component out of the list through its destructor.
    while (extras_ && !extras_->components.empty())
        delete extras_->components.back();
}

std::uint16_t TComponent::HandlerNumber(const TNotifyEvent& handler)
{
    if (!handler)
        return 0;
    auto& handlers = (owner_ ? owner_ : this)->Extras().handlers;
    // Most components of an owner share a handler or two; the last one set comes again.
    const auto it = std::find(handlers.rbegin(), handlers.rend(), handler);
    if (it != handlers.rend())
        return static_cast<std::uint16_t>(handlers.rend() - it);
    if (handlers.size() == UINT16_MAX)
        throw Exception("Too many different event handlers on one form");
    handlers.push_back(handler);
    return static_cast<std::uint16_t>(handlers.size());
}

TNotifyEvent TComponent::Handler(std::uint16_t number) const
{
    if (number == 0)
        return {};
    return (owner_ ? owner_ : this)->extras_->handlers[number - 1u];
}

TObject& TComponent::Attach(std::unique_ptr<TObject> attachment)
{
    return *(Extras().attachment = std::move(attachment));
}

TComponent::TExtras& TComponent::Extras()
{
    if (!extras_)
        extras_ = std::make_unique<TExtras>();
    return *extras_;
}

void TComponent::Remove(TComponent* component)
{
    if (!extras_)
        return;
    // Components usually go newest first, so search from the back.
    auto& components = extras_->components;
    const auto it = std::find(components.rbegin(), components.rend(), component);
    if (it != components.rend())
        components.erase(std::next(it).base());
}
