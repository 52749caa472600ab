// The editor's window without a screen: what its keys, fields, menus and closing do to the
// board it shows, in English.
#include <gtest/gtest.h>

#include "tests/support/HeadlessEditForm.h"
#include "tests/support/ScratchFolder.h"

namespace {

const std::string kEditFormBoard =
    "[sys]\ncount=3\n"
    "[PC1]\nCaption=A\nLeft=40\nTop=40\nWidth=80\nHeight=30\n"
    "[PC2]\nCaption=\nLeft=200\nTop=40\nWidth=80\nHeight=30\n";

class EditForm : public psbtest::THeadlessEditForm {
protected:
    void SetUp() override
    {
        THeadlessEditForm::SetUp();
        Open(folder_.Write("room.ini", kEditFormBoard).string());
    }
    TListBox* Findings()
    {
        for (TControl* c : form().WindowedControls())
            if (form().AccessibleName(*c) == "Findings")
                return dynamic_cast<TListBox*>(c);
        return nullptr;
    }
    static std::vector<std::string> Lines(const TListBox& list)
    {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < list.Count(); ++i)
            lines.push_back(list.Line(i));
        return lines;
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
    EXPECT_EQ(PcLabel(0)->Left(), 40 + form().BoardOffset().x);
    Key(vkTab);
    EXPECT_EQ(Field("Left")->Text(), "40");
    EXPECT_EQ(Field("Caption")->Text(), "A");
    EXPECT_EQ(form().AccessibleStatus(*PcLabel(0)), "left 40, top 40, width 80, height 30");
    EXPECT_TRUE(form().IsControlSelected(*PcLabel(0)));
    EXPECT_EQ(form().AccessibleName(*PcLabel(1)), "PC2");

    Key(vkRight, ssShift);
    EXPECT_EQ(PcLabel(0)->Left(), 48 + form().BoardOffset().x);
    EXPECT_EQ(Field("Left")->Text(), "48");
    EXPECT_EQ(form().Caption(), "*room.ini - Board Editor");
    Key('Z', ssCtrl);
    EXPECT_EQ(PcLabel(0)->Left(), 40 + form().BoardOffset().x);
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
    EXPECT_EQ(PcLabel(0)->Top(), 64 + form().BoardOffset().y);
    EXPECT_EQ(PcLabel(1)->Top(), 64 + form().BoardOffset().y);
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
    TListBox* findings = Findings();
    ASSERT_NE(findings, nullptr);
    const std::vector<std::string> before = Lines(*findings);
    EXPECT_EQ(before, std::vector<std::string>{"No findings"});
    Key(vkTab);
    Field("Left")->SetText("180");
    Key(vkReturn, 0, Field("Left"));
    EXPECT_EQ(Lines(*findings), before);
    EXPECT_EQ(headless::Recorder().timers.size(), 1u);
    Tick();
    EXPECT_TRUE(headless::Recorder().timers.empty());
    const std::vector<std::string> after = Lines(*findings);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_NE(after.back().find("PC2"), std::string::npos) << after.back();
}

// Thousands of findings: the list has a row for each, the row of a finding written from it
// when asked for.
TEST_F(EditForm, ThousandsOfFindingsAreRowsReadWhenAskedFor)
{
    std::string board = "[sys]\ncount=2001\n";
    for (int pc = 1; pc <= 2000; ++pc)
        board += "[PC" + std::to_string(pc) + "]\nLeft=" + std::to_string(pc % 50 * 10) +
                 "\nTop=" + std::to_string(pc / 50 * 10) + "\nWidth=8\nHeight=8\nNote=x\n";
    Open(folder_.Write("many.ini", board).string());
    TListBox* findings = Findings();
    ASSERT_NE(findings, nullptr);
    const check::TBoardCheck checked = check::CheckBoard(board);
    ASSERT_GE(checked.findings.size(), 2000u);
    ASSERT_EQ(findings->Count(), checked.findings.size());
    // PC2000's Note is on line 2 + 6 * 2000, the last.
    ASSERT_EQ(checked.findings.back().line, 12002u);
    const std::string last = findings->Line(findings->Count() - 1);
    EXPECT_TRUE(last.starts_with("line 12002:") && last.find("[PC2000]") != std::string::npos) << last;
    EXPECT_EQ(findings->Line(findings->Count()), "") << "past the end";
}

// Read as assistive technology reads the editor: each field by the caption beside it, the
// findings by their heading; a PC's default action selects it, as a click does, and what has
// no action says so rather than doing nothing.
TEST_F(EditForm, AScreenReaderHearsEachFieldAndChoosesAPc)
{
    Key('G', ssCtrl);  // the generator's fields too
    const TAccessibleForm m(form());
    std::vector<std::string> names;
    for (const TControl* c : form().WindowedControls())
        if (c->NativeKind() != TNativeKind::Button)
            names.push_back(m.Name(m.ChildOf(*c)));
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Caption",  "Left",    "Top",        "Width",    "Height",   "Grid", "Plan left",
                         "Plan top", "Scale %", "Opacity %",  "Distance", "Findings", "Rows", "Columns",
                         "Width",    "Height",  "Gap across", "Gap down", "Left",     "Top",  "Caption"}));

    const std::size_t pc2 = m.ChildOf(*PcLabel(1));
    EXPECT_FALSE(m.DefaultAction(pc2).empty());
    EXPECT_TRUE(m.DoDefaultAction(pc2));
    EXPECT_EQ(form().Editor().Selection(), std::vector<std::size_t>{1});
    EXPECT_EQ(m.Selection(), pc2);
    EXPECT_EQ(Field("Left")->Text(), "200");
    for (TControl* c : form().Controls())
        if (c->IsWindowless() && !form().IsItem(*c)) {
            EXPECT_EQ(m.DefaultAction(m.ChildOf(*c)), "");
            EXPECT_FALSE(m.DoDefaultAction(m.ChildOf(*c)));
        }
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
    EXPECT_EQ(psbtest::ReadBytes(path_), kEditFormBoard);
    EXPECT_TRUE(form().CloseQuery());
    EXPECT_NE(psbtest::ReadBytes(path_).find("Top=41"), std::string::npos);
    EXPECT_EQ(headless::Recorder().dialogs.size(), 3u);
}

// The generator's fields come with Ctrl+G; Enter in one places the grid as one step.
TEST_F(EditForm, GeneratorPlacesAGridAsOneStep)
{
    EXPECT_EQ(Field("Rows"), nullptr);
    Key('G', ssCtrl);
    ASSERT_NE(Field("Rows"), nullptr);
    Field("Rows")->SetText("2");
    Field("Columns")->SetText("3");
    Key(vkReturn, 0, Field("Columns"));
    ASSERT_EQ(form().Editor().Pcs().size(), 8u);
    EXPECT_EQ(form().Editor().Pcs().back().entry.caption, "PC-06");
    // Again: the same fields, as they were left.
    Key('G', ssCtrl);
    EXPECT_EQ(Field("Rows")->Text(), "2");
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

// A drag is a step: the title says so, and undo takes it back; a click only selects.
TEST_F(EditForm, ADragIsAStepAndAClickIsNot)
{
    Drag({50, 50}, {50, 50});
    EXPECT_EQ(form().Editor().Selection(), std::vector<std::size_t>{0});
    EXPECT_EQ(form().Caption(), "room.ini - Board Editor");
    Drag({50, 50}, {90, 50});
    EXPECT_EQ(PcLabel(0)->Left(), 80 + form().BoardOffset().x);
    EXPECT_EQ(form().Caption(), "*room.ini - Board Editor");
    EXPECT_EQ(Field("Left")->Text(), "80");
    Key('Z', ssCtrl);
    EXPECT_EQ(PcLabel(0)->Left(), 40 + form().BoardOffset().x);
}

// The arrange menu's commands each do what they name, to the whole selection.
TEST_F(EditForm, ArrangeMenuDistributesEachWay)
{
    Key(vkInsert);  // a third PC, at 8, 8
    Key('A', ssCtrl);
    // Lefts 8, 40, 200 and widths 64, 80, 80: 48 of room, 24 a gap.
    MenuItem("Distribute Acr&oss")->Click();
    EXPECT_EQ(form().Editor().Pcs()[0].entry.left, 96);
    EXPECT_EQ(form().Editor().Pcs()[0].entry.top, 40);
    Key('Z', ssCtrl);
    // Tops 8, 40, 40 and heights 24, 30, 30: 22 short, so 11 of overlap each.
    MenuItem("Distribute Do&wn")->Click();
    EXPECT_EQ(form().Editor().Pcs()[0].entry.left, 40);
    EXPECT_EQ(form().Editor().Pcs()[0].entry.top, 21);
    MenuItem("Align &Left")->Click();
    EXPECT_EQ(form().Editor().Pcs()[1].entry.left, 8);
}

// A finding chosen in the list selects the PC it is about and shows its values.
TEST_F(EditForm, ChoosingAFindingSelectsItsPc)
{
    Key(vkTab);
    Field("Left")->SetText("180");
    Key(vkReturn, 0, Field("Left"));
    Key(vkEscape);
    Tick();
    TListBox* findings = Findings();
    ASSERT_NE(findings, nullptr);
    ASSERT_EQ(findings->Count(), 1u);  // PC1 now lies under PC2
    EXPECT_EQ(Field("Left")->Text(), "");
    findings->UserSelect(0);
    EXPECT_EQ(form().Editor().Selection(), std::vector<std::size_t>{0});
    EXPECT_EQ(Field("Left")->Text(), "180");
}

// With no file, an empty board; saved, it is the new file.
TEST_F(EditForm, ABoardFromNoFileIsSavedAsANewFile)
{
    const std::filesystem::path path = folder_.Path() / "new.ini";
    Open(path.string());
    EXPECT_TRUE(form().Editor().Pcs().empty());
    EXPECT_TRUE(headless::Recorder().dialogs.empty());
    Key(vkInsert);
    EXPECT_EQ(form().Caption(), "*new.ini - Board Editor");
    Key('S', ssCtrl);
    EXPECT_EQ(form().Caption(), "new.ini - Board Editor");
    EXPECT_NE(psbtest::ReadBytes(path).find("[PC1]"), std::string::npos);
    EXPECT_TRUE(headless::Recorder().dialogs.empty());
}

// A backup the admin made is never saved over: the board as opened goes to the next free
// name, and a box says so, as the status bar does.
TEST_F(EditForm, AnAdminsBackupIsKeptAndTheOtherNameIsSaid)
{
    const std::filesystem::path admins = folder_.Write("room.ini.bak", "[sys]\r\ncount=1\r\n");
    Key(vkInsert);
    Key('S', ssCtrl);
    EXPECT_EQ(psbtest::ReadBytes(admins), "[sys]\r\ncount=1\r\n");
    EXPECT_EQ(psbtest::ReadBytes(folder_.Path() / "room.ini.1.bak"), kEditFormBoard);
    ASSERT_EQ(headless::Recorder().dialogs.size(), 1u);
    EXPECT_NE(headless::Recorder().dialogs[0].find("room.ini.1.bak"), std::string::npos);
    EXPECT_EQ(form().Status(), headless::Recorder().dialogs[0]);
    // The next save keeps that backup, and needs no box.
    Key(vkInsert);
    Key('S', ssCtrl);
    EXPECT_EQ(headless::Recorder().dialogs.size(), 1u);
    EXPECT_EQ(psbtest::ReadBytes(folder_.Path() / "room.ini.1.bak"), kEditFormBoard);
}

// A board there that cannot be read is never shown empty: its reason is given with Retry,
// which reads again, and Cancel, which opens nothing.
TEST_F(EditForm, AnUnreadableBoardOffersRetryOrNothing)
{
    const std::filesystem::path path = folder_.Path() / "folder.ini";
    std::filesystem::create_directory(path);
    headless::Recorder().messageAnswers = {mrRetry, mrCancel};
    EXPECT_EQ(editor::OpenForEditing(path.string()), nullptr);
    const std::string why = path.string() + " could not be read: Is a directory";
    EXPECT_EQ(headless::Recorder().dialogs, (std::vector<std::string>{why, why}));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

// Someone else saved the board: Save and coming back to the window say so, once for each
// change, and offer reloading theirs (asked first) or saving mine elsewhere; nothing of theirs
// is written over.
TEST_F(EditForm, SomeoneElsesSaveOffersWaysOn)
{
    auto& r = headless::Recorder();
    std::string theirs = kEditFormBoard;
    theirs.replace(theirs.find("Caption=A"), 9, "Caption=Theirs");
    Key(vkTab);
    Key(vkDown);
    psbtest::WriteBytes(path_, theirs);
    Key('S', ssCtrl);  // closed: still mine, unsaved
    ASSERT_EQ(r.dialogs.size(), 1u);
    EXPECT_EQ(r.dialogs[0], path_ +
                                " is no longer what was opened here: another program has saved it since. "
                                "Nothing of yours has been written to it.");
    EXPECT_EQ(psbtest::ReadBytes(path_), theirs);
    EXPECT_EQ(form().Caption(), "*room.ini - Board Editor");
    form().Activated();  // the same change: told already
    EXPECT_EQ(r.dialogs.size(), 1u);

    r.choiceAnswers = {1, 1};  // after merging, the default
    r.messageAnswers = {mrNo, mrYes};
    Key('S', ssCtrl);  // reload, but not after all
    EXPECT_EQ(form().Editor().Pcs()[0].entry.top, 41);
    Key('S', ssCtrl);
    EXPECT_EQ(form().Editor().Pcs()[0].entry.caption, "Theirs");
    EXPECT_EQ(form().Editor().Pcs()[0].entry.top, 40);
    EXPECT_EQ(form().Caption(), "room.ini - Board Editor");
    EXPECT_EQ(r.dialogs.size(), 5u);

    Key(vkTab);
    Key(vkDown);
    const std::string again = theirs + "; again\n";
    psbtest::WriteBytes(path_, again);
    const std::string mine = (folder_.Path() / "mine.ini").string();
    r.choiceAnswers = {2};
    r.saveAnswers = {mine};
    form().Activated();
    EXPECT_EQ(psbtest::ReadBytes(path_), again);
    EXPECT_NE(psbtest::ReadBytes(mine).find("Top=41"), std::string::npos);
    EXPECT_EQ(form().Caption(), "mine.ini - Board Editor");
    form().Activated();
    EXPECT_EQ(r.dialogs.size(), 7u);  // the box and the save dialog
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    return text.replace(text.find(from), from.size(), to);
}

// Someone else changed another PC: merging, the default way, shows both, unsaved, with one
// undo back to theirs; the next save goes over theirs without a word.
TEST_F(EditForm, MergingAnotherPcsChangeKeepsBoth)
{
    auto& r = headless::Recorder();
    Key(vkTab);
    Key(vkDown);
    const std::string theirs = Replaced(kEditFormBoard, "Left=200", "Left=240");
    psbtest::WriteBytes(path_, theirs);
    r.choiceAnswers = {0};
    Key('S', ssCtrl);
    EXPECT_TRUE(r.eachShown.empty());
    EXPECT_EQ(psbtest::ReadBytes(path_), theirs);
    const std::string merged = Replaced(theirs, "Top=40", "Top=41");
    EXPECT_EQ(form().Editor().Document().Bytes(), merged);
    EXPECT_EQ(form().Caption(), "*room.ini - Board Editor");
    EXPECT_EQ(form().Status(),
              "Merged with room.ini as saved meanwhile. Your changes made again on it: 1; both "
              "changed the same: 0, kept as yours: 0; refused: 0. Not saved yet; Undo shows theirs.");
    form().Editor().Undo();
    EXPECT_EQ(form().Editor().Document().Bytes(), theirs);
    form().Editor().Redo();

    Key('S', ssCtrl);
    EXPECT_EQ(psbtest::ReadBytes(path_), merged);
    EXPECT_EQ(form().Caption(), "room.ini - Board Editor");
    EXPECT_EQ(r.dialogs.size(), 1u);
}

// Both changed the same value: the list names it with theirs and mine, theirs kept at first;
// Cancel leaves my work as it was, theirs kept gives their file, mine kept gives mine over
// their other changes.
TEST_F(EditForm, TheSameValueChangedByBothIsKeptAsChosen)
{
    auto& r = headless::Recorder();
    Key(vkTab);
    Key(vkDown);
    const std::string theirs = Replaced(kEditFormBoard, "Top=40", "Top=48");
    psbtest::WriteBytes(path_, theirs);
    r.choiceAnswers = {0, 0};
    Key('S', ssCtrl);  // the list cancelled
    ASSERT_EQ(r.eachShown.size(), 1u);
    EXPECT_EQ(r.eachShown[0], std::vector<std::string>{"PC 1 \"A\", Top: theirs 48, mine 41 \u2014 keeping theirs"});
    EXPECT_EQ(form().Editor().Pcs()[0].entry.top, 41);
    EXPECT_EQ(form().Caption(), "*room.ini - Board Editor");

    r.eachAnswers.push_back([](std::vector<bool> chosen) { return chosen; });
    Key('S', ssCtrl);
    EXPECT_EQ(form().Editor().Document().Bytes(), theirs);
    EXPECT_EQ(form().Caption(), "room.ini - Board Editor");  // nothing of mine is left to save

    Key(vkTab);
    Key(vkDown);  // 49
    const std::string again = Replaced(Replaced(theirs, "Top=48", "Top=60"), "Left=200", "Left=240");
    psbtest::WriteBytes(path_, again);
    r.choiceAnswers = {0};
    r.eachAnswers.push_back([](std::vector<bool> chosen) {
        chosen.at(0) = true;
        return chosen;
    });
    Key('S', ssCtrl);
    EXPECT_EQ(r.eachShown.back(),
              std::vector<std::string>{"PC 1 \"A\", Top: theirs 60, mine 49 \u2014 keeping theirs"});
    EXPECT_NE(form().Status().find("both changed the same: 1, kept as yours: 1"), std::string::npos);
    Key('S', ssCtrl);
    EXPECT_EQ(psbtest::ReadBytes(path_), Replaced(again, "Top=60", "Top=49"));
}

// A change of mine their file cannot take is named in a box, not dropped without a word.
TEST_F(EditForm, AChangeTheirFileRefusesIsSaid)
{
    auto& r = headless::Recorder();
    Key(vkTab);
    Key(vkTab);
    TEdit* caption = Field("Caption");
    ASSERT_NE(caption, nullptr);
    caption->SetText("\xF0\x9F\x98\x80");  // no Big5 for it
    Key(vkReturn, 0, caption);
    ASSERT_EQ(form().Editor().Pcs()[1].entry.caption, "\xF0\x9F\x98\x80");
    const std::string theirs = Replaced(kEditFormBoard, "Caption=A", "Caption=\xA5\xD2");  // Big5
    psbtest::WriteBytes(path_, theirs);
    r.choiceAnswers = {0};
    Key('S', ssCtrl);
    ASSERT_EQ(r.dialogs.size(), 2u);
    EXPECT_NE(
        r.dialogs[1].find("are not in the result:\nPC 2 \"\xF0\x9F\x98\x80\": Caption set to \"\xF0\x9F\x98\x80\""),
        std::string::npos)
        << r.dialogs[1];
    EXPECT_EQ(form().Editor().Document().Bytes(), theirs);
    EXPECT_NE(form().Status().find("refused: 1"), std::string::npos);
}

// The end of a Windows session asks as closing does; with no time to ask, or while asking,
// the work is kept beside the board, and the next start offers it back over the board as it
// was, so that a save still never goes over someone else's.
TEST_F(EditForm, TheEndOfASessionKeepsTheWork)
{
    auto& r = headless::Recorder();
    const std::string kept = path_ + ".recovery";
    EXPECT_TRUE(form().QueryEndSession(false));
    Key(vkTab);
    Key(vkDown);
    r.messageAnswers = {mrCancel, mrNo};
    EXPECT_FALSE(form().QueryEndSession(false));
    EXPECT_FALSE(std::filesystem::exists(kept));
    EXPECT_TRUE(form().QueryEndSession(false));
    form().EndSession(true);
    EXPECT_FALSE(std::filesystem::exists(kept));  // the user chose to lose the changes
    form().EndSession(false);
    EXPECT_TRUE(form().QueryEndSession(true));
    EXPECT_EQ(r.dialogs.size(), 2u);
    form().EndSession(true);
    ASSERT_TRUE(std::filesystem::exists(kept));
    const std::string edited = form().Editor().Document().Bytes();

    r.messageAnswers = {mrNo};
    EXPECT_EQ(editor::OpenForEditing(path_)->Editor().Document().Bytes(), kEditFormBoard);
    EXPECT_FALSE(std::filesystem::exists(kept));

    EXPECT_TRUE(form().QueryEndSession(true));
    r.messageAnswers = {mrYes};
    Open(path_);
    EXPECT_EQ(form().Editor().Document().Bytes(), edited);
    EXPECT_EQ(form().Caption(), "*room.ini - Board Editor");
    Key('S', ssCtrl);
    EXPECT_EQ(psbtest::ReadBytes(path_), edited);
    EXPECT_FALSE(std::filesystem::exists(kept));

    // Kept over the board as it was; someone else saved it before the next start.
    Key(vkTab);
    Key(vkDown);
    EXPECT_TRUE(form().QueryEndSession(true));
    psbtest::WriteBytes(path_, kEditFormBoard);
    r.messageAnswers = {mrYes};
    Open(path_);
    r.dialogs.clear();
    Key('S', ssCtrl);
    ASSERT_EQ(r.dialogs.size(), 1u);
    EXPECT_EQ(r.dialogs[0].find(" is no longer what was opened here"), path_.size());
    EXPECT_EQ(psbtest::ReadBytes(path_), kEditFormBoard);
    EXPECT_TRUE(std::filesystem::exists(kept));
}

}  // namespace
