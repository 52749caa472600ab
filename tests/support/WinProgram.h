// Real windows looked at from outside, and the real program started with a board file and
// driven as an operator would. Shared with the start-up benchmark: no test framework.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/geometry/Graphics.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/WinThread.h"
#include "platform/design/FormDesign.h"
#include "ui/Unit1.h"
#include "ui/Unit1Layout.h"
#include "platform/text/win32/WinText.h"

namespace psbtest {

// Runs the form as main form while another thread acts on it and closes it; gives what
// making or running it threw, or "". The thread is joined however the loop ends.
template <class TFormClass>
std::string RunLoopWhile(TFormClass*& form, const std::function<void()>& act)
{
    std::string failed;
    TThread driver(act);
    try {
        Application->CreateForm(form);
        Application->Run();
    } catch (const std::exception& e) {
        failed = e.what();
    }
    driver.Join();
    Application->DestroyForms();
    form = nullptr;
    return failed;
}

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

inline void Pause(std::chrono::milliseconds time)
{
    WaitFor([] { return false; }, time);
}

// The mouse at a point of the screen, with the buttons' flags. The point goes with the event
// itself: a click sent after SetCursorPos alone can land where the cursor was, when the program
// has not yet seen the cursor move.
inline void MouseAt(POINT screen, DWORD flags)
{
    INPUT i{};
    i.type = INPUT_MOUSE;
    // Normalised to 0..65535; aimed at the pixel's middle, so that either rounding lands on it.
    i.mi.dx = static_cast<LONG>((2LL * screen.x + 1) * 65536 / (2LL * GetSystemMetrics(SM_CXSCREEN)));
    i.mi.dy = static_cast<LONG>((2LL * screen.y + 1) * 65536 / (2LL * GetSystemMetrics(SM_CYSCREEN)));
    i.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    SendInput(1, &i, sizeof i);
}

// A visible top-level window of the process with that class and title (null: any).
inline HWND FindTopWindow(DWORD processId, const wchar_t* className, const wchar_t* title)
{
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, className, title));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == processId && IsWindowVisible(h))
            return h;
    }
    return nullptr;
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

// Closes the process's first message box within the wait with that button and gives its
// text, or "" when none came.
inline std::string TakeMessageBox(DWORD processId, std::chrono::milliseconds wait, int button = IDOK)
{
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindTopWindow(processId, L"#32770", nullptr)) != nullptr; }, wait))
        return {};
    const std::string text = WindowText(GetDlgItem(box, 0xFFFF));  // the box's message
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    WaitFor([&] { return !IsWindow(box); });
    return text;
}

// A child's rectangle in its parent's client coordinates: left, top, width, height.
inline std::vector<LONG> ChildRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The main window's layout as the program reads it.
inline const TFormDesign& Unit1Design()
{
    static const TFormDesign design = ReadFormDesign(kUnit1Layout);
    return design;
}

// An object's left, top, width and height (the form's for any other name) at a DPI.
inline std::vector<LONG> LaidOut(const std::string& name, int dpi = kDesignDpi)
{
    TRect64 r = Unit1Design().bounds.Rect();
    for (const TControlDesign& c : Unit1Design().controls)
        r = c.name == name ? c.bounds.Rect() : r;
    r = ScaleToDpi(r, dpi);
    return {LONG(r.left), LONG(r.top), LONG(r.right - r.left), LONG(r.bottom - r.top)};
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
    for (std::size_t i = 0; i < c.pixels.size(); ++i)
        c.pixels[i] = RGB((bgra[i] >> 16) & 0xFF, (bgra[i] >> 8) & 0xFF, bgra[i] & 0xFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

// The bounding box and count of the pixels in an area of a capture not of either background.
struct Ink {
    LONG left = LONG_MAX, top = LONG_MAX, right = LONG_MIN, bottom = LONG_MIN;
    int count = 0;
};

inline Ink InkOf(const Capture& c, COLORREF background1, COLORREF background2,
                 RECT area = {LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX})
{
    Ink ink;
    for (LONG y = std::max<LONG>(area.top, c.top); y < std::min<LONG>(area.bottom, c.top + c.height); ++y)
        for (LONG x = std::max<LONG>(area.left, c.left); x < std::min<LONG>(area.right, c.left + c.width); ++x) {
            if (const COLORREF p = c.At(x, y); p == background1 || p == background2)
                continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

inline constexpr COLORREF kYellow = RGB(255, 255, 0);

// A Linux path as Wine shows it: the root is drive Z:.
inline std::filesystem::path WinePath(const char* unixPath)
{
    std::wstring path = L"Z:" + ToWide(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// A folder made by someone else that holds a copy of the program and its board.
struct InFolder {
    std::filesystem::path home;
};

// Which shipped program: its file name, beside the status board that PSB_PROGRAM names (a
// Linux path), and its main window's class and title (null: any title).
struct ProgramKind {
    const wchar_t* fileName;
    const wchar_t* windowClass;
    const wchar_t* title;
};
inline constexpr ProgramKind kStatusBoard{L"PcStatusBoard.exe", L"PcStatusBoardForm", L"Form1"};
inline constexpr ProgramKind kEditor{L"boardedit.exe", L"PcBoardEditorForm", nullptr};

// A copy of that program into the folder.
inline void CopyProgram(const ProgramKind& kind, const std::filesystem::path& folder)
{
    const char* program = std::getenv("PSB_PROGRAM");
    std::filesystem::copy_file(WinePath(program ? program : "PSB_PROGRAM is not set").parent_path() / kind.fileName,
                               folder / kind.fileName, std::filesystem::copy_options::overwrite_existing);
}

class Program {
public:
    // Started from that folder itself, which is left as it is.
    explicit Program(InFolder folder, const ProgramKind& kind = kStatusBoard)
        : kind_(kind), home_(folder.home), work_(folder.home)
    {
    }

    // A copy of the program and its board in a folder with a Chinese name, started from
    // another folder that holds a decoy board.
    explicit Program(const std::string& board,
                     const std::string& decoy =
                         "[sys]\ncount=2\n[PC1]\nCaption=decoy\n"
                         "Left=400\nTop=200\nWidth=100\nHeight=100\n",
                     const ProgramKind& kind = kStatusBoard)
        : kind_(kind)
    {
        std::filesystem::create_directories(home_ = folder_ / L"機房 看板");
        std::filesystem::create_directories(work_ = folder_ / L"work");
        CopyProgram(kind, home_);
        if (!board.empty())
            WriteBytes(BoardPath(), board);
        WriteBytes(work_ / L"sys.ini", decoy);
    }

    ~Program()
    {
        if (info_.hProcess) {
            TerminateProcess(info_.hProcess, 99);  // fails harmlessly once it has ended
            WaitForSingleObject(info_.hProcess, 5000);
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
    }

    std::filesystem::path BoardPath() const { return home_ / L"sys.ini"; }
    std::filesystem::path ExePath() const { return home_ / kind_.fileName; }
    const std::filesystem::path& Home() const { return home_; }
    // Arguments after the program's name on its command line.
    std::wstring arguments;
    const std::string& Error() const { return error_; }
    HWND Form() const { return form_; }

    bool Launch()
    {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring commandLine = L"\"" + ExePath().wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        if (CreateProcessW(ExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, work_.c_str(),
                           &si, &info_))
            return true;
        error_ = "CreateProcess failed: " + std::to_string(GetLastError());
        return false;
    }

    // Starts the program and waits for its painted window (slow: emulated, big boards).
    bool Start() { return Launch() && WaitForWindow(); }

    // Waits for the painted window of a program launched (after any box it shows first).
    bool WaitForWindow()
    {
        if (!WaitFor([&] { return (form_ = FindTopWindow(info_.dwProcessId, kind_.windowClass, kind_.title)); },
                     std::chrono::seconds(60))) {
            error_ = "no window within the time limit";
            return false;
        }
        Settle();
        return true;
    }

    DWORD ProcessId() const { return info_.dwProcessId; }
    HANDLE ProcessHandle() const { return info_.hProcess; }

    // Waits for the program to end and hands back its exit code (or 259 if still running, when
    // what it still shows goes to the test's output).
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info_.hProcess, 30000) == WAIT_OBJECT_0)
            GetExitCodeProcess(info_.hProcess, &code);
        else
            std::fprintf(stderr, "still running after 30 s; its windows:%s\n%s", ShownWindows().c_str(),
                         StoppedNote().c_str());
        return code;
    }

    // "" while the program's window answers. Else, for a 32-bit program, a line by which the
    // test's wrapper knows that the emulator stopped it: under qemu a 32-bit thread can stop for
    // good when the Wine server signals it the end of an asynchronous call (seen in the system's
    // file dialog). A 64-bit program that stops is a plain failure.
    std::string StoppedNote() const
    {
        DWORD_PTR ignored;
        if (SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored))
            return {};
        const std::string image = ReadBytes(ExePath());
        const auto machine = *reinterpret_cast<const std::uint16_t*>(image.data() + PeHeader(image));
        return machine == IMAGE_FILE_MACHINE_I386 ? "psbtest: the emulator stopped the 32-bit program\n"
                                                  : "psbtest: the program stopped answering\n";
    }

    // The process's visible top-level windows: class and title of each.
    std::string ShownWindows() const
    {
        std::string shown;
        for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, nullptr));) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            wchar_t name[64] = L"";
            GetClassNameW(h, name, 64);
            if (pid == info_.dwProcessId && IsWindowVisible(h))
                shown += " [" + FromWide(name) + " \"" + WindowText(h) + "\"]";
        }
        return shown.empty() ? " none" : shown;
    }

    DWORD Close()
    {
        PostMessageW(form_, WM_CLOSE, 0, 0);
        return ExitCode();
    }

    // Lets the program finish what it is painting.
    void Settle() const
    {
        DWORD_PTR ignored;
        SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        Pause(std::chrono::milliseconds(150));
    }

    COLORREF Pixel(int x, int y) const { return CaptureClient(form_, x, y, 1, 1).pixels[0]; }
    std::string Colour(int x, int y) const
    {
        const COLORREF c = Pixel(x, y);
        return c == kYellow ? "yellow" : c == RGB(255, 0, 0) ? "red" : std::to_string(c);
    }

    // Brings the window to the front and waits until its thread has taken the activation: under
    // Wine a key sent before that has no focus to go to and is dropped. It matters when the
    // window has just lost the X focus, as the editor's does now and then at a click.
    void BringToFront() const
    {
        SetForegroundWindow(form_);
        WaitFor(
            [&] {
                const GUITHREADINFO input = ThreadInput();
                return GetForegroundWindow() == form_ && input.hwndActive == form_ && input.hwndFocus != nullptr;
            },
            std::chrono::seconds(5));
    }

    // Where the window's thread puts its input: the active window, the focus, the capture (all
    // null when it cannot be read).
    GUITHREADINFO ThreadInput() const
    {
        GUITHREADINFO input{};
        input.cbSize = sizeof input;
        GetGUIThreadInfo(GetWindowThreadProcessId(form_, nullptr), &input);
        return input;
    }

    // A real left click at a point of the client area.
    void Click(int x, int y) const
    {
        POINT p{x, y};
        ClientToScreen(form_, &p);
        BringToFront();
        MouseAt(p, MOUSEEVENTF_LEFTDOWN);
        Pause(std::chrono::milliseconds(60));
        MouseAt(p, MOUSEEVENTF_LEFTUP);
        Settle();
    }

    // The fixed controls, found in the middle of where the layout puts them at the screen's DPI.
    int dpi = kDesignDpi;
    POINT Middle(const std::string& name) const
    {
        const std::vector<LONG> r = LaidOut(name, dpi);
        return {r[0] + r[2] / 2, r[1] + r[3] / 2};
    }
    std::string Edit1() const { return WindowText(ChildWindowFromPoint(form_, Middle("Edit1"))); }
    std::string Edit2() const { return WindowText(ChildWindowFromPoint(form_, Middle("Edit2"))); }
    void Press() const { Click(Middle("Button1").x, Middle("Button1").y); }

    // Takes the large-address-aware flag off this copy: 2 GB, too little for big boards.
    void ClearLargeAddressAware() const
    {
        std::string image = ReadBytes(ExePath());
        const std::uint32_t pe = PeHeader(image);
        image[pe + 18] = static_cast<char>(image[pe + 18] & ~IMAGE_FILE_LARGE_ADDRESS_AWARE);
        WriteBytes(ExePath(), image);
    }

private:
    // Where a program image's file header starts: its machine, then its other fields.
    static std::uint32_t PeHeader(const std::string& image)
    {
        return *reinterpret_cast<const std::uint32_t*>(image.data() + 0x3C) + 4;
    }

    ProgramKind kind_ = kStatusBoard;
    TScratchFolder folder_{"e2e"};  // goes once the program has ended
    std::filesystem::path home_, work_;
    PROCESS_INFORMATION info_{};
    HWND form_ = nullptr;
    std::string error_;
};

}  // namespace psbtest
