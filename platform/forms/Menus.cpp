#include "platform/forms/Menus.h"

#include <algorithm>
#include <iterator>
#include <utility>

std::string ShortCutToText(TShortCut shortCut)
{
    if (!shortCut)
        return {};
    std::string text;
    if (shortCut.shift & ssCtrl)
        text += "Ctrl+";
    if (shortCut.shift & ssAlt)
        text += "Alt+";
    if (shortCut.shift & ssShift)
        text += "Shift+";
    static constexpr struct {
        std::uint16_t key;
        const char* name;
    } kNames[] = {
        {vkBack, "BkSp"},  {vkTab, "Tab"},     {vkReturn, "Enter"}, {vkEscape, "Esc"}, {vkSpace, "Space"},
        {vkPrior, "PgUp"}, {vkNext, "PgDn"},   {vkEnd, "End"},      {vkHome, "Home"},  {vkLeft, "Left"},
        {vkUp, "Up"},      {vkRight, "Right"}, {vkDown, "Down"},    {vkInsert, "Ins"}, {vkDelete, "Del"},
        {0x6A, "Num *"},   {0x6B, "Num +"},    {0x6D, "Num -"},     {0x6F, "Num /"},   {0xBB, "="},
        {0xBC, ","},       {0xBD, "-"},        {0xBE, "."},         {0xBF, "/"},       {0xDB, "["},
        {0xDD, "]"},
    };
    const std::uint16_t key = shortCut.key;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        text += static_cast<char>(key);
    else if (key >= vkF1 && key < vkF1 + 24)
        text += "F" + std::to_string(key - vkF1 + 1);
    else if (key >= 0x60 && key <= 0x69)
        text += "Num " + std::to_string(key - 0x60);
    else if (const auto it =
                 std::find_if(std::begin(kNames), std::end(kNames), [&](const auto& n) { return n.key == key; });
             it != std::end(kNames))
        text += it->name;
    else
        text += "#" + std::to_string(key);
    return text;
}

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

std::string TMenuItem::DisplayText() const
{
    if (!shortCut_)
        return caption_;
    return caption_ + "\t" + ShortCutToText(shortCut_);
}

void TMenuItem::Click()
{
    if (onClick_)
        onClick_(this);
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

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut)
{
    if (!enabled_ || !shortCut)
        return nullptr;
    for (TMenuItem* item : items_) {
        if (item->enabled_ && item->shortCut_ == shortCut && !item->IsLine())
            return item;
        if (TMenuItem* found = item->FindShortCut(shortCut))
            return found;
    }
    return nullptr;
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
}

TMainMenu::~TMainMenu()
{
    items_.menu_ = nullptr;
    SetHost(nullptr);
}

void TMainMenu::SetHost(TMenuHost* host)
{
    TMenuHost* before = std::exchange(host_, host);
    if (before && before != host)
        before->MenuDetached(*this);
}

void TMainMenu::Changed() const
{
    if (host_)
        host_->MenuChanged();
}
