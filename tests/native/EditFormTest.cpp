// The editor's window without a screen: what its keys, fields, menus and closing do to the
// board it shows, in English.
#include <gtest/gtest.h>

#include "editor/EditForm.h"
#include "editor/EditorTexts.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/headless/Headless.h"
#include "tests/support/ScratchFolder.h"

namespace {

const std::string kBoard =
    "[sys]\ncount=3\n"
    "[PC1]\nCaption=A\nLeft=40\nTop=40\nWidth=80\nHeight=30\n"
    "[PC2]\nCaption=\nLeft=200\nTop=40\nWidth=80\nHeight=30\n";

class EditForm : public testing::Test {
protected:
    void SetUp() override
    {
        editor::SetLanguage(check::TLanguage::English);
        EditFilePath = folder_.Write("room.ini", kBoard).string();
        Application->CreateForm(::EditForm);
        form().Show();
        Tick();
    }
    void TearDown() override
    {
        Application->DestroyForms();
        ::EditForm = nullptr;
        EditFilePath.clear();
        headless::Reset();
    }

    TEditForm& form() { return *::EditForm; }
    // The loop's timers, due.
    static void Tick()
    {
        for (TTimer* timer : std::vector<TTimer*>(headless::Recorder().timers))
            timer->Tick();
    }
    bool Key(std::uint16_t key, TShiftState shift = 0, TControl* native = nullptr)
    {
        TKeyInfo info{key, shift};
        return form().KeyDown(info, native);
    }
    TEdit* Field(const std::string& name)
    {
        for (TControl* c : form().WindowedControls())
            if (form().AccessibleName(*c) == name)
                return dynamic_cast<TEdit*>(c);
        return nullptr;
    }
    const TLabel* PcLabel(std::size_t place)
    {
        std::vector<const TLabel*> labels;
        for (const TControl* c : form().Controls())
            if (form().IsItem(*c))
                labels.push_back(static_cast<const TLabel*>(c));
        return labels.at(place);
    }

    psbtest::TScratchFolder folder_{"editform"};
};

// Tab picks PC1, whose values fill the fields; an arrow moves it on the canvas, marks the
// title, and Ctrl+Z (the menu's shortcut) takes it back.
TEST_F(EditForm, KeysMoveThePcAndTheMenuUndoesIt)
{
    EXPECT_EQ(form().Caption(), "room.ini - Board Editor");
    EXPECT_EQ(PcLabel(0)->Left(), 40 + form().Origin().x);
    Key(vkTab);
    EXPECT_EQ(Field("Left")->Text(), "40");
    EXPECT_EQ(Field("Caption")->Text(), "A");
    EXPECT_EQ(form().AccessibleStatus(*PcLabel(0)), "left 40, top 40, width 80, height 30");
    EXPECT_TRUE(form().IsControlSelected(*PcLabel(0)));
    EXPECT_EQ(form().AccessibleName(*PcLabel(1)), "PC2");

    Key(vkRight, ssShift);
    EXPECT_EQ(PcLabel(0)->Left(), 48 + form().Origin().x);
    EXPECT_EQ(Field("Left")->Text(), "48");
    EXPECT_EQ(form().Caption(), "*room.ini - Board Editor");
    Key('Z', ssCtrl);
    EXPECT_EQ(PcLabel(0)->Left(), 40 + form().Origin().x);
    EXPECT_EQ(form().Caption(), "room.ini - Board Editor");
}

// Enter in a field sets every selected PC, or changes nothing when the board would not read
// the value as typed.
TEST_F(EditForm, FieldsSetTheSelectionOrRefuse)
{
    Key('A', ssCtrl);
    EXPECT_EQ(Field("Top")->Text(), "40");
    EXPECT_EQ(Field("Left")->Text(), "");  // they differ
    const std::string before = form().Editor().Document().Bytes();
    Field("Width")->SetText("99999999999");
    EXPECT_TRUE(Key(vkReturn, 0, Field("Width")));
    EXPECT_EQ(form().Editor().Document().Bytes(), before);
    Field("Top")->SetText("64");
    Key(vkReturn, 0, Field("Top"));
    EXPECT_EQ(PcLabel(0)->Top(), 64 + form().Origin().y);
    EXPECT_EQ(PcLabel(1)->Top(), 64 + form().Origin().y);
    // Delete does not reach the board while a field has the keyboard; Shift+F6 goes back to it.
    EXPECT_FALSE(Key(vkDelete, 0, Field("Top")));
    EXPECT_EQ(form().Editor().Pcs().size(), 2u);
    EXPECT_TRUE(Key(vkF1 + 5, ssShift, Field("Top")));
    EXPECT_TRUE(Key(vkDelete));
    EXPECT_EQ(form().Editor().Pcs().size(), 0u);
}

// The checker's findings follow the board once it has been left alone a moment.
TEST_F(EditForm, FindingsFollowOnceTheBoardIsLeftAlone)
{
    auto* findings = dynamic_cast<TListBox*>(form().WindowedControls().back());
    ASSERT_NE(findings, nullptr);
    const std::vector<std::string> before = findings->Items();
    EXPECT_EQ(before, std::vector<std::string>{"No findings"});
    Key(vkTab);
    Field("Left")->SetText("180");
    Key(vkReturn, 0, Field("Left"));
    EXPECT_EQ(findings->Items(), before);
    EXPECT_EQ(headless::Recorder().timers.size(), 1u);
    Tick();
    EXPECT_TRUE(headless::Recorder().timers.empty());
    ASSERT_NE(findings->Items(), before);
    EXPECT_NE(findings->Items().back().find("PC2"), std::string::npos) << findings->Items().back();
}

// Closing with changes asks: Cancel stays, No goes without writing; Yes saves first.
TEST_F(EditForm, ClosingAsksToSave)
{
    EXPECT_TRUE(form().CloseQuery());
    Key(vkTab);
    Key(vkDown);
    auto& answers = headless::Recorder().messageAnswers;
    answers = {mrCancel, mrNo, mrYes};
    EXPECT_FALSE(form().CloseQuery());
    EXPECT_TRUE(form().CloseQuery());
    EXPECT_EQ(psbtest::ReadBytes(EditFilePath), kBoard);
    EXPECT_TRUE(form().CloseQuery());
    EXPECT_NE(psbtest::ReadBytes(EditFilePath).find("Top=41"), std::string::npos);
    EXPECT_EQ(headless::Recorder().dialogs.size(), 3u);
}

// The generator's fields come with Ctrl+G; Enter in one places the grid as one step.
TEST_F(EditForm, GeneratorPlacesAGridAsOneStep)
{
    const std::size_t fields = form().WindowedControls().size();
    Key('G', ssCtrl);
    EXPECT_EQ(form().WindowedControls().size(), fields + 10);
    Field("Rows")->SetText("2");
    Field("Columns")->SetText("3");
    Key(vkReturn, 0, Field("Columns"));
    ASSERT_EQ(form().Editor().Pcs().size(), 8u);
    EXPECT_EQ(form().Editor().Pcs().back().entry.caption, "PC-06");
    Key('G', ssCtrl);
    EXPECT_EQ(form().WindowedControls().size(), fields + 10);
    Key('Z', ssCtrl);
    EXPECT_EQ(form().Editor().Pcs().size(), 2u);
}

// A smaller window keeps the panel at its right edge, whole.
TEST_F(EditForm, PanelFollowsTheWindowsRightEdge)
{
    TControl* list = form().WindowedControls().back();
    const std::int32_t gap = form().ClientWidth() - list->Left();
    form().SetBounds(0, 0, 700, 600);
    EXPECT_EQ(form().ClientWidth() - list->Left(), gap);
    EXPECT_LE(list->Top() + list->Height(), 600);
}

}  // namespace
