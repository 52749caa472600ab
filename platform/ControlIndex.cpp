#include "platform/ControlIndex.h"

#include <algorithm>
#include <bit>

#include "platform/Controls.h"

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

void TControlIndex::Build(const std::vector<TControl*>& controls)
{
    stale_ = false;
    loose_.clear();
    entries_.clear();
    marked_.assign((controls.size() + 63) / 64, 0);
    const std::int64_t limit = kCellSize * kMaxCells;
    // The grid covers from the origin to the farthest right and bottom edge within reach.
    std::int64_t right = 0, bottom = 0;
    for (const TControl* c : controls) {
        const TRect64 r = c->BoundsRect();
        if (c->IsWindowless() && !r.IsEmpty() && r.left >= 0 && r.top >= 0) {
            right = std::max(right, std::min(r.right, limit));
            bottom = std::max(bottom, std::min(r.bottom, limit));
        }
    }
    columns_ = (right + kCellSize - 1) / kCellSize;
    rows_ = (bottom + kCellSize - 1) / kCellSize;
    cellStart_.assign(static_cast<std::size_t>(columns_ * rows_ + 1), 0);

    // Counting sort: count each cell's controls, then place them in ascending position.
    const auto forEachCell = [&](const TCellRange& cells, auto fn) {
        for (std::int64_t y = cells.top; y < cells.bottom; ++y)
            for (std::int64_t x = cells.left; x < cells.right; ++x)
                fn(static_cast<std::size_t>(y * columns_ + x));
    };
    std::vector<TCellRange> ranges(controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const TControl* c = controls[i];
        const TRect64 r = c->BoundsRect();
        ranges[i] = {0, 0, 0, 0};
        if (!c->IsWindowless() || r.IsEmpty())
            continue;
        const TCellRange cells = CellsOf(r, kCellSize, columns_, rows_);
        const bool inside =
            r.left >= 0 && r.top >= 0 && r.right <= columns_ * kCellSize && r.bottom <= rows_ * kCellSize;
        if (!inside || cells.Count() > kMaxCellsPerControl) {
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
    for (std::size_t i = 0; i < controls.size(); ++i)
        forEachCell(ranges[i], [&](std::size_t cell) { entries_[next[cell]++] = static_cast<std::uint32_t>(i); });
}

void TControlIndex::Mark(std::uint32_t position)
{
    std::uint64_t& word = marked_[position / 64];
    const std::uint64_t bit = std::uint64_t{1} << (position % 64);
    if (!(word & bit)) {
        word |= bit;
        found_.push_back(position);
    }
}

const std::vector<std::uint32_t>& TControlIndex::Near(const std::vector<TControl*>& controls, const TRect64& area)
{
    if (stale_)
        Build(controls);
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
    for (const std::uint32_t position : loose_)
        Mark(position);
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
