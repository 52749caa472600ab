#include "BoardFixture.h"

namespace {

const std::string kOutOfOrder = "\xE6\x95\x85\xE9\x9A\x9C\xE4\xB8\xAD";  // 故障中

class MarkingTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        WriteBoard("[sys]\ncount=3\n[PC1]\nCaption=A\nLeft=0\nTop=0\nWidth=50\nHeight=20\n"
                   "[PC2]\nCaption=B\nLeft=60\nTop=0\nWidth=50\nHeight=20\n");
        form_ = &Build();
        form_->Show();
        const auto labels = PcLabels(*form_);
        ASSERT_EQ(labels.size(), 2u);
        a_ = labels[0];
        b_ = labels[1];
    }

    // Where things stand: both fields and both colours, in one line for messages.
    std::string State() const
    {
        auto color = [](const TLabel* l) { return l->Color() == clRed ? "red" : l->Color() == clYellow ? "yellow" : "?"; };
        return "Edit1='" + form_->Edit1->Text() + "' Edit2='" + form_->Edit2->Text() + "' A=" + color(a_) +
               " B=" + color(b_);
    }

    void Press() { form_->Button1->Click(); }
    static void Click(TLabel* label) { label->Click(); }

    TForm1* form_ = nullptr;
    TLabel* a_ = nullptr;
    TLabel* b_ = nullptr;
};

TEST_F(MarkingTest, TheSevenSteps)
{
    EXPECT_EQ(SelectedLabel, nullptr);
    struct Step {
        const char* what;
        std::function<void()> act;
        std::string expected;
    };
    const Step steps[] = {
        {"1. button, nothing selected", [&] { Press(); }, "Edit1='' Edit2='' A=yellow B=yellow"},
        {"2. click A", [&] { Click(a_); }, "Edit1='A' Edit2='' A=yellow B=yellow"},
        {"3. button", [&] { Press(); }, "Edit1='A' Edit2='" + kOutOfOrder + "' A=red B=yellow"},
        {"4. click B", [&] { Click(b_); }, "Edit1='B' Edit2='' A=red B=yellow"},
        {"5. click red A", [&] { Click(a_); }, "Edit1='B' Edit2='" + kOutOfOrder + "' A=red B=yellow"},
        {"6. button", [&] { Press(); }, "Edit1='A' Edit2='' A=yellow B=yellow"},
        {"7. button again", [&] { Press(); }, "Edit1='A' Edit2='" + kOutOfOrder + "' A=red B=yellow"},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(State(), step.expected) << "after step " << step.what;
    }
    EXPECT_EQ(a_->Color(), 0x000000FF);
    EXPECT_EQ(b_->Color(), 0x0000FFFF);
}

TEST_F(MarkingTest, TypedTextIsOverwrittenByTheNextWrite)
{
    form_->Edit1->SetText("typed by the operator");
    form_->Edit2->SetText("also typed");
    Click(a_);
    EXPECT_EQ(State(), "Edit1='A' Edit2='' A=yellow B=yellow");
    Press();
    form_->Edit1->SetText("typed again");
    Click(a_);  // red: only the status field is written
    EXPECT_EQ(State(), "Edit1='typed again' Edit2='" + kOutOfOrder + "' A=red B=yellow");
}

TEST_F(MarkingTest, SameLabelTwiceAndManyPresses)
{
    Click(b_);
    Click(b_);
    EXPECT_EQ(State(), "Edit1='B' Edit2='' A=yellow B=yellow");
    for (int i = 1; i <= 101; ++i)
        Press();
    EXPECT_EQ(State(), "Edit1='B' Edit2='" + kOutOfOrder + "' A=yellow B=red");
    Press();
    EXPECT_EQ(State(), "Edit1='B' Edit2='' A=yellow B=yellow");
}

TEST_F(MarkingTest, ColourChangeRepaintsOnlyThatLabelAtOnce)
{
    Click(a_);
    headless::Recorder().invalidated.clear();
    headless::Recorder().updates = 0;
    Press();
    ASSERT_FALSE(headless::Recorder().invalidated.empty());
    for (const TRect64& r : headless::Recorder().invalidated)
        EXPECT_EQ(r, a_->BoundsRect());
    EXPECT_EQ(headless::Recorder().updates, 1);
}

TEST_F(MarkingTest, ClickFromSomethingNotALabelSelectsNothing)
{
    Click(a_);
    // A PC label's handler called with another sender, as a stray event would.
    a_->OnClick()(form_->Button1);
    EXPECT_EQ(SelectedLabel, nullptr);
    Press();
    EXPECT_EQ(State(), "Edit1='A' Edit2='' A=yellow B=yellow");
}

TEST_F(MarkingTest, SelectionEndsWithTheWindow)
{
    Click(a_);
    EXPECT_EQ(SelectedLabel, a_);
    Application->DestroyForms();
    EXPECT_EQ(SelectedLabel, nullptr);
}

}  // namespace
