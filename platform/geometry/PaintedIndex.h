// What a stack of painted rectangles shows: each one's rectangle at a DPI, the part of it that
// nothing above covers, and which one takes a point. Painting, clicks, a checker and assistive
// technology all ask here, so they cannot disagree.
#pragma once

#include <cstdint>
#include <algorithm>
#include <span>
#include <vector>

#include "platform/geometry/Graphics.h"

// The rectangles of a stack, bottom first (the last one is on top), in design pixels; an item
// that is not painted gives an empty rectangle. A function and its context rather than an
// interface, so that whoever keeps the items derives from nothing.
struct TRectSource {
    const void* items = nullptr;
    std::size_t count = 0;
    TRect64 (*rect)(const void* items, std::size_t item) = nullptr;

    TRect64 operator()(std::size_t item) const { return rect(items, item); }
};

// Finds the items near a point or within an area without walking them all, so that a click,
// a repaint or a question about one item costs what lies there, not the size of the board.
class TGridIndex {
public:
    // The items changed: the next query rebuilds the index from them.
    void MarkStale() { stale_ = true; }

    // The items whose rectangles may meet the area (design pixels), in ascending order; the
    // caller tests each exactly.
    const std::vector<std::uint32_t>& Near(const TRectSource& rects, const TRect64& area);
    // Entries the index holds, a cell's item counting once per cell: what it costs in memory.
    std::size_t EntryCount() const { return entries_.size() + loose_.size(); }

private:
    void Build(const TRectSource& rects);
    void Mark(std::uint32_t item);

    // Square cells over the part of the plane where layouts lie; an item outside it, or over
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

// The queries over a stack's rectangles, answered from a grid index that is rebuilt when the
// stack has changed.
class TPaintedIndex {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Items moved, came or went.
    void MarkStale() { index_.MarkStale(); }
    std::size_t EntryCount() const { return index_.EntryCount(); }

    // The topmost item under a point (pixels at the DPI), or npos.
    std::size_t ItemAt(const TRectSource& rects, TPoint64 point, int dpi) const;
    // The lowest item whose rectangle meets the area (design pixels) and that pred accepts,
    // or npos: finds an item by where it lies, asking only those there.
    template <class Pred>
    std::size_t FindNear(const TRectSource& rects, const TRect64& designArea, Pred pred) const
    {
        for (const std::uint32_t item : index_.Near(rects, designArea))
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
        std::size_t coveredBy = npos;  // the item seen on the first such pixel, when asked for
    };
    // Every item meeting the area (pixels at the DPI), bottom first. Blockers are windows above
    // every item (native controls): what lies under them does not show. With whoCovers, each
    // pixel's item is kept too, to name the one that covers.
    std::vector<TShown> ShownIn(const TRectSource& rects, const TRect64& area, int dpi,
                                std::span<const TRect64> blockers = {}, bool whoCovers = false) const;
    // What of one item shows inside the area, as ShownIn tells it, looking only at what lies
    // on that item.
    TShown ShownOf(const TRectSource& rects, std::size_t item, const TRect64& area, int dpi) const;

private:
    std::vector<TShown> Walk(const TRectSource& rects, const TRect64& area, int dpi, std::span<const TRect64> blockers,
                             std::size_t lowest, bool whoCovers) const;

    mutable TGridIndex index_;
};

// Items in stack order, bottom first, each painted in its rectangle or shown as a window of its
// own above them all, with the index of the painted ones kept up to date. An Item answers
// IsWindowless() and PaintedRect() (design pixels; empty when not painted).
template <class Item>
class TPaintedStack {
public:
    using TShown = TPaintedIndex::TShown;
    static constexpr std::size_t npos = TPaintedIndex::npos;

    TPaintedStack() = default;
    TPaintedStack(const TPaintedStack&) = delete;
    TPaintedStack& operator=(const TPaintedStack&) = delete;

    // Makes room for that many more items, for an owner that knows how many come.
    void Reserve(std::size_t count) { items_.reserve(items_.size() + count); }
    // On top of the others.
    void Add(Item& item)
    {
        items_.push_back(&item);
        if (!item.IsWindowless())
            windowed_.push_back(&item);
        index_.MarkStale();
    }
    // False when the item was not here.
    bool Remove(const Item& item)
    {
        const auto it = std::find(items_.rbegin(), items_.rend(), &item);
        if (it == items_.rend())
            return false;
        items_.erase(std::next(it).base());
        std::erase(windowed_, &item);
        index_.MarkStale();
        return true;
    }
    // The item's rectangle changed.
    void Moved(const Item& item)
    {
        if (item.IsWindowless())
            index_.MarkStale();
    }

    const std::vector<Item*>& Items() const { return items_; }
    // The items with windows of their own, in the order they came.
    const std::vector<Item*>& Windowed() const { return windowed_; }

    // Where an item is in Items(), or npos; a painted one is looked for only where it lies.
    std::size_t IndexOf(const Item& item) const
    {
        const TRect64 r = item.PaintedRect();
        if (!r.IsEmpty())
            return index_.FindNear(Rects(), r, [&](std::size_t i) { return items_[i] == &item; });
        const auto it = std::find(items_.begin(), items_.end(), &item);
        return it == items_.end() ? npos : static_cast<std::size_t>(it - items_.begin());
    }
    // The topmost painted item under a point (pixels at the DPI), or npos.
    std::size_t IndexAt(TPoint64 point, int dpi) const { return index_.ItemAt(Rects(), point, dpi); }
    Item* ItemAt(TPoint64 point, int dpi) const
    {
        const std::size_t i = IndexAt(point, dpi);
        return i == npos ? nullptr : items_[i];
    }
    // An item's painted rectangle on a screen of that DPI; empty for one that is not painted.
    TRect64 RectAt(std::size_t index, int dpi) const { return ScaleToDpi(items_[index]->PaintedRect(), dpi); }

    std::vector<TShown> ShownIn(const TRect64& area, int dpi, std::span<const TRect64> blockers = {},
                                bool whoCovers = false) const
    {
        return index_.ShownIn(Rects(), area, dpi, blockers, whoCovers);
    }
    TShown ShownOf(std::size_t index, const TRect64& area, int dpi) const
    {
        return index_.ShownOf(Rects(), index, area, dpi);
    }
    std::size_t IndexEntryCount() const { return index_.EntryCount(); }

private:
    TRectSource Rects() const
    {
        return {&items_, items_.size(), [](const void* items, std::size_t i) {
                    return (*static_cast<const std::vector<Item*>*>(items))[i]->PaintedRect();
                }};
    }

    std::vector<Item*> items_;
    std::vector<Item*> windowed_;
    TPaintedIndex index_;
};
