#include "ProgramHarness.h"

namespace {

using e2e::Program;

// The native children in z-order, which is the order Tab follows.
std::vector<HWND> Children(HWND form)
{
    std::vector<HWND> children;
    for (HWND h = GetWindow(form, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        children.push_back(h);
    return children;
}

HWND Focused(HWND form)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
    return info.hwndFocus;
}

void PressTab(bool shift)
{
    std::vector<INPUT> keys;
    auto key = [&](WORD vk, DWORD flags) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = flags;
        keys.push_back(in);
    };
    if (shift)
        key(VK_SHIFT, 0);
    key(VK_TAB, 0);
    key(VK_TAB, KEYEVENTF_KEYUP);
    if (shift)
        key(VK_SHIFT, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    wintest::WaitFor([] { return false; }, std::chrono::milliseconds(200));
}

TEST(Window, TitleRectanglesTextsAndTabOrderAsLaidOut)
{
    Program p("");
    ASSERT_TRUE(p.Start());
    EXPECT_EQ(wintest::WindowText(p.Form()), "Form1");
    RECT r;
    GetWindowRect(p.Form(), &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
              (std::vector<LONG>{192, 107, 696, 480}));

    struct Expected {
        const wchar_t* cls;
        std::vector<LONG> rect;
        const char* text;
    };
    const Expected expected[] = {
        {L"Button", {72, 408, 75, 25}, "\xE6\x95\x85\xE9\x9A\x9C\xE8\xA8\xAD\xE5\xAE\x9A"},  // 故障設定
        {L"Edit", {248, 392, 73, 21}, ""},
        {L"Edit", {248, 416, 73, 21}, ""},
    };
    const std::vector<HWND> children = Children(p.Form());
    ASSERT_EQ(children.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        wchar_t cls[64];
        GetClassNameW(children[i], cls, 64);
        EXPECT_EQ(lstrcmpiW(cls, expected[i].cls), 0) << i;
        const RECT c = wintest::ClientRectOf(children[i]);
        EXPECT_EQ((std::vector<LONG>{c.left, c.top, c.right - c.left, c.bottom - c.top}), expected[i].rect) << i;
        EXPECT_EQ(wintest::WindowText(children[i]), expected[i].text) << i;
    }

    // Real Tab keys through the program's own loop: Button1, Edit1, Edit2 and round again.
    SetForegroundWindow(p.Form());
    EXPECT_EQ(Focused(p.Form()), children[0]) << "the first control in tab order starts with the focus";
    PressTab(false);
    EXPECT_EQ(Focused(p.Form()), children[1]);
    PressTab(false);
    EXPECT_EQ(Focused(p.Form()), children[2]);
    PressTab(false);
    EXPECT_EQ(Focused(p.Form()), children[0]);
    PressTab(true);
    EXPECT_EQ(Focused(p.Form()), children[2]);

    // The two fixed labels are painted by the form: ink inside their rectangles, none beside.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const auto strip = wintest::CaptureClient(p.Form(), 150, 385, 98, 50);
    EXPECT_GT(wintest::InkOf(strip, face, face, {200, 392, 242, 405}).count, 20) << "名稱：";
    EXPECT_GT(wintest::InkOf(strip, face, face, {200, 417, 242, 430}).count, 20) << "狀態：";
    EXPECT_EQ(wintest::InkOf(strip, face, face, {150, 385, 199, 435}).count, 0);
    EXPECT_EQ(p.Close(), 0u);
}

}  // namespace
