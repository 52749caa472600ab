// Someone else's save, merged: the session's steps since the file was last read or written
// here, made again on the file as it now is.
#include <algorithm>
#include <unordered_map>
#include <utility>

#include "editor/EditSession.h"

namespace editor {

using board::TMeaning;
using board::TPcId;

TFileRead TEditSession::ReadTheirs(std::string& why)
{
    // The stamp first: a change while the file is read shows as a stamp that differs.
    theirsStamp_ = FileStampOf(path_);
    std::string bytes;
    const TFileRead read = ReadFileIfThere(path_, bytes, why);
    theirs_.reset();
    if (read == TFileRead::Read)
        theirs_ = std::move(bytes);
    return read;
}

bool TEditSession::CanMerge() const
{
    if (!baseKnown_)
        return false;
    const std::vector<TMeaning> done = editor_.Document().DoneMeanings();
    return done.size() >= baseDone_.size() && std::equal(baseDone_.begin(), baseDone_.end(), done.begin());
}

std::size_t TEditSession::ChangesToMerge() const
{
    const std::size_t done = editor_.Document().DoneMeanings().size();
    return done - std::min(done, baseDone_.size());
}

board::TMergeResult TEditSession::MergeTheirs(const std::vector<bool>& keepMine) const
{
    const std::vector<TMeaning> done = editor_.Document().DoneMeanings();
    std::vector<TMeaning> mine(done.begin() + static_cast<std::ptrdiff_t>(std::min(baseDone_.size(), done.size())),
                               done.end());
    const std::string base = onDisk_.value_or(std::string());
    // Past a save, the steps name PCs by this document's identities, and the merge by those of
    // the file as saved: the same PCs in the same places. PCs added since get identities of
    // their own, above any a file gives.
    std::unordered_map<TPcId, TPcId> to, back;
    if (baseIds_) {
        const board::TBoardDocument saved(base);
        for (std::size_t place = 0; place < baseIds_->size() && place < saved.Pcs().size(); ++place)
            to.emplace((*baseIds_)[place], saved.IdOf(place));
        TPcId fresh = TPcId{1} << 63;
        const auto rename = [&](TPcId& id) {
            const auto [it, added] = to.try_emplace(id, fresh);
            fresh += added ? 1 : 0;
            back[it->second] = id;
            id = it->second;
        };
        for (TMeaning& m : mine) {
            if (m.kind != TMeaning::Reorder && m.kind != TMeaning::ConvertToUtf8 && m.kind != TMeaning::SetPlan)
                rename(m.pc);
            std::for_each(m.order.begin(), m.order.end(), rename);
        }
    }
    board::TMergeResult result = board::Merge(base, mine, theirs_.value_or(std::string()), keepMine);
    for (TMeaning& m : result.refused) {
        const auto unname = [&](TPcId& id) {
            if (const auto it = back.find(id); it != back.end())
                id = it->second;
        };
        unname(m.pc);
        std::for_each(m.order.begin(), m.order.end(), unname);
    }
    return result;
}

void TEditSession::TakeMerged(board::TBoardDocument merged)
{
    editor_.CancelDrag();
    const TGridSettings grid = editor_.Grid();
    editor_ = TBoardEditor(std::move(merged));
    editor_.Grid() = grid;
    // Opened on theirs: that is the state saved, and the merge a step after it.
    onDisk_ = std::exchange(theirs_, std::nullopt);
    stamp_ = theirsStamp_;
    unread_ = false;
    savedVersion_ = 0;
    baseDone_.clear();
    baseIds_.reset();
    baseKnown_ = true;
}

void TEditSession::MarkSaved()
{
    baseDone_ = editor_.Document().DoneMeanings();
    baseIds_.emplace();
    for (std::size_t place = 0; place < editor_.Document().Pcs().size(); ++place)
        baseIds_->push_back(editor_.Document().IdOf(place));
    baseKnown_ = true;
}

}  // namespace editor
