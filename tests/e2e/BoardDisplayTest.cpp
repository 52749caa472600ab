#include <gtest/gtest.h>

#include "tests/support/WinProgram.h"

namespace {

using psbtest::CaptureClient;
using psbtest::InkOf;
using psbtest::kYellow;
using psbtest::Program;

TEST(BoardDisplay, CaptionsAreCentredAndClippedAndEmptyLabelsShowNothing)
{
    Program p(
        "[sys]\ncount=6\n"
        "[PC1]\nCaption=AB\nLeft=40\nTop=40\nWidth=200\nHeight=60\n"
        "[PC2]\nCaption=WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\nLeft=300\nTop=60\nWidth=40\nHeight=20\n"
        "[PC3]\nCaption=zero width\nLeft=40\nTop=200\nWidth=0\nHeight=40\n"
        "[PC4]\nCaption=zero height\nLeft=140\nTop=200\nWidth=80\nHeight=0\n"
        "[PC5]\nCaption=negative\nLeft=240\nTop=200\nWidth=-80\nHeight=40\n");
    ASSERT_TRUE(p.Start()) << p.Error();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);

    // The caption's ink centred both ways (that a label fills its rectangle is WindowTest's).
    const psbtest::Ink centred = InkOf(CaptureClient(p.Form(), 40, 40, 200, 60), kYellow, kYellow);
    ASSERT_GT(centred.count, 5);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 140, 2.0);
    EXPECT_NEAR((centred.top + centred.bottom) / 2.0, 70, 3.0);

    // A caption wider than its label stays inside it, on one line.
    const auto around = CaptureClient(p.Form(), 280, 40, 80, 60);
    const psbtest::Ink clipped = InkOf(around, kYellow, face);
    ASSERT_GT(clipped.count, 5);
    EXPECT_TRUE(clipped.left >= 300 && clipped.right <= 339 && clipped.top >= 60 && clipped.bottom <= 79);
    EXPECT_EQ(around.At(300, 60), kYellow);
    EXPECT_EQ(around.At(299, 60), face);
    EXPECT_EQ(around.At(340, 79), face);

    // Zero and negative sizes: nothing at all.
    EXPECT_EQ(InkOf(CaptureClient(p.Form(), 20, 180, 320, 80), face, face).count, 0);
    EXPECT_EQ(p.Close(), 0u);
}

TEST(BoardDisplay, ExtremeCoordinatesStartAndPaint)
{
    Program p(
        "[sys]\ncount=5\n"
        "[PC1]\nCaption=everywhere\nLeft=-1000\nTop=-1000\nWidth=2147483647\nHeight=2147483647\n"
        "[PC2]\nCaption=gone\nLeft=-2147483648\nTop=-2147483648\nWidth=2147483647\nHeight=2147483647\n"
        "[PC3]\nCaption=far\nLeft=2147483647\nTop=2147483647\nWidth=2147483647\nHeight=2147483647\n"
        "[PC4]\nCaption=small\nLeft=10\nTop=10\nWidth=30\nHeight=20\n");
    ASSERT_TRUE(p.Start()) << p.Error();
    // The first label covers the whole client area; its caption is far away and not drawn.
    EXPECT_EQ(p.Colour(300, 300), "yellow");
    EXPECT_EQ(p.Colour(600, 30), "yellow");
    p.Click(300, 300);
    EXPECT_EQ(p.Edit1(), "everywhere");
    // The small label on top of it takes the click and is painted above it.
    p.Click(12, 12);
    EXPECT_EQ(p.Edit1(), "small");
    p.Press();
    EXPECT_EQ(p.Colour(10, 10), "red");
    EXPECT_EQ(p.Colour(300, 300), "yellow");
    EXPECT_EQ(p.Close(), 0u);
}

}  // namespace
