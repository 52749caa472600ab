// The smallest real Win32 program with a painted window: the yardstick for start-up time.
// Built twice: bare, and with the status board's manifest and its three native controls
// (PSB_WITH_CONTROLS), the fairest floor for the program itself.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        SetBkColor(dc, RGB(255, 255, 0));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &ps.rcPaint, nullptr, 0, nullptr);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, L"BareWindow", L"Form1", WS_OVERLAPPEDWINDOW, 192, 107, 696, 480, nullptr, nullptr,
                                instance, nullptr);
#ifdef PSB_WITH_CONTROLS
    struct {
        const wchar_t *cls, *text;
        DWORD style, exStyle;
        int x, y, w, h;
    } const controls[] = {{L"BUTTON", L"\u6545\u969C\u8A2D\u5B9A", BS_PUSHBUTTON, 0, 72, 408, 75, 25},  // 故障設定
                          {L"EDIT", L"", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 248, 392, 73, 21},
                          {L"EDIT", L"", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 248, 416, 73, 21}};
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    int id = 100;
    for (const auto& c : controls) {
        HWND child =
            CreateWindowExW(c.exStyle, c.cls, c.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | c.style, c.x, c.y, c.w, c.h,
                            hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
#endif
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
