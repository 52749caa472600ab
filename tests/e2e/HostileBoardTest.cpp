// The real program on board files nobody should write: it starts, ends with 0 and leaves the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/text/SysUtils.h"
#include "tests/support/WinProgram.h"

namespace {

using psbtest::Program;

struct HostileBoard {
    std::string name;
    std::function<std::string()> bytes;  // empty function: no file at all
};

// Test names carry the board's name; the bytes are too many to print.
void PrintTo(const HostileBoard& board, std::ostream* os)
{
    *os << board.name;
}

std::vector<HostileBoard> Boards()
{
    std::vector<HostileBoard> boards;
    for (const auto& entry : std::filesystem::directory_iterator(psbtest::WinePath(PSB_HOSTILE_UNIX_DIR))) {
        std::string name = entry.path().stem().string();
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !isalnum(static_cast<unsigned char>(c)); }, '_');
        boards.push_back({name, [file = entry.path()] { return psbtest::ReadBytes(file); }});
    }
    std::ranges::sort(boards, {}, &HostileBoard::name);
    // Large ones are made here rather than kept in the repository.
    boards.push_back({"no_file", nullptr});
    boards.push_back({"line_of_10_MB", [] {
                          return "[sys]\ncount=2\n[PC1]\nWidth=200\nHeight=30\nCaption=" + std::string(10 << 20, 'W');
                      }});
    boards.push_back({"file_of_100_MB", [] {
                          std::string bytes = "[sys]\ncount=3\n[PC1]\nCaption=big\nWidth=60\nHeight=20\n";
                          while (bytes.size() < (100u << 20))
                              bytes += "; " + std::string(1000, 'x') + "\n";
                          return bytes + "[PC2]\nCaption=end\nLeft=80\nWidth=60\nHeight=20\n";
                      }});
    boards.push_back({"million_sections", [] {
                          std::string bytes = "[sys]\ncount=2147483647\n";
                          for (int i = 1; i <= 1000000; ++i)
                              bytes += "[PC" + std::to_string(i) + "]\nLeft=" + std::to_string(i % 600) +
                                       "\nTop=" + std::to_string(i % 350) + "\nWidth=4\nHeight=4\n";
                          return bytes;
                      }});
    return boards;
}

class HostileBoardTest : public ::testing::TestWithParam<HostileBoard> {};

TEST_P(HostileBoardTest, StartsClosesWithZeroAndLeavesTheFile)
{
    const HostileBoard& board = GetParam();
    Program program("", "");
    const std::string bytes = board.bytes ? board.bytes() : std::string();
    std::filesystem::file_time_type before{};
    if (board.bytes && psbtest::WriteBytes(program.BoardPath(), bytes))
        before = std::filesystem::last_write_time(program.BoardPath());
    ASSERT_TRUE(program.Start()) << program.Error();
    EXPECT_EQ(psbtest::TakeMessageBox(program.ProcessId(), {}), "") << "a message box came up";
    EXPECT_EQ(program.Close(), 0u);
    EXPECT_EQ(std::filesystem::exists(program.BoardPath()), static_cast<bool>(board.bytes));
    if (board.bytes) {
        EXPECT_TRUE(psbtest::ReadBytes(program.BoardPath()) == bytes) << "the board file changed";
        EXPECT_EQ(std::filesystem::last_write_time(program.BoardPath()), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileBoardTest, ::testing::ValuesIn(Boards()),
                         [](const ::testing::TestParamInfo<HostileBoard>& info) { return info.param.name; });

// Memory runs out (a 300 MB board in 2 GB): the operator is told in words; the exit code is 0.
TEST(HostileBoard, RunningOutOfMemoryIsToldInWords)
{
    Program program("");
    program.ClearLargeAddressAware();
    {
        std::ofstream out(program.BoardPath(), std::ios::binary);
        out << "[sys]\ncount=2\n[PC1]\nCaption=x\nWidth=50\nHeight=50\n";
        const std::string filler = "; " + std::string(1022, 'x') + "\n";
        for (int i = 0; i < 300 * 1024; ++i)
            out << filler;
    }
    ASSERT_TRUE(program.Launch());
    EXPECT_EQ(psbtest::TakeMessageBox(program.ProcessId(), std::chrono::seconds(60)), EOutOfMemory().Message());
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(HostileBoard, DirectoryNamedLikeTheBoard)
{
    Program program("");
    std::filesystem::create_directory(program.BoardPath());
    ASSERT_TRUE(program.Start()) << program.Error();
    EXPECT_EQ(program.Close(), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(program.BoardPath()));
}

}  // namespace
