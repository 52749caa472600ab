#include "editor/PlanGeometry.h"

#include <algorithm>
#include <cmath>

namespace editor {

using board::TFloorPlan;

namespace {

std::int64_t Scaled(std::int64_t pixels, std::int32_t scale)
{
    // Rounded to the nearest board pixel, as the picture is stretched.
    const std::int64_t product = pixels * scale;
    return (product + TFloorPlan::kFullSize / 2) / TFloorPlan::kFullSize;
}

std::int32_t Clamp32(double v)
{
    return static_cast<std::int32_t>(std::clamp<long long>(std::llround(v), INT32_MIN, INT32_MAX));
}

}  // namespace

TRect64 PlanRect(const TFloorPlan& plan, std::int64_t width, std::int64_t height)
{
    return TRect64::Of(plan.left, plan.top, Scaled(width, plan.scale), Scaled(height, plan.scale));
}

TFloorPlan MovedPlan(const TFloorPlan& plan, std::int64_t dx, std::int64_t dy)
{
    TFloorPlan moved = plan;
    moved.left = Clamp32(static_cast<double>(plan.left + dx));
    moved.top = Clamp32(static_cast<double>(plan.top + dy));
    return moved;
}

std::optional<TFloorPlan> Calibrated(const TFloorPlan& plan, TPoint64 first, TPoint64 second, double distance)
{
    const double shown = std::hypot(static_cast<double>(second.x - first.x), static_cast<double>(second.y - first.y));
    if (shown == 0 || !(distance > 0) || !std::isfinite(distance))
        return std::nullopt;
    const double scale = plan.scale * distance / shown;
    if (!(scale >= TFloorPlan::kSmallest - 0.5 && scale < TFloorPlan::kLargest + 0.5))
        return std::nullopt;
    TFloorPlan lined = plan;
    lined.scale = static_cast<std::int32_t>(std::llround(scale));
    // The first point's spot of the picture, in its own pixels, stays on the first point.
    const double spotX = (first.x - plan.left) * static_cast<double>(TFloorPlan::kFullSize) / plan.scale;
    const double spotY = (first.y - plan.top) * static_cast<double>(TFloorPlan::kFullSize) / plan.scale;
    lined.left = Clamp32(first.x - spotX * lined.scale / TFloorPlan::kFullSize);
    lined.top = Clamp32(first.y - spotY * lined.scale / TFloorPlan::kFullSize);
    return lined;
}

}  // namespace editor
