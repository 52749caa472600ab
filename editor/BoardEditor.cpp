#include "editor/BoardEditor.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <utility>

#include "platform/geometry/PaintedIndex.h"

namespace editor {
namespace {

using board::TPcEntry;

constexpr std::int64_t kSnapDistance = 5;
constexpr std::int32_t kNewWidth = 64, kNewHeight = 24;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

std::int64_t Clamp32(std::int64_t v)
{
    return std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX);
}

// The rectangle as the file gives it, empty or not.
TRect64 EdgesOf(const TPcEntry& e)
{
    return board::EntryRect(e);
}

TRect64 GuideRect(const TGuide& g)
{
    return g.vertical ? TRect64{g.at, g.from, g.at + 1, g.to} : TRect64{g.from, g.at, g.to, g.at + 1};
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

// The lines a rectangle offers on one axis: its low edge, high edge and centre.
std::array<std::int64_t, 3> Lines(std::int64_t low, std::int64_t high)
{
    return {low, high, low + FloorDiv(high - low, 2)};
}

}  // namespace

std::string CaptionFor(std::string_view pattern, std::int32_t n)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern.substr(i, 2) == "{n") {
            std::size_t j = i + 2;
            bool zeros = false;
            std::size_t width = 0;
            bool ok = true;
            if (j < pattern.size() && pattern[j] == ':') {
                ++j;
                zeros = j < pattern.size() && pattern[j] == '0';
                const std::size_t digits = j;
                while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && j - digits < 3)
                    width = width * 10 + static_cast<std::size_t>(pattern[j++] - '0');
                ok = j > digits;
            }
            if (ok && j < pattern.size() && pattern[j] == '}') {
                std::string digits = std::to_string(n);
                const bool negative = n < 0;
                if (digits.size() < width)
                    digits.insert(zeros && negative ? 1 : 0, width - digits.size(), zeros ? '0' : ' ');
                out += digits;
                i = j + 1;
                continue;
            }
        }
        out += pattern[i++];
    }
    return out;
}

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
    std::vector<TEdge> xs, ys;
};

struct TBoardEditor::TState {
    std::uint64_t saved = 0;
    std::optional<std::uint64_t> nudged;  // the version a nudge left
    std::optional<TDrag> drag;
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

TBoardEditor::TBoardEditor(std::string bytes) : doc_(std::move(bytes)), state_(std::make_shared<TState>())
{
    state_->saved = doc_.Version();
}

const std::vector<TBoardEditor::TPc>& TBoardEditor::Pcs() const
{
    const auto& drag = state_->drag;
    return drag && drag->started && !drag->preview.empty() ? drag->preview : doc_.Pcs();
}

TRect64 TBoardEditor::RectOf(std::size_t pc) const
{
    return EdgesOf(Pcs().at(pc).entry);
}

// -- selection

bool TBoardEditor::IsSelected(std::size_t pc) const
{
    return std::binary_search(selection_.begin(), selection_.end(), pc);
}

void TBoardEditor::Select(std::size_t pc)
{
    selection_.clear();
    if (pc < doc_.Pcs().size())
        selection_.push_back(pc);
}

void TBoardEditor::Toggle(std::size_t pc)
{
    if (pc >= doc_.Pcs().size())
        return;
    const auto it = std::lower_bound(selection_.begin(), selection_.end(), pc);
    if (it != selection_.end() && *it == pc)
        selection_.erase(it);
    else
        selection_.insert(it, pc);
}

void TBoardEditor::SelectAll()
{
    selection_.resize(doc_.Pcs().size());
    for (std::size_t i = 0; i < selection_.size(); ++i)
        selection_[i] = i;
}

void TBoardEditor::ClearSelection()
{
    selection_.clear();
}

void TBoardEditor::SelectTouching(const TRect64& band, bool add)
{
    std::vector<std::size_t> touched;
    if (!band.IsEmpty())
        for (const std::uint32_t pc : state_->Near(doc_, band))
            if (EdgesOf(doc_.Pcs()[pc].entry).Intersects(band))
                touched.push_back(pc);
    if (!add) {
        selection_ = std::move(touched);
        return;
    }
    std::vector<std::size_t> merged;
    std::set_union(selection_.begin(), selection_.end(), touched.begin(), touched.end(), std::back_inserter(merged));
    selection_ = std::move(merged);
}

void TBoardEditor::SelectNext(bool backwards)
{
    const std::size_t n = doc_.Pcs().size();
    if (n == 0)
        return;
    std::size_t pc = backwards ? n - 1 : 0;
    if (!selection_.empty())
        pc = backwards ? (selection_.front() + n - 1) % n : (selection_.back() + 1) % n;
    Select(pc);
}

TRect64 TBoardEditor::SelectionBounds() const
{
    TRect64 box;
    for (const std::size_t pc : selection_)
        box = box.Union(RectOf(pc));
    return box;
}

std::optional<std::size_t> TBoardEditor::PcAt(TPoint64 point) const
{
    const auto& near = state_->Near(doc_, {point.x, point.y, point.x + 1, point.y + 1});
    for (auto it = near.rbegin(); it != near.rend(); ++it)
        if (EdgesOf(doc_.Pcs()[*it].entry).Contains(point.x, point.y))
            return *it;
    return std::nullopt;
}

THandle TBoardEditor::HandleAt(TPoint64 point, std::int32_t tolerance) const
{
    if (selection_.size() == 1 && selection_[0] < doc_.Pcs().size()) {
        const TRect64 r = EdgesOf(doc_.Pcs()[selection_[0]].entry);
        const std::int64_t midX = r.left + FloorDiv(r.right - r.left, 2), midY = r.top + FloorDiv(r.bottom - r.top, 2);
        const auto near = [&](std::int64_t x, std::int64_t y) {
            return std::abs(point.x - x) <= tolerance && std::abs(point.y - y) <= tolerance;
        };
        // Corners first: on a small PC they and the edges' handles overlap.
        const std::pair<THandle, TPoint64> handles[] = {{THandle::TopLeft, {r.left, r.top}},
                                                        {THandle::TopRight, {r.right, r.top}},
                                                        {THandle::BottomLeft, {r.left, r.bottom}},
                                                        {THandle::BottomRight, {r.right, r.bottom}},
                                                        {THandle::Left, {r.left, midY}},
                                                        {THandle::Right, {r.right, midY}},
                                                        {THandle::Top, {midX, r.top}},
                                                        {THandle::Bottom, {midX, r.bottom}}};
        for (const auto& [handle, at] : handles)
            if (near(at.x, at.y))
                return handle;
    }
    const std::optional<std::size_t> pc = PcAt(point);
    return pc && IsSelected(*pc) ? THandle::Move : THandle::None;
}

// -- dragging

void TBoardEditor::Press(TPoint64 point, bool toggle, std::int32_t tolerance)
{
    guides_.clear();
    TDrag& drag = state_->drag.emplace();
    drag.press = point;
    drag.before = selection_;
    const THandle handle = HandleAt(point, tolerance);
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
    if (!state_->drag || state_->drag->mode == TDrag::Inert)
        return {};
    TDrag& d = *state_->drag;
    const std::int64_t dx = point.x - d.press.x, dy = point.y - d.press.y;
    if (!d.started) {
        if (std::abs(dx) < threshold && std::abs(dy) < threshold)
            return {};
        d.started = true;
        if (d.mode != TDrag::Band) {
            KeepSelectionValid();
            d.preview = doc_.Pcs();
            d.moving = selection_;
            if (d.moving.empty()) {
                state_->drag.reset();
                return {};
            }
            // Edges as written, so that PCs of no size move by their own lines too.
            d.startBox = EdgesOf(d.preview[d.moving[0]].entry);
            for (const std::size_t pc : d.moving) {
                const TRect64 r = EdgesOf(d.preview[pc].entry);
                d.startBox = {std::min(d.startBox.left, r.left), std::min(d.startBox.top, r.top),
                              std::max(d.startBox.right, r.right), std::max(d.startBox.bottom, r.bottom)};
            }
            d.box = d.startBox;
            // What snaps to: the other PCs' edges and centres, sorted once for the whole drag.
            std::vector<bool> moving(d.preview.size());
            for (const std::size_t pc : d.moving)
                moving[pc] = true;
            for (std::size_t pc = 0; pc < d.preview.size(); ++pc) {
                const TRect64 r = EdgesOf(d.preview[pc].entry);
                if (moving[pc] || r.IsEmpty())
                    continue;
                const auto id = static_cast<std::uint32_t>(pc);
                for (const std::int64_t x : Lines(r.left, r.right))
                    d.xs.push_back({x, Lines(r.top, r.bottom)[2], id});
                for (const std::int64_t y : Lines(r.top, r.bottom))
                    d.ys.push_back({y, Lines(r.left, r.right)[2], id});
            }
            std::sort(d.xs.begin(), d.xs.end());
            std::sort(d.ys.begin(), d.ys.end());
        }
    }

    TRect64 changed = d.mode == TDrag::Band ? d.band : d.box;
    for (const TGuide& g : guides_)
        changed = changed.Union(GuideRect(g));
    guides_.clear();

    if (d.mode == TDrag::Band) {
        d.band = {std::min(d.press.x, point.x), std::min(d.press.y, point.y), std::max(d.press.x, point.x) + 1,
                  std::max(d.press.y, point.y) + 1};
        selection_ = d.before;
        SelectTouching(d.band, d.add);
        return changed.Union(d.band);
    }

    const bool snapping = snap && grid_.snap;
    const std::int64_t step = std::max(grid_.step, 1);
    // The offset that brings the nearest of the moving lines onto another PC's line, else the
    // first of them onto the grid.
    const auto snapAxis = [&](const std::vector<TEdge>& edges, const std::vector<std::int64_t>& lines) {
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
    };

    TRect64 box = d.startBox;
    std::vector<std::int64_t> xLines, yLines;  // those that move, to snap and to guide
    if (d.mode == TDrag::Move) {
        box = {box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
        const auto x = Lines(box.left, box.right), y = Lines(box.top, box.bottom);
        xLines.assign(x.begin(), x.end());
        yLines.assign(y.begin(), y.end());
        if (snapping) {
            const std::int64_t sx = snapAxis(d.xs, xLines), sy = snapAxis(d.ys, yLines);
            box = {box.left + sx, box.top + sy, box.right + sx, box.bottom + sy};
        }
        const auto x2 = Lines(box.left, box.right), y2 = Lines(box.top, box.bottom);
        xLines.assign(x2.begin(), x2.end());
        yLines.assign(y2.begin(), y2.end());
        const std::int64_t mx = box.left - d.startBox.left, my = box.top - d.startBox.top;
        const auto& pcs = doc_.Pcs();
        for (const std::size_t pc : d.moving) {
            d.preview[pc].entry.left = static_cast<std::int32_t>(Clamp32(pcs[pc].entry.left + mx));
            d.preview[pc].entry.top = static_cast<std::int32_t>(Clamp32(pcs[pc].entry.top + my));
        }
    } else {
        const THandle h = d.handle;
        const bool left = h == THandle::Left || h == THandle::TopLeft || h == THandle::BottomLeft;
        const bool right = h == THandle::Right || h == THandle::TopRight || h == THandle::BottomRight;
        const bool top = h == THandle::Top || h == THandle::TopLeft || h == THandle::TopRight;
        const bool bottom = h == THandle::Bottom || h == THandle::BottomLeft || h == THandle::BottomRight;
        // The edge that follows the pointer, snapped, never closer than one pixel to its opposite.
        const auto follow = [&](std::int64_t edge, std::int64_t by, const std::vector<TEdge>& edges) {
            std::int64_t v = edge + by;
            if (snapping)
                v += snapAxis(edges, {v});
            return v;
        };
        if (left)
            box.left = std::min(follow(box.left, dx, d.xs), box.right - 1);
        if (right)
            box.right = std::max(follow(box.right, dx, d.xs), box.left + 1);
        if (top)
            box.top = std::min(follow(box.top, dy, d.ys), box.bottom - 1);
        if (bottom)
            box.bottom = std::max(follow(box.bottom, dy, d.ys), box.top + 1);
        if (left || right)
            xLines.push_back(left ? box.left : box.right);
        if (top || bottom)
            yLines.push_back(top ? box.top : box.bottom);
        TPcEntry& e = d.preview[d.moving.at(0)].entry;
        e.left = static_cast<std::int32_t>(Clamp32(box.left));
        e.top = static_cast<std::int32_t>(Clamp32(box.top));
        e.width = static_cast<std::int32_t>(std::clamp<std::int64_t>(box.right - box.left, 1, INT32_MAX));
        e.height = static_cast<std::int32_t>(std::clamp<std::int64_t>(box.bottom - box.top, 1, INT32_MAX));
    }
    d.box = box;

    // A guide for each moving line that lies on another PC's, to the nearest such PC.
    if (snapping) {
        const auto guide = [&](const std::vector<TEdge>& edges, std::int64_t v, bool vertical) {
            const std::int64_t along = vertical ? Lines(box.top, box.bottom)[2] : Lines(box.left, box.right)[2];
            const auto from = std::lower_bound(edges.begin(), edges.end(), TEdge{v, INT64_MIN, 0});
            const auto to = std::upper_bound(from, edges.end(), TEdge{v, INT64_MAX, 0});
            if (from == to)
                return;
            auto it = std::lower_bound(from, to, TEdge{v, along, 0});
            if (it == to || (it != from && along - (it - 1)->along < it->along - along))
                --it;
            const TRect64 o = EdgesOf(d.preview[it->pc].entry);
            guides_.push_back(vertical ? TGuide{true, v, std::min(o.top, box.top), std::max(o.bottom, box.bottom)}
                                       : TGuide{false, v, std::min(o.left, box.left), std::max(o.right, box.right)});
        };
        for (const std::int64_t v : xLines)
            guide(d.xs, v, true);
        for (const std::int64_t v : yLines)
            guide(d.ys, v, false);
        // A narrow PC's centre can be an edge too: one guide a line.
        guides_.erase(std::unique(guides_.begin(), guides_.end()), guides_.end());
    }
    changed = changed.Union(box);
    for (const TGuide& g : guides_)
        changed = changed.Union(GuideRect(g));
    return changed;
}

TRefusal TBoardEditor::Release()
{
    if (!state_->drag)
        return TRefusal::None;
    TDrag d = std::move(*state_->drag);
    state_->drag.reset();
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
    if (state_->drag && state_->drag->mode == TDrag::Band && state_->drag->started)
        selection_ = state_->drag->before;
    state_->drag.reset();
    guides_.clear();
}

bool TBoardEditor::Dragging() const
{
    return state_->drag && state_->drag->started;
}

THandle TBoardEditor::DragKind() const
{
    return state_->drag ? state_->drag->handle : THandle::None;
}

TRect64 TBoardEditor::Band() const
{
    return Dragging() && state_->drag->mode == TDrag::Band ? state_->drag->band : TRect64{};
}

// -- steps

template <class Work>
TRefusal TBoardEditor::Group(Work work, std::size_t joinFrom)
{
    const std::size_t mark = doc_.StepMark();
    const TRefusal refusal = work();
    if (refusal != TRefusal::None)
        doc_.RevertSince(mark);
    else
        doc_.JoinSince(std::min(joinFrom, mark));
    state_->nudged.reset();
    return refusal;
}

TRefusal TBoardEditor::SetNumber(std::size_t pc, TPcKey key, std::int64_t value)
{
    const TPcEntry& e = doc_.Pcs().at(pc).entry;
    const std::int64_t now = board::FieldOf(e, key);
    return value == now ? TRefusal::None : doc_.SetValue(pc, key, std::to_string(value));
}

TRefusal TBoardEditor::Nudge(std::int32_t dx, std::int32_t dy, bool resize, bool repeated)
{
    if (selection_.empty() || (dx == 0 && dy == 0))
        return TRefusal::None;
    const bool join = repeated && state_->nudged == doc_.Version() && doc_.CanUndo();
    const std::uint64_t before = doc_.Version();
    const TRefusal refusal = Group(
        [&] {
            for (const std::size_t pc : selection_) {
                const TPcEntry e = doc_.Pcs()[pc].entry;
                const TRefusal refusal =
                    resize ? SetNumber(pc, TPcKey::Width, std::max<std::int64_t>(std::int64_t{e.width} + dx, 1))
                           : SetNumber(pc, TPcKey::Left, std::int64_t{e.left} + dx);
                if (refusal != TRefusal::None)
                    return refusal;
                if (const TRefusal r =
                        resize ? SetNumber(pc, TPcKey::Height, std::max<std::int64_t>(std::int64_t{e.height} + dy, 1))
                               : SetNumber(pc, TPcKey::Top, std::int64_t{e.top} + dy);
                    r != TRefusal::None)
                    return r;
            }
            return TRefusal::None;
        },
        join ? doc_.StepMark() - 1 : SIZE_MAX);
    // A nudge that changed nothing made no step to join the next one to.
    if (refusal == TRefusal::None && (join || doc_.Version() != before))
        state_->nudged = doc_.Version();
    return refusal;
}

TRefusal TBoardEditor::Align(TAlign how)
{
    if (selection_.size() < 2)
        return TRefusal::None;
    const TRect64 box = SelectionBounds();
    return Group([&] {
        for (const std::size_t pc : selection_) {
            const TPcEntry e = doc_.Pcs()[pc].entry;
            TRefusal refusal = TRefusal::None;
            switch (how) {
            case TAlign::Left:
                refusal = SetNumber(pc, TPcKey::Left, box.left);
                break;
            case TAlign::Right:
                refusal = SetNumber(pc, TPcKey::Left, box.right - e.width);
                break;
            case TAlign::Top:
                refusal = SetNumber(pc, TPcKey::Top, box.top);
                break;
            case TAlign::Bottom:
                refusal = SetNumber(pc, TPcKey::Top, box.bottom - e.height);
                break;
            case TAlign::CentresAcross:
                refusal = SetNumber(pc, TPcKey::Left, Lines(box.left, box.right)[2] - FloorDiv(e.width, 2));
                break;
            case TAlign::CentresDown:
                refusal = SetNumber(pc, TPcKey::Top, Lines(box.top, box.bottom)[2] - FloorDiv(e.height, 2));
                break;
            }
            if (refusal != TRefusal::None)
                return refusal;
        }
        return TRefusal::None;
    });
}

TRefusal TBoardEditor::Distribute(bool across)
{
    const std::size_t n = selection_.size();
    if (n < 3)
        return TRefusal::None;
    const auto& pcs = doc_.Pcs();
    const auto low = [&](std::size_t pc) { return across ? pcs[pc].entry.left : pcs[pc].entry.top; };
    const auto size = [&](std::size_t pc) { return across ? pcs[pc].entry.width : pcs[pc].entry.height; };
    std::vector<std::size_t> order = selection_;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return low(a) < low(b); });
    const std::int64_t first = low(order.front()), end = std::int64_t{low(order.back())} + size(order.back());
    std::int64_t sizes = 0;
    for (const std::size_t pc : order)
        sizes += size(pc);
    const std::int64_t room = end - first - sizes;
    std::vector<std::int64_t> at(n);
    for (std::size_t i = 0, before = 0; i < n; before += static_cast<std::size_t>(size(order[i])), ++i)
        at[i] = first + static_cast<std::int64_t>(before) +
                FloorDiv(room * static_cast<std::int64_t>(i), static_cast<std::int64_t>(n - 1));
    return Group([&] {
        for (std::size_t i = 0; i < n; ++i)
            if (const TRefusal r = SetNumber(order[i], across ? TPcKey::Left : TPcKey::Top, at[i]); r != TRefusal::None)
                return r;
        return TRefusal::None;
    });
}

TRefusal TBoardEditor::MakeSameSize(TSize what)
{
    if (selection_.size() < 2)
        return TRefusal::None;
    const TPcEntry model = doc_.Pcs()[selection_[0]].entry;
    return Group([&] {
        for (const std::size_t pc : selection_) {
            if (what != TSize::Height)
                if (const TRefusal r = SetNumber(pc, TPcKey::Width, model.width); r != TRefusal::None)
                    return r;
            if (what != TSize::Width)
                if (const TRefusal r = SetNumber(pc, TPcKey::Height, model.height); r != TRefusal::None)
                    return r;
        }
        return TRefusal::None;
    });
}

TRefusal TBoardEditor::SetField(TPcKey key, std::string_view text)
{
    return Group([&] {
        for (const std::size_t pc : selection_)
            if (const TRefusal r = doc_.SetValue(pc, key, text); r != TRefusal::None)
                return r;
        return TRefusal::None;
    });
}

std::optional<std::string> TBoardEditor::SharedField(TPcKey key) const
{
    std::optional<std::string> shared;
    for (const std::size_t pc : selection_) {
        const TPcEntry& e = Pcs().at(pc).entry;
        std::string value = key == TPcKey::Caption ? e.caption : std::to_string(board::FieldOf(e, key));
        if (shared && *shared != value)
            return std::nullopt;
        shared = std::move(value);
    }
    return shared;
}

// -- PCs in and out

TRefusal TBoardEditor::AddPc()
{
    const std::int64_t step = std::max(grid_.step, 1);
    const auto cells = [&](std::int64_t size) { return (size + step + step - 1) / step * step; };
    // The first place, row by row, that no PC overlaps; a full corner leaves it at the first.
    TPcEntry entry{"PC" + std::to_string(std::max(doc_.Count(), 1)), 0, 0, kNewWidth, kNewHeight};
    std::int64_t left = step, top = step;
    bool found = false;
    for (std::int64_t row = 0; row < 64 && !found; ++row)
        for (std::int64_t column = 0; column < 16 && !found; ++column) {
            const TRect64 r =
                TRect64::Of(step + column * cells(kNewWidth), step + row * cells(kNewHeight), kNewWidth, kNewHeight);
            const auto& near = state_->Near(doc_, r);
            found = std::none_of(near.begin(), near.end(),
                                 [&](std::uint32_t pc) { return EdgesOf(doc_.Pcs()[pc].entry).Intersects(r); });
            if (found) {
                left = r.left;
                top = r.top;
            }
        }
    if (left > INT32_MAX || top > INT32_MAX)
        left = top = 0;
    entry.left = static_cast<std::int32_t>(left);
    entry.top = static_cast<std::int32_t>(top);
    const TRefusal refusal = Group([&] { return doc_.AddPc(entry); });
    if (refusal == TRefusal::None)
        Select(doc_.Pcs().size() - 1);
    return refusal;
}

TRefusal TBoardEditor::Duplicate()
{
    const std::int64_t step = std::max(grid_.step, 1);
    std::vector<TPcEntry> copies;
    for (const std::size_t pc : selection_) {
        TPcEntry e = doc_.Pcs()[pc].entry;
        if (e.left + step > INT32_MAX || e.top + step > INT32_MAX)
            return TRefusal::NotANumber;
        e.left = static_cast<std::int32_t>(e.left + step);
        e.top = static_cast<std::int32_t>(e.top + step);
        copies.push_back(std::move(e));
    }
    return AddSelected(copies);
}

TRefusal TBoardEditor::AddSelected(const std::vector<TPcEntry>& entries)
{
    if (entries.empty())
        return TRefusal::None;
    const std::size_t first = doc_.Pcs().size();
    const TRefusal refusal = Group([&] {
        for (const TPcEntry& e : entries)
            if (const TRefusal r = doc_.AddPc(e); r != TRefusal::None)
                return r;
        return TRefusal::None;
    });
    if (refusal == TRefusal::None) {
        selection_.clear();
        for (std::size_t pc = first; pc < doc_.Pcs().size(); ++pc)
            selection_.push_back(pc);
    }
    return refusal;
}

TRefusal TBoardEditor::DeleteSelection()
{
    // From the last: a deletion moves only the places after it.
    const TRefusal refusal = Group([&] {
        for (auto it = selection_.rbegin(); it != selection_.rend(); ++it)
            if (const TRefusal r = doc_.DeletePc(*it); r != TRefusal::None)
                return r;
        return TRefusal::None;
    });
    if (refusal == TRefusal::None)
        selection_.clear();
    return refusal;
}

TRefusal TBoardEditor::Generate(const TGridPlan& plan)
{
    if (plan.rows < 1 || plan.columns < 1)
        return TRefusal::None;
    const std::int64_t count = std::int64_t{plan.rows} * plan.columns;
    if (count >= INT32_MAX - std::int64_t{doc_.Count()})
        return TRefusal::BoardFull;
    std::vector<TPcEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t row = plan.down ? i % plan.rows : i / plan.columns;
        const std::int64_t column = plan.down ? i / plan.rows : i % plan.columns;
        const std::int64_t left = plan.left + column * (std::int64_t{plan.width} + plan.gapX);
        const std::int64_t top = plan.top + row * (std::int64_t{plan.height} + plan.gapY);
        if (Clamp32(left) != left || Clamp32(top) != top)
            return TRefusal::NotANumber;
        entries.push_back({CaptionFor(plan.pattern, static_cast<std::int32_t>(i + 1)), static_cast<std::int32_t>(left),
                           static_cast<std::int32_t>(top), plan.width, plan.height});
    }
    return AddSelected(entries);
}

std::optional<std::size_t> TBoardEditor::PlaceOf(std::int32_t number) const
{
    const auto& pcs = Pcs();
    const auto it =
        std::lower_bound(pcs.begin(), pcs.end(), number, [](const TPc& pc, std::int32_t n) { return pc.number < n; });
    if (it == pcs.end() || it->number != number)
        return std::nullopt;
    return static_cast<std::size_t>(it - pcs.begin());
}

TRefusal TBoardEditor::RenumberReadingOrder()
{
    const auto& pcs = doc_.Pcs();
    std::vector<std::size_t> order(pcs.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const TPcEntry &x = pcs[a].entry, &y = pcs[b].entry;
        return x.top != y.top ? x.top < y.top : x.left < y.left;
    });
    const TRefusal refusal = Group([&] { return doc_.Reorder(order); });
    if (refusal == TRefusal::None) {
        std::vector<std::size_t> placeOf(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            placeOf[order[i]] = i;
        for (std::size_t& pc : selection_)
            pc = placeOf[pc];
        std::sort(selection_.begin(), selection_.end());
    }
    return refusal;
}

// -- undo

void TBoardEditor::KeepSelectionValid()
{
    const std::size_t n = doc_.Pcs().size();
    selection_.erase(std::lower_bound(selection_.begin(), selection_.end(), n), selection_.end());
}

void TBoardEditor::Undo()
{
    CancelDrag();
    doc_.Undo();
    KeepSelectionValid();
}

void TBoardEditor::Redo()
{
    CancelDrag();
    doc_.Redo();
    KeepSelectionValid();
}

bool TBoardEditor::Modified() const
{
    return doc_.Version() != state_->saved;
}

void TBoardEditor::MarkSaved()
{
    state_->saved = doc_.Version();
}

}  // namespace editor
