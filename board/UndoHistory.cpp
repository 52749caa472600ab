#include "board/UndoHistory.h"

#include <algorithm>
#include <iterator>

namespace board {

void TStep::Apply(std::unique_ptr<TDocumentContent>& content, bool forward)
{
    if (other) {
        std::swap(content, other);
        return;
    }
    TLineStore& store = content->lines;
    const auto put = [&](const TLineChange& c) {
        if (c.before != c.after)
            store.PutRaw(c.id, forward ? c.after : c.before);
        if (c.goneBefore != c.goneAfter)
            store.PutGone(c.id, forward ? c.goneAfter : c.goneBefore);
    };
    if (forward)
        std::for_each(lines.begin(), lines.end(), put);
    else
        std::for_each(lines.rbegin(), lines.rend(), put);
    TBoardIndex& board = content->board;
    const auto putAll = [forward](auto& slices, auto& v) {
        if (forward)
            for (auto& slice : slices)
                slice.Put(v, true);
        else
            for (auto it = slices.rbegin(); it != slices.rend(); ++it)
                it->Put(v, false);
    };
    putAll(pcs, board.pcs);
    putAll(pcLines, board.pcLines);
    putAll(sections, board.sections);
    board.sys = forward ? sysAfter : sysBefore;
    board.plan = forward ? planAfter : planBefore;
}

void TDocumentContent::CarryPcIds(TDocumentContent& converted) const
{
    // Converting keeps every line and its order, so the sections pair one to one.
    const auto& from = board.sections;
    const auto& to = converted.board.sections;
    converted.conversions = conversions + 1;
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i)
        converted.pcIds[to[i].header] = PcId(from[i].header);
}

void TUndoHistory::Push(TStep made)
{
    made.version = ++versions_;
    if (!undone_.empty()) {
        redoDropped_ = std::move(undone_);
        dropped_ = done_.size();
    }
    undone_.clear();
    done_.push_back(std::move(made));
}

namespace {

// The last step of from applied, forwards or back, and kept last on to.
void MoveLastStep(std::vector<TStep>& from, std::vector<TStep>& to, std::unique_ptr<TDocumentContent>& content,
                  bool forward)
{
    if (from.empty())
        return;
    TStep step = std::move(from.back());
    from.pop_back();
    step.Apply(content, forward);
    to.push_back(std::move(step));
}

}  // namespace

void TUndoHistory::Undo(std::unique_ptr<TDocumentContent>& content)
{
    MoveLastStep(done_, undone_, content, false);
}

void TUndoHistory::Redo(std::unique_ptr<TDocumentContent>& content)
{
    MoveLastStep(undone_, done_, content, true);
}

bool TUndoHistory::JoinSince(std::size_t mark)
{
    if (mark > done_.size())
        return false;
    if (mark + 1 >= done_.size())
        return true;
    const auto first = done_.begin() + static_cast<std::ptrdiff_t>(mark);
    if (std::any_of(first, done_.end(), [](const TStep& st) { return st.other != nullptr; }))
        return false;
    // Each part of a step is applied in order, forwards and backwards: the parts one after
    // another are the steps one after another.
    TStep joined = std::move(*first);
    for (auto it = first + 1; it != done_.end(); ++it) {
        const auto append = [](auto& to, auto& from) {
            to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
        };
        append(joined.lines, it->lines);
        append(joined.pcs, it->pcs);
        append(joined.pcLines, it->pcLines);
        append(joined.sections, it->sections);
        append(joined.meaning, it->meaning);
        joined.sysAfter = it->sysAfter;
        joined.planAfter = it->planAfter;
        joined.version = it->version;
    }
    done_.erase(first, done_.end());
    done_.push_back(std::move(joined));
    if (dropped_ != SIZE_MAX && dropped_ > mark) {
        redoDropped_.clear();
        dropped_ = SIZE_MAX;
    }
    return true;
}

void TUndoHistory::RevertSince(std::size_t mark, std::unique_ptr<TDocumentContent>& content)
{
    if (mark >= done_.size())
        return;
    while (done_.size() > mark) {
        done_.back().Apply(content, false);
        done_.pop_back();
    }
    if (dropped_ == mark)
        undone_ = std::move(redoDropped_);
    if (dropped_ != SIZE_MAX && dropped_ >= mark) {
        redoDropped_.clear();
        dropped_ = SIZE_MAX;
    }
}

}  // namespace board
