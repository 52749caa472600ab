// The form's client area as Microsoft Active Accessibility reads it: one IAccessible over the
// platform-neutral model, made when a client first asks and cut off when the window goes.
#pragma once

#include <windows.h>

#include <cstddef>

#include "platform/win32/OleLibraries.h"

class TControl;
class TForm;

namespace win32 {

class TAccessibleObject;

// What the accessible object needs of the window it speaks for.
class IAccessibleHost {
public:
    virtual HWND Handle() const = 0;
    virtual int Dpi() const = 0;
    // The window of a native control, or none.
    virtual HWND WindowOf(const TControl& control) const = 0;
    // Does a child's default action soon, from the window procedure, as a click; false when
    // the window is gone.
    virtual bool PostDefaultAction(std::size_t child) const = 0;

protected:
    ~IAccessibleHost() = default;
};

class TAccessibleClient {
public:
    // Whether this Windows has what it takes (OLE's libraries, loaded on the first question).
    static bool Available();
    TAccessibleClient(TForm& form, const IAccessibleHost& host);
    // Every call that comes later fails with RPC_E_DISCONNECTED.
    ~TAccessibleClient();
    TAccessibleClient(const TAccessibleClient&) = delete;
    TAccessibleClient& operator=(const TAccessibleClient&) = delete;

    // The answer to WM_GETOBJECT for OBJID_CLIENT.
    LRESULT Answer(WPARAM wParam) const;

private:
    TApartment apartment_;
    TAccessibleObject* object_;
};

}  // namespace win32
