// Painting of a form's client area: its background and its windowless labels.
#pragma once

#include <windows.h>

class TForm;

namespace win32 {

// Paints the part of the client area given (in pixels of the window's DPI) into dc. The
// picture is made off screen and copied at once, and a label wholly hidden by labels above
// it costs nothing.
void PaintClient(HDC dc, const TForm& form, const RECT& area, int dpi, HFONT font);

}  // namespace win32
