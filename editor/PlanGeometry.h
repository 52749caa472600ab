// Where the floor plan lies on the board, and the ways it is moved there: dragged, and lined
// up by two points of it whose distance on the board is known. Board pixels throughout.
#pragma once

#include <cstdint>
#include <optional>

#include "board/FloorPlan.h"
#include "platform/geometry/Graphics.h"

namespace editor {

// The rectangle a picture of that size covers on the board.
TRect64 PlanRect(const board::TFloorPlan& plan, std::int64_t width, std::int64_t height);

// The plan moved by dx, dy, kept within 32-bit places.
board::TFloorPlan MovedPlan(const board::TFloorPlan& plan, std::int64_t dx, std::int64_t dy);

// Two points clicked on the plan as it shows, and how many board pixels apart they really are:
// the plan scaled so that they are, the first point's spot of the picture staying where it
// was. Nothing for points that coincide, a distance that is no length, or a scale outside
// what the board file keeps.
std::optional<board::TFloorPlan> Calibrated(const board::TFloorPlan& plan, TPoint64 first, TPoint64 second,
                                            double distance);

}  // namespace editor
