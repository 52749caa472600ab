#include "ProgramHarness.h"

namespace {

using e2e::ColourName;
using e2e::Program;

TEST(Program, ShowsTheBoardBesideItAndLeavesTheFileAsItWas)
{
    const std::string board =
        "[sys]\r\ncount=3\r\n[PC1]\r\nCaption=\xE6\xAB\x83\xE5\x8F\xB0\r\nLeft=20\r\nTop=30\r\nWidth=80\r\nHeight=40\r\n"
        "[PC2]\r\nCaption=PC-02\r\nLeft=120\r\nTop=30\r\nWidth=80\r\nHeight=40\r\n";
    Program program(board);
    const auto before = std::filesystem::last_write_time(program.BoardPath());
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(ColourName(program.Pixel(22, 32)), "yellow");
    EXPECT_EQ(ColourName(program.Pixel(198, 68)), "yellow");
    // Nothing of the working folder's board.
    EXPECT_EQ(program.Pixel(450, 250), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(program.Close(), 0u);
    EXPECT_EQ(e2e::ReadBytes(program.BoardPath()), board);
    EXPECT_EQ(std::filesystem::last_write_time(program.BoardPath()), before);
}

}  // namespace
