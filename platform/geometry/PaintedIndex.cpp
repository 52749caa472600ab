#include "platform/geometry/PaintedIndex.h"

#include <algorithm>
#include <bit>

namespace {

// The cells a rectangle meets, or an empty range.
struct TCellRange {
    std::int64_t left, top, right, bottom;  // right and bottom exclusive
    std::int64_t Count() const { return (right - left) * (bottom - top); }
};

TCellRange CellsOf(const TRect64& r, std::int64_t cellSize, std::int64_t columns, std::int64_t rows)
{
    const auto cell = [&](std::int64_t v, std::int64_t limit) { return std::clamp<std::int64_t>(v, 0, limit); };
    return {cell(r.left / cellSize, columns), cell(r.top / cellSize, rows),
            cell((r.right + cellSize - 1) / cellSize, columns), cell((r.bottom + cellSize - 1) / cellSize, rows)};
}

}  // namespace

void TGridIndex::Build(const TRectSource& rects)
{
    stale_ = false;
    loose_.clear();
    entries_.clear();
    const std::size_t count = rects.count;
    marked_.assign((count + 63) / 64, 0);
    const std::int64_t limit = kCellSize * kMaxCells;
    // The grid covers from the origin to the farthest right and bottom edge within reach.
    std::int64_t right = 0, bottom = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const TRect64 r = rects(i);
        if (!r.IsEmpty() && r.left >= 0 && r.top >= 0) {
            right = std::max(right, std::min(r.right, limit));
            bottom = std::max(bottom, std::min(r.bottom, limit));
        }
    }
    columns_ = (right + kCellSize - 1) / kCellSize;
    rows_ = (bottom + kCellSize - 1) / kCellSize;
    cellStart_.assign(static_cast<std::size_t>(columns_ * rows_ + 1), 0);

    // Counting sort: count each cell's items, then place them in ascending order.
    const auto forEachCell = [&](const TCellRange& cells, auto fn) {
        for (std::int64_t y = cells.top; y < cells.bottom; ++y)
            for (std::int64_t x = cells.left; x < cells.right; ++x)
                fn(static_cast<std::size_t>(y * columns_ + x));
    };
    std::vector<TCellRange> ranges(count, TCellRange{0, 0, 0, 0});
    for (std::size_t i = 0; i < count; ++i) {
        const TRect64 r = rects(i);
        if (r.IsEmpty())
            continue;
        const TCellRange cells = CellsOf(r, kCellSize, columns_, rows_);
        const bool inside =
            r.left >= 0 && r.top >= 0 && r.right <= columns_ * kCellSize && r.bottom <= rows_ * kCellSize;
        if (!inside || cells.Count() > kMaxCellsPerItem) {
            loose_.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        ranges[i] = cells;
        forEachCell(cells, [&](std::size_t cell) { ++cellStart_[cell + 1]; });
    }
    for (std::size_t cell = 1; cell < cellStart_.size(); ++cell)
        cellStart_[cell] += cellStart_[cell - 1];
    entries_.resize(cellStart_.back());
    std::vector<std::uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t i = 0; i < count; ++i)
        forEachCell(ranges[i], [&](std::size_t cell) { entries_[next[cell]++] = static_cast<std::uint32_t>(i); });
}

void TGridIndex::Mark(std::uint32_t item)
{
    std::uint64_t& word = marked_[item / 64];
    const std::uint64_t bit = std::uint64_t{1} << (item % 64);
    if (!(word & bit)) {
        word |= bit;
        found_.push_back(item);
    }
}

const std::vector<std::uint32_t>& TGridIndex::Near(const TRectSource& rects, const TRect64& area)
{
    if (stale_)
        Build(rects);
    found_.clear();
    if (area.IsEmpty())
        return found_;
    const TCellRange cells = CellsOf(area, kCellSize, columns_, rows_);
    for (std::int64_t y = cells.top; y < cells.bottom; ++y)
        for (std::int64_t x = cells.left; x < cells.right; ++x) {
            const auto cell = static_cast<std::size_t>(y * columns_ + x);
            for (std::uint32_t i = cellStart_[cell]; i < cellStart_[cell + 1]; ++i)
                Mark(entries_[i]);
        }
    for (const std::uint32_t item : loose_)
        Mark(item);
    // Back to ascending order through the bits, clearing them for the next query.
    if (found_.empty())
        return found_;
    const auto [low, high] = std::minmax_element(found_.begin(), found_.end());
    const std::size_t first = *low / 64, last = *high / 64;
    found_.clear();
    for (std::size_t w = first; w <= last; ++w) {
        for (std::uint64_t bits = marked_[w]; bits; bits &= bits - 1)
            found_.push_back(static_cast<std::uint32_t>(w * 64 + static_cast<std::size_t>(std::countr_zero(bits))));
        marked_[w] = 0;
    }
    return found_;
}

namespace {

// The design pixels whose scaled image may meet an area of a screen of some DPI: a pixel
// more on each side than the exact inverse, which rounding may shift by one.
TRect64 DesignArea(const TRect64& area, int dpi)
{
    const auto down = [dpi](std::int64_t v) {
        const std::int64_t p = v * kDesignDpi;
        return (p >= 0 ? p / dpi : -((-p + dpi - 1) / dpi)) - 1;
    };
    return {down(area.left), down(area.top), down(area.right) + 3, down(area.bottom) + 3};
}

// Which pixels of an area are taken, row by row, one bit each: filled from the top of the
// stack down, so each item finds what of it is still free.
class TCoverage {
public:
    explicit TCoverage(const TRect64& area)
        : area_(area), words_(static_cast<std::size_t>((area.right - area.left + 63) / 64)),
          taken_(words_ * static_cast<std::size_t>(area.bottom - area.top), 0)
    {
    }

    // Takes r for something above every item; it counts as nobody's cover.
    void Block(const TRect64& r)
    {
        if (blocked_.empty())
            blocked_.assign(taken_.size(), 0);
        ForEachWord(r.Intersect(area_), [&](std::size_t at, std::uint64_t mask, std::int64_t, std::int64_t) {
            taken_[at] |= mask;
            blocked_[at] |= mask;
        });
    }

    // Keeps, from now on, which item takes each pixel.
    void KeepOwners() { owners_.assign(taken_.size() * 64, TPaintedIndex::npos); }

    // Takes what of r (inside the area) is still free: its bounds, its pixels, and whether an
    // item above had taken any of it (and which, on the first such pixel).
    void Take(TPaintedIndex::TShown& shown)
    {
        const TRect64 r = shown.visible;
        TRect64 free{r.right, r.bottom, r.left, r.top};
        ForEachWord(r, [&](std::size_t at, std::uint64_t mask, std::int64_t x, std::int64_t y) {
            if (const std::uint64_t open = mask & ~taken_[at]) {
                free.left = std::min(free.left, x + std::countr_zero(open));
                free.right = std::max(free.right, x + 64 - std::countl_zero(open));
                free.top = std::min(free.top, y);
                free.bottom = std::max(free.bottom, y + 1);
                shown.visiblePixels += static_cast<std::uint64_t>(std::popcount(open));
                if (!owners_.empty())
                    for (std::uint64_t bits = open; bits; bits &= bits - 1)
                        owners_[at * 64 + static_cast<std::size_t>(std::countr_zero(bits))] = shown.item;
            }
            const std::uint64_t covered = mask & taken_[at] & ~(blocked_.empty() ? 0 : blocked_[at]);
            if (covered && !shown.covered) {
                shown.covered = true;
                if (!owners_.empty())
                    shown.coveredBy = owners_[at * 64 + static_cast<std::size_t>(std::countr_zero(covered))];
            }
            taken_[at] |= mask;
        });
        shown.visible = free.IsEmpty() ? TRect64{} : free;
    }

private:
    // fn(where in the bits, the mask of r's pixels in that word, the word's first x, y), row
    // by row, left to right.
    template <class Fn>
    void ForEachWord(const TRect64& r, Fn fn)
    {
        if (r.IsEmpty())
            return;
        const std::int64_t left = r.left - area_.left, right = r.right - area_.left;
        for (std::int64_t y = r.top - area_.top; y < r.bottom - area_.top; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * words_;
            for (std::int64_t w = left / 64; w <= (right - 1) / 64; ++w) {
                const std::int64_t from = std::max(left, w * 64) - w * 64, to = std::min(right, w * 64 + 64) - w * 64;
                const std::uint64_t bits = to - from == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << (to - from)) - 1;
                fn(row + static_cast<std::size_t>(w), bits << from, area_.left + w * 64, area_.top + y);
            }
        }
    }

    TRect64 area_;
    std::size_t words_;
    std::vector<std::uint64_t> taken_;
    std::vector<std::uint64_t> blocked_;  // only once something blocks
    std::vector<std::size_t> owners_;     // per bit of taken_, only when asked for
};

}  // namespace

std::size_t TPaintedIndex::ItemAt(const TRectSource& rects, TPoint64 point, int dpi) const
{
    const auto& near = index_.Near(rects, DesignArea({point.x, point.y, point.x + 1, point.y + 1}, dpi));
    for (auto it = near.rbegin(); it != near.rend(); ++it)
        if (ScaleToDpi(rects(*it), dpi).Contains(point.x, point.y))
            return *it;
    return npos;
}

std::vector<TPaintedIndex::TShown> TPaintedIndex::Walk(const TRectSource& rects, const TRect64& area, int dpi,
                                                       std::span<const TRect64> blockers, std::size_t lowest,
                                                       bool whoCovers) const
{
    std::vector<TShown> shown;
    if (area.IsEmpty())
        return shown;
    TRect64 reach{area.right, area.bottom, area.left, area.top};  // what the items meet of the area
    for (const std::uint32_t item : index_.Near(rects, DesignArea(area, dpi))) {
        if (item < lowest)
            continue;
        const TRect64 rect = ScaleToDpi(rects(item), dpi);
        const TRect64 inside = rect.Intersect(area);
        if (inside.IsEmpty())
            continue;
        TShown& s = shown.emplace_back();
        s.item = item;
        s.rect = rect;
        s.visible = inside;
        reach = {std::min(reach.left, inside.left), std::min(reach.top, inside.top),
                 std::max(reach.right, inside.right), std::max(reach.bottom, inside.bottom)};
    }
    if (shown.empty())
        return shown;
    TCoverage coverage(reach);
    if (whoCovers)
        coverage.KeepOwners();
    for (const TRect64& blocker : blockers)
        coverage.Block(blocker);
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        coverage.Take(*it);
    return shown;
}

std::vector<TPaintedIndex::TShown> TPaintedIndex::ShownIn(const TRectSource& rects, const TRect64& area, int dpi,
                                                          std::span<const TRect64> blockers, bool whoCovers) const
{
    return Walk(rects, area, dpi, blockers, 0, whoCovers);
}

TPaintedIndex::TShown TPaintedIndex::ShownOf(const TRectSource& rects, std::size_t item, const TRect64& area,
                                             int dpi) const
{
    const TRect64 rect = ScaleToDpi(rects(item), dpi);
    std::vector<TShown> shown = Walk(rects, rect.Intersect(area), dpi, {}, item, false);
    // Only what lies on the item is walked, from the item up: it comes first, if at all.
    if (!shown.empty() && shown.front().item == item)
        return shown.front();
    TShown none;
    none.item = item;
    none.rect = rect;
    return none;
}
