// Time from starting a program to its painted window: a bare Win32 window, the status board
// on the example board, and on a board of 1,000 PCs. Prints the median of several runs and
// the ratios to the bare window.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path WinePath(const char* unixPath)
{
    std::string path = std::string("Z:") + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

HWND FindWindowOf(DWORD pid)
{
    for (HWND h = FindWindowW(nullptr, L"Form1"); h; h = FindWindowExW(nullptr, h, nullptr, L"Form1")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid && IsWindowVisible(h))
            return h;
    }
    return nullptr;
}

// Milliseconds until the window of the started program shows yellow at a client point.
double TimeToPaintedWindow(const fs::path& exe, POINT yellowAt)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        exe.parent_path().c_str(), &si, &pi))
        return -1;
    double ms = -1;
    HDC screen = GetDC(nullptr);
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
        if (HWND hwnd = FindWindowOf(pi.dwProcessId)) {
            POINT p = yellowAt;
            ClientToScreen(hwnd, &p);
            if (GetPixel(screen, p.x, p.y) == RGB(255, 255, 0)) {
                ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                PostMessageW(hwnd, WM_CLOSE, 0, 0);
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ReleaseDC(nullptr, screen);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ms;
}

double Median(const fs::path& exe, POINT yellowAt, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(TimeToPaintedWindow(exe, yellowAt));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A copy of the program in a folder of its own, beside the given board.
fs::path ProgramWithBoard(const fs::path& dir, const std::string& board)
{
    fs::create_directories(dir);
    fs::copy_file(WinePath(PSB_EXE_UNIX_PATH), dir / "PcStatusBoard.exe", fs::copy_options::overwrite_existing);
    std::ofstream(dir / "sys.ini", std::ios::binary) << board;
    return dir / "PcStatusBoard.exe";
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const fs::path temp = fs::temp_directory_path() / ("psb-startup-" + std::to_string(GetCurrentProcessId()));
    std::ifstream exampleFile(WinePath(PSB_EXAMPLE_UNIX_PATH), std::ios::binary);
    const std::string example((std::istreambuf_iterator<char>(exampleFile)), {});
    std::string board = "[sys]\ncount=1001\n";
    for (int i = 1; i <= 1000; ++i)
        board += "[PC" + std::to_string(i) + "]\nCaption=PC-" + std::to_string(i) + "\nLeft=" +
                 std::to_string(8 + (i - 1) % 40 * 17) + "\nTop=" + std::to_string(8 + (i - 1) / 40 * 15) +
                 "\nWidth=16\nHeight=14\n";

    // The bare window is yellow everywhere; the boards are checked at their last label.
    const double bare = Median(WinePath(PSB_BARE_UNIX_PATH), {300, 300}, runs);
    const double small = Median(ProgramWithBoard(temp / "example", example), {20, 20}, runs);
    const double large = Median(ProgramWithBoard(temp / "pcs1000", board), {8 + 39 * 17 + 1, 8 + 24 * 15 + 1}, runs);
    std::error_code ignored;
    fs::remove_all(temp, ignored);

    std::printf("time to a painted window, median of %d runs under this Windows:\n", runs);
    std::printf("  bare Win32 window          %8.1f ms\n", bare);
    std::printf("  status board, example      %8.1f ms  (%.2f x bare)\n", small, small / bare);
    std::printf("  status board, 1,000 PCs    %8.1f ms  (%.2f x bare)\n", large, large / bare);
    return bare > 0 && small > 0 && large > 0 ? 0 : 1;
}
