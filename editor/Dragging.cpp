// Pressing, dragging and releasing: the band, a move or a resize with snapping and guides,
// and the handles and overlay that show them.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "editor/BoardEditor.h"
#include "editor/EditingState.h"

namespace editor {
namespace {

using board::TPcEntry;

constexpr std::int64_t kSnapDistance = 5;

// The offset that brings the nearest of the moving lines onto another PC's line, else the
// first of them onto the grid.
std::int64_t SnapOffset(const std::vector<TEdge>& edges, const std::vector<std::int64_t>& lines, std::int64_t step)
{
    std::optional<std::int64_t> best;
    for (const std::int64_t v : lines) {
        const auto at = std::lower_bound(edges.begin(), edges.end(), TEdge{v, INT64_MIN, 0});
        for (const auto it : {at, at == edges.begin() ? edges.end() : at - 1})
            if (it != edges.end() && std::abs(it->value - v) <= kSnapDistance &&
                (!best || std::abs(it->value - v) < std::abs(*best)))
                best = it->value - v;
    }
    if (best)
        return *best;
    return FloorDiv(lines[0] + step / 2, step) * step - lines[0];
}

void AssignLines(std::vector<std::int64_t>& to, std::int64_t low, std::int64_t high)
{
    const auto lines = Lines(low, high);
    to.assign(lines.begin(), lines.end());
}

}  // namespace

// -- handles and the overlay

std::vector<std::pair<THandle, TRect64>> TBoardEditor::Handles() const
{
    if (selection_.size() != 1 || selection_[0] >= Pcs().size())
        return {};
    const TRect64 r = RectOf(selection_[0]);
    // On the PC's outermost pixels, so a handle is centred on what shows of its edge.
    const std::int64_t left = r.left, right = r.right - 1, top = r.top, bottom = r.bottom - 1;
    const std::int64_t midX = Centre(r.left, r.right), midY = Centre(r.top, r.bottom), h = kHandleSize / 2;
    const auto at = [h](std::int64_t x, std::int64_t y) { return TRect64{x - h, y - h, x + h + 1, y + h + 1}; };
    return {{THandle::TopLeft, at(left, top)},       {THandle::TopRight, at(right, top)},
            {THandle::BottomLeft, at(left, bottom)}, {THandle::BottomRight, at(right, bottom)},
            {THandle::Left, at(left, midY)},         {THandle::Right, at(right, midY)},
            {THandle::Top, at(midX, top)},           {THandle::Bottom, at(midX, bottom)}};
}

TRect64 TBoardEditor::OverlayArea() const
{
    // A moved selection's bounds move with it, without a walk through its PCs each frame.
    const auto& d = scratch_->drag;
    const TRect64 selected = d && d->started && d->mode == TDrag::Move
                                 ? TRect64{d->startBounds.left + d->box.left - d->startBox.left,
                                           d->startBounds.top + d->box.top - d->startBox.top,
                                           d->startBounds.right + d->box.left - d->startBox.left,
                                           d->startBounds.bottom + d->box.top - d->startBox.top}
                                 : SelectionBounds();
    // Room for the frames a pixel outside the PCs and the handles centred on their edges.
    TRect64 area = Inflated(selected, kHandleSize + 2);
    area = area.Union(Band());
    for (const TGuide& g : guides_)
        area = area.Union(g.vertical ? TRect64{g.at - 1, g.from, g.at + 2, g.to + 1}
                                     : TRect64{g.from, g.at - 1, g.to + 1, g.at + 2});
    return area;
}

TRect64 TBoardEditor::OverlayChange()
{
    const TRect64 now = OverlayArea();
    const TRect64 changed = scratch_->overlayShown.Union(now);
    scratch_->overlayShown = now;
    return changed;
}

THandle TBoardEditor::HandleAt(TPoint64 point, std::int32_t reach) const
{
    for (const auto& [handle, square] : Handles())
        if (Inflated(square, reach).Contains(point.x, point.y))
            return handle;
    const std::optional<std::size_t> pc = PcAt(point);
    return pc && IsSelected(*pc) ? THandle::Move : THandle::None;
}

// -- the drag

void TBoardEditor::Press(TPoint64 point, bool toggle, std::int32_t reach)
{
    guides_.clear();
    TDrag& drag = scratch_->drag.emplace();
    drag.press = point;
    drag.before = selection_;
    const THandle handle = HandleAt(point, reach);
    if (handle != THandle::None && handle != THandle::Move && !toggle) {
        drag.mode = TDrag::Resize;
        drag.handle = handle;
        return;
    }
    if (const std::optional<std::size_t> pc = PcAt(point)) {
        if (toggle)
            Toggle(*pc);
        else if (!IsSelected(*pc))
            Select(*pc);
        if (IsSelected(*pc)) {
            drag.mode = TDrag::Move;
            drag.handle = THandle::Move;
        }
        return;
    }
    drag.mode = TDrag::Band;
    drag.add = toggle;
    if (!toggle)
        selection_.clear();
}

TRect64 TBoardEditor::DragTo(TPoint64 point, bool snap, std::int32_t threshold)
{
    if (!scratch_->drag || scratch_->drag->mode == TDrag::Inert)
        return {};
    TDrag& d = *scratch_->drag;
    const std::int64_t dx = point.x - d.press.x, dy = point.y - d.press.y;
    if (!d.started && ((std::abs(dx) < threshold && std::abs(dy) < threshold) || !StartDrag(d)))
        return {};
    guides_.clear();
    const bool snapping = snap && grid_.snap;
    if (d.mode == TDrag::Band) {
        DrawBand(d, point);
    } else {
        if (d.mode == TDrag::Move)
            MoveTo(d, dx, dy, snapping);
        else
            ResizeTo(d, dx, dy, snapping);
        if (snapping)
            PlaceGuides(d);
    }
    return OverlayChange();
}

bool TBoardEditor::StartDrag(TDrag& d)
{
    d.started = true;
    if (d.mode == TDrag::Band)
        return true;
    KeepSelectionValid();
    d.preview = doc_.Pcs();
    d.moving = selection_;
    if (d.moving.empty()) {
        scratch_->drag.reset();
        return false;
    }
    // Edges as written, so that PCs of no size move by their own lines too.
    d.startBox = board::EntryRect(d.preview[d.moving[0]].entry);
    for (const std::size_t pc : d.moving) {
        const TRect64 r = board::EntryRect(d.preview[pc].entry);
        d.startBox = {std::min(d.startBox.left, r.left), std::min(d.startBox.top, r.top),
                      std::max(d.startBox.right, r.right), std::max(d.startBox.bottom, r.bottom)};
        d.startBounds = d.startBounds.Union(r);
    }
    d.box = d.startBox;
    // What snaps to: the other PCs' edges and centres, sorted once for the whole drag.
    std::vector<bool> moving(d.preview.size());
    for (const std::size_t pc : d.moving)
        moving[pc] = true;
    for (std::size_t pc = 0; pc < d.preview.size(); ++pc) {
        const TRect64 r = board::EntryRect(d.preview[pc].entry);
        if (moving[pc] || r.IsEmpty())
            continue;
        const auto id = static_cast<std::uint32_t>(pc);
        for (const std::int64_t x : Lines(r.left, r.right))
            d.xs.push_back({x, Centre(r.top, r.bottom), id});
        for (const std::int64_t y : Lines(r.top, r.bottom))
            d.ys.push_back({y, Centre(r.left, r.right), id});
    }
    std::sort(d.xs.begin(), d.xs.end());
    std::sort(d.ys.begin(), d.ys.end());
    return true;
}

void TBoardEditor::DrawBand(TDrag& d, TPoint64 point)
{
    d.band = {std::min(d.press.x, point.x), std::min(d.press.y, point.y), std::max(d.press.x, point.x) + 1,
              std::max(d.press.y, point.y) + 1};
    selection_ = d.before;
    SelectTouching(d.band, d.add);
}

void TBoardEditor::MoveTo(TDrag& d, std::int64_t dx, std::int64_t dy, bool snapping)
{
    TRect64 box = {d.startBox.left + dx, d.startBox.top + dy, d.startBox.right + dx, d.startBox.bottom + dy};
    if (snapping) {
        const std::int64_t step = std::max(grid_.step, 1);
        AssignLines(d.xLines, box.left, box.right);
        AssignLines(d.yLines, box.top, box.bottom);
        const std::int64_t sx = SnapOffset(d.xs, d.xLines, step), sy = SnapOffset(d.ys, d.yLines, step);
        box = {box.left + sx, box.top + sy, box.right + sx, box.bottom + sy};
    }
    AssignLines(d.xLines, box.left, box.right);
    AssignLines(d.yLines, box.top, box.bottom);
    d.box = box;
    const std::int64_t mx = box.left - d.startBox.left, my = box.top - d.startBox.top;
    const auto& pcs = doc_.Pcs();
    for (const std::size_t pc : d.moving) {
        d.preview[pc].entry.left = static_cast<std::int32_t>(Clamp32(pcs[pc].entry.left + mx));
        d.preview[pc].entry.top = static_cast<std::int32_t>(Clamp32(pcs[pc].entry.top + my));
    }
}

void TBoardEditor::ResizeTo(TDrag& d, std::int64_t dx, std::int64_t dy, bool snapping)
{
    const THandle h = d.handle;
    const bool left = h == THandle::Left || h == THandle::TopLeft || h == THandle::BottomLeft;
    const bool right = h == THandle::Right || h == THandle::TopRight || h == THandle::BottomRight;
    const bool top = h == THandle::Top || h == THandle::TopLeft || h == THandle::TopRight;
    const bool bottom = h == THandle::Bottom || h == THandle::BottomLeft || h == THandle::BottomRight;
    const std::int64_t step = std::max(grid_.step, 1);
    // The edge that follows the pointer, snapped, never closer than one pixel to its opposite.
    const auto follow = [&](std::int64_t edge, std::int64_t by, const std::vector<TEdge>& edges) {
        std::int64_t v = edge + by;
        if (snapping)
            v += SnapOffset(edges, {v}, step);
        return v;
    };
    TRect64 box = d.startBox;
    if (left)
        box.left = std::min(follow(box.left, dx, d.xs), box.right - 1);
    if (right)
        box.right = std::max(follow(box.right, dx, d.xs), box.left + 1);
    if (top)
        box.top = std::min(follow(box.top, dy, d.ys), box.bottom - 1);
    if (bottom)
        box.bottom = std::max(follow(box.bottom, dy, d.ys), box.top + 1);
    d.xLines.clear();
    d.yLines.clear();
    if (left || right)
        d.xLines.push_back(left ? box.left : box.right);
    if (top || bottom)
        d.yLines.push_back(top ? box.top : box.bottom);
    d.box = box;
    TPcEntry& e = d.preview[d.moving.at(0)].entry;
    e.left = static_cast<std::int32_t>(Clamp32(box.left));
    e.top = static_cast<std::int32_t>(Clamp32(box.top));
    e.width = static_cast<std::int32_t>(std::clamp<std::int64_t>(box.right - box.left, 1, INT32_MAX));
    e.height = static_cast<std::int32_t>(std::clamp<std::int64_t>(box.bottom - box.top, 1, INT32_MAX));
}

// A guide for each moving line that lies on another PC's, to the nearest such PC.
void TBoardEditor::PlaceGuides(const TDrag& d)
{
    const TRect64& box = d.box;
    const auto guide = [&](const std::vector<TEdge>& edges, std::int64_t v, bool vertical) {
        const std::int64_t along = vertical ? Centre(box.top, box.bottom) : Centre(box.left, box.right);
        const auto from = std::lower_bound(edges.begin(), edges.end(), TEdge{v, INT64_MIN, 0});
        const auto to = std::upper_bound(from, edges.end(), TEdge{v, INT64_MAX, 0});
        if (from == to)
            return;
        auto it = std::lower_bound(from, to, TEdge{v, along, 0});
        if (it == to || (it != from && along - (it - 1)->along < it->along - along))
            --it;
        const TRect64 o = board::EntryRect(d.preview[it->pc].entry);
        guides_.push_back(vertical ? TGuide{true, v, std::min(o.top, box.top), std::max(o.bottom, box.bottom)}
                                   : TGuide{false, v, std::min(o.left, box.left), std::max(o.right, box.right)});
    };
    for (const std::int64_t v : d.xLines)
        guide(d.xs, v, true);
    for (const std::int64_t v : d.yLines)
        guide(d.ys, v, false);
    // A narrow PC's centre can be an edge too: one guide a line.
    guides_.erase(std::unique(guides_.begin(), guides_.end()), guides_.end());
}

TRefusal TBoardEditor::Release()
{
    if (!scratch_->drag)
        return TRefusal::None;
    TDrag d = std::move(*scratch_->drag);
    scratch_->drag.reset();
    guides_.clear();
    if (!d.started || (d.mode != TDrag::Move && d.mode != TDrag::Resize))
        return TRefusal::None;
    return Group([&] {
        for (const std::size_t pc : d.moving) {
            const TPcEntry& e = d.preview[pc].entry;
            for (const auto& [key, value] : {std::pair{TPcKey::Left, e.left}, std::pair{TPcKey::Top, e.top},
                                             std::pair{TPcKey::Width, e.width}, std::pair{TPcKey::Height, e.height}})
                if (const TRefusal refusal = SetNumber(pc, key, value); refusal != TRefusal::None)
                    return refusal;
        }
        return TRefusal::None;
    });
}

void TBoardEditor::CancelDrag()
{
    if (scratch_->drag && scratch_->drag->mode == TDrag::Band && scratch_->drag->started)
        selection_ = scratch_->drag->before;
    scratch_->drag.reset();
    guides_.clear();
}

bool TBoardEditor::Dragging() const
{
    return scratch_->drag && scratch_->drag->started;
}

THandle TBoardEditor::DragKind() const
{
    return scratch_->drag ? scratch_->drag->handle : THandle::None;
}

TRect64 TBoardEditor::Band() const
{
    return Dragging() && scratch_->drag->mode == TDrag::Band ? scratch_->drag->band : TRect64{};
}

}  // namespace editor
