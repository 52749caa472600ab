#include "editor/BoardEditor.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "editor/EditingState.h"

namespace editor {
namespace {

using board::TPcEntry;

constexpr std::int32_t kNewWidth = 64, kNewHeight = 24;

}  // namespace

TBoardEditor::TBoardEditor(std::string bytes) : doc_(std::move(bytes)), scratch_(std::make_shared<TScratch>()) {}

TBoardEditor::TBoardEditor(board::TBoardDocument document)
    : doc_(std::move(document)), scratch_(std::make_shared<TScratch>())
{
}

const std::vector<TBoardEditor::TPc>& TBoardEditor::Pcs() const
{
    const auto& drag = scratch_->drag;
    return drag && drag->started && !drag->preview.empty() ? drag->preview : doc_.Pcs();
}

TRect64 TBoardEditor::RectOf(std::size_t pc) const
{
    return board::EntryRect(Pcs().at(pc).entry);
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
        for (const std::uint32_t pc : scratch_->Near(doc_, band))
            if (board::EntryRect(doc_.Pcs()[pc].entry).Intersects(band))
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
    const auto& near = scratch_->Near(doc_, {point.x, point.y, point.x + 1, point.y + 1});
    for (auto it = near.rbegin(); it != near.rend(); ++it)
        if (board::EntryRect(doc_.Pcs()[*it].entry).Contains(point.x, point.y))
            return *it;
    return std::nullopt;
}

// -- steps

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
    const bool join = repeated && scratch_->nudged == doc_.Version() && doc_.CanUndo();
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
        scratch_->nudged = doc_.Version();
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
                refusal = SetNumber(pc, TPcKey::Left, Centre(box.left, box.right) - FloorDiv(e.width, 2));
                break;
            case TAlign::CentresDown:
                refusal = SetNumber(pc, TPcKey::Top, Centre(box.top, box.bottom) - FloorDiv(e.height, 2));
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

TRefusal TBoardEditor::MakeSameSize(TMatchSize what)
{
    if (selection_.size() < 2)
        return TRefusal::None;
    const TPcEntry model = doc_.Pcs()[selection_[0]].entry;
    return Group([&] {
        for (const std::size_t pc : selection_) {
            if (what != TMatchSize::Height)
                if (const TRefusal r = SetNumber(pc, TPcKey::Width, model.width); r != TRefusal::None)
                    return r;
            if (what != TMatchSize::Width)
                if (const TRefusal r = SetNumber(pc, TPcKey::Height, model.height); r != TRefusal::None)
                    return r;
        }
        return TRefusal::None;
    });
}

TRefusal TBoardEditor::SetFloorPlan(const std::optional<board::TFloorPlan>& plan)
{
    return Group([&] { return doc_.SetFloorPlan(plan); });
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
            const auto& near = scratch_->Near(doc_, r);
            found = std::none_of(near.begin(), near.end(), [&](std::uint32_t pc) {
                return board::EntryRect(doc_.Pcs()[pc].entry).Intersects(r);
            });
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

std::optional<std::size_t> TBoardEditor::PlaceOfNumber(std::int32_t number) const
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

}  // namespace editor
