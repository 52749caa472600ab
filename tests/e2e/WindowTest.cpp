// The main window as its layout lays it out, at 96 DPI and scaled at 144.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/WinProgram.h"

namespace {

using psbtest::LaidOut;
using psbtest::Program;

// Sets the screen's DPI for programs started from now on, and puts it back afterwards.
class ScreenDpi {
public:
    explicit ScreenDpi(DWORD dpi) { Set(dpi); }
    ~ScreenDpi() { Set(96); }

private:
    static void Set(DWORD dpi)
    {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        RegSetKeyValueW(HKEY_CURRENT_CONFIG, L"Software\\Fonts", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
};

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
    const TFormDesign& form = psbtest::Unit1Design();
    EXPECT_EQ(psbtest::WindowText(p.Form()), form.caption);
    RECT r;
    GetWindowRect(p.Form(), &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}), LaidOut("Form1", dpi));

    // The native children in z-order, which Tab follows, as the layout's tab order has them.
    std::vector<const TControlDesign*> windowed;
    for (const TControlDesign& c : form.controls)
        if (c.IsNative())
            windowed.push_back(&c);
    std::ranges::sort(windowed, {}, [](const TControlDesign* c) { return c->tabOrder; });
    std::vector<HWND> children;
    for (HWND h = GetWindow(p.Form(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    ASSERT_EQ(children.size(), windowed.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const TControlDesign& c = *windowed[i];
        wchar_t cls[64];
        GetClassNameW(children[i], cls, 64);
        EXPECT_EQ(lstrcmpiW(cls, ToWide(c.className.substr(1)).c_str()), 0) << c.name;
        EXPECT_EQ(psbtest::ChildRect(children[i]), LaidOut(c.name, dpi)) << c.name;
        EXPECT_EQ(psbtest::WindowText(children[i]), c.text.value_or(""));
    }
    p.BringToFront();
    EXPECT_EQ(p.ThreadInput().hwndFocus, children[0]) << "the first in tab order starts with the focus";
    for (std::size_t i = 1; i <= children.size(); ++i) {
        PressTab(false);
        EXPECT_EQ(p.ThreadInput().hwndFocus, children[i % children.size()]);
    }
    PressTab(true);
    EXPECT_EQ(p.ThreadInput().hwndFocus, children.back());

    // The fixed labels are painted by the form: ink inside their rectangles, none left of them.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (const TControlDesign& c : form.controls)
        if (!c.IsNative()) {
            const std::vector<LONG> l = LaidOut(c.name, dpi);
            const auto shot = psbtest::CaptureClient(p.Form(), l[0] - 20, l[1], l[2] + 20, l[3]);
            EXPECT_GT(psbtest::InkOf(shot, face, face, {l[0], l[1], l[0] + l[2], l[1] + l[3]}).count, 20) << c.name;
            EXPECT_EQ(psbtest::InkOf(shot, face, face, {l[0] - 20, l[1], l[0], l[1] + l[3]}).count, 0) << c.name;
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

}  // namespace
