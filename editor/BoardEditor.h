// What the board editor does to a board, whatever shows it: the selection, dragging with
// snapping, the keys' nudges, alignment, the grid generator and undo, over one board
// document, and the geometry of what is drawn over the board: handles, guides, the band and
// the area a step paints again. Coordinates are the board's own pixels (as at 96 DPI, the client area's origin at
// 0, 0); a PC is named by its place in Pcs(), which is number order.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "board/BoardDocument.h"
#include "platform/geometry/Graphics.h"

namespace editor {

using board::TPcKey;
using board::TRefusal;

struct TGridSettings {
    static constexpr std::int32_t kLargestStep = 1000;
    std::int32_t step = 8;  // 1 to kLargestStep
    bool snap = true;       // drags snap to the grid and to other PCs
    bool shown = true;
};

// What a press at a point would drag: nothing (a rubber band), the selection, or one edge
// or corner of the one selected PC.
enum class THandle : std::uint8_t { None, Move, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// A guide line shown while dragging: where a dragged edge or centre meets another PC's.
struct TGuide {
    bool vertical = true;  // a line x = at, else y = at
    std::int64_t at = 0;
    std::int64_t from = 0, to = 0;  // its extent along the line
    friend bool operator==(const TGuide&, const TGuide&) = default;
};

// The rectangle grown by that many pixels on every side.
inline TRect64 Inflated(const TRect64& r, std::int64_t by)
{
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// The side of a handle's square, in board pixels, and how far outside it a press still takes it.
inline constexpr std::int32_t kHandleSize = 5, kHandleReach = 2;

// CentresAcross lines up the centres across the board (one x), CentresDown down it (one y).
enum class TAlign : std::uint8_t { Left, Right, Top, Bottom, CentresAcross, CentresDown };
// Which of the first selected PC's dimensions the others are given.
enum class TMatchSize : std::uint8_t { Width, Height, Both };

// The grid generator: rows × columns PCs of one size, placed from a start point with gaps
// between them, numbered across (row by row) or down (column by column).
struct TGridPlan {
    static constexpr std::int64_t kMostPcs = 100000;
    std::int32_t rows = 1, columns = 1;
    std::int32_t width = 64, height = 24;
    std::int32_t gapX = 8, gapY = 8;
    std::int32_t left = 8, top = 8;
    // {n} is the number in the plan from 1; {n:02} the same with at least two digits.
    std::string pattern = "PC-{n:02}";
    bool down = false;

    // At least one row and column of PCs at least a pixel each way, and at most kMostPcs.
    bool Fits() const;
};

// The caption of the plan's n-th PC (from 1); empty pattern, empty caption.
std::string CaptionFor(std::string_view pattern, std::int32_t n);

class TBoardEditor {
public:
    using TPc = board::TBoardDocument::TPc;

    explicit TBoardEditor(std::string bytes);
    // Editing a document as it stands, its steps kept for undo.
    explicit TBoardEditor(board::TBoardDocument document);

    board::TBoardDocument& Document() { return doc_; }
    const board::TBoardDocument& Document() const { return doc_; }
    // The PCs as they show now, during a drag where they are being dragged to.
    const std::vector<TPc>& Pcs() const;
    TRect64 RectOf(std::size_t pc) const;

    // -- what is drawn over the board, in board pixels
    // The squares of the only selected PC's handles (none unless exactly one PC is selected),
    // corners first: on a small PC they overlap the edges' handles, and a press takes a corner.
    std::vector<std::pair<THandle, TRect64>> Handles() const;
    // What the selection's frames and handles, the band and the guides cover now.
    TRect64 OverlayArea() const;
    // What to paint again since the last call: where that overlay was and where it is now.
    TRect64 OverlayChange();

    TGridSettings& Grid() { return grid_; }

    // -- selection, places in Pcs(), ascending
    const std::vector<std::size_t>& Selection() const { return selection_; }
    bool IsSelected(std::size_t pc) const;
    void Select(std::size_t pc);  // that one alone
    void Toggle(std::size_t pc);  // Ctrl+click
    void SelectAll();
    void ClearSelection();
    // Every PC the rectangle touches; with add, besides those already selected.
    void SelectTouching(const TRect64& band, bool add);
    // Tab: the next PC in number order after the last one selected (the first with none);
    // Shift+Tab the one before. Wraps around.
    void SelectNext(bool backwards);
    // The selection's bounding rectangle; empty with none.
    TRect64 SelectionBounds() const;

    // The topmost PC at a point (the later one where they overlap), or none.
    std::optional<std::size_t> PcAt(TPoint64 point) const;
    // What a press at the point would drag; reach is how far outside a handle's square still
    // counts, in board pixels. Handles are those of the only selected PC.
    THandle HandleAt(TPoint64 point, std::int32_t reach) const;

    // -- dragging: press, moves, release. Nothing reaches the document before the release,
    // which is one undo step.
    // The press: on a handle it resizes, on a selected PC it moves the selection, on another PC
    // it selects that one (toggles it with toggle) and moves it, on empty board it starts a
    // rubber band (adding to the selection with toggle).
    void Press(TPoint64 point, bool toggle, std::int32_t reach);
    // A move of the pointer; a drag starts only once it is threshold pixels away from the press.
    // With snap false (Alt held) nothing snaps. Returns the area to paint again (OverlayChange),
    // empty while nothing moved.
    TRect64 DragTo(TPoint64 point, bool snap, std::int32_t threshold = 4);
    // The release: commits a move or resize as one step (refused steps change nothing).
    TRefusal Release();
    void CancelDrag();
    bool Dragging() const;  // past the threshold
    THandle DragKind() const;
    // The rubber band while one is drawn, else empty.
    TRect64 Band() const;
    const std::vector<TGuide>& Guides() const { return guides_; }

    // -- steps on the selection; each is one undo step
    // Arrow keys: moves by dx, dy, or with resize grows or shrinks the right and bottom edges.
    // With repeated (the key held) it joins the step before when that was a nudge too.
    TRefusal Nudge(std::int32_t dx, std::int32_t dy, bool resize, bool repeated);
    TRefusal Align(TAlign how);
    // Equal gaps between the selected PCs, across (by left) or down (by top); three or more.
    TRefusal Distribute(bool across);
    // To the first selected PC's size.
    TRefusal MakeSameSize(TMatchSize what);
    // Sets a value of every selected PC; refused with its reason as the board would not read it.
    TRefusal SetField(TPcKey key, std::string_view text);
    // The value the selected PCs share, or nullopt where they differ (or none is selected).
    std::optional<std::string> SharedField(TPcKey key) const;

    // -- PCs in and out
    // A new PC on the first free grid place near the top left (selected).
    TRefusal AddPc();
    // Copies of the selection one grid step right and down, selected instead.
    TRefusal Duplicate();
    TRefusal DeleteSelection();
    TRefusal Generate(const TGridPlan& plan);
    // The place in Pcs() of the PC with that number, if the board shows it.
    std::optional<std::size_t> PlaceOfNumber(std::int32_t number) const;
    // Numbers the PCs in reading order: top to bottom, then left to right.
    TRefusal RenumberReadingOrder();

    // -- the floor plan under the board: set, moved or taken out (nullopt) as one step
    TRefusal SetFloorPlan(const std::optional<board::TFloorPlan>& plan);

    bool CanUndo() const { return doc_.CanUndo(); }
    bool CanRedo() const { return doc_.CanRedo(); }
    void Undo();
    void Redo();

private:
    board::TBoardDocument doc_;
    TGridSettings grid_;
    std::vector<std::size_t> selection_;
    std::vector<TGuide> guides_;
    // The rest is the implementation's.
    struct TDrag;
    struct TScratch;
    std::shared_ptr<TScratch> scratch_;

    // Edits made as one undo step, with the steps from joinFrom on; a refusal undoes them all.
    template <class Work>
    TRefusal Group(Work work, std::size_t joinFrom = SIZE_MAX);
    // A number set only where it changes.
    TRefusal SetNumber(std::size_t pc, TPcKey key, std::int64_t value);
    void KeepSelectionValid();
    // Adds the PCs as one step and selects them instead.
    TRefusal AddSelected(const std::vector<board::TPcEntry>& entries);

    // A drag's parts: once past the threshold, the preview and what snaps; then each move
    // draws the band, moves the selection or resizes its one PC, and sets the guides.
    bool StartDrag(TDrag& d);
    void DrawBand(TDrag& d, TPoint64 point);
    void MoveTo(TDrag& d, std::int64_t dx, std::int64_t dy, bool snapping);
    void ResizeTo(TDrag& d, std::int64_t dx, std::int64_t dy, bool snapping);
    void PlaceGuides(const TDrag& d);
};

}  // namespace editor
