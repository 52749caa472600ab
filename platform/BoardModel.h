// What a board of stacked, painted rectangles shows: each one's rectangle at a DPI, the part
// of it that nothing above covers, and which one takes a point. Painting, clicks, the checker
// and assistive technology all ask here, so they cannot disagree.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Graphics.h"

// The stack a model looks at: items bottom first (the last one is on top), each with its
// rectangle in design pixels; an item that is not painted gives an empty rectangle.
class IBoardStack {
public:
    virtual std::size_t Count() const = 0;
    virtual TRect64 DesignRect(std::size_t item) const = 0;

protected:
    ~IBoardStack() = default;
};

// Finds the items near a point or within an area without walking them all, so that a click,
// a repaint or a question about one item costs what lies there, not the size of the board.
class TGridIndex {
public:
    // The items changed: the next query rebuilds the index from them.
    void MarkStale() { stale_ = true; }

    // The items whose rectangles may meet the area (design pixels), in ascending order; the
    // caller tests each exactly.
    const std::vector<std::uint32_t>& Near(const IBoardStack& stack, const TRect64& area);

private:
    void Build(const IBoardStack& stack);
    void Mark(std::uint32_t item);

    // Square cells over the part of the plane where boards lie; an item outside it, or over
    // many cells, is "loose" and goes with every query instead.
    static constexpr std::int64_t kCellSize = 32;
    static constexpr std::int64_t kMaxCells = 256;  // per side: 8192 design pixels
    static constexpr std::int64_t kMaxCellsPerItem = 64;

    bool stale_ = true;
    std::int64_t columns_ = 0, rows_ = 0;
    std::vector<std::uint32_t> cellStart_;  // per cell, where its items begin in entries_
    std::vector<std::uint32_t> entries_;    // items, cell after cell, ascending in each
    std::vector<std::uint32_t> loose_;
    std::vector<std::uint64_t> marked_;  // one bit per item, clear between queries
    std::vector<std::uint32_t> found_;
};

class TBoardModel {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit TBoardModel(const IBoardStack& stack) : stack_(stack) {}
    TBoardModel(const TBoardModel&) = delete;
    TBoardModel& operator=(const TBoardModel&) = delete;

    // Items moved, came or went.
    void MarkStale() { index_.MarkStale(); }

    std::size_t Count() const { return stack_.Count(); }
    // An item's rectangle on a screen of that DPI; empty for an item that is not painted.
    TRect64 RectAt(std::size_t item, int dpi) const { return ScaleToDpi(stack_.DesignRect(item), dpi); }

    // The topmost item under a point (pixels at the DPI), or npos.
    std::size_t ItemAt(TPoint64 point, int dpi) const;
    // The lowest item whose rectangle meets the area (design pixels) and that pred accepts,
    // or npos: finds an item by where it lies, asking only those there.
    template <class Pred>
    std::size_t FindNear(const TRect64& designArea, Pred pred) const
    {
        for (const std::uint32_t item : index_.Near(stack_, designArea))
            if (pred(std::size_t{item}))
                return item;
        return npos;
    }

    struct TShown {
        std::size_t item = npos;
        TRect64 rect;     // at the DPI
        TRect64 visible;  // bounds of what of it shows inside the area; empty when nothing does
        std::uint64_t visiblePixels = 0;
        bool covered = false;          // an item above hides some of it inside the area
        TPoint64 firstCovered;         // the first such pixel, row by row
        std::size_t coveredBy = npos;  // the item seen there, when asked for
    };
    // Every item meeting the area (pixels at the DPI), bottom first. Blockers are windows above
    // every item (native controls): what lies under them does not show. With whoCovers, each
    // pixel's item is kept too, to name the one that covers.
    std::vector<TShown> ShownIn(const TRect64& area, int dpi, std::span<const TRect64> blockers = {},
                                bool whoCovers = false) const;
    // What of one item shows inside the area, as ShownIn tells it, looking only at what lies
    // on that item.
    TShown ShownOf(std::size_t item, const TRect64& area, int dpi) const;

private:
    std::vector<TShown> Walk(const TRect64& area, int dpi, std::span<const TRect64> blockers, std::size_t lowest,
                             bool whoCovers) const;

    const IBoardStack& stack_;
    mutable TGridIndex index_;
};
