#include "ProgramHarness.h"

namespace {

using e2e::ColourName;
using e2e::Program;

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

LONG Scaled(LONG v, int dpi)
{
    return static_cast<LONG>(ScaleToDpi(v, dpi));
}

// Left, top, width and height of a 96-DPI rectangle at another DPI, edge by edge.
std::vector<LONG> ScaledRect(LONG left, LONG top, LONG width, LONG height, int dpi)
{
    return {Scaled(left, dpi), Scaled(top, dpi), Scaled(left + width, dpi) - Scaled(left, dpi),
            Scaled(top + height, dpi) - Scaled(top, dpi)};
}

std::vector<LONG> Rect(const RECT& r)
{
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void CheckLayoutAt(int dpi)
{
    ScreenDpi screen(dpi);
    Program p("[sys]\ncount=2\n[PC1]\nCaption=PC\nLeft=20\nTop=30\nWidth=41\nHeight=21\n");
    p.dpi = dpi;
    ASSERT_TRUE(p.Start());
    RECT r;
    GetWindowRect(p.Form(), &r);
    EXPECT_EQ(Rect(r), ScaledRect(192, 107, 696, 480, dpi)) << "window";
    const std::pair<POINT, std::vector<LONG>> controls[] = {
        {{72, 408}, ScaledRect(72, 408, 75, 25, dpi)},
        {{248, 392}, ScaledRect(248, 392, 73, 21, dpi)},
        {{248, 416}, ScaledRect(248, 416, 73, 21, dpi)},
    };
    for (const auto& [at, expected] : controls) {
        HWND child = ChildWindowFromPointEx(p.Form(), {Scaled(at.x, dpi) + 2, Scaled(at.y, dpi) + 2}, CWP_SKIPINVISIBLE);
        ASSERT_NE(child, p.Form()) << at.x << "," << at.y;
        EXPECT_EQ(Rect(wintest::ClientRectOf(child)), expected) << at.x << "," << at.y;
    }
    // The label fills exactly its scaled rectangle and still takes clicks there.
    const std::vector<LONG> label = ScaledRect(20, 30, 41, 21, dpi);
    const LONG right = label[0] + label[2] - 1, bottom = label[1] + label[3] - 1;
    EXPECT_EQ(ColourName(p.Pixel(label[0], label[1])), "yellow");
    EXPECT_EQ(ColourName(p.Pixel(right, bottom)), "yellow");
    EXPECT_EQ(p.Pixel(right + 1, bottom), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(p.Pixel(label[0] - 1, label[1]), GetSysColor(COLOR_BTNFACE));
    p.Click(right, bottom);
    EXPECT_EQ(p.Edit1(), "PC");
    EXPECT_EQ(p.Close(), 0u);
}

TEST(Dpi, ExactLayoutAt96)
{
    CheckLayoutAt(96);
}

TEST(Dpi, EverythingScalesAt144)
{
    CheckLayoutAt(144);
}

}  // namespace
