// The floor plan in the editor: the geometry of placing and lining it up, and, without a screen,
// what its menu commands, fields and drags do to the board file, with pictures made here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "editor/PlanGeometry.h"
#include "platform/headless/Headless.h"
#include "tests/support/HeadlessEditForm.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/ScratchFolder.h"

using board::TFloorPlan;

namespace {

TFloorPlan At(std::int32_t left, std::int32_t top, std::int32_t scale)
{
    TFloorPlan plan;
    plan.file = "p.png";
    plan.left = left;
    plan.top = top;
    plan.scale = scale;
    return plan;
}

TEST(PlanGeometry, ThePictureCoversItsScaledSizeFromItsPlace)
{
    EXPECT_EQ(editor::PlanRect(At(10, -20, 5000), 400, 301), TRect64::Of(10, -20, 200, 151));
    EXPECT_EQ(editor::PlanRect(At(0, 0, 3333), 100, 100), TRect64::Of(0, 0, 33, 33));
    EXPECT_EQ(editor::PlanRect(At(0, 0, 1000000), 4000, 3000), TRect64::Of(0, 0, 400000, 300000));
    const TFloorPlan far = editor::MovedPlan(At(INT32_MAX - 5, 0, 10000), 10, -3);
    EXPECT_EQ(far.left, INT32_MAX);
    EXPECT_EQ(far.top, -3);
}

// Two points 500 pixels apart as shown, really 250: half the scale, the first point's spot of
// the picture where it was, and the second's now 250 pixels from it.
TEST(PlanGeometry, TwoPointsSetTheScaleAndKeepTheFirstInPlace)
{
    const TFloorPlan plan = At(100, 50, 10000);
    const std::optional<TFloorPlan> lined = editor::Calibrated(plan, {140, 80}, {440, 480}, 250);
    ASSERT_TRUE(lined);
    EXPECT_EQ(lined->scale, 5000);
    EXPECT_EQ(lined->left, 120);
    EXPECT_EQ(lined->top, 65);
    // The second spot of the picture (340, 430) is now at 120 + 170, 65 + 215.
    EXPECT_DOUBLE_EQ(std::hypot(290.0 - 140, 280.0 - 80), 250.0);
    // From a plan already scaled: the scale is to the picture, not to the last one.
    const std::optional<TFloorPlan> again = editor::Calibrated(*lined, {120, 65}, {120, 165}, 300);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->scale, 15000);
    EXPECT_EQ(again->left, 120);
    EXPECT_EQ(again->top, 65);

    EXPECT_FALSE(editor::Calibrated(plan, {5, 5}, {5, 5}, 100));
    EXPECT_FALSE(editor::Calibrated(plan, {0, 0}, {10, 0}, 0));
    EXPECT_FALSE(editor::Calibrated(plan, {0, 0}, {10, 0}, -10));
    EXPECT_FALSE(editor::Calibrated(plan, {0, 0}, {1, 0}, 1000));      // 100000 %
    EXPECT_FALSE(editor::Calibrated(plan, {0, 0}, {100000, 0}, 0.5));  // 0.0005 %
}

const std::string kEditPlanBoard =
    "[sys]\r\ncount=2\r\n[PC1]\r\nCaption=A\r\nLeft=40\r\nTop=40\r\nWidth=80\r\nHeight=30\r\n";

class EditPlan : public psbtest::THeadlessEditForm {
protected:
    void SetUp() override
    {
        THeadlessEditForm::SetUp();
        picture_ = folder_.Write("room.png", psbtest::Png(200, 100, [](int, int) { return 0xFF3080C0u; })).string();
    }
    void OpenBoard(std::string_view board) { Open(folder_.Write("sys.ini", board).string()); }

    std::string Bytes() { return form().Editor().Document().Bytes(); }
    std::optional<TFloorPlan> Plan() { return form().Editor().Document().FloorPlan(); }
    void Menu(const std::string& caption)
    {
        if (TMenuItem* item = MenuItem(caption))
            return item->Click();
        ADD_FAILURE() << "no menu item " << caption;
    }
    void Choose(const std::string& path)
    {
        headless::Recorder().openAnswers.push_back(path);
        Menu("Floor &Plan...");
    }
    void Type(const std::string& field, const std::string& text)
    {
        Field(field)->SetText(text);
        Key(vkReturn, 0, Field(field));
    }
    void Click(TPoint64 at)
    {
        const TPoint64 o = form().BoardOffset();
        form().MouseDown(mbLeft, 0, {at.x + o.x, at.y + o.y}, 96);
        form().MouseUp(mbLeft, 0, {at.x + o.x, at.y + o.y}, 96);
    }
    // The plan's one item for assistive technology.
    const TControl* PlanItem()
    {
        for (const TControl* c : form().Controls())
            if (form().AccessibleName(*c).starts_with("Floor plan"))
                return c;
        return nullptr;
    }

    psbtest::TScratchFolder folder_{"editplan"};
    std::string picture_;
};

// Chosen beside the board: kept by its own name, one step, under every PC for screen readers
// too, and it takes no click meant for a PC.
TEST_F(EditPlan, ChosenBesideTheBoardItIsOneStepUnderThePcs)
{
    OpenBoard(kEditPlanBoard);
    Choose(picture_);
    TFloorPlan chosen;
    chosen.file = "room.png";
    ASSERT_EQ(Plan(), chosen);
    EXPECT_EQ(Bytes(),
              kEditPlanBoard + "[FloorPlan]\r\nFile=room.png\r\nLeft=0\r\nTop=0\r\nScale=100\r\nOpacity=40\r\n");
    EXPECT_EQ(Field("Scale %")->Text(), "100");
    EXPECT_EQ(Field("Opacity %")->Text(), "40");

    const TControl* item = PlanItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(form().AccessibleName(*item), "Floor plan room.png");
    EXPECT_EQ(form().AccessibleStatus(*item), "left 0, top 0, width 200, height 100");
    EXPECT_FALSE(form().IsItem(*item));
    const auto pc = std::find_if(form().Controls().begin(), form().Controls().end(),
                                 [&](const TControl* c) { return form().IsItem(*c); });
    ASSERT_NE(pc, form().Controls().end());
    EXPECT_LT(form().IndexOf(*item), form().IndexOf(**pc)) << "under every PC";

    // A PC on the plan is dragged as ever; the plan stays.
    Drag({50, 50}, {90, 70});
    EXPECT_EQ(form().Editor().Pcs()[0].entry.left, 80);
    EXPECT_EQ(Plan()->left, 0);
    form().Editor().Undo();
    form().Editor().Undo();
    EXPECT_EQ(Bytes(), kEditPlanBoard);
}

// Moved by dragging in its mode (not the PC under the pointer), by its fields, and lined up by
// two points and a distance: each one step.
TEST_F(EditPlan, MovedByDraggingByFieldsAndByTwoPoints)
{
    OpenBoard(kEditPlanBoard + "[FloorPlan]\r\nFile=room.png\r\n");
    ASSERT_NE(PlanItem(), nullptr);
    Menu("&Move Floor Plan");
    Drag({50, 50}, {70, 80});
    EXPECT_EQ(Plan()->left, 20);
    EXPECT_EQ(Plan()->top, 30);
    EXPECT_EQ(form().Editor().Pcs()[0].entry.left, 40);
    Menu("&Move Floor Plan");

    Type("Scale %", "50");
    EXPECT_EQ(Plan()->scale, 5000);
    EXPECT_EQ(form().AccessibleStatus(*PlanItem()), "left 20, top 30, width 100, height 50");
    const std::string before = Bytes();
    Type("Opacity %", "140");
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(Field("Opacity %")->Text(), "40");

    // Two points 50 board pixels apart as shown, typed as 100 apart: back to full size, the
    // spot of the picture under the first point kept there (10, 10 from its corner at half
    // size: 20, 20 of its own).
    Menu("&Line Up Floor Plan by Two Points");
    Click({30, 40});
    Click({60, 80});
    EXPECT_EQ(form().Editor().Pcs()[0].entry.left, 40) << "the clicks are the plan's";
    Type("Distance", "100");
    EXPECT_EQ(Plan()->scale, 10000);
    EXPECT_EQ(Plan()->left, 30 - 20);
    EXPECT_EQ(Plan()->top, 40 - 20);
    EXPECT_NE(form().Status().find("scale 100 %"), std::string::npos) << form().Status();

    form().Editor().Undo();
    EXPECT_EQ(Plan()->scale, 5000);
    form().Editor().Undo();
    form().Editor().Undo();
    EXPECT_EQ(Bytes(), kEditPlanBoard + "[FloorPlan]\r\nFile=room.png\r\n");
}

// F9 hides it and shows it again, saving nothing; removing it is one step.
TEST_F(EditPlan, HiddenByAKeyAndRemovedAsAStep)
{
    OpenBoard(kEditPlanBoard + "[FloorPlan]\r\nFile=room.png\r\nOpacity=25\r\n");
    TKeyInfo f9{static_cast<std::uint16_t>(vkF1 + 8), 0};
    form().KeyDown(f9, nullptr);
    EXPECT_EQ(PlanItem()->Width(), 0);
    EXPECT_FALSE(form().Session().Modified());
    form().KeyDown(f9, nullptr);
    EXPECT_EQ(PlanItem()->Width(), 200);
    Menu("&Remove Floor Plan");
    EXPECT_EQ(Bytes(), kEditPlanBoard);
    form().Editor().Undo();
    EXPECT_EQ(Plan()->opacity, 25);
}

// What is no picture is said in a box naming it, the board unchanged; a plan missing when the
// board opens is a line in the status bar, and the board opens as usual.
TEST_F(EditPlan, APictureThatCannotBeShownIsSaid)
{
    OpenBoard(kEditPlanBoard);
    const std::string notPicture = folder_.Write("notes.png", "just text").string();
    Choose(notPicture);
    ASSERT_EQ(headless::Recorder().dialogs.size(), 2u);  // the file dialog, then the box
    const std::string box = headless::Recorder().dialogs.back();
    EXPECT_NE(box.find(notPicture), std::string::npos) << box;
    EXPECT_NE(box.find("no PNG, JPEG, BMP, GIF or TIFF picture"), std::string::npos) << box;
    EXPECT_EQ(Bytes(), kEditPlanBoard);
    EXPECT_FALSE(form().Editor().CanUndo());

    headless::Recorder().dialogs.clear();
    OpenBoard(kEditPlanBoard + "[FloorPlan]\r\nFile=plans\\gone.png\r\n");
    EXPECT_TRUE(headless::Recorder().dialogs.empty());
    EXPECT_NE(form().Status().find("Floor plan plans\\gone.png not shown: the file is not there"), std::string::npos)
        << form().Status();
    EXPECT_EQ(form().Editor().Pcs().size(), 1u);
    EXPECT_EQ(PlanItem()->Width(), 0);
}

}  // namespace
