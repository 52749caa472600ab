#include <functional>

#include "ProgramHarness.h"

namespace {

using e2e::ColourName;
using e2e::Program;

const std::string kOutOfOrder = "\xE6\x95\x85\xE9\x9A\x9C\xE4\xB8\xAD";  // 故障中

// Two PCs, A and B, side by side.
const std::string kBoard =
    "[sys]\ncount=3\n[PC1]\nCaption=A\nLeft=40\nTop=40\nWidth=100\nHeight=60\n"
    "[PC2]\nCaption=B\nLeft=200\nTop=40\nWidth=100\nHeight=60\n";

std::string State(const Program& p)
{
    return "Edit1='" + p.Edit1() + "' Edit2='" + p.Edit2() + "' A=" + ColourName(p.Pixel(45, 45)) +
           " B=" + ColourName(p.Pixel(205, 45));
}

TEST(Clicks, TheSevenStepsByRealClicks)
{
    Program p(kBoard);
    ASSERT_TRUE(p.Start());
    ASSERT_EQ(State(p), "Edit1='' Edit2='' A=yellow B=yellow") << "at start";
    struct Step {
        const char* what;
        std::function<void()> act;
        std::string expected;
    };
    const Step steps[] = {
        {"1. button, nothing selected", [&] { p.PressButton(); }, "Edit1='' Edit2='' A=yellow B=yellow"},
        {"2. click A", [&] { p.Click(90, 70); }, "Edit1='A' Edit2='' A=yellow B=yellow"},
        {"3. button", [&] { p.PressButton(); }, "Edit1='A' Edit2='" + kOutOfOrder + "' A=red B=yellow"},
        {"4. click B", [&] { p.Click(250, 70); }, "Edit1='B' Edit2='' A=red B=yellow"},
        {"5. click red A", [&] { p.Click(90, 70); }, "Edit1='B' Edit2='" + kOutOfOrder + "' A=red B=yellow"},
        {"6. button", [&] { p.PressButton(); }, "Edit1='A' Edit2='' A=yellow B=yellow"},
        {"7. button again", [&] { p.PressButton(); }, "Edit1='A' Edit2='" + kOutOfOrder + "' A=red B=yellow"},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(State(p), step.expected) << "after step " << step.what;
    }
    // The captions stay drawn on the new colour, and nothing else on the board changed.
    EXPECT_EQ(p.Pixel(20, 20), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(p.Close(), 0u);
}

TEST(Clicks, TopmostOfOverlappingLabelsTakesTheClick)
{
    Program p("[sys]\ncount=3\n[PC1]\nCaption=under\nLeft=40\nTop=40\nWidth=100\nHeight=100\n"
              "[PC2]\nCaption=over\nLeft=90\nTop=90\nWidth=100\nHeight=100\n");
    ASSERT_TRUE(p.Start());
    p.Click(120, 120);
    EXPECT_EQ(p.Edit1(), "over");
    p.PressButton();
    EXPECT_EQ(ColourName(p.Pixel(135, 135)), "red") << "the upper label turns red where they overlap";
    EXPECT_EQ(ColourName(p.Pixel(50, 50)), "yellow");
    p.Click(50, 50);
    EXPECT_EQ(p.Edit1(), "under");
    EXPECT_EQ(p.Close(), 0u);
}

TEST(Clicks, LabelCutByTheWindowEdgeTakesClicksOnItsVisiblePart)
{
    Program p("[sys]\ncount=3\n[PC1]\nCaption=edge\nLeft=-50\nTop=100\nWidth=80\nHeight=40\n"
              "[PC2]\nCaption=far\nLeft=2147483600\nTop=0\nWidth=2147483647\nHeight=2147483647\n");
    ASSERT_TRUE(p.Start());
    p.Click(1, 110);
    EXPECT_EQ(p.Edit1(), "edge");
    p.PressButton();
    EXPECT_EQ(ColourName(p.Pixel(0, 101)), "red");
    EXPECT_EQ(p.Close(), 0u);
}

TEST(Clicks, DoubleClickCountsAsTwoClicks)
{
    Program p(kBoard);
    ASSERT_TRUE(p.Start());
    p.Click(90, 70);
    // Two quick presses of the button: out of order and back in service.
    p.PressButton();
    p.PressButton();
    EXPECT_EQ(ColourName(p.Pixel(45, 45)), "yellow");
    EXPECT_EQ(p.Close(), 0u);
}

}  // namespace
