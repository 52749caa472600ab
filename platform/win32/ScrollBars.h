// A form's scroll bars on its window, at the window's DPI.
#pragma once

#include <windows.h>

class TForm;

namespace win32 {

// A WM_HSCROLL (SB_HORZ) or WM_VSCROLL (SB_VERT) of the window's own bar: the form scrolls.
void Scroll(HWND hwnd, TForm& form, int bar, WORD code, int dpi);
// Sets the window's bars to the form's; one whose range fits its page goes away.
void ShowScrollBars(HWND hwnd, const TForm& form, int dpi);

}  // namespace win32
