// The object of a native control's window as Microsoft Active Accessibility reads it: the
// system's own object for the window's kind, with the name the form gives the control (a
// field's caption is painted by the form, so the system's rule of the label before a field
// finds none) and, for a list box whose lines the program draws, the lines. A screen reader
// reads what has the focus, and so asks the field's own window, never the form.
#pragma once

#include <windows.h>

#include "platform/win32/OleLibraries.h"

class TControl;
class TForm;

namespace win32 {

class TWindowObject;

class TAccessibleWindow {
public:
    TAccessibleWindow(TForm& form, TControl& control, HWND hwnd);
    // Every call that comes later fails with RPC_E_DISCONNECTED.
    ~TAccessibleWindow();
    TAccessibleWindow(const TAccessibleWindow&) = delete;
    TAccessibleWindow& operator=(const TAccessibleWindow&) = delete;

    // The answer to WM_GETOBJECT for OBJID_CLIENT; 0 when the system made no object to wrap.
    LRESULT Answer(WPARAM wParam) const;

private:
    TApartment apartment_;
    TWindowObject* object_ = nullptr;
};

}  // namespace win32
