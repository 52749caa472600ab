// Starts the real program in a folder of its own with a board file, and drives it from
// outside the way an operator would: real mouse clicks, colours read off the screen, the
// fields' texts read from the running program.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Graphics.h"
#include "WinTestSupport.h"

namespace e2e {

// The program under test, named by CTest: the shipped 32-bit one or its 64-bit twin.
inline std::filesystem::path ProgramFile()
{
    const char* path = std::getenv("PSB_PROGRAM");
    return wintest::WinePath(path ? path : "PSB_PROGRAM is not set");
}

inline constexpr COLORREF kYellow = RGB(255, 255, 0);
inline constexpr COLORREF kRed = RGB(255, 0, 0);

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class Program {
public:
    // A folder with Chinese characters in its name holds the program and its board; it is
    // started from another folder, which holds a decoy board.
    explicit Program(const std::string& board, const std::string& decoy = "[sys]\ncount=2\n[PC1]\nCaption=decoy\n"
                                                                          "Left=400\nTop=200\nWidth=100\nHeight=100\n")
        : dir_(TempFolder()), home_(dir_ / L"機房 看板"), work_(dir_ / L"work")
    {
        std::filesystem::create_directories(home_);
        std::filesystem::create_directories(work_);
        std::filesystem::copy_file(ProgramFile(), home_ / L"PcStatusBoard.exe");
        if (!board.empty())
            WriteBytes(BoardPath(), board);
        WriteBytes(work_ / L"sys.ini", decoy);
    }

    ~Program()
    {
        std::error_code ignored;
        if (info_.hProcess) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
            CloseHandle(info_.hProcess);
            CloseHandle(info_.hThread);
        }
        std::filesystem::remove_all(dir_, ignored);
    }

    std::filesystem::path BoardPath() const { return home_ / L"sys.ini"; }
    const std::filesystem::path& Home() const { return home_; }

    // Starts the program without waiting for anything.
    ::testing::AssertionResult Launch()
    {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        const std::wstring exe = (home_ / L"PcStatusBoard.exe").wstring();
        std::wstring commandLine = L"\"" + exe + L"\"";
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            work_.wstring().c_str(), &si, &info_))
            return ::testing::AssertionFailure() << "CreateProcess failed: " << GetLastError();
        return ::testing::AssertionSuccess();
    }

    // Starts the program and waits for its painted window; the 32-bit program runs emulated
    // here, and the biggest boards take it a while.
    ::testing::AssertionResult Start()
    {
        if (auto launched = Launch(); !launched)
            return launched;
        if (!wintest::WaitFor([&] {
                return (form_ = wintest::FindTopWindow(info_.dwProcessId, L"PcStatusBoardForm", L"Form1")) != nullptr;
            }, std::chrono::seconds(60)))
            return ::testing::AssertionFailure() << "no window within the time limit";
        Settle();
        return ::testing::AssertionSuccess();
    }

    // The text of the program's message box, which is then closed; empty when none is up.
    std::string TakeMessageBox(std::chrono::milliseconds wait = std::chrono::milliseconds(0)) const
    {
        HWND box = nullptr;
        wintest::WaitFor([&] { return (box = wintest::FindTopWindow(info_.dwProcessId, L"#32770", nullptr)); }, wait);
        if (!box)
            return {};
        const std::string text = wintest::WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return text;
    }

    // Waits for the program to end and hands back its exit code (or 259 if still running).
    DWORD ExitCode() const
    {
        if (WaitForSingleObject(info_.hProcess, 30000) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

    // Takes the large-address-aware flag off this copy of the program: a 32-bit process
    // then has 2 GB, and big boards no longer fit.
    void ClearLargeAddressAware() const
    {
        std::string image = ReadBytes(home_ / L"PcStatusBoard.exe");
        const std::uint32_t pe = *reinterpret_cast<const std::uint32_t*>(image.data() + 0x3C);
        image[pe + 4 + 18] = static_cast<char>(image[pe + 4 + 18] & ~IMAGE_FILE_LARGE_ADDRESS_AWARE);
        WriteBytes(home_ / L"PcStatusBoard.exe", image);
    }

    HWND Form() const { return form_; }

    // Lets the program finish what it is painting.
    void Settle() const
    {
        DWORD_PTR ignored;
        SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        wintest::WaitFor([] { return false; }, std::chrono::milliseconds(150));
    }

    COLORREF Pixel(int x, int y) const { return wintest::ScreenPixel(form_, x, y); }

    // A real left click at a point of the client area.
    void Click(int x, int y) const
    {
        POINT p{x, y};
        ClientToScreen(form_, &p);
        SetForegroundWindow(form_);
        SetCursorPos(p.x, p.y);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &input[0], sizeof(INPUT));
        wintest::WaitFor([] { return false; }, std::chrono::milliseconds(60));
        SendInput(1, &input[1], sizeof(INPUT));
        Settle();
    }

    // The native child of a class nearest to a client point, e.g. Edit1 at (248, 392).
    HWND ChildAt(int x, int y) const
    {
        POINT p{x + 2, y + 2};
        return ChildWindowFromPointEx(form_, p, CWP_SKIPINVISIBLE);
    }

    // The fixed controls, found where the layout puts them at the screen's DPI.
    int dpi = 96;
    int AtDpi(int v) const { return static_cast<int>(ScaleToDpi(v, dpi)); }
    std::string Edit1() const { return wintest::WindowText(ChildAt(AtDpi(248), AtDpi(392))); }
    std::string Edit2() const { return wintest::WindowText(ChildAt(AtDpi(248), AtDpi(416))); }
    void PressButton() const { Click(AtDpi(72 + 75 / 2), AtDpi(408 + 25 / 2)); }

    // Closes the window as a user would and hands back the exit code (or 259 if still running).
    DWORD Close()
    {
        PostMessageW(form_, WM_CLOSE, 0, 0);
        return ExitCode();
    }

private:
    static std::filesystem::path TempFolder()
    {
        static int made = 0;
        return std::filesystem::temp_directory_path() /
               (L"psb-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made));
    }

    std::filesystem::path dir_;
    std::filesystem::path home_, work_;
    PROCESS_INFORMATION info_{};
    HWND form_ = nullptr;
};

// "Edit1='…' Edit2='…'" plus the colours at the given points, for step-by-step messages.
inline std::string ColourName(COLORREF c)
{
    if (c == kYellow)
        return "yellow";
    if (c == kRed)
        return "red";
    char text[16];
    snprintf(text, sizeof text, "#%06lx", static_cast<unsigned long>(c));
    return text;
}

}  // namespace e2e
