// The real program on board files nobody should write: it must start with a board, close
// with exit code 0, and leave the file exactly as it was.
#include <algorithm>
#include <functional>

#include "ProgramHarness.h"
#include "SysUtils.h"

namespace {

using e2e::Program;

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
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(wintest::WinePath(PSB_HOSTILE_UNIX_DIR)))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::string name = file.stem().string();
        std::replace_if(name.begin(), name.end(), [](char c) { return !isalnum(static_cast<unsigned char>(c)); }, '_');
        boards.push_back({name, [file] { return e2e::ReadBytes(file); }});
    }
    // Large ones are made here rather than kept in the repository.
    boards.push_back({"no_file", nullptr});
    boards.push_back({"line_of_10_MB", [] {
                          return "[sys]\ncount=2\n[PC1]\nLeft=10\nTop=10\nWidth=200\nHeight=30\nCaption=" +
                                 std::string(10 << 20, 'W') + "\n";
                      }});
    boards.push_back({"file_of_100_MB", [] {
                          std::string bytes = "[sys]\ncount=3\n[PC1]\nCaption=big\nLeft=10\nTop=10\nWidth=60\nHeight=20\n";
                          const std::string filler = "; " + std::string(1000, 'x') + "\n";
                          while (bytes.size() < (100u << 20))
                              bytes += filler;
                          return bytes + "[PC2]\nCaption=end\nLeft=80\nTop=10\nWidth=60\nHeight=20\n";
                      }});
    boards.push_back({"million_sections", [] {
                          std::string bytes = "[sys]\ncount=2147483647\n";
                          for (int i = 1; i <= 1000000; ++i)
                              bytes += "[PC" + std::to_string(i) + "]\nLeft=" + std::to_string(i % 600) + "\nTop=" +
                                       std::to_string(i % 350) + "\nWidth=4\nHeight=4\n";
                          return bytes;
                      }});
    return boards;
}

class HostileBoardTest : public ::testing::TestWithParam<HostileBoard> {};

TEST_P(HostileBoardTest, StartsClosesWithZeroAndLeavesTheFile)
{
    const HostileBoard& board = GetParam();
    const std::string bytes = board.bytes ? board.bytes() : std::string();
    Program program("", "");
    if (board.bytes)
        e2e::WriteBytes(program.BoardPath(), bytes);
    std::filesystem::file_time_type before{};
    if (board.bytes)
        before = std::filesystem::last_write_time(program.BoardPath());
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(program.TakeMessageBox(), "") << "a message box came up";
    EXPECT_EQ(program.Close(), 0u);
    if (board.bytes) {
        EXPECT_TRUE(e2e::ReadBytes(program.BoardPath()) == bytes) << "the board file changed";
        EXPECT_EQ(std::filesystem::last_write_time(program.BoardPath()), before);
    } else {
        EXPECT_FALSE(std::filesystem::exists(program.BoardPath())) << "a board file appeared";
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileBoardTest, ::testing::ValuesIn(Boards()),
                         [](const ::testing::TestParamInfo<HostileBoard>& info) { return info.param.name; });

// Memory runs out (a 32-bit process without the large-address-aware flag on a 300 MB
// board): the operator is told so in words, and the process still ends with 0.
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
    EXPECT_EQ(program.TakeMessageBox(std::chrono::seconds(60)), EOutOfMemory().Message());
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(HostileBoard, DirectoryNamedLikeTheBoard)
{
    Program program("");
    std::filesystem::create_directory(program.BoardPath());
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(program.Close(), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(program.BoardPath()));
}

}  // namespace
