// WM_DPICHANGED as Windows sends it, from the window's own process: tried in both builds.
#include <gtest/gtest.h>

#include "tests/support/WinProgram.h"

namespace {

// Window and children, outer rectangles in screen pixels, then each child's font height.
std::vector<LONG> Snapshot(HWND form)
{
    RECT r;
    GetWindowRect(form, &r);
    std::vector<LONG> all{r.left, r.top, r.right, r.bottom};
    for (HWND h = GetWindow(form, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        const std::vector<LONG> child = psbtest::ChildRect(h);
        all.insert(all.end(), child.begin(), child.end());
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof font, &font);
        all.push_back(font.lfHeight);
    }
    return all;
}

void ChangeDpi(HWND form, int dpi, RECT suggested)
{
    SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST(DpiChange, WindowControlsLabelsAndFontFollowAndComeBack)
{
    TForm form(nullptr);
    form.SetBounds(120, 90, 400, 300);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetBounds(72, 208, 75, 25);
    button->SetCaption("OK");
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetBounds(20, 30, 41, 21);
    int clicks = 0;
    label->SetOnClick([&](TObject*) { ++clicks; });
    form.Show();
    HWND hwnd = psbtest::FindTopWindow(GetCurrentProcessId(), L"PcStatusBoardForm", nullptr);
    ASSERT_NE(hwnd, nullptr);
    const std::vector<LONG> at96 = Snapshot(hwnd);

    const RECT suggested{at96[0] + 7, at96[1] + 5, at96[0] + 7 + 600, at96[1] + 5 + 450};
    ChangeDpi(hwnd, 144, suggested);
    const std::vector<LONG> at144 = Snapshot(hwnd);
    EXPECT_EQ(std::vector<LONG>(at144.begin(), at144.begin() + 4),
              (std::vector<LONG>{suggested.left, suggested.top, suggested.right, suggested.bottom}));
    const TRect64 b = ScaleToDpi(button->BoundsRect(), 144);
    EXPECT_EQ(std::vector<LONG>(at144.begin() + 4, at144.end()),
              (std::vector<LONG>{LONG(b.left), LONG(b.top), LONG(b.right - b.left), LONG(b.bottom - b.top),
                                 LONG(ScaleToDpi(form.Font().Height, 144))}));
    const TRect64 pc = ScaleToDpi(label->BoundsRect(), 144);
    const LPARAM corner = MAKELPARAM(pc.right - 1, pc.bottom - 1);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, corner);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, corner);
    EXPECT_EQ(clicks, 1) << "the click lands on the scaled label";

    ChangeDpi(hwnd, 96, RECT{at96[0], at96[1], at96[2], at96[3]});
    EXPECT_EQ(Snapshot(hwnd), at96);
}

}  // namespace
