// The real program beside a board its user may not read, run by tests/unreadable-board: an
// empty board, and nothing said.
#include <gtest/gtest.h>

#include "tests/support/WinProgram.h"

namespace {

TEST(UnreadableBoard, StartsWithAnEmptyBoardAndSaysNothing)
{
    const char* home = std::getenv("PSB_UNREADABLE_HOME");
    if (!home)
        GTEST_SKIP() << "run by tests/unreadable-board";
    psbtest::Program program(psbtest::InFolder{psbtest::WinePath(home)});
    ASSERT_TRUE(std::filesystem::exists(program.BoardPath()));
    ASSERT_FALSE(std::ifstream(program.BoardPath()).is_open()) << "this user may read the board";
    ASSERT_TRUE(program.Start()) << program.Error();
    EXPECT_EQ(psbtest::TakeMessageBox(program.ProcessId(), {}), "") << "a message box came up";
    RECT client;
    GetClientRect(program.Form(), &client);
    const psbtest::Capture shown = psbtest::CaptureClient(program.Form(), 0, 0, client.right, client.bottom);
    EXPECT_EQ(std::count(shown.pixels.begin(), shown.pixels.end(), psbtest::kYellow), 0) << "a PC is shown";
    EXPECT_EQ(program.Close(), 0u);
}

}  // namespace
