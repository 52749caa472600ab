#include "platform/forms/Menus.h"

#include <algorithm>

#include "platform/forms/Backend.h"

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    for (TMenuItem* item : items_)
        item->parent_ = nullptr;
    items_.clear();
    if (parent_)
        parent_->Remove(this);
}

void TMenuItem::SetCaption(std::string caption)
{
    if (caption == caption_)
        return;
    caption_ = std::move(caption);
    Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut)
{
    if (shortCut == shortCut_)
        return;
    shortCut_ = shortCut;
    Changed();
}

void TMenuItem::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    Changed();
}

void TMenuItem::SetChecked(bool value)
{
    if (value == checked_)
        return;
    checked_ = value;
    Changed();
}

void TMenuItem::Add(TMenuItem* item)
{
    if (!item || item == this)
        return;
    if (item->parent_)
        item->parent_->Remove(item);
    item->parent_ = this;
    items_.push_back(item);
    Changed();
}

void TMenuItem::Remove(TMenuItem* item)
{
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    item->parent_ = nullptr;
    Changed();
}

void TMenuItem::Changed() const
{
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    if (root->menu_)
        root->menu_->Changed();
}

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner)
{
    items_.menu_ = this;
    backend::MenusMade();
}

TMainMenu::~TMainMenu()
{
    items_.menu_ = nullptr;
    SetHost(nullptr);
}

void TMainMenu::Changed() const
{
    if (host_)
        host_->MenuChanged();
}
