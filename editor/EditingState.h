// What the editing logic's files share and no caller sees: the arithmetic of edges and
// centres, what the editor keeps between calls besides the selection, and edits grouped as a step.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "editor/BoardEditor.h"
#include "platform/geometry/PaintedIndex.h"

namespace editor {

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

inline std::int64_t Clamp32(std::int64_t v)
{
    return std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX);
}

inline std::int64_t Centre(std::int64_t low, std::int64_t high)
{
    return low + FloorDiv(high - low, 2);
}

// The lines a rectangle offers on one axis: its low edge, high edge and centre.
inline std::array<std::int64_t, 3> Lines(std::int64_t low, std::int64_t high)
{
    return {low, high, Centre(low, high)};
}

// An edge or centre of a PC that stays put, on one axis; along is its centre on the other, so
// that of many PCs on one line the nearest is found.
struct TEdge {
    std::int64_t value, along;
    std::uint32_t pc;
    friend bool operator<(const TEdge& a, const TEdge& b)
    {
        return a.value != b.value ? a.value < b.value : a.along < b.along;
    }
};

struct TBoardEditor::TDrag {
    enum TMode { Inert, Band, Move, Resize } mode = Inert;
    THandle handle = THandle::None;
    TPoint64 press;
    bool started = false;
    std::vector<std::size_t> before;  // the selection at the press, for a band
    bool add = false;
    TRect64 band;
    // Once started: the board as it shows, what moves and where it started.
    std::vector<TPc> preview;
    std::vector<std::size_t> moving;
    TRect64 startBox, box;
    TRect64 startBounds;                       // of the moving PCs that have a size, as the selection's are
    std::vector<TEdge> xs, ys;                 // what snaps to, sorted
    std::vector<std::int64_t> xLines, yLines;  // the lines that moved, to guide
};

struct TBoardEditor::TScratch {
    std::optional<std::uint64_t> nudged;  // the version a nudge left
    std::optional<TDrag> drag;
    TRect64 overlayShown;  // the overlay's area when last asked
    TGridIndex index;
    std::optional<std::uint64_t> indexed;

    // The PCs whose rectangles meet the area, ascending.
    const std::vector<std::uint32_t>& Near(const board::TBoardDocument& doc, const TRect64& area)
    {
        if (indexed != doc.Version()) {
            index.MarkStale();
            indexed = doc.Version();
        }
        const TRectSource rects{&doc.Pcs(), doc.Pcs().size(), [](const void* items, std::size_t i) {
                                    const auto& e = (*static_cast<const std::vector<TPc>*>(items))[i].entry;
                                    return board::EntryRect(e);
                                }};
        return index.Near(rects, area);
    }
};

template <class Work>
TRefusal TBoardEditor::Group(Work work, std::size_t joinFrom)
{
    const std::size_t mark = doc_.StepMark();
    const TRefusal refusal = work();
    if (refusal != TRefusal::None)
        doc_.RevertSince(mark);
    else
        doc_.JoinSince(std::min(joinFrom, mark));
    scratch_->nudged.reset();
    return refusal;
}

}  // namespace editor
