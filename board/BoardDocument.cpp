#include "board/BoardDocument.h"

#include <algorithm>
#include <utility>

#include "board/BoardIndex.h"
#include "board/LineGrammar.h"
#include "board/LineStore.h"
#include "board/UndoHistory.h"
#include "platform/text/SysUtils.h"

namespace board {
namespace {

TRefusal CheckText(std::string_view text)
{
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return TRefusal::LineBreak;
    if (text.find('\0') != std::string_view::npos)
        return TRefusal::Nul;
    return TRefusal::None;
}

// The opened file: its lines, and the board as the status board reads it.
std::unique_ptr<TDocumentContent> Open(std::string bytes)
{
    TTextEncoding encoding = TTextEncoding::Utf8;
    std::string text = DecodeText(bytes, &encoding);
    return std::make_unique<TDocumentContent>(TLineStore(std::move(bytes), encoding), std::move(text));
}

// Why a line that cannot be written is refused: its text is one the encoding cannot hold, or
// it would not read back.
TRefusal Unwritable(const TLineStore& lines, std::string_view text)
{
    return Encoded(lines, text) ? TRefusal::Unwritable : TRefusal::NotInEncoding;
}

}  // namespace

struct TBoardDocument::TImpl {
    std::unique_ptr<TDocumentContent> content;
    TUndoHistory history;
    TStep* step = nullptr;  // the one being made

    TLineStore& Lines() { return content->lines; }
    TBoardIndex& Board() { return content->board; }
    TPcId IdAt(std::size_t pc) const { return content->PcId(content->board.pcLines[pc].section); }
    TMeaning& Means(TMeaning::TKind kind, TPcId pc = 0)
    {
        TMeaning& meaning = step->meaning.emplace_back();
        meaning.kind = kind;
        meaning.pc = pc;
        return meaning;
    }

    // -- lines, recorded in the step being made

    void Rewrite(std::uint32_t id, std::string raw)
    {
        const bool gone = !Lines().Visible(id);
        step->lines.push_back({id, gone, gone, std::string(Lines().Raw(id)), raw});
        Lines().PutRaw(id, raw);
    }
    void Remove(std::uint32_t id)
    {
        const std::string raw(Lines().Raw(id));
        step->lines.push_back({id, false, true, raw, raw});
        Lines().PutGone(id, true);
    }
    // A new line right after the line given (or kHead).
    std::uint32_t Insert(std::uint32_t previous, std::string raw)
    {
        const std::uint32_t id = Lines().Add(previous, raw);
        step->lines.push_back({id, true, false, raw, raw});
        Lines().PutGone(id, false);
        return id;
    }

    // Replaces v[from, to) by the items given, as a change of the step being made.
    template <class T>
    void Splice(std::vector<TSlice<T>>& slices, std::vector<T>& v, std::size_t from, std::size_t to,
                std::vector<T> items)
    {
        TSlice<T>& slice = slices.emplace_back();
        slice.Take(v, from, to);
        slice.after = std::move(items);
        slice.Put(v, true);
    }

    // Runs an edit as one step; what it refuses, or what would no longer read as the file's
    // encoding, leaves the document as it was.
    template <class Work>
    TRefusal Edit(Work work)
    {
        TStep made;
        made.sysBefore = Board().sys;
        made.planBefore = Board().plan;
        step = &made;
        TRefusal refusal = work();
        step = nullptr;
        made.sysAfter = Board().sys;
        made.planAfter = Board().plan;
        if (refusal == TRefusal::None && Lines().ReadsAsAnotherEncoding())
            refusal = TRefusal::NotInEncoding;
        if (refusal != TRefusal::None) {
            made.Apply(content, false);
            return refusal;
        }
        if (!made.lines.empty())
            history.Push(std::move(made));
        return TRefusal::None;
    }

    // -- edits

    // Sets an entry of a section: in place, or as a new line after its last entry.
    TRefusal Set(std::uint32_t header, std::uint32_t& line, std::string_view key, std::string_view text)
    {
        std::optional<std::string> raw =
            line != kNoLine ? WithValue(Lines(), line, text) : NewEntry(Lines(), key, text);
        if (!raw)
            return Unwritable(Lines(), text);
        if (line != kNoLine)
            Rewrite(line, std::move(*raw));
        else
            line = Insert(TBoardIndex::NewEntryAfter(Lines(), header), std::move(*raw));
        return TRefusal::None;
    }

    TRefusal SetCount(std::int32_t count)
    {
        TSys& sys = Board().sys;
        if (sys.header == kNoLine) {
            std::optional<std::string> raw = Encoded(Lines(), "[" + std::string(kSysSection) + "]");
            if (!raw)
                return TRefusal::Unwritable;
            sys.header = Insert(Lines().Last(), std::move(*raw));
        }
        sys.count = count;
        return Set(sys.header, sys.countLine, kCountKey, IntToStr(count));
    }

    // Takes a section out, with every line up to the next section.
    void RemoveSection(std::uint32_t header)
    {
        std::vector<std::uint32_t> lines{header};
        for (std::uint32_t id = Lines().Next(header); id != kNoLine && Lines().Info(id).kind != TIniLine::Section;
             id = Lines().Next(id))
            lines.push_back(id);
        for (const std::uint32_t id : lines)
            Remove(id);
    }

    template <class Map>
    TRefusal Renumber(std::int32_t from, std::int32_t to, Map map);
};

// Gives every PC section numbered from..to (shown or not) the number map gives it, 0 taking it
// out; the shown PCs follow, kept in number order.
template <class Map>
TRefusal TBoardDocument::TImpl::Renumber(std::int32_t from, std::int32_t to, Map map)
{
    using TSectionRef = TBoardIndex::TSectionRef;
    TBoardIndex& b = Board();
    const auto byNumber = [](const auto& x, const auto& y) { return x.number < y.number; };
    const auto first = std::lower_bound(b.sections.begin(), b.sections.end(), TSectionRef{from, 0}, byNumber);
    const auto last = std::upper_bound(first, b.sections.end(), TSectionRef{to, 0}, byNumber);
    // Every new header first, so that a refusal finds nothing changed.
    struct TRenamed {
        std::uint32_t header;
        std::int64_t number;
        std::string raw;
    };
    std::vector<TRenamed> renamed;
    for (auto it = first; it != last; ++it) {
        const std::int64_t number = map(it->number);
        std::optional<std::string> raw = number ? Renamed(Lines(), it->header, number) : std::string();
        if (!raw)
            return TRefusal::Unwritable;
        renamed.push_back({it->header, number, std::move(*raw)});
    }
    std::vector<TSectionRef> refs;
    for (TRenamed& r : renamed) {
        if (r.number == 0) {
            RemoveSection(r.header);
            continue;
        }
        Rewrite(r.header, std::move(r.raw));
        // Past the largest number a section is no PC's any more.
        if (r.number <= INT32_MAX)
            refs.push_back({static_cast<std::int32_t>(r.number), r.header});
    }
    std::stable_sort(refs.begin(), refs.end(), byNumber);
    Splice(step->sections, b.sections, static_cast<std::size_t>(first - b.sections.begin()),
           static_cast<std::size_t>(last - b.sections.begin()), std::move(refs));

    const auto pcFirst = std::lower_bound(b.pcs.begin(), b.pcs.end(), TPc{from, {}}, byNumber);
    const auto pcLast = std::upper_bound(pcFirst, b.pcs.end(), TPc{to, {}}, byNumber);
    const auto at = static_cast<std::size_t>(pcFirst - b.pcs.begin()),
               end = static_cast<std::size_t>(pcLast - b.pcs.begin());
    std::vector<std::size_t> order;
    std::vector<TPc> pcs;
    for (std::size_t i = at; i < end; ++i)
        if (const std::int64_t number = map(b.pcs[i].number)) {
            order.push_back(i);
            pcs.push_back({static_cast<std::int32_t>(number), b.pcs[i].entry});
        }
    std::vector<std::size_t> sorted(order.size());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = i;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](std::size_t x, std::size_t y) { return pcs[x].number < pcs[y].number; });
    std::vector<TPc> newPcs;
    std::vector<TPcLines> newLines;
    for (const std::size_t i : sorted) {
        newPcs.push_back(pcs[i]);
        newLines.push_back(b.pcLines[order[i]]);
    }
    Splice(step->pcLines, b.pcLines, at, end, std::move(newLines));
    Splice(step->pcs, b.pcs, at, end, std::move(newPcs));
    return TRefusal::None;
}

TBoardDocument::TBoardDocument(std::string bytes) : impl_(std::make_unique<TImpl>())
{
    impl_->content = Open(std::move(bytes));
}

TBoardDocument::~TBoardDocument() = default;
TBoardDocument::TBoardDocument(TBoardDocument&&) noexcept = default;
TBoardDocument& TBoardDocument::operator=(TBoardDocument&&) noexcept = default;

const std::vector<TPc>& TBoardDocument::Pcs() const
{
    return impl_->content->board.pcs;
}

std::int32_t TBoardDocument::Count() const
{
    return impl_->content->board.sys.count;
}

TTextEncoding TBoardDocument::Encoding() const
{
    return impl_->content->lines.Codec().encoding;
}

TBoardDocument::TValueLines TBoardDocument::LinesOf(std::size_t pc, TPcKey key) const
{
    const TLineStore& store = impl_->content->lines;
    const TPcLines& lines = impl_->content->board.pcLines.at(pc);
    const std::uint32_t value = lines.keys[static_cast<std::size_t>(key)];
    return {store.LineNumber(lines.section), value == kNoLine ? 0 : store.LineNumber(value)};
}

TRefusal TBoardDocument::SetValue(std::size_t pc, TPcKey key, std::string_view text)
{
    TImpl& d = *impl_;
    if (pc >= d.Board().pcs.size())
        return TRefusal::NoSuchPc;
    if (const TRefusal refusal = CheckText(text); refusal != TRefusal::None)
        return refusal;
    std::int32_t number = 0;
    if (key != TPcKey::Caption && !TryStrToInt(text, number))
        return TRefusal::NotANumber;
    return d.Edit([&] {
        TBoardIndex& b = d.Board();
        TMeaning& meaning = d.Means(TMeaning::SetValue, d.IdAt(pc));
        meaning.key = key;
        meaning.text = text;
        TPcLines lines = b.pcLines[pc];
        const auto k = static_cast<std::size_t>(key);
        if (const TRefusal refusal = d.Set(lines.section, lines.keys[k], kPcKeys[k], text); refusal != TRefusal::None)
            return refusal;
        TPc changed = b.pcs[pc];
        if (key == TPcKey::Caption)
            changed.entry.caption = text;
        else
            FieldOf(changed.entry, key) = number;
        d.Splice(d.step->pcLines, b.pcLines, pc, pc + 1, {lines});
        d.Splice(d.step->pcs, b.pcs, pc, pc + 1, {changed});
        return TRefusal::None;
    });
}

TRefusal TBoardDocument::AddPc(const TPcEntry& entry)
{
    TImpl& d = *impl_;
    if (const TRefusal refusal = CheckText(entry.caption); refusal != TRefusal::None)
        return refusal;
    const std::int32_t number = std::max(d.Board().sys.count, 1);
    if (number == INT32_MAX)
        return TRefusal::BoardFull;
    return d.Edit([&] {
        TBoardIndex& b = d.Board();
        // Every line of the new section first, so that a refusal finds nothing changed.
        std::vector<std::optional<std::string>> raws{Encoded(d.Lines(), "[" + SectionName(number) + "]")};
        for (std::size_t k = 0; k < kPcKeys.size() && raws.back(); ++k) {
            const auto key = static_cast<TPcKey>(k);
            raws.push_back(NewEntry(d.Lines(), kPcKeys[k],
                                    key == TPcKey::Caption ? entry.caption : IntToStr(FieldOf(entry, key))));
        }
        if (!raws.back())
            return Unwritable(d.Lines(), entry.caption);
        // Sections past the count stay past it.
        if (const TRefusal refusal = d.Renumber(number, INT32_MAX, [](std::int64_t n) { return n + 1; });
            refusal != TRefusal::None)
            return refusal;
        std::uint32_t previous = b.NewPcAfter(d.Lines());
        TPcLines lines;
        lines.section = previous = d.Insert(previous, std::move(*raws[0]));
        for (std::size_t k = 0; k < kPcKeys.size(); ++k)
            lines.keys[k] = previous = d.Insert(previous, std::move(*raws[k + 1]));
        if (const TRefusal refusal = d.SetCount(number + 1); refusal != TRefusal::None)
            return refusal;
        const auto at = static_cast<std::size_t>(
            std::lower_bound(b.sections.begin(), b.sections.end(), TBoardIndex::TSectionRef{number, 0}) -
            b.sections.begin());
        d.Splice(d.step->sections, b.sections, at, at, {TBoardIndex::TSectionRef{number, lines.section}});
        d.Splice(d.step->pcLines, b.pcLines, b.pcLines.size(), b.pcLines.size(), {lines});
        d.Splice(d.step->pcs, b.pcs, b.pcs.size(), b.pcs.size(), {TPc{number, entry}});
        d.Means(TMeaning::AddPc, d.content->PcId(lines.section)).entry = entry;
        return TRefusal::None;
    });
}

TRefusal TBoardDocument::DeletePc(std::size_t pc)
{
    TImpl& d = *impl_;
    if (pc >= d.Board().pcs.size())
        return TRefusal::NoSuchPc;
    const std::int32_t gone = d.Board().pcs[pc].number;
    return d.Edit([&] {
        d.Means(TMeaning::DeletePc, d.IdAt(pc));
        if (const TRefusal refusal =
                d.Renumber(gone, INT32_MAX, [gone](std::int64_t n) { return n == gone ? 0 : n - 1; });
            refusal != TRefusal::None)
            return refusal;
        return d.SetCount(d.Board().sys.count - 1);
    });
}

TRefusal TBoardDocument::MovePc(std::size_t pc, std::int32_t number)
{
    TImpl& d = *impl_;
    if (pc >= d.Board().pcs.size() || number < 1 || number >= d.Board().sys.count)
        return TRefusal::NoSuchPc;
    const std::int32_t from = d.Board().pcs[pc].number;
    if (from == number)
        return TRefusal::None;
    return d.Edit([&] {
        d.Means(TMeaning::MovePc, d.IdAt(pc)).number = number;
        return d.Renumber(std::min(from, number), std::max(from, number), [&](std::int64_t n) -> std::int64_t {
            return n == from ? number : from < number ? n - 1 : n + 1;
        });
    });
}

TRefusal TBoardDocument::Reorder(const std::vector<std::size_t>& order)
{
    TImpl& d = *impl_;
    const std::vector<TPc>& pcs = d.Board().pcs;
    std::vector<std::int32_t> numbers(pcs.size());
    for (std::size_t i = 0; i < order.size() && i < pcs.size(); ++i)
        if (order[i] < pcs.size() && numbers[order[i]] == 0)
            numbers[order[i]] = pcs[i].number;
    if (order.size() != pcs.size() || std::count(numbers.begin(), numbers.end(), 0) != 0)
        return TRefusal::NoSuchPc;
    if (pcs.empty())
        return TRefusal::None;
    // The shown numbers are ascending: the number's place by binary search.
    const auto map = [&](std::int64_t n) -> std::int64_t {
        const auto it =
            std::lower_bound(pcs.begin(), pcs.end(), n, [](const TPc& pc, std::int64_t v) { return pc.number < v; });
        return it != pcs.end() && it->number == n ? numbers[static_cast<std::size_t>(it - pcs.begin())] : n;
    };
    return d.Edit([&] {
        std::vector<TPcId>& ids = d.Means(TMeaning::Reorder).order;
        for (const std::size_t place : order)
            ids.push_back(d.IdAt(place));
        return d.Renumber(pcs.front().number, pcs.back().number, map);
    });
}

std::optional<TFloorPlan> TBoardDocument::FloorPlan() const
{
    const TDocumentContent& content = *impl_->content;
    const TPlanLines& lines = content.board.plan;
    if (lines.section == kNoLine)
        return std::nullopt;
    TFloorPlan plan;
    for (std::size_t k = 0; k < kPlanKeys.size(); ++k)
        if (lines.keys[k] != kNoLine)
            ReadPlanValue(plan, static_cast<TPlanKey>(k), content.lines.Info(lines.keys[k]).value);
    return plan;
}

std::size_t TBoardDocument::FloorPlanLine() const
{
    const TDocumentContent& content = *impl_->content;
    const std::uint32_t section = content.board.plan.section;
    return section == kNoLine ? 0 : content.lines.LineNumber(section);
}

TRefusal TBoardDocument::SetFloorPlan(const std::optional<TFloorPlan>& plan)
{
    TImpl& d = *impl_;
    const std::optional<TFloorPlan> now = FloorPlan();
    if (plan) {
        if (const TRefusal refusal = CheckText(plan->file); refusal != TRefusal::None)
            return refusal;
        // Only values that read back as given.
        TFloorPlan read;
        for (std::size_t k = 0; k < kPlanKeys.size(); ++k)
            if (!ReadPlanValue(read, static_cast<TPlanKey>(k), PlanValue(*plan, static_cast<TPlanKey>(k))))
                return TRefusal::NotANumber;
    }
    if (plan == now)
        return TRefusal::None;
    return d.Edit([&] {
        d.Means(TMeaning::SetPlan).plan = plan;
        TPlanLines& lines = d.Board().plan;
        if (!plan) {
            d.RemoveSection(lines.section);
            lines = {};
            return TRefusal::None;
        }
        if (lines.section == kNoLine) {
            std::optional<std::string> raw = Encoded(d.Lines(), "[" + std::string(kPlanSection) + "]");
            if (!raw)
                return TRefusal::Unwritable;
            lines.section = d.Insert(d.Lines().Last(), std::move(*raw));
        }
        for (std::size_t k = 0; k < kPlanKeys.size(); ++k) {
            const auto key = static_cast<TPlanKey>(k);
            const std::string text = PlanValue(*plan, key);
            if (now && PlanValue(*now, key) == text)
                continue;
            if (const TRefusal refusal = d.Set(lines.section, lines.keys[k], kPlanKeys[k], text);
                refusal != TRefusal::None)
                return refusal;
        }
        return TRefusal::None;
    });
}

void TBoardDocument::ConvertToUtf8(bool byteOrderMark)
{
    TImpl& d = *impl_;
    const std::string now = Bytes();
    std::string text = (byteOrderMark ? "\xEF\xBB\xBF" : "") + DecodeText(d.Lines().TextBytes());
    if (text == now)
        return;
    TStep step;
    step.other = Open(std::move(text));
    d.content->CarryPcIds(*step.other);
    step.meaning.emplace_back().kind = TMeaning::ConvertToUtf8;
    step.meaning.back().byteOrderMark = byteOrderMark;
    std::swap(d.content, step.other);
    d.history.Push(std::move(step));
}

bool TBoardDocument::CanUndo() const
{
    return impl_->history.CanUndo();
}

bool TBoardDocument::CanRedo() const
{
    return impl_->history.CanRedo();
}

void TBoardDocument::Undo()
{
    impl_->history.Undo(impl_->content);
}

void TBoardDocument::Redo()
{
    impl_->history.Redo(impl_->content);
}

std::size_t TBoardDocument::StepMark() const
{
    return impl_->history.Mark();
}

bool TBoardDocument::JoinSince(std::size_t mark)
{
    return impl_->history.JoinSince(mark);
}

void TBoardDocument::RevertSince(std::size_t mark)
{
    impl_->history.RevertSince(mark, impl_->content);
}

std::uint64_t TBoardDocument::Version() const
{
    return impl_->history.Version();
}

std::string TBoardDocument::Bytes() const
{
    return impl_->content->lines.Bytes();
}

TPcId TBoardDocument::IdOf(std::size_t pc) const
{
    return impl_->IdAt(pc);
}

std::optional<std::size_t> TBoardDocument::PlaceOf(TPcId id) const
{
    const TDocumentContent& content = *impl_->content;
    const std::vector<TPcLines>& lines = content.board.pcLines;
    for (std::size_t pc = 0; pc < lines.size(); ++pc)
        if (content.PcId(lines[pc].section) == id)
            return pc;
    return std::nullopt;
}

std::vector<TMeaning> TBoardDocument::DoneMeanings() const
{
    std::vector<TMeaning> meanings;
    for (const TStep& step : impl_->history.Done())
        meanings.insert(meanings.end(), step.meaning.begin(), step.meaning.end());
    return meanings;
}

}  // namespace board
