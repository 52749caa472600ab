// Mouse and keys as a backend reports them, handed by the form to the control they concern.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Forms.h"
#include "platform/headless/Headless.h"

namespace {

// A form with two painted controls, each logging its input; the lower one wants double clicks
// and the keyboard.
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
        edit_->SetBounds(200, 0, 50, 20);
        form_.SetOnMouseDown(Logger("form down"));
        form_.SetOnMouseMove(Logger("form move"));
        form_.SetOnMouseUp(Logger("form up"));
    }
    void TearDown() override { headless::Reset(); }

    TLabel* Add(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, const std::string& name)
    {
        auto* label = new TLabel(&form_);
        label->SetParent(&form_);
        label->SetBounds(left, top, width, height);
        label->SetOnMouseDown(Logger(name + " down"));
        label->SetOnMouseMove(Logger(name + " move"));
        label->SetOnMouseUp(Logger(name + " up"));
        label->SetOnClick([this, name](TObject*) { log_.push_back(name + " click"); });
        label->SetOnKeyDown(KeyLogger(name + " key"));
        return label;
    }

    TMouseEvent Logger(const std::string& what)
    {
        return [this, what](TObject*, const TMouseInfo& m) {
            log_.push_back(what + " " + std::to_string(m.button) + " " + std::to_string(m.shift) + " " +
                           std::to_string(m.x) + "," + std::to_string(m.y));
        };
    }
    TKeyEvent KeyLogger(const std::string& what, bool handles = false)
    {
        return [this, what, handles](TObject*, TKeyInfo& k) {
            log_.push_back(what + " " + std::to_string(k.key) + (k.repeat ? " repeat" : ""));
            k.handled = handles;
        };
    }
    std::vector<std::string> Take() { return std::exchange(log_, {}); }

    TForm form_{nullptr};
    TLabel* below_ = nullptr;
    TLabel* above_ = nullptr;
    TEdit* edit_ = nullptr;
    std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

TEST_F(InputForm, ADragKeepsItsControlAndPointsAreItsDesignPixelsAtAnyDpi)
{
    // At 144 DPI, pixel (66,66) is design (44,44): inside "above", 4,4 from its corner.
    EXPECT_TRUE(form_.MouseDown(mbLeft, ssLeft | ssShift, {66, 66}, 144));
    EXPECT_TRUE(form_.MouseMove(ssLeft, {-300, 900}, 144));  // far outside the window
    EXPECT_FALSE(form_.MouseUp(mbLeft, 0, {-300, 900}, 144));
    EXPECT_EQ(Take(), (Log{"above down 0 9 4,4", "above move 0 8 -240,560", "above up 0 0 -240,560"}))
        << "no click: the release was elsewhere";
    form_.MouseDown(mbLeft, ssLeft, {66, 66}, 144);
    form_.MouseUp(mbLeft, 0, {60, 60}, 144);
    EXPECT_EQ(Take(), (Log{"above down 0 8 4,4", "above click", "above up 0 0 0,0"}));
    // Nothing under the pointer: the form gets it, in client design pixels; a move with no
    // button held goes to whatever lies under it.
    form_.MouseMove(0, {300, 300}, 96);
    form_.MouseMove(0, {5, 6}, 96);
    EXPECT_EQ(Take(), (Log{"form move 0 0 300,300", "below move 0 0 5,6"}));
}

TEST_F(InputForm, TheSecondButtonJoinsTheDragAndTheLastReleaseEndsIt)
{
    form_.MouseDown(mbRight, ssRight, {45, 45}, 96);
    EXPECT_TRUE(form_.MouseDown(mbLeft, ssRight | ssLeft, {90, 90}, 96));  // over "below" now
    EXPECT_TRUE(form_.MouseUp(mbRight, ssLeft, {90, 90}, 96));
    EXPECT_FALSE(form_.MouseUp(mbLeft, 0, {45, 45}, 96));
    EXPECT_EQ(Take(), (Log{"above down 1 16 5,5", "above down 0 24 50,50", "above up 1 8 50,50", "above click",
                           "above up 0 0 5,5"}));
    // A release whose press the window never saw belongs to nobody.
    EXPECT_FALSE(form_.MouseUp(mbLeft, 0, {45, 45}, 96));
    EXPECT_EQ(Take(), Log{});
}

TEST_F(InputForm, LosingTheMouseEndsADragOnce)
{
    form_.MouseDown(mbLeft, ssLeft, {45, 45}, 96);
    form_.MouseMove(ssLeft, {47, 48}, 96);
    form_.MouseCaptureLost();
    form_.MouseCaptureLost();
    EXPECT_FALSE(form_.MouseUp(mbLeft, 0, {45, 45}, 96));
    EXPECT_EQ(Take(), (Log{"above down 0 8 5,5", "above move 0 8 7,8", "above up 0 0 7,8"}));
}

TEST_F(InputForm, AControlThatGoesDuringItsDragHearsNoMore)
{
    form_.MouseDown(mbLeft, ssLeft, {45, 45}, 96);
    delete above_;
    form_.MouseMove(ssLeft, {10, 10}, 96);
    EXPECT_FALSE(form_.MouseUp(mbLeft, 0, {10, 10}, 96));
    EXPECT_EQ(Take(), (Log{"above down 0 8 5,5"}));
    form_.MouseDown(mbLeft, ssLeft, {45, 45}, 96);
    EXPECT_EQ(Take(), (Log{"below down 0 8 45,45"}));
}

TEST_F(InputForm, ADoubleClickIsAnEventOnlyForAControlThatAsks)
{
    const auto doubleClick = [&](TPoint64 p) {
        form_.MouseDown(mbLeft, ssLeft, p, 96);
        form_.MouseUp(mbLeft, 0, p, 96);
        form_.MouseDown(mbLeft, ssLeft, p, 96, true);
        form_.MouseUp(mbLeft, 0, p, 96);
    };
    doubleClick({45, 45});
    EXPECT_EQ(Take(), (Log{"above down 0 8 5,5", "above click", "above up 0 0 5,5", "above down 0 8 5,5", "above click",
                           "above up 0 0 5,5"}));
    doubleClick({5, 5});
    EXPECT_EQ(Take(), (Log{"below down 0 8 5,5", "below click", "below up 0 0 5,5", "below dblclick",
                           "below down 0 72 5,5", "below up 0 0 5,5"}));
}

TEST_F(InputForm, KeysGoToTheFocusAndAPreviewingFormSeesThemFirst)
{
    TKeyInfo key{0x25, ssShift, true};
    // Nothing focused: the form's own handler, if any.
    EXPECT_FALSE(form_.KeyDown(key, nullptr));
    form_.SetOnKeyDown(KeyLogger("form key"));
    form_.KeyDown(key, nullptr);
    EXPECT_EQ(Take(), Log{"form key 37 repeat"});

    // A press on a painted control that takes the focus gives it the form's keyboard.
    headless::Recorder().focused = nullptr;
    form_.MouseDown(mbLeft, ssLeft, {5, 5}, 96);
    form_.MouseUp(mbLeft, 0, {5, 5}, 96);
    Take();
    EXPECT_EQ(form_.FocusedControl(), below_);
    EXPECT_EQ(headless::Recorder().focused, &form_);
    key = {0x26, 0, false};
    form_.KeyDown(key, nullptr);
    EXPECT_EQ(Take(), Log{"below key 38"});
    // A native control with the focus gets its keys; the painted one keeps its focus for later.
    edit_->SetOnKeyDown(KeyLogger("edit key", true));
    key = {0x41, 0, false};
    EXPECT_TRUE(form_.KeyDown(key, edit_));
    EXPECT_EQ(Take(), Log{"edit key 65"});

    form_.SetKeyPreview(true);
    form_.SetOnKeyDown(KeyLogger("form key", true));
    key = {0x41, ssCtrl, false};
    EXPECT_TRUE(form_.KeyDown(key, edit_));
    EXPECT_EQ(Take(), Log{"form key 65"}) << "taken by the form, the key goes no further";
    key = {0x41, 0, false};
    EXPECT_FALSE(form_.KeyUp(key, edit_)) << "no handler for releases";

    delete below_;
    EXPECT_EQ(form_.FocusedControl(), nullptr);
}

TEST_F(InputForm, TheCursorIsTheOneOfTheControlUnderThePointerOrHoldingIt)
{
    form_.SetCursor(crCross);
    above_->SetCursor(crSizeAll);
    EXPECT_EQ(form_.CursorAt({45, 45}, 96), crSizeAll);
    EXPECT_EQ(form_.CursorAt({5, 5}, 96), crCross) << "below asks for none: the form's";
    form_.MouseDown(mbLeft, ssLeft, {45, 45}, 96);
    EXPECT_EQ(form_.CursorAt({5, 5}, 96), crSizeAll) << "held by the drag";
    form_.MouseUp(mbLeft, 0, {45, 45}, 96);
    EXPECT_EQ(form_.CursorAt({5, 5}, 96), crCross);
}

TEST(Input, LabelsWithoutInputCarryNone)
{
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetBounds(0, 0, 10, 10);
    int clicks = 0;
    label->SetOnClick([&](TObject*) { ++clicks; });
    form.MouseDown(mbLeft, ssLeft, {5, 5}, 96);
    form.MouseUp(mbLeft, 0, {5, 5}, 96);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(label->OnMouseDown());
    EXPECT_FALSE(label->TakesFocus());
    EXPECT_EQ(label->Cursor(), crDefault);
}

}  // namespace
