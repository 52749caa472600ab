// A form's menu bar as a Win32 menu: built anew on any change (menus are small), each item
// without a submenu a command.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/forms/Menus.h"

namespace win32 {

class TMenuBar {
public:
    // Shows the menu on the window, or takes the bar away for none.
    void Show(HWND window, const TMainMenu* menu);
    // A command of the bar: the item's click; false for another id.
    bool Command(WORD id) const;

private:
    // Puts the items of a submenu into a menu, each with a command id in commands_.
    void AppendItems(HMENU into, const TMenuItem& parent);

    std::vector<TMenuItem*> commands_;  // the items without submenus, by command id - 1
};

}  // namespace win32
