// The board editor: what a press, a drag, a key or a command does to the selection and to
// the board, and that each is one undo step that gives the bytes back.
#include "editor/BoardEditor.h"

#include <gtest/gtest.h>

#include <string>

using board::TPcKey;
using board::TRefusal;
using editor::TAlign;
using editor::TBoardEditor;
using editor::TGuide;
using editor::THandle;
using editor::TMatchSize;

namespace {

struct TBox {
    std::int32_t left, top, width, height;
};

std::string BoardOf(std::initializer_list<TBox> boxes)
{
    std::string bytes = "[sys]\r\ncount=" + std::to_string(boxes.size() + 1) + "\r\n";
    int n = 0;
    for (const TBox& b : boxes) {
        ++n;
        bytes += "[PC" + std::to_string(n) + "]\r\nCaption=P" + std::to_string(n) +
                 "\r\nLeft=" + std::to_string(b.left) + "\r\nTop=" + std::to_string(b.top) +
                 "\r\nWidth=" + std::to_string(b.width) + "\r\nHeight=" + std::to_string(b.height) + "\r\n";
    }
    return bytes;
}

std::string Place(const TBoardEditor& e, std::size_t pc)
{
    const auto& x = e.Pcs()[pc].entry;
    return std::to_string(x.left) + "," + std::to_string(x.top) + " " + std::to_string(x.width) + "x" +
           std::to_string(x.height);
}

std::string Captions(const TBoardEditor& e)
{
    std::string text;
    for (const auto& pc : e.Pcs())
        text += (text.empty() ? "" : " ") + pc.entry.caption;
    return text;
}

using TPlaces = std::vector<std::size_t>;

TEST(BoardEditor, SelectsByClickToggleBandAndTab)
{
    // P2 lies on P1's right half; P3 apart.
    TBoardEditor e(BoardOf({{0, 0, 40, 20}, {30, 0, 40, 20}, {200, 200, 10, 10}}));
    EXPECT_EQ(e.PcAt({35, 5}), 1u);
    EXPECT_EQ(e.PcAt({5, 5}), 0u);
    EXPECT_EQ(e.PcAt({100, 100}), std::nullopt);
    e.Select(2);
    e.Toggle(0);
    EXPECT_EQ(e.Selection(), (TPlaces{0, 2}));
    e.Toggle(2);
    EXPECT_EQ(e.Selection(), TPlaces{0});
    e.SelectTouching({60, 15, 205, 205}, true);
    EXPECT_EQ(e.Selection(), (TPlaces{0, 1, 2}));
    EXPECT_EQ(e.SelectionBounds(), (TRect64{0, 0, 210, 210}));
    e.SelectTouching({100, 100, 150, 150}, false);
    EXPECT_TRUE(e.Selection().empty());
    e.SelectNext(false);
    EXPECT_EQ(e.Selection(), TPlaces{0});
    e.SelectNext(true);
    EXPECT_EQ(e.Selection(), TPlaces{2});
    e.SelectNext(false);
    EXPECT_EQ(e.Selection(), TPlaces{0});

    // A band drawn from empty board; with toggle it adds to what was selected.
    e.Select(2);
    e.Press({100, 30}, false, 3);
    EXPECT_TRUE(e.Selection().empty());
    e.DragTo({38, 10}, true);
    EXPECT_EQ(e.Band(), (TRect64{38, 10, 101, 31}));
    EXPECT_EQ(e.Selection(), (TPlaces{0, 1}));
    e.DragTo({65, 10}, true);
    EXPECT_EQ(e.Selection(), TPlaces{1});
    EXPECT_EQ(e.Release(), TRefusal::None);
    EXPECT_EQ(e.Band(), TRect64{});
    e.Select(2);
    e.Press({100, 30}, true, 3);
    e.DragTo({65, 10}, true);
    EXPECT_EQ(e.Selection(), (TPlaces{1, 2}));
    e.CancelDrag();
    EXPECT_EQ(e.Selection(), TPlaces{2});
    EXPECT_FALSE(e.CanUndo());
}

TEST(BoardEditor, HandlesAreTheOnlySelectedPcs)
{
    TBoardEditor e(BoardOf({{10, 10, 40, 20}, {100, 10, 40, 20}}));
    EXPECT_EQ(e.HandleAt({10, 10}, 3), THandle::None);
    e.Select(0);
    EXPECT_EQ(e.HandleAt({8, 12}, 3), THandle::TopLeft);
    EXPECT_EQ(e.HandleAt({50, 30}, 3), THandle::BottomRight);
    EXPECT_EQ(e.HandleAt({51, 20}, 3), THandle::Right);
    EXPECT_EQ(e.HandleAt({30, 9}, 3), THandle::Top);
    EXPECT_EQ(e.HandleAt({30, 20}, 3), THandle::Move);
    EXPECT_EQ(e.HandleAt({110, 20}, 3), THandle::None);
    // A handle is taken where it is painted, a little beyond, and no further.
    for (const auto& [handle, square] : e.Handles()) {
        EXPECT_EQ(e.HandleAt({square.left - 2, square.top - 2}, 2), handle);
        EXPECT_EQ(e.HandleAt({square.right + 1, square.bottom + 1}, 2), handle);
    }
    EXPECT_NE(e.HandleAt({5, 5}, 2), THandle::TopLeft);
    e.Toggle(1);
    EXPECT_EQ(e.HandleAt({10, 10}, 3), THandle::Move);
    EXPECT_TRUE(e.Handles().empty());
}

// Nothing moves before the threshold; past it the preview moves and snaps, to the grid or to
// another PC's edge or centre with a guide; Alt snaps to nothing; the release is one step.
TEST(BoardEditor, DragsSnapToGridAndToOtherPcs)
{
    const std::string bytes = BoardOf({{0, 0, 40, 20}, {200, 100, 40, 20}, {16, 200, 40, 20}});
    TBoardEditor e(bytes);
    e.Press({10, 10}, false, 3);
    EXPECT_EQ(e.Selection(), TPlaces{0});
    // The selection's frame and handles reach 7 px beyond it.
    EXPECT_EQ(e.OverlayChange(), (TRect64{-7, -7, 47, 27}));
    EXPECT_EQ(e.DragTo({12, 13}, true), TRect64{});
    EXPECT_FALSE(e.Dragging());
    EXPECT_EQ(Place(e, 0), "0,0 40x20");

    // Grid of 8: 27,35 goes to 24,32; no PC near, no guide. What is painted again covers
    // where the PC was and where it is.
    TRect64 changed = e.DragTo({37, 45}, true);
    EXPECT_TRUE(e.Dragging());
    EXPECT_EQ(Place(e, 0), "24,32 40x20");
    EXPECT_TRUE(e.Guides().empty());
    EXPECT_EQ(changed, (TRect64{-7, -7, 71, 59}));
    EXPECT_EQ(e.Document().Pcs()[0].entry.left, 0);
    EXPECT_EQ(e.DragTo({37, 45}, false), (TRect64{17, 25, 74, 62}));
    EXPECT_EQ(Place(e, 0), "27,35 40x20");

    // Its right edge 3 px from P2's left (x 197 -> 200), its centre 3 px from P2's (y 107 -> 110):
    // one guide each, spanning both PCs.
    e.DragTo({167, 107}, true);
    EXPECT_EQ(Place(e, 0), "160,100 40x20");
    EXPECT_EQ(e.Guides(),
              (std::vector<TGuide>{
                  {true, 200, 100, 120}, {false, 100, 160, 240}, {false, 120, 160, 240}, {false, 110, 160, 240}}));
    changed = e.DragTo({37, 45}, true);
    EXPECT_TRUE(e.Guides().empty());
    EXPECT_LE(changed.left, 24);
    EXPECT_GE(changed.right, 240);

    // Below P3, centred on it: 18 + 20 = 38 snaps to P3's centre 36.
    e.DragTo({28, 243}, true);
    EXPECT_EQ(Place(e, 0), "16,232 40x20");
    ASSERT_EQ(e.Release(), TRefusal::None);
    EXPECT_EQ(Place(e, 0), "16,232 40x20");
    EXPECT_FALSE(e.Dragging());
    e.Undo();
    EXPECT_EQ(e.Document().Bytes(), bytes);
    EXPECT_FALSE(e.CanUndo());
}

TEST(BoardEditor, ResizesAnEdgeNeverBelowOnePixel)
{
    const std::string bytes = BoardOf({{16, 16, 40, 24}});
    TBoardEditor e(bytes);
    e.Select(0);
    e.Press({56, 28}, false, 3);
    EXPECT_EQ(e.DragKind(), THandle::Right);
    e.DragTo({61, 40}, true);
    EXPECT_EQ(Place(e, 0), "16,16 48x24");
    e.DragTo({0, 40}, true);
    EXPECT_EQ(Place(e, 0), "16,16 1x24");
    e.CancelDrag();
    EXPECT_EQ(Place(e, 0), "16,16 40x24");

    e.Press({15, 15}, false, 3);
    EXPECT_EQ(e.DragKind(), THandle::TopLeft);
    e.DragTo({5, 300}, false);
    EXPECT_EQ(Place(e, 0), "6,39 50x1");
    ASSERT_EQ(e.Release(), TRefusal::None);
    EXPECT_EQ(Place(e, 0), "6,39 50x1");
    const std::string resized = e.Document().Bytes();
    EXPECT_NE(resized.find("Left=6\r\nTop=39\r\nWidth=50\r\nHeight=1\r\n"), std::string::npos);
    e.Undo();
    EXPECT_EQ(e.Document().Bytes(), bytes);
    e.Redo();
    EXPECT_EQ(e.Document().Bytes(), resized);
}

// A move of several PCs is one step; a held key's nudges join into one; an edit refused on one
// PC changes none.
TEST(BoardEditor, GroupsAreOneStepAndRefusedOnesChangeNothing)
{
    const std::string bytes = BoardOf({{0, 0, 10, 10}, {100, 0, 10, 10}, {2147483640, 0, 5, 5}});
    TBoardEditor e(bytes);
    e.Select(0);
    e.Toggle(1);
    e.Press({105, 5}, false, 3);
    EXPECT_EQ(e.Selection(), (TPlaces{0, 1}));
    e.DragTo({125, 5}, true);
    ASSERT_EQ(e.Release(), TRefusal::None);
    EXPECT_EQ(Place(e, 0) + " " + Place(e, 1), "24,0 10x10 124,0 10x10");

    ASSERT_EQ(e.Nudge(1, 0, false, false), TRefusal::None);
    ASSERT_EQ(e.Nudge(1, 0, false, true), TRefusal::None);
    ASSERT_EQ(e.Nudge(0, 8, false, true), TRefusal::None);
    EXPECT_EQ(Place(e, 0), "26,8 10x10");
    ASSERT_EQ(e.Nudge(-20, -20, true, false), TRefusal::None);
    EXPECT_EQ(Place(e, 1), "126,8 1x1");
    e.Undo();
    EXPECT_EQ(Place(e, 1), "126,8 10x10");
    e.Undo();
    EXPECT_EQ(Place(e, 0), "24,0 10x10");
    // After an undo a held key starts a step of its own.
    ASSERT_EQ(e.Nudge(1, 0, false, true), TRefusal::None);
    e.Undo();
    e.Undo();
    EXPECT_EQ(e.Document().Bytes(), bytes);

    e.SelectAll();
    EXPECT_EQ(e.Nudge(10, 0, false, false), TRefusal::NotANumber);
    EXPECT_EQ(e.SetField(TPcKey::Width, "x"), TRefusal::NotANumber);
    EXPECT_EQ(e.Duplicate(), TRefusal::NotANumber);
    EXPECT_EQ(e.Document().Bytes(), bytes);
    EXPECT_FALSE(e.CanUndo());
    ASSERT_EQ(e.SetField(TPcKey::Height, "7"), TRefusal::None);
    EXPECT_EQ(e.SharedField(TPcKey::Height), "7");
    EXPECT_EQ(e.SharedField(TPcKey::Left), std::nullopt);
    e.Undo();
    EXPECT_EQ(e.Document().Bytes(), bytes);
}

// Each alignment to the selection's bounds (10, 0 to 110, 60), each distribution, each size.
TEST(BoardEditor, AlignsDistributesAndSizes)
{
    TBoardEditor e(BoardOf({{10, 10, 20, 10}, {50, 30, 40, 30}, {100, 0, 10, 20}, {0, 100, 4, 4}}));
    e.SelectAll();
    e.Toggle(3);
    const auto three = [&] { return Place(e, 0) + " " + Place(e, 1) + " " + Place(e, 2); };
    const std::pair<TAlign, std::string> aligned[] = {
        {TAlign::Left, "10,10 20x10 10,30 40x30 10,0 10x20"},
        {TAlign::Right, "90,10 20x10 70,30 40x30 100,0 10x20"},
        {TAlign::Top, "10,0 20x10 50,0 40x30 100,0 10x20"},
        {TAlign::Bottom, "10,50 20x10 50,30 40x30 100,40 10x20"},
        {TAlign::CentresAcross, "50,10 20x10 40,30 40x30 55,0 10x20"},  // centre 60
        {TAlign::CentresDown, "10,25 20x10 50,15 40x30 100,20 10x20"},  // centre 30
    };
    for (const auto& [how, places] : aligned) {
        ASSERT_EQ(e.Align(how), TRefusal::None);
        EXPECT_EQ(three(), places) << static_cast<int>(how);
        e.Undo();
    }
    // Lefts 10, 50, 100 and widths 20, 40, 10: 100 - 10 - 60 = 30 of room, 15 a gap.
    ASSERT_EQ(e.Distribute(true), TRefusal::None);
    EXPECT_EQ(three(), "10,10 20x10 45,30 40x30 100,0 10x20");
    e.Undo();
    // Tops 0, 10, 30 and heights 20, 10, 30: no room, so each starts where the one above ends.
    ASSERT_EQ(e.Distribute(false), TRefusal::None);
    EXPECT_EQ(three(), "10,20 20x10 50,30 40x30 100,0 10x20");
    e.Undo();
    e.Select(1);
    e.Toggle(3);
    ASSERT_EQ(e.MakeSameSize(TMatchSize::Width), TRefusal::None);
    EXPECT_EQ(Place(e, 3), "0,100 40x4");
    ASSERT_EQ(e.MakeSameSize(TMatchSize::Both), TRefusal::None);
    EXPECT_EQ(Place(e, 3), "0,100 40x30");
}

TEST(BoardEditor, CaptionsFromAPattern)
{
    EXPECT_EQ(editor::CaptionFor("PC-{n:02}", 7), "PC-07");
    EXPECT_EQ(editor::CaptionFor("PC-{n:02}", 123), "PC-123");
    EXPECT_EQ(editor::CaptionFor("{n}/{n:3}/{n:04}", 5), "5/  5/0005");
    EXPECT_EQ(editor::CaptionFor("{x} {n {n:} {n:a} }{", 5), "{x} {n {n:} {n:a} }{");
    // A width has at most three digits.
    EXPECT_EQ(editor::CaptionFor("{n:1000}", 5), "{n:1000}");
    EXPECT_EQ(editor::CaptionFor("", 5), "");
}

// Generated across or down, PCs come in one step; renumbered in reading order, deleted with
// the later ones renumbered.
TEST(BoardEditor, GeneratesRenumbersAndDeletes)
{
    TBoardEditor e(BoardOf({{500, 500, 10, 10}}));
    editor::TGridPlan plan;
    plan.rows = 2;
    plan.columns = 3;
    plan.width = 20;
    plan.height = 10;
    plan.gapX = 5;
    plan.gapY = 2;
    plan.left = 4;
    plan.top = 6;
    plan.down = true;
    ASSERT_EQ(e.Generate(plan), TRefusal::None);
    EXPECT_EQ(Captions(e), "P1 PC-01 PC-02 PC-03 PC-04 PC-05 PC-06");
    EXPECT_EQ(e.Selection(), (TPlaces{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Place(e, 2), "4,18 20x10");
    EXPECT_EQ(Place(e, 3), "29,6 20x10");
    e.Undo();
    EXPECT_EQ(e.Selection().size(), 0u);
    EXPECT_EQ(e.Pcs().size(), 1u);
    plan.down = false;
    plan.pattern = "R{n}";
    ASSERT_EQ(e.Generate(plan), TRefusal::None);
    EXPECT_EQ(Place(e, 2), "29,6 20x10");

    // P1 at the bottom right goes last; R1..R6 are already in reading order.
    e.Select(0);
    ASSERT_EQ(e.RenumberReadingOrder(), TRefusal::None);
    EXPECT_EQ(Captions(e), "R1 R2 R3 R4 R5 R6 P1");
    EXPECT_EQ(e.Selection(), TPlaces{6});
    EXPECT_EQ(e.Document().Pcs()[6].number, 7);
    EXPECT_NE(e.Document().Bytes().find("[PC7]\r\nCaption=P1"), std::string::npos);

    e.Select(1);
    e.Toggle(3);
    ASSERT_EQ(e.DeleteSelection(), TRefusal::None);
    EXPECT_EQ(Captions(e), "R1 R3 R5 R6 P1");
    EXPECT_EQ(e.Document().Count(), 6);
    EXPECT_TRUE(e.Selection().empty());
    EXPECT_EQ(e.Document().Pcs().back().number, 5);
    e.Undo();
    e.Select(6);
    e.Undo();
    EXPECT_EQ(Captions(e), "P1 R1 R2 R3 R4 R5 R6");
    e.Undo();
    EXPECT_TRUE(e.Selection().empty());  // place 6 is gone
}

TEST(BoardEditor, AddsOnAFreePlaceAndDuplicates)
{
    TBoardEditor e(BoardOf({{8, 8, 64, 24}}));
    ASSERT_EQ(e.AddPc(), TRefusal::None);
    EXPECT_EQ(e.Selection(), TPlaces{1});
    EXPECT_EQ(e.Pcs()[1].entry.caption, "PC2");
    EXPECT_EQ(Place(e, 1), "80,8 64x24");
    e.SelectAll();
    ASSERT_EQ(e.Duplicate(), TRefusal::None);
    EXPECT_EQ(e.Selection(), (TPlaces{2, 3}));
    EXPECT_EQ(Place(e, 3), "88,16 64x24");
    e.Undo();
    EXPECT_EQ(e.Pcs().size(), 2u);
}

}  // namespace
