// boardcheck: each finding on a board of its own, the program's exit codes, languages and picture.
#include "check/BoardCheck.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

#include "tests/support/ScratchFolder.h"

namespace fs = std::filesystem;
using namespace check;
using namespace std::string_view_literals;

namespace {

struct TFindingCase {
    std::string_view board;
    std::size_t line;
    const char* code;
    const char* says;  // words of the English message
};

// A label of PC1 in a board of one PC, "[PC1]" on line 3.
#define PC1(rect) "[sys]\ncount=2\n[PC1]\nCaption=A\n" rect ""sv
#define PC1_PC2(rect1, rect2) "[sys]\ncount=3\n[PC1]\n" rect1 "[PC2]\n" rect2 ""sv

const TFindingCase kFindings[] = {
    {"[sys]\ncount=2\nx=\xFF\xFF\n"sv, 3, "not-decoded", "2 character(s) on this line did not decode as Big5"},
    {PC1("Left=1\0px\n"), 5, "nul-byte", "ends its name or value"},
    {PC1("Height=48\x1A\n"), 5, "dos-end-of-file", "Ctrl-Z"},
    {PC1("\fLeft=5\n"), 5, "form-feed", "form feed"},
    {"\xFF\xFE[\0s\0y\0s\0]\0\n\0x\0!"sv, 2, "stray-byte", "stray byte"},
    {"[other]\n[sys]\nx=1\n"sv, 2, "count-missing", "no count"},
    {"[sys]\ncount=0x10\n"sv, 2, "count-not-number", "count=0x10"},
    {"[sys]\ncount=1\n"sv, 2, "count-too-small", "count=1"},
    {"[sys]\ncount=2\n[PC1]\n[PC3]\n"sv, 4, "left-out", "count=4 would include it"},
    {"[sys]\ncount=2\n[PC2147483647]\n"sv, 3, "never-shown", "[PC2147483647]"},
    {"[sys]\ncount=5\n[PC2]\n"sv, 2, "no-section", "PC3 to PC4 have no section"},
    {"[sys]\ncount=5\n[PC02]\n"sv, 3, "not-pc-section", "did you mean [PC2]"},
    {"[sys]\ncount=2\n[PC1]\n[pc1]\n"sv, 4, "duplicate-section", "only the first, on line 3"},
    {PC1("Left=1\nLEFT=2\n"), 6, "duplicate-key", "line 5 is read"},
    {PC1("Heigth=48\n"), 5, "unknown-key", "did you mean Height?"},
    {"x=1\n[sys]\ncount=2\n"sv, 1, "outside-section", "before the first section"},
    {"[sys]\ncount=2\nhello\n"sv, 3, "other-line", "neither"},
    {PC1("Width=60px\n"), 5, "not-integer", "Width=60px"},
    {"[sys]\ncount=2\n[floorplan]\nScale=12.345\n"sv, 4, "plan-value",
     "Scale=12.345 is no value the board editor takes for its floor plan: it uses 100"},
    {"[sys]\ncount=2\n[FloorPlan]\nOpacity=40\nZoom=2\n"sv, 5, "unknown-key", "Zoom in [FloorPlan] is read by nobody"},
    {PC1("Width=0\nHeight=9\n"), 3, "empty-label", "PC1 is 0 x 9"},
    {PC1("Left=900\nWidth=10\nHeight=10\n"), 3, "outside", "(680 x 441)"},
    {PC1("Left=675\nWidth=10\nHeight=10\n"), 3, "partly-outside", "PC1 reaches beyond"},
    {PC1_PC2("Left=10\nTop=10\nWidth=20\nHeight=20\n", "Width=50\nHeight=50\n"), 3, "covered", "covered by PC2"},
    {PC1_PC2("Width=20\nHeight=20\n", "Left=10\nWidth=20\nHeight=20\n"), 3, "overlap", "PC2 is on top"},
    {PC1("Left=60\nTop=400\nWidth=30\nHeight=20\n"), 3, "under-control", "under Button1"},
    {PC1("Left=190\nTop=385\nWidth=20\nHeight=20\n"), 3, "covers-label", "label Label1"},
    {"[sys]\ncount=2\n[PC1]\nWidth=30\nHeight=20\nCaption=Room 1 front desk\n"sv, 6, "caption-cut",
     "wider than its 30 px"},
};

class Findings : public ::testing::TestWithParam<TFindingCase> {};

TEST_P(Findings, OnItsLine)
{
    const TFindingCase& c = GetParam();
    const TBoardCheck result = CheckBoard(std::string(c.board));
    std::string all;
    for (const TFinding& f : result.findings) {
        const std::string text = Text(f.msg, TLanguage::English, f.args);
        all += std::to_string(f.line) + " " + std::string(Code(f.msg)) + " " + text + "\n";
        if (f.line == c.line && Code(f.msg) == c.code && text.find(c.says) != std::string::npos)
            return;
    }
    ADD_FAILURE() << "expected line " << c.line << " " << c.code << " \"" << c.says << "\", got:\n" << all;
}

INSTANTIATE_TEST_SUITE_P(BoardCheck, Findings, ::testing::ValuesIn(kFindings));

TEST(BoardCheck, CleanBoardHasNothingToReport)
{
    const TBoardCheck result = CheckBoard(
        "; two PCs\n[sys]\ncount=3\n[PC1]\nCaption=PC-01\nLeft=16\nTop=16\nWidth=96\nHeight=48\n"
        "[PC2]\nCaption=\xE6\xAB\x83\xE5\x8F\xB0\nLeft=128\nTop=16\nWidth=96\nHeight=48\n");
    EXPECT_EQ(result.findings.size(), 0u) << TextReport(result, "sys.ini", TLanguage::English);
    EXPECT_EQ(result.labels.size(), 2u);
}

// The real program on a real file: exit codes, streams and both languages.
class BoardCheckProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(dir_ / "folder");
        Write("clean.ini", "[sys]\ncount=2\n[PC1]\nCaption=A\nWidth=20\nHeight=20\n");
        Write("bad.ini", PC1("Width=60px\n"));
    }

    void Write(const std::string& name, std::string_view bytes) { psbtest::WriteBytes(dir_ / name, bytes); }
    std::string Read(const std::string& name) const { return psbtest::ReadBytes(dir_ / name); }

    int Run(const std::string& args, const std::string& locale = "C")
    {
        const std::string command = "cd '" + dir_.Path().string() + "' && env -u LANG -u LC_MESSAGES LC_ALL=" + locale +
                                    " " + PSB_BOARDCHECK + " " + args + " >out 2>err";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    psbtest::TScratchFolder dir_{"check"};
};

TEST_F(BoardCheckProgram, ExitCodesAndStreams)
{
    // Arguments, exit code, and text that standard output holds (standard error for code 2).
    const std::tuple<std::string, int, std::string> cases[] = {
        {"clean.ini", 0, "clean.ini: 1 PC(s) shown, 0 warning(s), 0 error(s); read as UTF-8\n"},
        {"bad.ini", 1, "bad.ini:5: error: Width=60px is not a plain integer and reads as 0\n"},
        {"--json bad.ini", 1, "\"line\": 5, \"severity\": \"error\", \"code\": \"not-integer\""},
        {"", 2, "boardcheck: sys.ini: no such file\n"},
        {"folder", 2, "boardcheck: folder: is a folder, not a board file\n"},
        {"--bogus clean.ini", 2, "boardcheck: usage: "},
        {"clean.ini bad.ini", 2, "boardcheck: usage: "},
        {"--svg nowhere/x.svg clean.ini", 2, "boardcheck: nowhere/x.svg: cannot be written\n"},
    };
    for (const auto& [args, code, says] : cases) {
        EXPECT_EQ(Run(args), code) << args;
        const std::string out = Read(code == 2 ? "err" : "out");
        EXPECT_NE(out.find(says), std::string::npos) << args << ":\n" << out;
        if (code == 2) {
            EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line: " << out;
        }
    }
}

TEST_F(BoardCheckProgram, SpeaksChineseWhenTheLocaleIs)
{
    EXPECT_EQ(Run("bad.ini", "zh_TW.UTF-8"), 1);
    EXPECT_NE(Read("out").find("bad.ini:5: error: Width=60px 不是單純的整數，讀作 0\n"), std::string::npos)
        << Read("out");
    EXPECT_NE(Read("out").find("顯示 1 台電腦，0 個警告，2 個錯誤"), std::string::npos) << Read("out");
    EXPECT_EQ(Run("", "zh_HK.UTF-8"), 2);
    EXPECT_EQ(Read("err"), "boardcheck: sys.ini：檔案不存在\n");
}

// The picture as rsvg-convert draws it.
TEST_F(BoardCheckProgram, PictureShowsTheBoardAndMarksItsProblems)
{
    Write("two.ini", PC1_PC2("Left=100\nTop=100\nWidth=80\nHeight=40\n", "Left=150\nTop=120\nWidth=80\nHeight=40\n"));
    ASSERT_EQ(Run("--svg two.svg two.ini"), 1);
    ASSERT_EQ(Read("out").substr(0, 10), "two.ini:3:") << "report line 1 is PC1's overlap";
    // PC1's yellow, the window left of it, PC2's yellow, marker 1 on PC1.
    ASSERT_EQ(std::system(("cd '" + dir_.Path().string() +
                           "' && rsvg-convert two.svg | convert png:- -format '%w %h %[hex:p{104,136}] "
                           "%[hex:p{99,136}] %[hex:p{226,156}] %[hex:p{101,107}]' info: > pixels")
                              .c_str()),
              0);
    EXPECT_EQ(Read("pixels"), "680 441 FFFF00 F0F0F0 FFFF00 E00000");
}

}  // namespace
