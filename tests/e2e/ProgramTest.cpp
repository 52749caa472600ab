#include <gtest/gtest.h>

#include "tests/support/WinProgram.h"

namespace {

// That the file stays as it was is HostileBoardTest's.
TEST(Program, ShowsTheBoardBesideIt)
{
    psbtest::Program program(
        "[sys]\r\ncount=3\r\n[PC1]\r\nCaption=\xE6\xAB\x83\xE5\x8F\xB0\r\nLeft=20\r\nTop=30\r\n"
        "Width=80\r\nHeight=40\r\n[PC2]\r\nCaption=PC-02\r\nLeft=120\r\nTop=30\r\nWidth=80\r\nHeight=40\r\n");
    ASSERT_TRUE(program.Start()) << program.Error();
    EXPECT_EQ(program.Colour(22, 32), "yellow");
    EXPECT_EQ(program.Colour(198, 68), "yellow");
    EXPECT_EQ(program.Pixel(450, 250), GetSysColor(COLOR_BTNFACE)) << "the working folder's board";
    EXPECT_EQ(program.Close(), 0u);
}

}  // namespace
