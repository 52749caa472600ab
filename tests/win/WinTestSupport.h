// Helpers for tests that look at real windows.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "win32/WinText.h"

namespace wintest {

// Polls until the condition holds or the time is up; messages of this thread keep flowing.
inline bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

namespace detail {
struct WindowSearch {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* title;
    HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam)
{
    auto& s = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[256] = {}, title[256] = {};
    GetClassNameW(hwnd, cls, 256);
    GetWindowTextW(hwnd, title, 256);
    if ((s.pid == 0 || pid == s.pid) && IsWindowVisible(hwnd) && (!s.cls || lstrcmpW(cls, s.cls) == 0) &&
        (!s.title || lstrcmpW(title, s.title) == 0)) {
        s.found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace detail

// A visible top-level window of the given process (0: any) with the given class and title.
inline HWND FindTopWindow(DWORD processId, const wchar_t* className, const wchar_t* title)
{
    detail::WindowSearch search{processId, className, title, nullptr};
    EnumWindows(&detail::MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Asks the window itself, so that an edit of another process answers with what it shows.
inline std::string WindowText(HWND hwnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
        return "(no answer)";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000,
                        &copied);
    text.resize(copied);
    return FromWide(text);
}

// A child's rectangle in its parent's client coordinates.
inline RECT ClientRectOf(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A block of the screen over a window's client area, row by row, as 0x00BBGGRR values.
struct Capture {
    int left, top, width, height;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>((y - top) * width + (x - left))]; }
};

inline Capture CaptureClient(HWND hwnd, int left, int top, int width, int height)
{
    Capture c{left, top, width, height, std::vector<COLORREF>(static_cast<std::size_t>(width * height))};
    POINT origin{left, top};
    ClientToScreen(hwnd, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* bgra = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < c.pixels.size(); ++i) {
        const std::uint32_t v = bgra[i];
        c.pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

// The bounding box and count of the pixels in a part of a capture that are neither of two
// background colours.
struct Ink {
    LONG left = LONG_MAX, top = LONG_MAX, right = LONG_MIN, bottom = LONG_MIN;
    int count = 0;
};

inline Ink InkOf(const Capture& c, COLORREF background1, COLORREF background2, RECT area)
{
    Ink ink;
    for (LONG y = std::max<LONG>(area.top, c.top); y < std::min<LONG>(area.bottom, c.top + c.height); ++y)
        for (LONG x = std::max<LONG>(area.left, c.left); x < std::min<LONG>(area.right, c.left + c.width); ++x) {
            const COLORREF p = c.At(x, y);
            if (p == background1 || p == background2)
                continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

inline Ink InkOf(const Capture& c, COLORREF background1, COLORREF background2)
{
    return InkOf(c, background1, background2, {c.left, c.top, c.left + c.width, c.top + c.height});
}

inline COLORREF ScreenPixel(HWND hwnd, int x, int y)
{
    return CaptureClient(hwnd, x, y, 1, 1).pixels[0];
}

// A Linux path as Wine shows it: the root is drive Z:.
inline std::filesystem::path WinePath(const char* unixPath)
{
    std::wstring path = L"Z:" + ToWide(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

}  // namespace wintest
