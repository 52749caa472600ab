// A form's menu bar as a Win32 menu: built anew on any change (menus are small), each item
// without a submenu a command.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/forms/Menus.h"

namespace win32 {

class IMenuBar {
public:
    virtual ~IMenuBar() = default;
    // Shows the menu on the window, or takes the bar away for none.
    virtual void Show(HWND window, const TMainMenu* menu) = 0;
    // A command of the bar: the item's click; false for another id.
    virtual bool Command(WORD id) const = 0;
};

// Makes a window's menu bar; none until the program makes a menu (backend::MenusMade), so that
// a program without menus links no menu bar. Kept with the form window.
extern std::unique_ptr<IMenuBar> (*MakeMenuBar)();

}  // namespace win32
