#include <gtest/gtest.h>

#include "tests/support/SevenSteps.h"
#include "tests/support/WinProgram.h"

namespace {

using psbtest::Program;

TEST(Clicks, TheSevenStepsByRealClicks)
{
    Program p(psbtest::kTwoPcBoard);
    ASSERT_TRUE(p.Start()) << p.Error();
    EXPECT_EQ(psbtest::RunSevenSteps(p), "");
    // The captions stay drawn on the new colour, and nothing else on the board changed.
    EXPECT_EQ(p.Pixel(20, 20), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(p.Close(), 0u);
}

// Two quick presses of the button: out of order and back in service.
TEST(Clicks, DoubleClickCountsAsTwoClicks)
{
    Program p(psbtest::kTwoPcBoard);
    ASSERT_TRUE(p.Start()) << p.Error();
    p.Click(psbtest::kA.x, psbtest::kA.y);
    p.Press();
    p.Press();
    EXPECT_EQ(p.Colour(psbtest::kAColour.x, psbtest::kAColour.y), "yellow");
    EXPECT_EQ(p.Close(), 0u);
}

}  // namespace
