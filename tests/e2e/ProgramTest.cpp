#include <gtest/gtest.h>

#include <string>

#include "WinTestSupport.h"

namespace {

// Where the build put the real program, as Wine shows it (the Linux root is drive Z:).
std::wstring ProgramPath()
{
    std::wstring path = L"Z:" + ToWide(PSB_EXE_UNIX_PATH);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

struct Process {
    PROCESS_INFORMATION info{};
    ~Process()
    {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(info.hProcess, 99);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

bool Start(Process& p, const std::wstring& exe, const std::wstring& workingDir)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring commandLine = L"\"" + exe + L"\"";
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDir.empty() ? nullptr : workingDir.c_str(), &si, &p.info) != 0;
}

TEST(Program, ShowsItsWindowAndExitsWithZeroWhenClosed)
{
    Process p;
    ASSERT_TRUE(Start(p, ProgramPath(), L""));
    HWND form = nullptr;
    ASSERT_TRUE(wintest::WaitFor([&] {
        return (form = wintest::FindTopWindow(p.info.dwProcessId, L"PcStatusBoardForm", L"Form1")) != nullptr;
    })) << "no window";
    PostMessageW(form, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(p.info.hProcess, 10000), WAIT_OBJECT_0) << "still running";
    DWORD code = 1;
    GetExitCodeProcess(p.info.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

}  // namespace
