#include "Classes.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_)
        owner_->components_.push_back(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (owner_)
        owner_->Remove(this);
}

void TComponent::DestroyComponents()
{
    // Each delete takes the component out of the list through its destructor.
    while (!components_.empty())
        delete components_.back();
}

void TComponent::Remove(TComponent* component)
{
    // Components usually go newest first, so search from the back.
    const auto it = std::find(components_.rbegin(), components_.rend(), component);
    if (it != components_.rend())
        components_.erase(std::next(it).base());
}
