// The window built from a board file, selecting and marking, headless; fuzz_board checks more.
#include <gtest/gtest.h>

#include <tuple>

#include "board/BoardFile.h"
#include "tests/support/HeadlessBoard.h"
#include "tests/support/SevenSteps.h"

namespace {

using psbtest::HeadlessBoard;
using psbtest::WriteBytes;

class Board : public ::testing::Test {
protected:
    std::vector<std::string> Captions()
    {
        std::vector<std::string> captions;
        for (const TLabel* label : HeadlessBoard::Labels(board_.Build()))
            captions.push_back(label->Caption());
        return captions;
    }

    HeadlessBoard board_{"board"};
};

TEST_F(Board, EachPcIsAYellowCentredClickableLabelAboveTheFixedControls)
{
    board_.Write("[sys]\ncount=2\n[PC1]\nCaption=A\nLeft=-5\nTop=7\nWidth=2147483647\nHeight=1\n");
    TForm1& form = board_.Build();
    const auto labels = HeadlessBoard::Labels(form);
    ASSERT_EQ(labels.size(), 1u);
    const TLabel& a = *labels[0];
    EXPECT_EQ(form.Controls().back(), &a);
    EXPECT_EQ(std::make_tuple(a.Owner(), a.Name(), a.Color(), a.AutoSize(), a.Alignment(), a.Layout()),
              std::make_tuple(static_cast<TComponent*>(&form), std::string("A"), clYellow, false, taCenter, tlCenter));
    EXPECT_EQ((std::vector<int>{a.Left(), a.Top(), a.Width(), a.Height()}), (std::vector<int>{-5, 7, 2147483647, 1}));
}

// Beside the executable, whatever the working directory; a folder with Chinese in its name.
// A missing or unreadable file is the reader's, in IniFilesTest.
TEST_F(Board, ReadFromBesideTheExecutableOnly)
{
    const auto elsewhere = board_.Folder() / "elsewhere", chinese = board_.Folder() / "機房 看板";
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_directories(chinese);
    WriteBytes(elsewhere / "sys.ini", "[sys]\ncount=2\n[PC1]\nCaption=working dir\n");
    board_.Write("[sys]\ncount=2\n[PC1]\nCaption=beside\n");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere);
    const auto captions = Captions();
    std::filesystem::current_path(previous);
    EXPECT_EQ(captions, std::vector<std::string>{"beside"});

    board_.MoveExecutableTo(chinese);
    board_.Write("[sys]\ncount=2\n[PC1]\nCaption=ok\n");
    EXPECT_EQ(Captions(), std::vector<std::string>{"ok"});
}

// A PC section is "PC" and the number as written, letter case aside: anything after the
// digits, a leading zero or a sign makes it another section.
TEST_F(Board, OnlyPcAndTheNumberNameAPcSection)
{
    for (const auto& [name, number] :
         {std::pair<std::string_view, std::int32_t>{"PC1", 1}, {"pc12", 12}, {"Pc2147483647", 2147483647}})
        EXPECT_EQ(board::PcNumberOf(name), number) << name;
    for (const char* other :
         {"PC1a", "PC12x3", "PC1 ", "PC01", "PC0", "PC2147483648", "PC+1", "PC-1", "PC", "PCa", "xPC1", "P1"})
        EXPECT_EQ(board::PcNumberOf(other), 0) << other;

    board_.Write("[sys]\ncount=4\n[PC1a]\nCaption=1a\n[PC2]\nCaption=two\n[PC3b]\nCaption=3b\n[pc3]\nCaption=three\n");
    EXPECT_EQ(Captions(), (std::vector<std::string>{"two", "three"}));
}

class Marking : public Board {
public:
    void SetUp() override
    {
        board_.Write(psbtest::kTwoPcBoard);
        form_ = &board_.Build();
        form_->Show();
        const auto labels = HeadlessBoard::Labels(*form_);
        ASSERT_EQ(labels.size(), 2u);
        a_ = labels[0];
        b_ = labels[1];
    }

    // The driver of the seven steps: clicks go where the labels lie.
    void Press() { form_->Button1->Click(); }
    void Click(int x, int y) { HeadlessBoard::ClickAt(*form_, x, y); }
    std::string Edit1() const { return form_->Edit1->Text(); }
    std::string Edit2() const { return form_->Edit2->Text(); }
    std::string Colour(int x, int y) const
    {
        const TControl* c = form_->ControlAt(x, y);
        return !c ? "none" : c->Color() == clRed ? "red" : c->Color() == clYellow ? "yellow" : "other";
    }

protected:
    TForm1* form_ = nullptr;
    TLabel* a_ = nullptr;
    TLabel* b_ = nullptr;
};

TEST_F(Marking, TheSevenSteps)
{
    EXPECT_EQ(psbtest::RunSevenSteps(*this), "");
    EXPECT_EQ(a_->Color(), 0x000000FF);
    EXPECT_EQ(b_->Color(), 0x0000FFFF);
}

// Typed text is overwritten; that a red PC writes only the status field is a step of seven.
TEST_F(Marking, TypedTextIsOverwritten)
{
    form_->Edit1->SetText("typed");
    form_->Edit2->SetText("typed");
    b_->Click();
    EXPECT_EQ(Edit1() + "|" + Edit2(), "B|");
}

TEST_F(Marking, ColourChangeRepaintsOnlyThatLabelAtOnce)
{
    a_->Click();
    headless::Recorder().invalidated.clear();
    headless::Recorder().updates = 0;
    Press();
    ASSERT_FALSE(headless::Recorder().invalidated.empty());
    for (const TRect64& r : headless::Recorder().invalidated)
        EXPECT_EQ(r, a_->BoundsRect());
    EXPECT_EQ(headless::Recorder().updates, 1);
}

TEST_F(Marking, StrayClickOfNoLabelSelectsNothingAndTheSelectionEndsWithTheWindow)
{
    a_->Click();
    a_->OnClick()(form_->Button1);  // a PC label's handler with another sender
    EXPECT_EQ(SelectedLabel, nullptr);
    Press();
    EXPECT_EQ(a_->Color(), clYellow);
    b_->Click();
    board_.Destroy();
    EXPECT_EQ(SelectedLabel, nullptr);
}

}  // namespace
