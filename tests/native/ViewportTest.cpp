// The editor's view of the board: scrolling stays within what there is to see, the bars say
// where it is, the wheel and the bars move it, and a PC beyond the canvas is brought onto it.
#include "editor/Viewport.h"

#include <gtest/gtest.h>

using editor::TViewport;

namespace {

// A canvas of 400 x 300 over a board whose content spans 600 x 200, with a margin of 16.
TViewport Wide()
{
    TViewport v(16);
    v.SetCanvas({0, 0, 400, 300});
    v.SetContent({0, 0, 600, 200});
    return v;
}

TEST(Viewport, ScrollsWithinTheContentAndItsMargin)
{
    TViewport v = Wide();
    EXPECT_EQ(v.Offset(), (TPoint64{16, 16}));
    EXPECT_EQ(v.OnScreen({0, 0, 10, 10}), (TRect64{16, 16, 26, 26}));
    EXPECT_EQ(v.OnBoard(16, 20), (TPoint64{0, 4}));
    const editor::TBarRange across = v.Bar(true), down = v.Bar(false);
    EXPECT_EQ(across.range, 632);
    EXPECT_EQ(across.page, 400);
    EXPECT_EQ(across.position, 0);
    EXPECT_EQ(down.range, 232);

    // As far right as the content's margin; down not at all, all of it shows.
    EXPECT_TRUE(v.ScrollTo({1000, 1000}));
    EXPECT_EQ(v.Scroll(), (TPoint64{232, 0}));
    EXPECT_EQ(v.Offset(), (TPoint64{-216, 16}));
    EXPECT_EQ(v.Bar(true).position, across.range - across.page);
    EXPECT_FALSE(v.ScrollTo({900, 0}));
    EXPECT_TRUE(v.ScrollTo({-1000, -1000}));
    EXPECT_EQ(v.Scroll(), (TPoint64{0, 0}));

    // Content left of the board's origin can be scrolled to, up to its margin.
    v.SetContent({-100, 0, 600, 200});
    EXPECT_TRUE(v.ScrollTo({-1000, 0}));
    EXPECT_EQ(v.OnScreen({-100, 0, -90, 10}).left, 16);
}

TEST(Viewport, WheelBarsAndShowingAPc)
{
    TViewport v = Wide();
    // A notch towards the user scrolls 48 down; there is nothing below to see.
    EXPECT_FALSE(v.Wheel(-120, false));
    EXPECT_TRUE(v.Wheel(-120, true));
    EXPECT_EQ(v.Scroll(), (TPoint64{48, 0}));
    EXPECT_TRUE(v.Wheel(60, true));
    EXPECT_EQ(v.Scroll(), (TPoint64{24, 0}));

    EXPECT_TRUE(v.BarMoved(true, 100));
    EXPECT_EQ(v.Scroll(), (TPoint64{100, 0}));
    EXPECT_EQ(v.Bar(true).position, 100);

    // Beyond the right edge: scrolled until it shows; once it shows, nothing moves.
    const TRect64 far{500, 50, 560, 80};
    EXPECT_TRUE(v.Show(far));
    const TRect64 shown = v.OnScreen(far);
    EXPECT_GE(shown.left, 0);
    EXPECT_LE(shown.right, 400);
    EXPECT_FALSE(v.Show(far));
    EXPECT_FALSE(v.Show({300, 50, 340, 80}));
    // Left of the canvas: its left edge comes to the margin.
    EXPECT_TRUE(v.Show({0, 0, 10, 10}));
    EXPECT_EQ(v.OnScreen({0, 0, 10, 10}).left, 16);
}

}  // namespace
