#include "platform/win32/DialogFrame.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace dialogframe {

INT_PTR Run(const std::wstring& caption, DLGPROC proc, LPARAM param)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HDC screen = GetDC(nullptr);
    const int points = MulDiv(std::abs(metrics.lfMessageFont.lfHeight), 72, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    std::vector<WORD> dialog;
    const auto add32 = [&](DWORD value) { dialog.insert(dialog.end(), {LOWORD(value), HIWORD(value)}); };
    const auto addText = [&](const std::wstring& s) {
        dialog.insert(dialog.end(), s.begin(), s.end());
        dialog.push_back(0);
    };
    add32(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    add32(0);                                         // extended style
    dialog.insert(dialog.end(), {0, 0, 0, 100, 40});  // no items; x, y, width, height
    dialog.insert(dialog.end(), {0, 0});              // no menu, the standard class
    addText(caption);
    dialog.push_back(static_cast<WORD>(std::max(points, 8)));
    addText(metrics.lfMessageFont.lfFaceName);
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialog.data()),
                                   GetActiveWindow(), proc, param);
}

SIZE Units(HWND dialog, int across, int down)
{
    RECT r{0, 0, across, down};
    MapDialogRect(dialog, &r);
    return {r.right, r.bottom};
}

SIZE TextSize(HWND dialog, const std::wstring& text, int width)
{
    const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    HDC dc = GetDC(dialog);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &r,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, oldFont);
    ReleaseDC(dialog, dc);
    return {r.right, r.bottom};
}

HWND AddControl(HWND dialog, const wchar_t* windowClass, const std::wstring& text, DWORD style, const RECT& at, int id)
{
    HWND control =
        CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                        at.right - at.left, at.bottom - at.top, dialog,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0)), FALSE);
    return control;
}

void Place(HWND dialog, int width, int height)
{
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    RECT over{};
    if (HWND owner = GetWindow(dialog, GW_OWNER))
        GetWindowRect(owner, &over);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    const int outerWidth = outer.right - outer.left, outerHeight = outer.bottom - outer.top;
    SetWindowPos(dialog, nullptr, (over.left + over.right - outerWidth) / 2, (over.top + over.bottom - outerHeight) / 2,
                 outerWidth, outerHeight, SWP_NOZORDER);
}

}  // namespace dialogframe
