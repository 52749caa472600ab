// The window of any form: mirrors the form onto it and turns its messages into the form's
// events. A form class supplies its layout and handlers; this serves them all, made for each
// form through backend::CreateFormPeer.
#pragma once

#include <windows.h>

namespace win32 {

// Hands a key message for a form's window (or a control on it) to the form's handlers first;
// true when one of them took it. Any other window's messages are left alone.
bool PreviewKey(HWND formWindow, const MSG& msg);

}  // namespace win32
