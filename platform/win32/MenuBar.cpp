#include "platform/win32/MenuBar.h"

#include <vector>

#include "platform/forms/Backend.h"
#include "platform/text/SysUtils.h"
#include "platform/text/win32/WinText.h"

namespace win32 {
namespace {

class TMenuBar final : public IMenuBar {
public:
    void Show(HWND window, const TMainMenu* menu) override;
    bool Command(WORD id) const override;

private:
    // Puts the items of a submenu into a menu, each with a command id in commands_.
    void AppendItems(HMENU into, const TMenuItem& parent);

    std::vector<TMenuItem*> commands_;  // the items without submenus, by command id - 1
};

void TMenuBar::Show(HWND window, const TMainMenu* menu)
{
    commands_.clear();
    HMENU bar = nullptr;
    if (menu) {
        bar = CreateMenu();
        if (!bar)
            throw Exception("The menu could not be created.");
        AppendItems(bar, menu->Items());
    }
    const HMENU old = GetMenu(window);
    if (!bar && !old)
        return;
    SetMenu(window, bar);
    if (old)
        DestroyMenu(old);
    DrawMenuBar(window);
}

void TMenuBar::AppendItems(HMENU into, const TMenuItem& parent)
{
    for (std::size_t i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = *parent.Items(i);
        if (item.IsLine()) {
            AppendMenuW(into, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT flags = MF_STRING | (item.Enabled() ? MF_ENABLED : MF_GRAYED) | (item.Checked() ? MF_CHECKED : 0);
        const std::wstring text = ToWide(item.DisplayText());
        if (item.Count()) {
            const HMENU sub = CreatePopupMenu();
            AppendItems(sub, item);
            AppendMenuW(into, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
        } else {
            commands_.push_back(&item);
            AppendMenuW(into, flags, commands_.size(), text.c_str());
        }
    }
}

bool TMenuBar::Command(WORD id) const
{
    if (id == 0 || id > commands_.size())
        return false;
    TMenuItem* item = commands_[id - 1u];
    if (item->Enabled())
        item->Click();
    return true;
}

}  // namespace
}  // namespace win32

void backend::MenusMade()
{
    win32::MakeMenuBar = [] { return std::unique_ptr<win32::IMenuBar>(std::make_unique<win32::TMenuBar>()); };
}
