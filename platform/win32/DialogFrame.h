// What the program's own dialogs share: a dialog made in memory with the system's message
// font, sizes in dialog units, controls in that font, and the box put over its owner.
#pragma once

#include <windows.h>

#include <string>

namespace dialogframe {

// A modal dialog with no controls yet, titled caption and owned by the active window: proc
// makes them at WM_INITDIALOG, where lParam is param. What EndDialog gave.
INT_PTR Run(const std::wstring& caption, DLGPROC proc, LPARAM param);
// A size in dialog units, in the dialog's pixels.
SIZE Units(HWND dialog, int across, int down);
// The text's size in the dialog's font: on one line, or broken into lines no wider than width.
SIZE TextSize(HWND dialog, const std::wstring& text, int width = 0);
// A control in the dialog's font.
HWND AddControl(HWND dialog, const wchar_t* windowClass, const std::wstring& text, DWORD style, const RECT& at, int id);
// Gives the client area that size, and puts the box over its owner (the work area without).
void Place(HWND dialog, int width, int height);

}  // namespace dialogframe
