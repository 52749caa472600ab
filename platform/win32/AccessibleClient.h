// The form's client area as Microsoft Active Accessibility reads it: one IAccessible over the
// platform-neutral model, made when a client first asks and cut off when the window goes.
#pragma once

#include <windows.h>

namespace win32 {

class TFormWindow;
class TAccessibleObject;

class TAccessibleClient {
public:
    // Whether this Windows has what it takes (OLE's libraries, loaded on the first question).
    static bool Available();
    explicit TAccessibleClient(TFormWindow& window);
    // Every call that comes later fails with RPC_E_DISCONNECTED.
    ~TAccessibleClient();
    TAccessibleClient(const TAccessibleClient&) = delete;
    TAccessibleClient& operator=(const TAccessibleClient&) = delete;

    // The answer to WM_GETOBJECT for OBJID_CLIENT.
    LRESULT Answer(WPARAM wParam) const;

private:
    TAccessibleObject* object_;
    bool uninitialize_ = false;
};

}  // namespace win32
