// The real program under this Windows, timed from outside:
// - start-up: time to a painted window against two floors, a bare Win32 window and one with
//   the program's manifest and its three native controls, for the example board and 1,000 PCs;
// - a dense board of 100,000 PCs over the whole client area: start-up, a full repaint, a
//   click on a PC and a press of the fault button until the program has answered;
// - the million-PC board in the 64-bit and the 32-bit program: time to the window and the
//   process's peak memory;
// - a screen reader's questions across processes, on 1,000 and on 100,000 dense PCs: the
//   client area's object, the child count, one PC's properties, a hit-test, every child.
// - a plan of 4,000 x 3,000 pixels painted under a window-sized area, in this process: the
//   first paint at a new scale, the paints after it, beside the same paint without it.
// Prints medians of several runs and the ratios.
#include <windows.h>
#include <oleacc.h>
#include <psapi.h>

#include "platform/forms/Picture.h"
#include "platform/win32/LabelPainter.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/WinProgram.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using psbtest::WinePath;

namespace {

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

COLORREF PixelAt(HWND hwnd, POINT p)
{
    ClientToScreen(hwnd, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// A started program, ended (by closing its window) when this goes.
class Running {
public:
    // The window: of that class (null: any) and title (null: any). With both, painted means
    // yellow at the point and nothing left to paint.
    Running(const fs::path& exe, POINT yellowAt, std::chrono::seconds limit = std::chrono::seconds(30),
            const wchar_t* windowClass = nullptr, const wchar_t* title = L"Form1", bool both = false)
    {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
        const auto start = Clock::now();
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            exe.parent_path().c_str(), &si, &pi_))
            return;
        while (Clock::now() - start < limit) {
            // Painted: yellow where asked, or (x < 0) nothing left to paint.
            if ((hwnd_ = psbtest::FindTopWindow(pi_.dwProcessId, windowClass, title)) &&
                (yellowAt.x < 0 || PixelAt(hwnd_, yellowAt) == RGB(255, 255, 0)) &&
                ((yellowAt.x >= 0 && !both) || !GetUpdateRect(hwnd_, nullptr, FALSE))) {
                startMs_ = MsSince(start);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~Running()
    {
        if (!pi_.hProcess)
            return;
        if (hwnd_)
            PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        // The editor asks whether to save a changed board: no.
        const auto end = Clock::now() + std::chrono::seconds(30);
        while (WaitForSingleObject(pi_.hProcess, 20) != WAIT_OBJECT_0) {
            if (Clock::now() > end) {
                TerminateProcess(pi_.hProcess, 1);
                break;
            }
            if (HWND box = psbtest::FindTopWindow(pi_.dwProcessId, L"#32770", nullptr))
                PostMessageW(box, WM_COMMAND, IDNO, 0);
        }
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    double StartMs() const { return startMs_; }
    HWND Window() const { return hwnd_; }
    double PeakMegabytes() const
    {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(pi_.hProcess, &counters, sizeof counters))
            return -1;
        return static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
    }

private:
    PROCESS_INFORMATION pi_{};
    HWND hwnd_ = nullptr;
    double startMs_ = -1;
};

std::vector<double> Repeat(int runs, const std::function<double()>& once)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(once());
    return times;
}

double StartMedian(const fs::path& exe, POINT yellowAt, int runs)
{
    return Median(Repeat(runs, [&] { return Running(exe, yellowAt).StartMs(); }));
}

// A copy of a program in a folder of its own, beside the given board.
fs::path ProgramWithBoard(const fs::path& dir, const char* exe, const std::string& board)
{
    fs::create_directories(dir);
    const fs::path copy = dir / WinePath(exe).filename();
    fs::copy_file(WinePath(exe), copy, fs::copy_options::overwrite_existing);
    psbtest::WriteBytes(dir / "sys.ini", board);
    return copy;
}

std::string GridBoard(int pcs, int columns, int pitchTenths, int size)
{
    std::string board = "[sys]\ncount=" + std::to_string(pcs + 1) + "\n";
    for (int i = 0; i < pcs; ++i)
        board += "[PC" + std::to_string(i + 1) + "]\nCaption=" + std::to_string(i + 1) +
                 "\nLeft=" + std::to_string(8 + i % columns * pitchTenths / 10) +
                 "\nTop=" + std::to_string(8 + i / columns * pitchTenths / 10) + "\nWidth=" + std::to_string(size) +
                 "\nHeight=" + std::to_string(size) + "\n";
    return board;
}

// Milliseconds until the condition holds, polled as fast as the program answers.
double Until(Clock::time_point start, const std::function<bool()>& done)
{
    while (!done()) {
        if (MsSince(start) > 10000)
            return -1;
    }
    return MsSince(start);
}

// Medians of a screen reader's questions to a running program, in milliseconds: the first
// WM_GETOBJECT (which loads OLE) and a later one, the child count, PC n's name, role, place and states, a hit-test
// on it, and every child through AccessibleChildren.
void ReadAsAScreenReader(const fs::path& exe, int pcs, int runs)
{
    std::vector<double> first, object, count, child, hit, all;
    for (int i = 0; i < runs; ++i) {
        Running program(exe, {-1, -1}, std::chrono::seconds(60));
        if (!program.Window())
            continue;
        // Idle first, so that only the requests are timed.
        DWORD_PTR ignored;
        SendMessageTimeoutW(program.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        IAccessible* client = nullptr;
        for (int request = 0; request < 2; ++request) {
            if (client)
                client->Release();
            const auto start = Clock::now();
            if (FAILED(AccessibleObjectFromWindow(program.Window(), static_cast<DWORD>(OBJID_CLIENT),
                                                  __uuidof(IAccessible), reinterpret_cast<void**>(&client))))
                client = nullptr;
            (request ? object : first).push_back(MsSince(start));
        }
        if (!client)
            continue;
        auto start = Clock::now();
        LONG n = 0;
        client->get_accChildCount(&n);
        count.push_back(MsSince(start));
        // PC n sits in column (n - 1) % 400 and row (n - 1) / 400, its top left corner shown.
        const int pc = pcs / 2 + 1;
        VARIANT id;
        id.vt = VT_I4;
        id.lVal = 5 + pc;
        start = Clock::now();
        BSTR name = nullptr;
        VARIANT role{}, state{};
        LONG x = 0, y = 0, w = 0, h = 0;
        client->get_accName(id, &name);
        client->get_accRole(id, &role);
        client->get_accState(id, &state);
        client->accLocation(&x, &y, &w, &h, id);
        child.push_back(MsSince(start));
        SysFreeString(name);
        start = Clock::now();
        VARIANT at{};
        client->accHitTest(x, y, &at);
        hit.push_back(MsSince(start));
        std::vector<VARIANT> children(static_cast<std::size_t>(n));
        LONG got = 0;
        start = Clock::now();
        AccessibleChildren(client, 0, n, children.data(), &got);
        all.push_back(MsSince(start));
        for (VARIANT& v : children)
            if (v.vt == VT_DISPATCH)
                v.pdispVal->Release();
        client->Release();
    }
    std::printf(
        "  %7d PCs: first object %6.1f ms, next %5.2f ms, count %5.2f ms, one PC %5.2f ms, "
        "hit-test %5.2f ms, every child %6.1f ms\n",
        pcs, Median(first), Median(object), Median(count), Median(child), Median(hit), Median(all));
}

// The editor beside the status board, on one board of 10,000 PCs of 16 x 16 pixels, 17 apart
// in 100 columns: about 1,000 of them lie within the status board's client area.
constexpr POINT kEditorOrigin{16, 16};  // the board's origin in the editor's client area

// A point of PC n (from 0) of that board, dx, dy into it, on the board.
POINT OnGrid(int pc, int dx, int dy)
{
    return {8 + pc % 100 * 17 + dx, 8 + pc / 100 * 17 + dy};
}

POINT InEditor(POINT onBoard)
{
    return {onBoard.x + kEditorOrigin.x, onBoard.y + kEditorOrigin.y};
}

// Handled: a sent message returns once the window's procedure has.
void SendMouse(HWND hwnd, UINT message, WPARAM keys, POINT p)
{
    DWORD_PTR ignored;
    SendMessageTimeoutW(hwnd, message, keys, MAKELPARAM(p.x, p.y), SMTO_NORMAL, 10000, &ignored);
}

// Keys must be posted: the program's loop gives them to the form before dispatching them.
void PostKey(HWND hwnd, WORD key)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM extended = key >= VK_LEFT && key <= VK_DOWN ? LPARAM{1} << 24 : 0;
    PostMessageW(hwnd, WM_KEYDOWN, key, 1 | scan | extended);
    PostMessageW(hwnd, WM_KEYUP, key, 1 | scan | extended | (LPARAM{3} << 30));
}

// Milliseconds for the act and the window's paint of whatever it left invalid: UpdateWindow
// sends WM_PAINT when there is something to paint (Wine's too), so it returns after the paint.
double Timed(HWND hwnd, const std::function<void()>& act)
{
    const auto start = Clock::now();
    act();
    UpdateWindow(hwnd);
    return MsSince(start);
}

template <class Open, class Idle>
void Interactions(const fs::path& editor, const char* what, Open open, Idle idle, int runs);

// Opening, memory, a drag's frames and a nudge in the editor, beside the status board.
void CompareEditor(const fs::path& temp, int runs)
{
    const std::string board = GridBoard(10000, 100, 170, 16);
    const fs::path statusBoard = ProgramWithBoard(temp / "board10000", PSB_EXE_UNIX_PATH, board);
    const fs::path editor = ProgramWithBoard(temp / "edit10000", PSB_EDITOR_UNIX_PATH, board);
    // Painted: nothing left to paint and PC 2031's top left corner yellow, inside the client
    // area of both (the text of its caption lies in the middle).
    const POINT corner = OnGrid(2030, 1, 1);
    const auto open = [&](const fs::path& exe, bool isEditor) {
        return std::make_unique<Running>(exe, isEditor ? InEditor(corner) : corner, std::chrono::seconds(60),
                                         isEditor ? L"PcBoardEditorForm" : nullptr, isEditor ? nullptr : L"Form1",
                                         true);
    };
    const auto idle = [](HWND hwnd) {
        DWORD_PTR ignored;
        SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    };
    std::vector<double> boardOpen, editorOpen, boardPeak, editorPeak;
    LRESULT findings = -1;
    for (int i = 0; i < runs; ++i) {
        for (const bool isEditor : {false, true}) {
            const auto program = open(isEditor ? editor : statusBoard, isEditor);
            if (!program->Window() || program->StartMs() < 0)
                continue;
            idle(program->Window());
            (isEditor ? editorOpen : boardOpen).push_back(program->StartMs());
            (isEditor ? editorPeak : boardPeak).push_back(program->PeakMegabytes());
            if (HWND list = isEditor ? FindWindowExW(program->Window(), nullptr, L"ListBox", nullptr) : nullptr)
                findings = SendMessageW(list, LB_GETCOUNT, 0, 0);
        }
    }
    const double bo = Median(boardOpen), eo = Median(editorOpen), bp = Median(boardPeak), ep = Median(editorPeak);
    std::printf(
        "the editor beside the status board, 10,000 PCs (%ld rows of the checker's findings), medians of %d runs:\n",
        static_cast<long>(findings), runs);
    std::printf("  open to a painted window: status board %7.1f ms, editor %7.1f ms  (%.2f x, goal 1.5 x)\n", bo, eo,
                eo / bo);
    std::printf("  peak working set:         status board %7.1f MB, editor %7.1f MB  (%.2f x, goal 2 x)\n", bp, ep,
                ep / bp);
    // The shipped 32-bit pair, when built: emulated here, so slower, and the working set
    // counts the emulator too. Fewer runs.
    if (fs::exists(WinePath(PSB_EXE32_UNIX_PATH)) && fs::exists(WinePath(PSB_EDITOR32_UNIX_PATH))) {
        const fs::path board32 = ProgramWithBoard(temp / "board10000-32", PSB_EXE32_UNIX_PATH, board);
        const fs::path editor32 = ProgramWithBoard(temp / "edit10000-32", PSB_EDITOR32_UNIX_PATH, board);
        std::vector<double> open32[2], peak32[2];
        for (int i = 0; i < std::max(1, runs / 3); ++i)
            for (const bool isEditor : {false, true}) {
                const auto program = open(isEditor ? editor32 : board32, isEditor);
                if (!program->Window() || program->StartMs() < 0)
                    continue;
                idle(program->Window());
                open32[isEditor].push_back(program->StartMs());
                peak32[isEditor].push_back(program->PeakMegabytes());
            }
        std::printf("  32-bit, open:             status board %7.1f ms, editor %7.1f ms  (%.2f x)\n", Median(open32[0]),
                    Median(open32[1]), Median(open32[1]) / Median(open32[0]));
        std::printf("  32-bit, peak working set: status board %7.1f MB, editor %7.1f MB  (%.2f x)\n", Median(peak32[0]),
                    Median(peak32[1]), Median(peak32[1]) / Median(peak32[0]));
    }

    // Interactions, each with its repaint, beside two floors timed in turn with them: a move
    // without a button over the canvas beside the board (which repaints only the status
    // bar's pointer position), and a PC-sized area made invalid from here and repainted.
    // Then the same over a photo of the room under the board, at 40 %.
    const fs::path planned = ProgramWithBoard(temp / "edit10000-plan", PSB_EDITOR_UNIX_PATH,
                                              board + "[FloorPlan]\nFile=plan.png\nLeft=0\nTop=0\nScale=50\n");
    psbtest::WriteBytes(planned.parent_path() / "plan.png", psbtest::Png(4000, 3000, [](int x, int y) {
                            return 0xFF000000u | (x * 7 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 | ((x ^ y) & 0xFF);
                        }));
    for (const auto& [exe, what] : {std::pair{editor, ""}, std::pair{planned, " over a 4,000 x 3,000 plan"}})
        Interactions(exe, what, open, idle, runs);
}

template <class Open, class Idle>
void Interactions(const fs::path& editor, const char* what, Open open, Idle idle, int runs)
{
    constexpr int kFrames = 40, kKeys = 20;
    std::vector<double> moveFloor, paintFloor, frames, releases, nudges, tabs;
    for (int i = 0; i < std::max(1, runs / 3); ++i) {
        const auto program = open(editor, true);
        const HWND form = program->Window();
        if (!form)
            continue;
        idle(form);
        const POINT farPc = InEditor(OnGrid(505, 0, 0));
        const RECT pcRect{farPc.x, farPc.y, farPc.x + 16, farPc.y + 16};
        const auto floors = [&](int k) {
            moveFloor.push_back(Timed(form, [&] { SendMouse(form, WM_MOUSEMOVE, 0, {4 + k % 2, 4}); }));
            paintFloor.push_back(Timed(form, [&] { InvalidateRect(form, &pcRect, FALSE); }));
        };
        for (int k = 0; k < kFrames; ++k)
            floors(k);
        // Pressed in the middle of PC 1011, which selects it and gives the board the keyboard;
        // the first move starts the drag, the next are frames of it, 8 pixels apart, over the
        // PCs to the right and back, so that it is dropped where it was.
        POINT at = InEditor(OnGrid(1010, 8, 8));
        Timed(form, [&] { SendMouse(form, WM_LBUTTONDOWN, MK_LBUTTON, at); });
        at.x += 8;
        Timed(form, [&] { SendMouse(form, WM_MOUSEMOVE, MK_LBUTTON, at); });
        for (int k = 0; k < kFrames; ++k) {
            at.x += k < kFrames / 2 ? 8 : -8;
            frames.push_back(Timed(form, [&] { SendMouse(form, WM_MOUSEMOVE, MK_LBUTTON, at); }));
            paintFloor.push_back(Timed(form, [&] { InvalidateRect(form, &pcRect, FALSE); }));
        }
        at.x -= 8;
        Timed(form, [&] { SendMouse(form, WM_MOUSEMOVE, MK_LBUTTON, at); });
        releases.push_back(Timed(form, [&] { SendMouse(form, WM_LBUTTONUP, 0, at); }));
        // The selected PC's left field (the second in tab order) shows each step: handled once
        // it changes.
        HWND left = FindWindowExW(form, FindWindowExW(form, nullptr, L"Edit", nullptr), L"Edit", nullptr);
        const auto key = [&](WORD vk) {
            const std::string before = psbtest::WindowText(left);
            return Timed(form, [&] {
                PostKey(form, vk);
                const auto start = Clock::now();
                while (psbtest::WindowText(left) == before && MsSince(start) < 10000) {
                }
            });
        };
        for (int k = 0; k < kKeys; ++k) {
            nudges.push_back(key(k % 2 ? VK_LEFT : VK_RIGHT));
            floors(k);
        }
        // Tab selects the next PC: the same way to the same field, but no step of the board.
        for (int k = 0; k < kKeys; ++k)
            tabs.push_back(key(VK_TAB));
    }
    const double mf = Median(moveFloor), pf = Median(paintFloor);
    std::printf(" the editor%s:\n", what);
    std::printf("  floors: a move over the canvas %5.2f ms, a PC's area repainted %5.2f ms\n", mf, pf);
    std::printf("  drag frame with its repaint %7.2f ms  (%.1f x move floor, goal under 16 ms)\n", Median(frames),
                Median(frames) / mf);
    std::printf("  nudge with its repaint      %7.2f ms  (%.1f x move floor, goal under 16 ms)\n", Median(nudges),
                Median(nudges) / mf);
    std::printf("  Tab to the next PC          %7.2f ms;  the drag's release (one step) %7.2f ms\n", Median(tabs),
                Median(releases));
}

// A 4,000 x 3,000 picture painted into a 1,280 x 800 area off screen, as a form paints it:
// at the size of a board of 10,000 PCs (kept whole) and at twice its own size (kept in part).
void ComparePicture(const fs::path& temp, int runs)
{
    const fs::path file = temp / "plan.png";
    psbtest::WriteBytes(
        file, psbtest::Png(4000, 3000, [](int x, int y) { return 0xFF000000u | (x & 0xFF) << 8 | (y & 0xFF); }));
    const TPictureLoad load = backend::LoadPicture(file.string());
    if (!load.picture) {
        std::printf("the plan did not load: %s\n", load.reason.c_str());
        return;
    }
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1280, 800);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    TForm form(nullptr);
    TRect64 target;
    bool withPicture = false;
    form.SetOnPaintBehind([&](TObject*, TCanvas& canvas) {
        if (withPicture)
            canvas.DrawPicture(*load.picture, target, 40, clWhite);
    });
    const auto paint = [&] {
        const auto start = Clock::now();
        win32::PaintClient(dc, form, {0, 0, 1280, 800}, kDesignDpi, font);
        return MsSince(start);
    };
    std::printf("a plan of 4,000 x 3,000 under a 1,280 x 800 area, medians of %d runs:\n", runs);
    for (const std::int64_t width : {1700, 8000}) {
        std::vector<double> floor, first, later;
        for (int i = 0; i < runs; ++i) {
            // A new scale each run: one pixel more.
            target = TRect64::Of(-width / 4, -width / 4, width + i, (width + i) * 3 / 4);
            withPicture = false;
            floor.push_back(paint());
            withPicture = true;
            first.push_back(paint());
            for (int k = 0; k < 5; ++k)
                later.push_back(paint());
        }
        std::printf(
            "  %5lld pixels wide: without it %6.2f ms, first paint at a new scale %7.2f ms, later paints %6.2f ms\n",
            static_cast<long long>(width), Median(floor), Median(first), Median(later));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const std::string only = argc > 2 ? argv[2] : "";
    const auto part = [&](const char* name) { return only.empty() || only == name; };
    const psbtest::TScratchFolder scratch("startup");
    const fs::path& temp = scratch.Path();
    const std::string example = psbtest::ReadBytes(WinePath(PSB_EXAMPLE_UNIX_PATH));

    // Start-up. The floors are yellow everywhere; the boards are checked at their last label.
    double bare = 0, floor = 0, small = 0, large = 0;
    if (part("startup")) {
        bare = StartMedian(WinePath(PSB_BARE_UNIX_PATH), {300, 300}, runs);
        floor = StartMedian(WinePath(PSB_BARE_CONTROLS_UNIX_PATH), {300, 300}, runs);
        small = StartMedian(ProgramWithBoard(temp / "example", PSB_EXE_UNIX_PATH, example), {20, 20}, runs);
        large = StartMedian(ProgramWithBoard(temp / "pcs1000", PSB_EXE_UNIX_PATH, GridBoard(1000, 40, 170, 16)),
                            {8 + 39 * 17 + 1, 8 + 24 * 17 + 1}, runs);
        std::printf("time to a painted window, median of %d runs:\n", runs);
        std::printf("  bare Win32 window                     %8.1f ms\n", bare);
        std::printf("  bare window, manifest, 3 controls     %8.1f ms  (%.2f x bare)\n", floor, floor / bare);
        std::printf("  status board, example board           %8.1f ms  (%.2f x controls floor, %.2f x bare)\n", small,
                    small / floor, small / bare);
        std::printf("  status board, 1,000 PCs               %8.1f ms  (%.2f x controls floor, %.2f x bare)\n", large,
                    large / floor, large / bare);
    }
    if (part("dense")) {
        // 100,000 PCs of 4 x 4 pixels, 1.6 pixels apart: the whole board area is labels.
        const fs::path dense = ProgramWithBoard(temp / "dense", PSB_EXE_UNIX_PATH, GridBoard(100000, 400, 16, 4));
        std::vector<double> starts, repaints, clicks, presses;
        for (int i = 0; i < std::max(3, runs / 3); ++i) {
            Running program(dense, {-1, -1}, std::chrono::seconds(60));
            starts.push_back(program.StartMs());
            HWND form = program.Window();
            if (!form) {
                std::printf("  (the dense board's window did not paint)\n");
                continue;
            }
            // The fixed controls, found where the layout puts them.
            const auto child = [form](const char* name) {
                const std::vector<LONG> r = psbtest::LaidOut(name);
                return ChildWindowFromPoint(form, {r[0] + 2, r[1] + 2});
            };
            HWND edit1 = child("Edit1"), edit2 = child("Edit2"), button = child("Button1");
            for (int r = 0; r < 3; ++r) {
                const auto start = Clock::now();
                RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                repaints.push_back(MsSince(start));
            }
            // PC n sits in column (n - 1) % 400 and row (n - 1) / 400; the next PCs cover all of
            // it but its top left corner, so click there.
            const int pc = 100 * 400 + 200 + 1 + i;
            const POINT at{8 + (pc - 1) % 400 * 16 / 10, 8 + (pc - 1) / 400 * 16 / 10};
            auto start = Clock::now();
            PostMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
            PostMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
            clicks.push_back(Until(start, [&] { return psbtest::WindowText(edit1) == std::to_string(pc); }));
            start = Clock::now();
            PostMessageW(button, BM_CLICK, 0, 0);
            presses.push_back(Until(
                start, [&] { return !psbtest::WindowText(edit2).empty() && PixelAt(form, at) == RGB(255, 0, 0); }));
        }
        std::printf("100,000 PCs over the client area, medians:\n");
        std::printf("  start to painted window               %8.1f ms\n", Median(starts));
        std::printf("  full repaint                          %8.1f ms\n", Median(repaints));
        std::printf("  click on a PC until the fields show it %7.1f ms\n", Median(clicks));
        std::printf("  fault button until the PC is red      %8.1f ms\n", Median(presses));
    }
    if (part("million")) {
        // The million-PC board of the hostile tests, in both builds.
        std::string million = "[sys]\ncount=2147483647\n";
        for (int i = 1; i <= 1000000; ++i)
            million += "[PC" + std::to_string(i) + "]\nLeft=" + std::to_string(i % 600) +
                       "\nTop=" + std::to_string(i % 350) + "\nWidth=4\nHeight=4\n";
        std::printf("a million PCs (%.1f MB file):\n", static_cast<double>(million.size()) / (1 << 20));
        const struct {
            const char* name;
            const char* exe;
        } builds[] = {{"64-bit", PSB_EXE_UNIX_PATH}, {"32-bit", PSB_EXE32_UNIX_PATH}};
        for (const auto& build : builds) {
            if (!fs::exists(WinePath(build.exe))) {
                std::printf("  %s program not built\n", build.name);
                continue;
            }
            const fs::path empty = ProgramWithBoard(temp / (std::string("empty-") + build.name), build.exe,
                                                    "[sys]\ncount=2\n[PC1]\nWidth=4\nHeight=4\n");
            const fs::path exe = ProgramWithBoard(temp / (std::string("million-") + build.name), build.exe, million);
            double baseline = -1;
            {
                Running program(empty, {1, 1}, std::chrono::seconds(5));
                baseline = program.PeakMegabytes();
            }
            Running program(exe, {598, 348}, std::chrono::seconds(120));
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            std::printf("  %s: window after %8.1f ms, peak working set %.1f MB (%.1f MB with one PC)\n", build.name,
                        program.StartMs(), program.PeakMegabytes(), baseline);
        }
    }

    if (part("editor"))
        CompareEditor(temp, runs);

    if (part("picture"))
        ComparePicture(temp, runs);

    if (part("accessible")) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        std::printf("a screen reader's questions from another process, medians of %d runs:\n", std::max(3, runs / 3));
        for (const int pcs : {1000, 100000})
            ReadAsAScreenReader(
                ProgramWithBoard(temp / ("read" + std::to_string(pcs)), PSB_EXE_UNIX_PATH, GridBoard(pcs, 400, 16, 4)),
                pcs, std::max(3, runs / 3));
        CoUninitialize();
    }

    return bare >= 0 && floor >= 0 && small >= 0 && large >= 0 ? 0 : 1;
}
