#include "board/Merge.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/text/SysUtils.h"

namespace board {
namespace {

constexpr std::size_t kGone = SIZE_MAX;

bool SameEntry(const TPcEntry& a, const TPcEntry& b)
{
    return a.caption == b.caption && a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// Whether any of the five values is the same: a PC with every value changed is taken for
// another one.
bool ShareAValue(const TPcEntry& a, const TPcEntry& b)
{
    return a.caption == b.caption || a.left == b.left || a.top == b.top || a.width == b.width || a.height == b.height;
}

std::string EntryKey(const TPcEntry& e)
{
    return e.caption + '\0' + IntToStr(e.left) + ',' + IntToStr(e.top) + ',' + IntToStr(e.width) + ',' +
           IntToStr(e.height);
}

// Pairs each unmatched base PC with the first unmatched PC of theirs of the same key, in number
// order.
template <class Key>
void MatchBy(const std::vector<TPc>& base, const std::vector<TPc>& theirs, std::vector<std::size_t>& match,
             std::vector<bool>& taken, Key key)
{
    std::unordered_map<std::string, std::vector<std::size_t>> free;
    for (std::size_t t = theirs.size(); t-- > 0;)
        if (!taken[t])
            if (std::optional<std::string> k = key(theirs[t].entry))
                free[*k].push_back(t);  // last first: taken from the back
    for (std::size_t b = 0; b < base.size(); ++b) {
        if (match[b] != kGone)
            continue;
        const std::optional<std::string> k = key(base[b].entry);
        const auto it = k ? free.find(*k) : free.end();
        if (it == free.end() || it->second.empty())
            continue;
        match[b] = it->second.back();
        taken[match[b]] = true;
        it->second.pop_back();
    }
}

std::string ValueText(const TPcEntry& entry, TPcKey key)
{
    return key == TPcKey::Caption ? entry.caption : IntToStr(FieldOf(entry, key));
}

// Whether text, set as key, gives the value the entry holds, as the board reads both.
bool Gives(std::string_view text, const TPcEntry& entry, TPcKey key)
{
    if (key == TPcKey::Caption)
        return text == entry.caption;
    std::int32_t n = 0;
    return TryStrToInt(text, n) && n == FieldOf(entry, key);
}

TMergeConflict Of(TMergeConflict::TKind kind, std::int32_t number)
{
    TMergeConflict conflict;
    conflict.kind = kind;
    conflict.number = number;
    return conflict;
}

class TReplay {
public:
    TReplay(std::string_view base, const std::vector<TMeaning>& mine, std::string theirs,
            const std::vector<bool>& keepMine)
        : base_(std::string(base)), mine_(mine), keepMine_(keepMine)
    {
        result_.document = std::make_unique<TBoardDocument>(std::move(theirs));
        theirs_ = Doc().Pcs();
        const std::vector<std::size_t> match = MatchPcs(base_.Pcs(), theirs_);
        for (std::size_t b = 0; b < match.size(); ++b) {
            TOpened& pc = opened_[base_.IdOf(b)];
            pc.place = b;
            pc.theirs = match[b];
            if (match[b] != kGone)
                merged_[base_.IdOf(b)] = Doc().IdOf(match[b]);
        }
        for (const TMeaning& m : mine)
            if (m.kind == TMeaning::SetValue)
                last_[{m.pc, static_cast<int>(m.key)}] = m.text;
    }

    TMergeResult Run()
    {
        const auto conversion = std::find_if(mine_.rbegin(), mine_.rend(),
                                             [](const TMeaning& m) { return m.kind == TMeaning::ConvertToUtf8; });
        if (conversion != mine_.rend())
            Doc().ConvertToUtf8(conversion->byteOrderMark);
        const std::size_t mark = Doc().StepMark();
        for (const TMeaning& m : mine_)
            if (!Make(m))
                result_.refused.push_back(m);
        Doc().JoinSince(mark);
        for (std::size_t i = 0; i < conflictIds_.size(); ++i)
            if (const std::optional<std::size_t> place = PlaceOf(conflictIds_[i]))
                result_.conflicts[i].number = Doc().Pcs()[*place].number;
        return std::move(result_);
    }

private:
    struct TOpened {
        std::size_t place = 0;   // in base
        std::size_t theirs = 0;  // in theirs, or kGone
    };

    TBoardDocument& Doc() { return *result_.document; }
    const TPcEntry& BaseEntry(const TOpened& pc) const { return base_.Pcs()[pc.place].entry; }

    std::optional<std::size_t> PlaceOf(std::optional<TPcId> merged)
    {
        return merged ? Doc().PlaceOf(*merged) : std::nullopt;
    }
    std::optional<TPcId> Merged(TPcId mine) const
    {
        const auto it = merged_.find(mine);
        return it != merged_.end() ? std::optional<TPcId>(it->second) : std::nullopt;
    }

    // A new conflict, or the one already met for the same thing; whether mine is kept.
    bool Conflict(std::map<std::pair<TPcId, int>, std::size_t>& met, std::pair<TPcId, int> what,
                  TMergeConflict conflict, std::optional<TPcId> merged)
    {
        auto [it, added] = met.emplace(what, result_.conflicts.size());
        if (added) {
            result_.conflicts.push_back(std::move(conflict));
            conflictIds_.push_back(merged);
        }
        return it->second < keepMine_.size() && keepMine_[it->second];
    }

    std::string MyCaption(TPcId id, const TOpened& pc) const
    {
        const auto it = last_.find({id, static_cast<int>(TPcKey::Caption)});
        return it != last_.end() ? it->second : BaseEntry(pc).caption;
    }

    // The place in the merged board of the PC a meaning of mine names, or nullopt to leave the
    // meaning out; a PC they deleted comes back here when mine is kept.
    std::optional<std::size_t> Target(const TMeaning& m)
    {
        if (const std::optional<std::size_t> place = PlaceOf(Merged(m.pc)))
            return place;
        const auto opened = opened_.find(m.pc);
        if (opened == opened_.end() || opened->second.theirs != kGone || m.kind == TMeaning::DeletePc)
            return std::nullopt;
        const TOpened& pc = opened->second;
        TMergeConflict conflict = Of(TMergeConflict::DeletedByThem, base_.Pcs()[pc.place].number);
        conflict.base = BaseEntry(pc).caption;
        conflict.mine = MyCaption(m.pc, pc);
        if (!Conflict(met_, {m.pc, -1}, std::move(conflict), std::nullopt))
            return std::nullopt;
        if (Doc().AddPc(BaseEntry(pc)) != TRefusal::None) {
            result_.refused.push_back(m);
            return std::nullopt;
        }
        const std::size_t place = Doc().Pcs().size() - 1;
        merged_[m.pc] = Doc().IdOf(place);
        conflictIds_[met_.at({m.pc, -1})] = merged_[m.pc];
        opened_.erase(opened);
        return place;
    }

    // Makes one meaning of mine again; false when the merged board refuses it.
    bool Make(const TMeaning& m)
    {
        switch (m.kind) {
        case TMeaning::ConvertToUtf8:
            return true;
        case TMeaning::AddPc:
            if (Doc().AddPc(m.entry) != TRefusal::None)
                return false;
            merged_[m.pc] = Doc().IdOf(Doc().Pcs().size() - 1);
            return true;
        case TMeaning::Reorder:
            return Reorder(m.order);
        case TMeaning::SetPlan:
            return Doc().SetFloorPlan(m.plan) == TRefusal::None;
        default:
            break;
        }
        const std::optional<std::size_t> place = Target(m);
        if (!place)
            return true;
        const auto opened = opened_.find(m.pc);
        const TOpened* pc = opened != opened_.end() ? &opened->second : nullptr;
        if (m.kind == TMeaning::SetValue) {
            if (pc && !SetValueKept(m, *pc, *place))
                return true;
            return Doc().SetValue(*place, m.key, m.text) == TRefusal::None;
        }
        if (m.kind == TMeaning::DeletePc) {
            if (pc && !SameEntry(theirs_[pc->theirs].entry, BaseEntry(*pc))) {
                TMergeConflict conflict = Of(TMergeConflict::DeletedByMe, theirs_[pc->theirs].number);
                conflict.base = BaseEntry(*pc).caption;
                conflict.theirs = theirs_[pc->theirs].entry.caption;
                if (!Conflict(met_, {m.pc, -1}, std::move(conflict), Merged(m.pc)))
                    return true;
            }
            return Doc().DeletePc(*place) == TRefusal::None;
        }
        const std::int32_t top = Doc().Count() - 1;
        return top < 1 || Doc().MovePc(*place, std::clamp(m.number, 1, top)) == TRefusal::None;
    }

    // Whether my value set on an opened PC is made: when they left the value, or when mine is
    // kept in the conflict.
    bool SetValueKept(const TMeaning& m, const TOpened& pc, std::size_t place)
    {
        const TPcEntry& base = BaseEntry(pc);
        const TPcEntry& theirs = theirs_[pc.theirs].entry;
        if (ValueText(base, m.key) == ValueText(theirs, m.key))
            return true;
        const std::string& last = last_.at({m.pc, static_cast<int>(m.key)});
        if (Gives(last, theirs, m.key))
            return false;
        TMergeConflict conflict = Of(TMergeConflict::Value, theirs_[pc.theirs].number);
        conflict.key = m.key;
        conflict.base = ValueText(base, m.key);
        conflict.theirs = ValueText(theirs, m.key);
        conflict.mine = last;
        return Conflict(met_, {m.pc, static_cast<int>(m.key)}, std::move(conflict), Doc().IdOf(place));
    }

    // The PCs named that are here take, among the numbers they hold, the order given.
    bool Reorder(const std::vector<TPcId>& named)
    {
        std::unordered_map<TPcId, std::size_t> places;
        for (std::size_t place = 0; place < Doc().Pcs().size(); ++place)
            places.emplace(Doc().IdOf(place), place);
        std::vector<std::size_t> from;
        for (const TPcId id : named)
            if (const std::optional<TPcId> merged = Merged(id))
                if (const auto it = places.find(*merged); it != places.end())
                    from.push_back(it->second);
        std::vector<std::size_t> to = from;
        std::sort(to.begin(), to.end());
        std::vector<std::size_t> order(Doc().Pcs().size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        for (std::size_t j = 0; j < to.size(); ++j)
            order[to[j]] = from[j];
        return Doc().Reorder(order) == TRefusal::None;
    }

    TBoardDocument base_;
    const std::vector<TMeaning>& mine_;
    const std::vector<bool>& keepMine_;
    TMergeResult result_;
    std::vector<TPc> theirs_;                            // their board as saved
    std::unordered_map<TPcId, TOpened> opened_;          // the PCs opened, by identity
    std::unordered_map<TPcId, TPcId> merged_;            // my identities' PCs in the merged board
    std::map<std::pair<TPcId, int>, std::string> last_;  // the value I set last, by PC and key
    std::map<std::pair<TPcId, int>, std::size_t> met_;   // the conflicts met, by PC and key (-1: the PC)
    std::vector<std::optional<TPcId>> conflictIds_;      // each conflict's PC in the merged board
};

}  // namespace

std::vector<std::size_t> MatchPcs(const std::vector<TPc>& base, const std::vector<TPc>& theirs)
{
    std::vector<std::size_t> match(base.size(), kGone);
    std::vector<bool> taken(theirs.size());
    MatchBy(base, theirs, match, taken, [](const TPcEntry& e) { return std::optional<std::string>(EntryKey(e)); });
    MatchBy(base, theirs, match, taken,
            [](const TPcEntry& e) { return e.caption.empty() ? std::nullopt : std::optional<std::string>(e.caption); });
    // Runs left between matched PCs, paired when both sides left as many.
    for (std::size_t b = 0; b < base.size();) {
        if (match[b] != kGone) {
            ++b;
            continue;
        }
        std::size_t end = b;
        while (end < base.size() && match[end] == kGone)
            ++end;
        const std::size_t after = b == 0 ? 0 : match[b - 1] + 1;
        const std::size_t before = end == base.size() ? theirs.size() : match[end];
        std::vector<std::size_t> free;
        for (std::size_t t = after; t < before; ++t)
            if (!taken[t])
                free.push_back(t);
        if (after <= before && free.size() == end - b)
            for (std::size_t i = 0; i < free.size(); ++i)
                if (ShareAValue(base[b + i].entry, theirs[free[i]].entry)) {
                    match[b + i] = free[i];
                    taken[free[i]] = true;
                }
        b = end;
    }
    return match;
}

TMergeResult Merge(std::string_view base, const std::vector<TMeaning>& mine, std::string theirs,
                   const std::vector<bool>& keepMine)
{
    return TReplay(base, mine, std::move(theirs), keepMine).Run();
}

TMergeResult Merge(std::string_view base, const TBoardDocument& mine, std::string theirs,
                   const std::vector<bool>& keepMine)
{
    return Merge(base, mine.DoneMeanings(), std::move(theirs), keepMine);
}

}  // namespace board
