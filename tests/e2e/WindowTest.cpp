// The main window as its layout lays it out, at 96 DPI and scaled at 144: every rectangle,
// class, text and the tab order read from the layout itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/support/WinProgram.h"

namespace {

using psbtest::LaidOut;
using psbtest::LayoutValue;
using psbtest::Program;

// Sets the screen's DPI for programs started from now on, and puts it back afterwards.
class ScreenDpi {
public:
    explicit ScreenDpi(DWORD dpi) { Set(dpi); }
    ~ScreenDpi() { Set(96); }

private:
    static void Set(DWORD dpi)
    {
        for (const auto& [root, key] : {std::pair{HKEY_CURRENT_USER, L"Control Panel\\Desktop"},
                                        std::pair{HKEY_CURRENT_CONFIG, L"Software\\Fonts"}}) {
            HKEY h;
            if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) == ERROR_SUCCESS) {
                RegSetValueExW(h, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
                RegCloseKey(h);
            }
        }
    }
};

HWND Focused(HWND form)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
    return info.hwndFocus;
}

void PressTab(bool shift)
{
    if (shift)
        keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(VK_TAB, 0, 0, 0);
    keybd_event(VK_TAB, 0, KEYEVENTF_KEYUP, 0);
    if (shift)
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    psbtest::Pause(std::chrono::milliseconds(200));
}

class Window : public ::testing::TestWithParam<int> {};

TEST_P(Window, AsLaidOut)
{
    const int dpi = GetParam();
    ScreenDpi screen(dpi);
    Program p("[sys]\ncount=2\n[PC1]\nCaption=PC\nLeft=20\nTop=30\nWidth=41\nHeight=21\n");
    p.dpi = dpi;
    ASSERT_TRUE(p.Start()) << p.Error();
    const TLayoutObject& form = psbtest::LayoutObject("Form1");
    EXPECT_EQ(psbtest::WindowText(p.Form()), LayoutValue(form, "Caption").text);
    RECT r;
    GetWindowRect(p.Form(), &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}), LaidOut("Form1", dpi));

    // The native children in z-order, which Tab follows, as the layout's tab order has them.
    std::vector<const TLayoutObject*> windowed;
    for (const TLayoutObject& o : form.children)
        if (o.className != "TLabel")
            windowed.push_back(&o);
    std::ranges::sort(windowed, {}, [](const TLayoutObject* o) { return LayoutValue(*o, "TabOrder").integer; });
    std::vector<HWND> children;
    for (HWND h = GetWindow(p.Form(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    ASSERT_EQ(children.size(), windowed.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const TLayoutObject& o = *windowed[i];
        wchar_t cls[64];
        GetClassNameW(children[i], cls, 64);
        EXPECT_EQ(lstrcmpiW(cls, ToWide(o.className.substr(1)).c_str()), 0) << o.name;
        EXPECT_EQ(psbtest::ChildRect(children[i]), LaidOut(o.name, dpi)) << o.name;
        EXPECT_EQ(psbtest::WindowText(children[i]), LayoutValue(o, "Caption").text + LayoutValue(o, "Text").text);
    }
    SetForegroundWindow(p.Form());
    EXPECT_EQ(Focused(p.Form()), children[0]) << "the first in tab order starts with the focus";
    for (std::size_t i = 1; i <= children.size(); ++i) {
        PressTab(false);
        EXPECT_EQ(Focused(p.Form()), children[i % children.size()]);
    }
    PressTab(true);
    EXPECT_EQ(Focused(p.Form()), children.back());

    // The fixed labels are painted by the form: ink inside their rectangles, none left of them.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (const TLayoutObject& o : form.children)
        if (o.className == "TLabel") {
            const std::vector<LONG> l = LaidOut(o.name, dpi);
            const auto shot = psbtest::CaptureClient(p.Form(), l[0] - 20, l[1], l[2] + 20, l[3]);
            EXPECT_GT(psbtest::InkOf(shot, face, face, {l[0], l[1], l[0] + l[2], l[1] + l[3]}).count, 20) << o.name;
            EXPECT_EQ(psbtest::InkOf(shot, face, face, {l[0] - 20, l[1], l[0], l[1] + l[3]}).count, 0) << o.name;
        }

    // A PC label fills exactly its scaled rectangle and takes clicks up to its last pixel.
    const TRect64 pc = ScaleToDpi(TRect64{20, 30, 61, 51}, dpi);
    const int left = int(pc.left), top = int(pc.top), right = int(pc.right) - 1, bottom = int(pc.bottom) - 1;
    EXPECT_EQ(p.Colour(left, top), "yellow");
    EXPECT_EQ(p.Colour(right, bottom), "yellow");
    EXPECT_EQ(p.Pixel(right + 1, bottom), face);
    EXPECT_EQ(p.Pixel(left - 1, top), face);
    p.Click(right, bottom);
    EXPECT_EQ(p.Edit1(), "PC");
    EXPECT_EQ(p.Close(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Dpi, Window, ::testing::Values(96, 144));

// WM_DPICHANGED as Windows sends it when the window moves to a monitor of another DPI: the
// suggested rectangle lies in the window's own process. It is put at the same address in
// this process too, so that it is found whether or not Wine copies it across.
class SuggestedRect {
public:
    SuggestedRect(HWND window, const RECT& r)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, pid);
        // Where the program's process has room, until that place is free here too; the pages
        // tried and not used stay taken until the end, so each try gets another place.
        std::vector<void*> tried;
        for (int i = 0; process_ && !here_ && i < 64; ++i) {
            void* there = VirtualAllocEx(process_, nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
            if (!there)
                break;
            here_ = VirtualAlloc(there, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
            if (here_ != there) {
                if (here_)
                    VirtualFree(here_, 0, MEM_RELEASE);
                here_ = nullptr;
                tried.push_back(there);
            }
        }
        for (void* page : tried)
            VirtualFreeEx(process_, page, 0, MEM_RELEASE);
        if (here_) {
            *static_cast<RECT*>(here_) = r;
            if (!WriteProcessMemory(process_, here_, &r, sizeof r, nullptr))
                here_ = nullptr;
        }
    }
    ~SuggestedRect()
    {
        if (here_) {
            VirtualFreeEx(process_, here_, 0, MEM_RELEASE);
            VirtualFree(here_, 0, MEM_RELEASE);
        }
        if (process_)
            CloseHandle(process_);
    }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(here_); }

private:
    HANDLE process_ = nullptr;
    void* here_ = nullptr;
};

// The rows of ink in a fixed label: its font's height on screen.
LONG InkHeight(HWND form, const std::vector<LONG>& r)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const psbtest::Ink ink = psbtest::InkOf(psbtest::CaptureClient(form, r[0], r[1], r[2], r[3]), face, face);
    return ink.count ? ink.bottom - ink.top + 1 : 0;
}

TEST(DpiChange, FollowsAChangeOfDpiAndBack)
{
    Program p("[sys]\ncount=2\n[PC1]\nCaption=PC\nLeft=20\nTop=30\nWidth=41\nHeight=21\n");
    ASSERT_TRUE(p.Start()) << p.Error();
    const auto snapshot = [&] {
        std::vector<std::vector<LONG>> rects;
        RECT r;
        GetWindowRect(p.Form(), &r);
        rects.push_back({r.left, r.top, r.right, r.bottom});
        for (HWND h = GetWindow(p.Form(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            rects.push_back(psbtest::ChildRect(h));
        return rects;
    };
    const auto before = snapshot();
    const LONG inkAt96 = InkHeight(p.Form(), LaidOut("Label2", 96));
    // A page of its own for each message, each written once.
    std::vector<std::unique_ptr<SuggestedRect>> pages;
    const auto changeTo = [&](int dpi, const RECT& suggested) {
        const SuggestedRect& rect = *pages.emplace_back(std::make_unique<SuggestedRect>(p.Form(), suggested));
        ASSERT_NE(rect.Address(), 0) << "no shared page for the suggested rectangle";
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(p.Form(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), rect.Address(), SMTO_ABORTIFHUNG,
                                        10000, &result));
        p.dpi = dpi;
        UpdateWindow(p.Form());
        psbtest::Pause(std::chrono::milliseconds(500));
    };

    const RECT at144{before[0][0] + 7, before[0][1] + 5, before[0][0] + 7 + 1044, before[0][1] + 5 + 720};
    changeTo(144, at144);
    RECT r;
    GetWindowRect(p.Form(), &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{at144.left, at144.top, at144.right, at144.bottom}));
    for (const char* name : {"Button1", "Edit1", "Edit2"})
        EXPECT_EQ(psbtest::ChildRect(ChildWindowFromPoint(p.Form(), p.Middle(name))), LaidOut(name, 144)) << name;
    // The emulated program may still be painting: its text is waited for.
    EXPECT_TRUE(psbtest::WaitFor([&] { return InkHeight(p.Form(), LaidOut("Label2", 144)) * 4 >= inkAt96 * 5; }))
        << "the font scales";
    const TRect64 pc = ScaleToDpi(TRect64{20, 30, 61, 51}, 144);
    EXPECT_EQ(p.Colour(int(pc.right) - 1, int(pc.bottom) - 1), "yellow");
    EXPECT_EQ(p.Pixel(int(pc.right), int(pc.bottom) - 1), GetSysColor(COLOR_BTNFACE));
    p.Click(int(pc.right) - 1, int(pc.bottom) - 1);
    EXPECT_EQ(p.Edit1(), "PC") << "the click lands on the scaled label";

    changeTo(96, RECT{before[0][0], before[0][1], before[0][2], before[0][3]});
    EXPECT_EQ(snapshot(), before) << "back at 96 DPI every rectangle is as it was";
    EXPECT_TRUE(psbtest::WaitFor([&] { return InkHeight(p.Form(), LaidOut("Label2", 96)) == inkAt96; }))
        << "the font is as it was";
    EXPECT_EQ(p.Close(), 0u);
}

}  // namespace
