#include <gtest/gtest.h>

#include <thread>

#include "WinTestSupport.h"
#include "app/Startup.h"
#include "ui/Unit1.h"

namespace {

using wintest::ClientRectOf;
using wintest::WaitFor;
using wintest::WindowText;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form_ = new TForm1(nullptr);
        form_->Show();
        hwnd_ = wintest::FindTopWindow(GetCurrentProcessId(), L"PcStatusBoardForm", L"Form1");
        ASSERT_NE(hwnd_, nullptr);
        WaitFor([] { return false; }, std::chrono::milliseconds(300));
    }
    void TearDown() override { delete form_; }

    // The native children in z-order, which is the order Tab follows.
    std::vector<HWND> Children() const
    {
        std::vector<HWND> children;
        for (HWND h = GetWindow(hwnd_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            children.push_back(h);
        return children;
    }

    TForm1* form_ = nullptr;
    HWND hwnd_ = nullptr;
};

TEST_F(MainWindowTest, WindowHasItsTitleAndOuterRectangle)
{
    EXPECT_EQ(WindowText(hwnd_), "Form1");
    RECT r;
    GetWindowRect(hwnd_, &r);
    EXPECT_EQ(r.left, 192);
    EXPECT_EQ(r.top, 107);
    EXPECT_EQ(r.right - r.left, 696);
    EXPECT_EQ(r.bottom - r.top, 480);
}

TEST_F(MainWindowTest, NativeControlsStandWhereTheLayoutPutsThemInTabOrder)
{
    struct Expected {
        const wchar_t* cls;
        RECT rect;
        const char* text;
    };
    const Expected expected[] = {
        {L"Button", {72, 408, 72 + 75, 408 + 25}, "\xE6\x95\x85\xE9\x9A\x9C\xE8\xA8\xAD\xE5\xAE\x9A"},  // 故障設定
        {L"Edit", {248, 392, 248 + 73, 392 + 21}, ""},
        {L"Edit", {248, 416, 248 + 73, 416 + 21}, ""},
    };
    const std::vector<HWND> children = Children();
    ASSERT_EQ(children.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        wchar_t cls[64];
        GetClassNameW(children[i], cls, 64);
        EXPECT_EQ(lstrcmpiW(cls, expected[i].cls), 0);
        const RECT r = ClientRectOf(children[i]);
        EXPECT_EQ(r.left, expected[i].rect.left);
        EXPECT_EQ(r.top, expected[i].rect.top);
        EXPECT_EQ(r.right, expected[i].rect.right);
        EXPECT_EQ(r.bottom, expected[i].rect.bottom);
        EXPECT_EQ(WindowText(children[i]), expected[i].text);
        EXPECT_TRUE(GetWindowLongW(children[i], GWL_STYLE) & WS_TABSTOP);
    }
    // Tab runs Button1, Edit1, Edit2 and round again; Shift+Tab the other way.
    EXPECT_EQ(GetNextDlgTabItem(hwnd_, children[0], FALSE), children[1]);
    EXPECT_EQ(GetNextDlgTabItem(hwnd_, children[1], FALSE), children[2]);
    EXPECT_EQ(GetNextDlgTabItem(hwnd_, children[2], FALSE), children[0]);
    EXPECT_EQ(GetNextDlgTabItem(hwnd_, children[0], TRUE), children[2]);
    EXPECT_EQ(GetFocus(), children[0]);
}

TEST_F(MainWindowTest, TabKeyMovesTheFocusThroughTheLoop)
{
    const std::vector<HWND> children = Children();
    ASSERT_EQ(children.size(), 3u);
    SetForegroundWindow(hwnd_);
    SetFocus(children[0]);
    // The program's own loop hands keys to IsDialogMessage; do the same here.
    auto pressTab = [&](bool shift) {
        MSG msg{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        if (shift)
            keybd_event(VK_SHIFT, 0, 0, 0);
        WaitFor([] { return false; }, std::chrono::milliseconds(50));
        IsDialogMessageW(hwnd_, &msg);
        if (shift)
            keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        WaitFor([] { return false; }, std::chrono::milliseconds(50));
    };
    pressTab(false);
    EXPECT_EQ(GetFocus(), children[1]);
    pressTab(false);
    EXPECT_EQ(GetFocus(), children[2]);
    pressTab(false);
    EXPECT_EQ(GetFocus(), children[0]);
}

TEST_F(MainWindowTest, FixedLabelsPaintTheirCaptionsInsideTheirRectangles)
{
    // Windowless: the captions are pixels of the form, darker than its background.
    UpdateWindow(hwnd_);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto inkIn = [&](int left, int top, int width, int height) {
        int ink = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                ink += wintest::ScreenPixel(hwnd_, x, y) != face;
        return ink;
    };
    EXPECT_GT(inkIn(200, 392, 42, 13), 20);
    EXPECT_GT(inkIn(200, 417, 42, 13), 20);
    EXPECT_EQ(inkIn(150, 392, 40, 13), 0);  // nothing else around them
    EXPECT_EQ(inkIn(100, 100, 40, 40), 0);
}

// Closes the first message box of this process that appears, handing back its text.
std::string CloseNextMessageBox()
{
    std::string text;
    HWND box = nullptr;
    WaitFor([&] { return (box = wintest::FindTopWindow(GetCurrentProcessId(), L"#32770", nullptr)) != nullptr; });
    if (!box)
        return "(no message box)";
    // The message text is the box's static control 0xFFFF.
    text = WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return text;
}

class ThrowingForm;
ThrowingForm* throwingForm = nullptr;

class ThrowingForm : public TForm {
public:
    explicit ThrowingForm(TComponent* owner) : TForm(owner) { throw Exception("\xE6\x95\x85\xE9\x9A\x9C: refused"); }
};

TEST(StartupError, ShowsTheMessageInABoxAndExitsWithZero)
{
    std::string seen;
    std::thread closer([&] { seen = CloseNextMessageBox(); });
    const int code = RunApplication(throwingForm);
    closer.join();
    EXPECT_EQ(code, 0);
    EXPECT_EQ(seen, "\xE6\x95\x85\xE9\x9A\x9C: refused");
    EXPECT_EQ(wintest::FindTopWindow(GetCurrentProcessId(), L"PcStatusBoardForm", nullptr), nullptr);
}

}  // namespace
