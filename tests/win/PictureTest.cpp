// Pictures decoded by the system and painted by a form's canvas into memory: colours blended
// at an opacity over a ground, stretched both ways, a part painted alone, and the files that
// are not pictures or not there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "platform/forms/Forms.h"
#include "platform/forms/Picture.h"
#include "platform/win32/LabelPainter.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr COLORREF kGround = RGB(200, 100, 50);
constexpr auto kGroundColor = static_cast<TColor>(kGround);
constexpr TColor kFormColor = 0x00123456;

// A 32-bit bitmap in memory, painted by a form whose paint event draws with the canvas.
class TMemoryPaint {
public:
    TMemoryPaint(int width, int height)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        form_.SetColor(kFormColor);
    }
    ~TMemoryPaint()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    void Paint(const RECT& area, int dpi, const std::function<void(TCanvas&)>& draw)
    {
        form_.SetOnPaintBehind([&](TObject*, TCanvas& canvas) { draw(canvas); });
        win32::PaintClient(dc_, form_, area, dpi, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    TForm form_{nullptr};
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// A colour of the picture (0xAARRGGBB, alpha 255) at an opacity over the ground.
COLORREF Blend(std::uint32_t colour, int opacity, COLORREF ground = kGround)
{
    const auto mix = [&](int shift, int g) {
        return static_cast<BYTE>((g * (100 - opacity) + static_cast<int>(colour >> shift & 0xFF) * opacity + 50) / 100);
    };
    return RGB(mix(16, GetRValue(ground)), mix(8, GetGValue(ground)), mix(0, GetBValue(ground)));
}

// Equal to within one step of each channel: the system's premultiplying rounds.
::testing::AssertionResult Near(COLORREF got, COLORREF want)
{
    const auto off = [&](int (*channel)(COLORREF)) { return std::abs(channel(got) - channel(want)) > 1; };
    if (off([](COLORREF c) { return int(GetRValue(c)); }) || off([](COLORREF c) { return int(GetGValue(c)); }) ||
        off([](COLORREF c) { return int(GetBValue(c)); }))
        return ::testing::AssertionFailure() << std::hex << "got 0x" << got << ", want 0x" << want;
    return ::testing::AssertionSuccess();
}

class Pictures : public ::testing::Test {
protected:
    TPictureLoad Load(const std::string& name, const std::string& bytes)
    {
        psbtest::WriteBytes(folder_.Path() / name, bytes);
        return backend::LoadPicture((folder_.Path() / name).string());
    }
    psbtest::TScratchFolder folder_{"pictures"};
};

// Four columns of two rows: each pixel its own colour, the last one wholly transparent.
std::uint32_t Quad(int x, int y)
{
    static const std::uint32_t colours[2][4] = {{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF},
                                                {0xFF000000, 0xFF808080, 0xFF20C0A0, 0x00FFFFFF}};
    return colours[y][x];
}

TEST_F(Pictures, PngAndBmpStretchedAndBlendedOverTheGround)
{
    const TPictureLoad png = Load("quad.png", psbtest::Png(4, 2, Quad, true));
    // The BMP without the transparent pixel: it has no alpha.
    const TPictureLoad bmp = Load("quad.bmp", psbtest::Bmp(4, 2, [](int x, int y) { return Quad(x, y) | 0xFF000000; }));
    for (const TPictureLoad* load : {&png, &bmp}) {
        ASSERT_TRUE(load->picture) << load->reason;
        EXPECT_EQ(load->picture->Width(), 4);
        EXPECT_EQ(load->picture->Height(), 2);
        // Each pixel of the picture a square of 10 x 10 design pixels from (10, 20); at twice the
        // DPI, 20 x 20 from (20, 40).
        for (const int dpi : {96, 192}) {
            TMemoryPaint paint(200, 200);
            paint.Paint({0, 0, 200, 200}, dpi, [&](TCanvas& canvas) {
                canvas.DrawPicture(*load->picture, TRect64::Of(10, 20, 40, 20), 40, kGroundColor);
            });
            const int scale = dpi / 96;
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 4; ++x) {
                    const std::uint32_t colour = load == &bmp ? Quad(x, y) | 0xFF000000 : Quad(x, y);
                    const COLORREF want = colour >> 24 ? Blend(colour, 40) : kGround;
                    for (const auto& [dx, dy] : {std::pair{0, 0}, {9, 9}, {5, 2}})
                        EXPECT_TRUE(Near(paint.At(scale * (10 + 10 * x + dx), scale * (20 + 10 * y + dy)), want))
                            << x << "," << y << " +" << dx << "," << dy << " at " << dpi;
                }
            // Nothing beyond the rectangle.
            for (const auto& [x, y] : {std::pair{9, 25}, {50, 25}, {20, 19}, {20, 40}})
                EXPECT_EQ(paint.At(scale * x, scale * y), RGB(0x56, 0x34, 0x12)) << x << "," << y << " at " << dpi;
        }
    }
    // Shrunk: each pixel the average of the four it covers, wholly opaque and wholly clear.
    TMemoryPaint paint(20, 20);
    for (const int opacity : {100, 0}) {
        paint.Paint({0, 0, 20, 20}, 96, [&](TCanvas& canvas) {
            canvas.DrawPicture(*bmp.picture, TRect64::Of(0, 0, 2, 1), opacity, kGroundColor);
        });
        for (int x = 0; x < 2; ++x) {
            std::uint32_t average = 0xFF000000;
            for (const int shift : {0, 8, 16}) {
                int sum = 0;
                for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
                    sum += static_cast<int>(Quad(2 * x + dx, dy) >> shift & 0xFF);
                average |= static_cast<std::uint32_t>((sum + 2) / 4) << shift;
            }
            EXPECT_TRUE(Near(paint.At(x, 0), Blend(average, opacity))) << x << " at " << opacity;
        }
    }
}

TEST_F(Pictures, APartPaintedAloneMatchesTheWhole)
{
    // Stripes of one pixel across 16 x 8, stretched to a rectangle too large to keep whole,
    // and to one that is kept whole: the area painted alone shows what it shows in the whole.
    const auto stripes = [](int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(x * 16 << 16 | y * 32); };
    const TPictureLoad load = Load("stripes.png", psbtest::Png(16, 8, stripes));
    ASSERT_TRUE(load.picture) << load.reason;
    for (const TRect64 target : {TRect64::Of(-40000, -30000, 80000, 60000), TRect64::Of(3, 5, 160, 80)}) {
        TMemoryPaint whole(200, 120), part(200, 120);
        const auto draw = [&](TCanvas& canvas) { canvas.DrawPicture(*load.picture, target, 100, clBlack); };
        whole.Paint({0, 0, 200, 120}, 96, draw);
        part.Paint({57, 33, 141, 90}, 96, draw);
        for (int y = 33; y < 90; y += 7)
            for (int x = 57; x < 141; x += 3)
                ASSERT_EQ(part.At(x, y), whole.At(x, y)) << x << "," << y;
        // Each pixel shows the picture's pixel under it.
        const auto under = [&](int x, int y) {
            const std::int64_t w = target.right - target.left, h = target.bottom - target.top;
            const auto c =
                stripes(static_cast<int>((x - target.left) * 16 / w), static_cast<int>((y - target.top) * 8 / h));
            return RGB(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF);
        };
        for (const auto& [x, y] : {std::pair{3, 5}, {57, 33}, {100, 60}, {162, 84}, {199, 119}})
            EXPECT_EQ(whole.At(x, y), target.Contains(x, y) ? under(x, y) : RGB(0x56, 0x34, 0x12)) << x << "," << y;
    }
}

TEST_F(Pictures, WhatIsNotAPictureOrNotThere)
{
    const std::string png = psbtest::Png(50, 50, [](int x, int) { return 0xFF000000u | x; });
    for (const std::string& bytes : {std::string("garbage, not a picture at all"), std::string(), png.substr(0, 100)}) {
        const TPictureLoad load = Load("bad.png", bytes);
        EXPECT_EQ(load.problem, TPictureProblem::NotAPicture) << bytes.size();
        EXPECT_FALSE(load.picture);
        EXPECT_FALSE(load.reason.empty());
    }
    const TPictureLoad missing = backend::LoadPicture((folder_.Path() / "nowhere" / "plan.png").string());
    EXPECT_EQ(missing.problem, TPictureProblem::NotFound);
    EXPECT_FALSE(missing.reason.empty());
    const TPictureLoad folder = backend::LoadPicture(folder_.Path().string());
    EXPECT_EQ(folder.problem, TPictureProblem::Unreadable);
}

TEST_F(Pictures, APhotoOf4000By3000OpensAndPaints)
{
    const TPictureLoad load = Load("photo.png", psbtest::Png(4000, 3000, [](int, int) { return 0xFF3070B0u; }));
    ASSERT_TRUE(load.picture) << load.reason;
    EXPECT_EQ(load.picture->Width(), 4000);
    EXPECT_EQ(load.picture->Height(), 3000);
    TMemoryPaint paint(100, 100);
    paint.Paint({0, 0, 100, 100}, 96, [&](TCanvas& canvas) {
        canvas.DrawPicture(*load.picture, TRect64::Of(-1000, -1000, 4000, 3000), 40, kGroundColor);
    });
    EXPECT_TRUE(Near(paint.At(50, 50), Blend(0xFF3070B0u, 40)));
}

}  // namespace
