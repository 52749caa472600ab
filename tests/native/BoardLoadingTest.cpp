#include <unistd.h>

#include "BoardFixture.h"

namespace {

std::string Pc(int i, const std::string& caption, int left, int top, int width, int height)
{
    return "[PC" + std::to_string(i) + "]\nCaption=" + caption + "\nLeft=" + std::to_string(left) +
           "\nTop=" + std::to_string(top) + "\nWidth=" + std::to_string(width) + "\nHeight=" +
           std::to_string(height) + "\n";
}

std::vector<std::string> Captions(const std::vector<TLabel*>& labels)
{
    std::vector<std::string> captions;
    for (TLabel* l : labels)
        captions.push_back(l->Caption());
    return captions;
}

TEST_F(BoardTest, CountThreeReadsPc1AndPc2Only)
{
    WriteBoard("[sys]\ncount=3\n" + Pc(1, "A", 10, 20, 30, 40) + Pc(2, "B", -5, 7, 2147483647, 1) +
               Pc(3, "C", 1, 1, 1, 1));
    TForm1& form = Build();
    const auto labels = PcLabels(form);
    ASSERT_EQ(Captions(labels), (std::vector<std::string>{"A", "B"}));
    const TLabel& a = *labels[0];
    EXPECT_EQ(a.Owner(), &form);
    EXPECT_EQ(a.Parent(), &form);
    EXPECT_EQ(a.Name(), "A");
    EXPECT_EQ(a.Color(), clYellow);
    EXPECT_FALSE(a.AutoSize());
    EXPECT_EQ(a.Alignment(), taCenter);
    EXPECT_EQ(a.Layout(), tlCenter);
    EXPECT_TRUE(static_cast<bool>(a.OnClick()));
    EXPECT_EQ((std::vector<int>{a.Left(), a.Top(), a.Width(), a.Height()}), (std::vector<int>{10, 20, 30, 40}));
    const TLabel& b = *labels[1];
    EXPECT_EQ((std::vector<int>{b.Left(), b.Top(), b.Width(), b.Height()}),
              (std::vector<int>{-5, 7, 2147483647, 1}));
    // The board comes after the fixed controls, so PC labels lie above them.
    EXPECT_EQ(form.Controls().size(), 7u);
}

TEST_F(BoardTest, NoPcAtAllForSmallOrBadCountsOrNoFile)
{
    const std::string pcs = Pc(1, "A", 0, 0, 10, 10) + Pc(2, "B", 0, 0, 10, 10);
    for (const std::string sys : {"count=1", "count=0", "count=-5", "", "count=abc", "count=99999999999",
                                  "count=1.5", "count=0x10"}) {
        SCOPED_TRACE(sys);
        WriteBoard("[sys]\n" + sys + "\n" + pcs);
        EXPECT_TRUE(PcLabels(Build()).empty());
        Application->DestroyForms();
    }
    std::filesystem::remove(dir_ / "sys.ini");
    EXPECT_TRUE(PcLabels(Build()).empty());
    Application->DestroyForms();
    std::filesystem::create_directory(dir_ / "sys.ini");  // a directory where the file should be
    EXPECT_TRUE(PcLabels(Build()).empty());
}

TEST_F(BoardTest, MissingSectionLeavesNothingToSeeOrClick)
{
    WriteBoard("[sys]\ncount=4\n" + Pc(1, "A", 0, 0, 10, 10) + Pc(3, "C", 20, 0, 10, 10));
    TForm1& form = Build();
    EXPECT_EQ(Captions(PcLabels(form)), (std::vector<std::string>{"A", "C"}));
    for (int x = 0; x < 40; ++x) {
        const TControl* hit = form.ControlAt(x, 5);
        const char* expected = x < 10 ? "A" : (x >= 20 && x < 30 ? "C" : nullptr);
        if (expected)
            EXPECT_EQ(hit ? static_cast<const TLabel*>(hit)->Caption() : "", expected) << x;
        else
            EXPECT_EQ(hit, nullptr) << x;
    }
}

TEST_F(BoardTest, OnlyTheCanonicalSectionNameCounts)
{
    WriteBoard("[sys]\ncount=3\n" + Pc(1, "zero-padded", 0, 0, 5, 5).replace(0, 4, "[PC01]") +
               Pc(2, "second", 0, 0, 5, 5).replace(0, 4, "[pc2]") + "[PC+1]\nCaption=plus\n[PC 1]\nCaption=blank\n");
    EXPECT_EQ(Captions(PcLabels(Build())), (std::vector<std::string>{"second"}));
}

TEST_F(BoardTest, LabelsComeInAscendingNumberWhateverTheFileOrder)
{
    WriteBoard(Pc(10, "ten", 0, 0, 5, 5) + Pc(2, "two", 0, 0, 5, 5) + "[sys]\ncount=11\n" + Pc(1, "one", 0, 0, 5, 5) +
               Pc(2, "second two", 0, 0, 5, 5));
    EXPECT_EQ(Captions(PcLabels(Build())), (std::vector<std::string>{"one", "two", "ten"}));
}

TEST_F(BoardTest, AnyCaptionIsAName)
{
    WriteBoard("[sys]\ncount=6\n" + Pc(1, "", 0, 0, 5, 5) + Pc(2, "櫃台 一號", 0, 0, 5, 5) + Pc(3, "櫃台 一號", 0, 0, 5, 5) +
               Pc(4, "a b\tc", 0, 0, 5, 5) + Pc(5, "1st; #2 = [x]", 0, 0, 5, 5));
    const auto labels = PcLabels(Build());
    ASSERT_EQ(Captions(labels), (std::vector<std::string>{"", "櫃台 一號", "櫃台 一號", "a b\tc", "1st; #2 = [x]"}));
    for (const TLabel* l : labels)
        EXPECT_EQ(l->Name(), l->Caption());
}

TEST_F(BoardTest, ReadsTheBoardBesideTheExecutableNotTheWorkingDirectory)
{
    WriteBoard("[sys]\ncount=2\n" + Pc(1, "beside", 0, 0, 5, 5));
    const auto elsewhere = dir_ / "elsewhere";
    std::filesystem::create_directory(elsewhere);
    WriteFile(elsewhere / "sys.ini", "[sys]\ncount=2\n" + Pc(1, "working dir", 0, 0, 5, 5));
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere);
    const auto captions = Captions(PcLabels(Build()));
    std::filesystem::current_path(previous);
    EXPECT_EQ(captions, std::vector<std::string>{"beside"});
}

TEST_F(BoardTest, FolderWithChineseCharacters)
{
    const auto folder = dir_ / "機房 看板";
    std::filesystem::create_directory(folder);
    WriteFile(folder / "sys.ini", "[sys]\ncount=2\n" + Pc(1, "ok", 0, 0, 5, 5));
    headless::Recorder().exeName = (folder / "PcStatusBoard.exe").string();
    EXPECT_EQ(Captions(PcLabels(Build())), std::vector<std::string>{"ok"});
}

TEST_F(BoardTest, HugeCountWithThreeSectionsGivesThreeLabels)
{
    WriteBoard("[sys]\ncount=2147483647\n" + Pc(1, "first", 0, 0, 5, 5) + Pc(1000000, "middle", 10, 0, 5, 5) +
               Pc(2147483646, "last", 20, 0, 5, 5) + Pc(2147483647, "beyond", 30, 0, 5, 5));
    EXPECT_EQ(Captions(PcLabels(Build())), (std::vector<std::string>{"first", "middle", "last"}));
}

TEST_F(BoardTest, ExtremeCoordinatesAreKeptExactly)
{
    WriteBoard("[sys]\ncount=3\n[PC1]\nCaption=x\nLeft=-2147483648\nTop=2147483647\nWidth=2147483647\n"
               "Height=-2147483648\n[PC2]\nLeft=2147483648\nTop= +12 \nWidth=12px\nHeight=\"7\"\n");
    const auto labels = PcLabels(Build());
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ((std::vector<int>{labels[0]->Left(), labels[0]->Top(), labels[0]->Width(), labels[0]->Height()}),
              (std::vector<int>{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}));
    EXPECT_TRUE(labels[0]->BoundsRect().IsEmpty());
    // Out of range and not a number read as 0; quotes are the file's, not the number's.
    EXPECT_EQ((std::vector<int>{labels[1]->Left(), labels[1]->Top(), labels[1]->Width(), labels[1]->Height()}),
              (std::vector<int>{0, 12, 0, 7}));
}

}  // namespace
