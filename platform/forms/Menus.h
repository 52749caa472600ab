// A form's menu bar: items with captions, shortcuts and checks, in submenus. What a form and its
// window ask of a menu is written here, inline, so that a program without menus links no menu
// code (Menus.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/Classes.h"
#include "platform/forms/Controls.h"

class TMainMenu;

// What a menu needs of the form that shows it; only menus call it.
class TMenuHost {
protected:
    friend class TMainMenu;
    ~TMenuHost() = default;

    // The menu, or something in it, changed.
    virtual void MenuChanged() = 0;
    // The menu is going, or another host shows it now: this one shows it no more.
    virtual void MenuDetached(const TMainMenu& menu) = 0;
};

// A key with the modifiers held, as a menu item's shortcut; an empty one (key 0) has none.
struct TShortCut {
    std::uint16_t key = 0;  // a virtual-key code: 'S', vkDelete, vkF1 + 4...
    TShiftState shift = 0;  // ssCtrl, ssShift and ssAlt only
    explicit operator bool() const { return key != 0; }
    friend bool operator==(const TShortCut&, const TShortCut&) = default;
};

inline TShortCut ShortCut(std::uint16_t key, TShiftState shift = 0)
{
    return {key, static_cast<TShiftState>(shift & (ssShift | ssCtrl | ssAlt))};
}

// "Ctrl+Shift+Z", "Del", "F5": the key names of every Windows menu, in every language.
std::string ShortCutToText(TShortCut shortCut);

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // "&" marks the access key ("&File"); "-" makes the item a separator line.
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool IsLine() const { return caption_ == "-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    // The caption and, after a tab, the shortcut's text, as a menu shows them.
    std::string DisplayText() const { return shortCut_ ? caption_ + "\t" + ShortCutToText(shortCut_) : caption_; }

    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }
    // Raises OnClick, whatever the item's state.
    void Click()
    {
        if (onClick_)
            onClick_(this);
    }

    // The submenu. An item is in one submenu at a time; destroying it takes it out.
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    std::size_t Count() const { return items_.size(); }
    TMenuItem* Items(std::size_t index) const { return items_[index]; }
    TMenuItem* Parent() const { return parent_; }

    // The enabled item, here or below, whose shortcut this is (through enabled submenus
    // only), or none.
    TMenuItem* FindShortCut(TShortCut shortCut)
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

private:
    friend class TMainMenu;
    // Tells the form showing the menu that it changed.
    void Changed() const;

    TMenuItem* parent_ = nullptr;
    TMainMenu* menu_ = nullptr;  // on a menu's own root item only
    std::vector<TMenuItem*> items_;
    std::string caption_;
    TShortCut shortCut_;
    bool enabled_ = true;
    bool checked_ = false;
    TNotifyEvent onClick_;
};

// The menu bar of a form: its items are the bar's, each with its submenu.
class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;

    TMenuItem& Items() { return items_; }
    const TMenuItem& Items() const { return items_; }
    // The form showing it, or none. A host that takes the menu (TForm::SetMenu) says so here;
    // the one before is told the menu went.
    TMenuHost* Host() const { return host_; }
    void SetHost(TMenuHost* host)
    {
        TMenuHost* before = std::exchange(host_, host);
        if (before && before != host)
            before->MenuDetached(*this);
    }

    // Has the form's window show the menu anew; the items call it on every change.
    void Changed() const;

private:
    TMenuItem items_{nullptr};
    TMenuHost* host_ = nullptr;
};
