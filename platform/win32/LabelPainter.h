// Painting of a form's client area: its background, its windowless labels and what its paint
// events draw behind and over them.
#pragma once

#include <windows.h>

class TForm;

namespace win32 {

// Paints the part of the client area given (in pixels of the window's DPI) into dc. The
// picture is made off screen and copied at once, and a label wholly hidden by labels above
// it costs nothing. The paint events get the form's font selected.
void PaintClient(HDC dc, TForm& form, const RECT& area, int dpi, HFONT font);
// Paints what is marked for repainting in the form's window, for WM_PAINT: a few separate
// areas (a dragged label and the status line, say) each on its own, else the rectangle
// around them all.
void PaintUpdate(HWND hwnd, TForm& form, int dpi, HFONT font);

}  // namespace win32
