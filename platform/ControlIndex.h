// Finds a form's windowless controls near a point or within an area without walking them
// all, so that a click or a repaint costs what lies there, not the size of the board.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Graphics.h"

class TControl;

class TControlIndex {
public:
    // The controls changed: the next query rebuilds the index from them.
    void MarkStale() { stale_ = true; }

    // The positions (in the list, bottom first) of the windowless controls whose rectangles
    // may meet the area, in ascending order; the caller tests each exactly. Areas are in
    // design pixels.
    const std::vector<std::uint32_t>& Near(const std::vector<TControl*>& controls, const TRect64& area);

private:
    void Build(const std::vector<TControl*>& controls);
    void Mark(std::uint32_t position);

    // Square cells over the part of the plane where boards lie; a control outside it, or
    // over many cells, is "loose" and goes with every query instead.
    static constexpr std::int64_t kCellSize = 32;
    static constexpr std::int64_t kMaxCells = 256;  // per side: 8192 design pixels
    static constexpr std::int64_t kMaxCellsPerControl = 64;

    bool stale_ = true;
    std::int64_t columns_ = 0, rows_ = 0;
    std::vector<std::uint32_t> cellStart_;  // per cell, where its positions begin in entries_
    std::vector<std::uint32_t> entries_;    // positions, cell after cell, ascending in each
    std::vector<std::uint32_t> loose_;
    std::vector<std::uint64_t> marked_;  // one bit per position, clear between queries
    std::vector<std::uint32_t> found_;
};
