// The keys and buttons held and the pointer's shapes, as the class library names them.
#pragma once

#include <windows.h>

#include "platform/forms/Controls.h"

namespace win32 {

// The system's shape of a TCursor.
LPCWSTR CursorResource(TCursor cursor);
// The modifier keys held now, as of the message being handled.
TShiftState KeyShift();
// The keys and buttons a mouse message says are held.
TShiftState MouseShift(WPARAM wParam);

}  // namespace win32
