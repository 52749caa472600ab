// Mouse and keys as a backend reports them, handed by the form to the control they concern.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/headless/Headless.h"

namespace {

using Log = std::vector<std::string>;

// Two painted controls logging their input, "above" over "below", which wants double clicks
// and the keyboard; a native edit; the form logs what lands on no control.
class InputForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        below_ = Add(0, 0, 100, 100, "below");
        above_ = Add(40, 40, 20, 10, "above");
        below_->SetOnDblClick([this](TObject*) { log_.push_back("below dblclick"); });
        below_->SetTakesFocus(true);
        edit_ = new TEdit(&form_);
        edit_->SetParent(&form_);
        form_.SetOnMouseMove(Mouse("form move"));
    }
    void TearDown() override { headless::Reset(); }

    TLabel* Add(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, const std::string& name)
    {
        auto* label = new TLabel(&form_);
        label->SetParent(&form_);
        label->SetBounds(left, top, width, height);
        label->SetOnMouseDown(Mouse(name + " down"));
        label->SetOnMouseMove(Mouse(name + " move"));
        label->SetOnMouseUp(Mouse(name + " up"));
        label->SetOnClick([this, name](TObject*) { log_.push_back(name + " click"); });
        label->SetOnKeyDown(Key(name + " key"));
        return label;
    }
    TMouseEvent Mouse(const std::string& what)
    {
        return [this, what](TObject*, const TMouseInfo& m) {
            log_.push_back(what + " " + std::to_string(m.button) + " " + std::to_string(m.shift) + " " +
                           std::to_string(m.x) + "," + std::to_string(m.y));
        };
    }
    TKeyEvent Key(const std::string& what, bool takes = false)
    {
        return [this, what, takes](TObject*, TKeyInfo& k) {
            log_.push_back(what + " " + std::to_string(k.key) + (k.repeat ? " repeat" : ""));
            k.handled = takes;
        };
    }
    void Click(TPoint64 p, bool doubleClick = false)
    {
        form_.MouseDown(mbLeft, ssLeft, p, 96, doubleClick);
        form_.MouseUp(mbLeft, 0, p, 96);
    }
    Log Take() { return std::exchange(log_, {}); }

    TForm form_{nullptr};
    TLabel *below_ = nullptr, *above_ = nullptr;
    TEdit* edit_ = nullptr;
    Log log_;
};

TEST_F(InputForm, ADragKeepsItsControlItsCursorAndItsDesignPixelsAtAnyDpi)
{
    above_->SetCursor(crSizeAll);
    form_.SetCursor(crCross);
    // At 144 DPI, pixel (66,66) is design (44,44): inside "above", 4,4 from its corner.
    EXPECT_TRUE(form_.MouseDown(mbLeft, ssLeft | ssShift, {66, 66}, 144));
    EXPECT_TRUE(form_.MouseMove(ssLeft, {-300, 900}, 144));  // far outside the window
    EXPECT_EQ(form_.CursorAt({5, 5}, 96), crSizeAll) << "held by the drag";
    EXPECT_FALSE(form_.MouseUp(mbLeft, 0, {-300, 900}, 144));
    EXPECT_EQ(Take(), (Log{"above down 0 9 4,4", "above move 0 8 -240,560", "above up 0 0 -240,560"}))
        << "no click: the release was elsewhere";
    EXPECT_EQ(form_.CursorAt({5, 5}, 96), crCross) << "below asks for none: the form's";
    // A second button joins the drag; a click needs the left press and release on the control.
    form_.MouseDown(mbRight, ssRight, {45, 45}, 96);
    EXPECT_TRUE(form_.MouseDown(mbLeft, ssRight | ssLeft, {90, 90}, 96));
    EXPECT_TRUE(form_.MouseUp(mbRight, ssLeft, {90, 90}, 96));
    EXPECT_FALSE(form_.MouseUp(mbLeft, 0, {45, 45}, 96));
    EXPECT_FALSE(form_.MouseUp(mbLeft, 0, {45, 45}, 96)) << "a release without its press belongs to nobody";
    // With no button held, a move goes to whatever lies under it.
    form_.MouseMove(0, {300, 300}, 96);
    form_.MouseMove(0, {5, 6}, 96);
    EXPECT_EQ(Take(), (Log{"above down 1 16 5,5", "above down 0 24 50,50", "above up 1 8 50,50", "above click",
                           "above up 0 0 5,5", "form move 0 0 300,300", "below move 0 0 5,6"}));
}

TEST_F(InputForm, ADragEndsOnceWhenTheMouseIsLostAndNeverReachesAControlThatWent)
{
    form_.MouseDown(mbLeft, ssLeft, {45, 45}, 96);
    form_.MouseMove(ssLeft, {47, 48}, 96);
    form_.MouseCaptureLost();
    form_.MouseCaptureLost();
    EXPECT_FALSE(form_.MouseUp(mbLeft, 0, {45, 45}, 96));
    form_.MouseDown(mbLeft, ssLeft, {45, 45}, 96);
    delete above_;
    form_.MouseMove(ssLeft, {10, 10}, 96);
    form_.MouseUp(mbLeft, 0, {10, 10}, 96);
    EXPECT_EQ(Take(), (Log{"above down 0 8 5,5", "above move 0 8 7,8", "above up 0 0 7,8", "above down 0 8 5,5"}));
}

TEST_F(InputForm, ADoubleClickIsAnEventOnlyForAControlThatAsks)
{
    Click({45, 45});
    Click({45, 45}, true);
    EXPECT_EQ(Take(), (Log{"above down 0 8 5,5", "above click", "above up 0 0 5,5", "above down 0 8 5,5", "above click",
                           "above up 0 0 5,5"}));
    Click({5, 5});
    Click({5, 5}, true);
    EXPECT_EQ(Take(), (Log{"below down 0 8 5,5", "below click", "below up 0 0 5,5", "below dblclick",
                           "below down 0 72 5,5", "below up 0 0 5,5"}));
}

TEST_F(InputForm, KeysGoToTheFocusAndAPreviewingFormSeesThemFirst)
{
    TKeyInfo key{0x25, ssShift, true};
    EXPECT_FALSE(form_.KeyDown(key, nullptr));
    form_.SetOnKeyDown(Key("form key"));
    form_.KeyDown(key, nullptr);
    EXPECT_EQ(Take(), Log{"form key 37 repeat"}) << "nothing focused: the form's own";
    // A press on a painted control that takes the focus gives it the form's keyboard.
    Click({5, 5});
    Take();
    EXPECT_EQ(headless::Recorder().focused, &form_);
    key = {0x26};
    form_.KeyDown(key, nullptr);
    // A native control with the focus gets its keys.
    edit_->SetOnKeyDown(Key("edit key", true));
    key = {0x41};
    EXPECT_TRUE(form_.KeyDown(key, edit_));
    EXPECT_EQ(Take(), (Log{"below key 38", "edit key 65"}));
    form_.SetKeyPreview(true);
    form_.SetOnKeyDown(Key("form key", true));
    key = {0x41, ssCtrl};
    EXPECT_TRUE(form_.KeyDown(key, edit_));
    EXPECT_EQ(Take(), Log{"form key 65"}) << "taken by the form, the key goes no further";
    key = {0x41};
    EXPECT_FALSE(form_.KeyUp(key, edit_)) << "no handler for releases";
    delete below_;
    EXPECT_EQ(form_.FocusedControl(), nullptr);
}

}  // namespace
