// What a form does with its menu, its closing, its dialogs, a list box and its painting, as
// a backend reports the user to it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/headless/Headless.h"

namespace {

using Log = std::vector<std::string>;

// A File menu with Save (Ctrl+S) and a disabled Export submenu, and an Edit menu with Undo
// (Ctrl+Z), Redo (Ctrl+Shift+Z), a line and Delete (Del); an edit and a list box.
class MenuForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        menu_ = new TMainMenu(&form_);
        TMenuItem* file = Add(menu_->Items(), "&File");
        Add(*file, "&Save", ShortCut('S', ssCtrl));
        export_ = Add(*file, "&Export");
        Add(*export_, "As &text", ShortCut('T', ssCtrl));
        export_->SetEnabled(false);
        TMenuItem* edit = Add(menu_->Items(), "&Edit");
        Add(*edit, "&Undo", ShortCut('Z', ssCtrl));
        Add(*edit, "&Redo", ShortCut('Z', ssCtrl | ssShift));
        Add(*edit, "-");
        delete_ = Add(*edit, "&Delete", ShortCut(vkDelete));
        form_.SetMenu(menu_);
        edit_ = new TEdit(&form_);
        edit_->SetParent(&form_);
        list_ = new TListBox(&form_);
        list_->SetParent(&form_);
        form_.SetOnKeyDown([this](TObject*, TKeyInfo& k) { log_.push_back("form key " + std::to_string(k.key)); });
    }
    void TearDown() override { headless::Reset(); }

    TMenuItem* Add(TMenuItem& parent, const std::string& caption, TShortCut shortCut = {})
    {
        auto* item = new TMenuItem(&form_);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        item->SetOnClick([this, caption](TObject*) { log_.push_back(caption); });
        parent.Add(item);
        return item;
    }
    bool Press(std::uint16_t key, TShiftState shift, TControl* focused = nullptr)
    {
        TKeyInfo k{key, shift};
        return form_.KeyDown(k, focused);
    }
    Log Take() { return std::exchange(log_, {}); }

    TForm form_{nullptr};
    TMainMenu* menu_ = nullptr;
    TMenuItem *export_ = nullptr, *delete_ = nullptr;
    TEdit* edit_ = nullptr;
    TListBox* list_ = nullptr;
    Log log_;
};

TEST_F(MenuForm, AShortCutClicksItsEnabledItemAndGoesNoFurther)
{
    EXPECT_TRUE(Press('S', ssCtrl));
    EXPECT_TRUE(Press('Z', ssCtrl | ssShift));
    EXPECT_TRUE(Press('Z', ssCtrl, edit_)) << "with Ctrl, in an edit too";
    EXPECT_TRUE(Press(vkDelete, 0));
    EXPECT_EQ(Take(), (Log{"&Save", "&Redo", "&Undo", "&Delete"}));

    EXPECT_FALSE(Press('T', ssCtrl)) << "under a disabled submenu";
    delete_->SetEnabled(false);
    EXPECT_FALSE(Press(vkDelete, 0));
    delete_->SetEnabled(true);
    EXPECT_FALSE(Press(vkDelete, 0, edit_)) << "Del deletes text in an edit";
    EXPECT_FALSE(Press(vkDelete, 0, list_)) << "nor does it reach the menu from a list";
    EXPECT_FALSE(Press('S', 0));
    EXPECT_EQ(Take(), (Log{"form key " + std::to_string('T'), "form key " + std::to_string(vkDelete),
                           "form key " + std::to_string('S')}));
}

TEST_F(MenuForm, ItemsShowTheirShortCutsAndTellTheFormOfChanges)
{
    EXPECT_EQ(ShortCutToText(ShortCut('Z', ssCtrl | ssShift)), "Ctrl+Shift+Z");
    EXPECT_EQ(ShortCutToText(ShortCut(vkF1 + 4, ssAlt)), "Alt+F5");
    EXPECT_EQ(delete_->DisplayText(), "&Delete\tDel");
    EXPECT_EQ(menu_->Items().Items(0)->DisplayText(), "&File");

    const int before = headless::Recorder().menuChanges;
    delete_->SetChecked(true);
    delete_->SetCaption("&Remove");
    delete_->SetCaption("&Remove");
    EXPECT_EQ(headless::Recorder().menuChanges, before + 2);
    delete delete_;
    EXPECT_EQ(headless::Recorder().menuChanges, before + 3) << "gone from its menu";
    EXPECT_EQ(menu_->Items().Items(1)->Count(), 3u);
    EXPECT_FALSE(Press(vkDelete, 0));

    delete menu_;
    EXPECT_EQ(form_.Menu(), nullptr);
    EXPECT_FALSE(Press('S', ssCtrl));
}

TEST_F(MenuForm, CloseAsksFirst)
{
    bool allow = false;
    int asked = 0;
    form_.Show();
    form_.SetOnCloseQuery([&](TObject*, bool& canClose) {
        ++asked;
        canClose = allow;
    });
    form_.Close();
    EXPECT_TRUE(form_.Visible());
    allow = true;
    EXPECT_TRUE(form_.CloseQuery());
    form_.Close();
    EXPECT_FALSE(form_.Visible());
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(headless::Recorder().closed, (std::vector<TForm*>{&form_}));
}

TEST_F(MenuForm, DialogsTakeTheAnswersGiven)
{
    auto& recorder = headless::Recorder();
    recorder.messageAnswers = {mrNo};
    recorder.saveAnswers = {"/tmp/板.txt"};
    EXPECT_EQ(MessageDlg("Save changes?", "Editor", mbYesNoCancel), mrNo);
    EXPECT_EQ(MessageDlg("Again?", "Editor", mbYesNoCancel), mrCancel) << "no answer left: cancelled";
    EXPECT_EQ(PromptForSaveFileName("Save as", "", "Boards (*.txt)|*.txt"), "/tmp/板.txt");
    EXPECT_EQ(PromptForSaveFileName("Save as", "", "Boards (*.txt)|*.txt"), std::nullopt);
    EXPECT_EQ(recorder.dialogs, (Log{"Save changes?", "Again?", "Save as", "Save as"}));
}

TEST_F(MenuForm, AListBoxClicksOnlyForTheUser)
{
    list_->SetOnClick([this](TObject*) { log_.push_back("pick " + std::to_string(list_->ItemIndex())); });
    list_->SetItems({"PC01", "PC02", "PC03"});
    list_->SetItemIndex(1);
    EXPECT_EQ(list_->ItemIndex(), 1);
    list_->SetItemIndex(7);
    EXPECT_EQ(list_->ItemIndex(), -1) << "out of range: none";
    list_->UserSelect(2);
    list_->SetItems({"PC04"});
    EXPECT_EQ(list_->ItemIndex(), -1) << "new lines, no selection";
    EXPECT_EQ(Take(), (Log{"pick 2"}));
}

// A long list is a count: a line is made only when read.
TEST_F(MenuForm, AListBoxMakesALineOnlyWhenItIsRead)
{
    std::size_t made = 0;
    list_->SetLines(100000, [&made](std::size_t i) {
        ++made;
        return "row " + std::to_string(i);
    });
    form_.Show();
    EXPECT_EQ(list_->Count(), 100000u);
    EXPECT_EQ(made, 0u);
    EXPECT_EQ(list_->Line(99999), "row 99999");
    EXPECT_EQ(list_->Line(100000), "");
    EXPECT_EQ(made, 1u);
    list_->SetItemIndex(99999);
    EXPECT_EQ(list_->ItemIndex(), 99999);
    list_->SetLines(3, [](std::size_t) { return std::string("again"); });
    EXPECT_EQ(list_->ItemIndex(), -1) << "new lines, no selection";
}

TEST_F(MenuForm, InvalidatingAreasOnceShown)
{
    auto& invalidated = headless::Recorder().invalidated;
    form_.Invalidate(TRect64::Of(10, 10, 5, 5));
    EXPECT_TRUE(invalidated.empty()) << "nothing shown yet";
    form_.Show();
    form_.Invalidate(TRect64::Of(10, 10, 5, 5));
    form_.Invalidate({});
    form_.Invalidate();
    ASSERT_EQ(invalidated.size(), 2u);
    EXPECT_EQ(invalidated[0], TRect64::Of(10, 10, 5, 5));
    EXPECT_TRUE(invalidated[1].Contains(INT32_MIN, INT32_MIN) && invalidated[1].Contains(INT32_MAX - 1, INT32_MAX - 1));
}

TEST_F(MenuForm, WheelAndScrollBarsInDesignPixels)
{
    std::vector<std::string> log;
    form_.SetOnMouseWheel([&](TObject*, const TMouseWheelInfo& w) {
        log.push_back("wheel " + std::to_string(w.delta) + " " + std::to_string(w.shift) + " " + std::to_string(w.x) +
                      "," + std::to_string(w.y));
    });
    form_.SetOnScroll([&](TObject*, TScrollBarKind kind, std::int32_t at) {
        log.push_back((kind == sbVertical ? "v " : "h ") + std::to_string(at));
    });
    form_.MouseWheel(-240, ssShift, {150, 30}, 144);
    form_.SetScrollBars({}, {1000, 300, 0});
    form_.Scroll(sbVertical, scLineDown);
    form_.Scroll(sbVertical, scPageDown);
    form_.Scroll(sbVertical, scBottom);
    form_.Scroll(sbVertical, scPageDown);  // already at the end: nothing
    form_.Scroll(sbVertical, scTrack, -50);
    form_.Scroll(sbHorizontal, scLineDown);  // no range: nothing
    EXPECT_EQ(log, (Log{"wheel -240 1 100,20", "v 16", "v 316", "v 700", "v 0"}));
    EXPECT_EQ(form_.ScrollBar(sbVertical), (TScrollRange{1000, 300, 0}));
}

}  // namespace
