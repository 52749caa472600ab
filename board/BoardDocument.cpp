#include "board/BoardDocument.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/text/IniFiles.h"
#include "platform/text/SysUtils.h"

namespace board {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;
constexpr std::uint32_t kHead = UINT32_MAX - 1;  // where lines go in before the first one

// The file's text as units: bytes, or UTF-16 code units in the file's byte order. Everything
// the line grammar looks at ('[', '=', blanks, NUL, quotes, line ends) is one unit below
// 0x40 in every encoding, and never the second byte of a Big5 character.
struct TCodec {
    TTextEncoding encoding = TTextEncoding::Utf8;

    std::size_t Unit() const { return Wide() ? 2 : 1; }
    bool Wide() const { return encoding == TTextEncoding::Utf16LE || encoding == TTextEncoding::Utf16BE; }
    char16_t At(std::string_view raw, std::size_t i) const
    {
        if (!Wide())
            return static_cast<unsigned char>(raw[i]);
        const auto a = static_cast<unsigned char>(raw[2 * i]), b = static_cast<unsigned char>(raw[2 * i + 1]);
        return static_cast<char16_t>(encoding == TTextEncoding::Utf16LE ? a | b << 8 : b | a << 8);
    }
    std::size_t Units(std::string_view raw) const { return raw.size() / Unit(); }

    std::string Decode(std::string_view raw) const
    {
        if (encoding == TTextEncoding::Big5)
            return Big5ToUtf8(raw);
        if (!Wide())
            return std::string(raw);
        std::u16string units(Units(raw), u'\0');
        for (std::size_t i = 0; i < units.size(); ++i)
            units[i] = At(raw, i);
        std::string text = Utf16ToUtf8(units);
        if (raw.size() % 2)
            text += "\xEF\xBF\xBD";  // the odd byte of a cut-off file, as the reader sees it
        return text;
    }
    // False when the text holds a character the encoding cannot.
    bool Encode(std::string_view text, std::string& raw) const
    {
        if (!IsValidUtf8(text))
            return false;
        if (encoding == TTextEncoding::Big5)
            return Utf8ToBig5(text, raw);
        if (!Wide()) {
            raw.assign(text);
            return true;
        }
        raw.clear();
        for (const char16_t u : Utf8ToUtf16(text)) {
            const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
            raw += encoding == TTextEncoding::Utf16LE ? lo : hi;
            raw += encoding == TTextEncoding::Utf16LE ? hi : lo;
        }
        return true;
    }
};

bool IsBlankUnit(char16_t c)
{
    return c < 0x80 && IsIniBlank(static_cast<char>(c));
}

// As written so that the reader gives the text back: blanks at either end, or a pair of
// quotes around it, would be dropped, so such a value goes in quotes of its own.
std::string WrittenValue(std::string_view text)
{
    const bool quoted =
        text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front();
    if (!text.empty() && (IsBlankUnit(static_cast<unsigned char>(text.front())) ||
                          IsBlankUnit(static_cast<unsigned char>(text.back())) || quoted))
        return '"' + std::string(text) + '"';
    return std::string(text);
}

TRefusal CheckText(std::string_view text)
{
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return TRefusal::LineBreak;
    if (text.find('\0') != std::string_view::npos)
        return TRefusal::Nul;
    return TRefusal::None;
}

// A line as the reader classifies it, with its own copies of the name and value.
struct TLineInfo {
    TIniLine::TKind kind = TIniLine::Blank;
    std::string name, value;
};

}  // namespace

// Every PC section of the file, live or not, by number then in file order: renumbering moves
// them all alike, so no dead section comes to life and none dies.
struct TSectionRef {
    std::int32_t number;
    std::uint32_t header;
    friend bool operator<(const TSectionRef& a, const TSectionRef& b) { return a.number < b.number; }
};

// A shown PC's lines: its section's header and the line of each key's value, or kNone.
struct TPcLines {
    std::uint32_t section = kNone;
    std::array<std::uint32_t, kPcKeys.size()> keys{kNone, kNone, kNone, kNone, kNone};
};

// The board's count and where it is written.
struct TSys {
    std::int32_t count = 0;
    std::uint32_t header = kNone, countLine = kNone;
};

// One slice of a vector, before and after a step.
template <class T>
struct TSlice {
    std::size_t at = 0;
    std::vector<T> before, after;

    void Take(const std::vector<T>& v, std::size_t from, std::size_t to)
    {
        at = from;
        before.assign(v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to));
    }
    void Put(std::vector<T>& v, bool forward) const
    {
        const std::vector<T>& out = forward ? before : after;
        const std::vector<T>& in = forward ? after : before;
        const auto first = v.begin() + static_cast<std::ptrdiff_t>(at);
        // Most steps keep the count: then nothing after the slice moves.
        if (out.size() == in.size())
            std::copy(in.begin(), in.end(), first);
        else
            v.insert(v.erase(first, first + static_cast<std::ptrdiff_t>(out.size())), in.begin(), in.end());
    }
};

struct TBoardDocument::TState {
    TCodec codec;
    std::string bytes;  // as opened
    std::size_t bom = 0;
    std::vector<std::uint32_t> starts, ends;  // of each opened line's text; starts has one more
    std::vector<bool> gone;                   // opened lines deleted
    std::unordered_map<std::uint32_t, std::string> rewritten;
    struct TAdded {
        std::string raw;
        std::uint32_t anchor;
        bool gone = true;
    };
    std::vector<TAdded> added;                                            // ids from Opened() on
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> after;  // added ids after an opened line
    std::string lineEnd;                                                  // the file's own, in its encoding
    bool endsWithLineEnd = true;
    // A Big5 file stays one only while some line is no valid UTF-8.
    std::size_t notUtf8 = 0;

    std::vector<TPc> pcs;
    std::vector<TPcLines> pcLines;
    std::vector<TSectionRef> sections;
    TSys sys;

    std::uint32_t Opened() const { return static_cast<std::uint32_t>(ends.size()); }
    bool IsOpened(std::uint32_t id) const { return id < Opened(); }
    bool Visible(std::uint32_t id) const { return IsOpened(id) ? !gone[id] : !added[id - Opened()].gone; }

    std::string_view Raw(std::uint32_t id) const
    {
        if (!IsOpened(id))
            return added[id - Opened()].raw;
        if (const auto it = rewritten.find(id); it != rewritten.end())
            return it->second;
        return std::string_view(bytes).substr(starts[id], ends[id] - starts[id]);
    }

    TLineInfo Info(std::uint32_t id) const { return Classified(Raw(id)); }
    // Raw bytes of a line as the grammar reads them.
    TLineInfo Classified(std::string_view raw) const
    {
        const std::string text = codec.Decode(raw);
        const TIniLine line = ClassifyIniLine(text);
        return {line.kind, std::string(line.name), std::string(line.value)};
    }

    // The next line in the file's order, gone or not.
    std::uint32_t NextAny(std::uint32_t id) const
    {
        const std::uint32_t anchor = id == kHead || IsOpened(id) ? id : added[id - Opened()].anchor;
        if (const auto it = after.find(anchor); it != after.end()) {
            const auto& chain = it->second;
            const auto at = anchor == id ? chain.begin() : std::find(chain.begin(), chain.end(), id) + 1;
            if (at != chain.end())
                return *at;
        }
        const std::uint32_t next = anchor == kHead ? 0 : anchor + 1;
        return next < Opened() ? next : kNone;
    }
    std::uint32_t Next(std::uint32_t id) const
    {
        do
            id = NextAny(id);
        while (id != kNone && !Visible(id));
        return id;
    }
    std::uint32_t Last() const
    {
        std::uint32_t last = kHead;
        for (std::uint32_t id = Next(kHead); id != kNone; id = Next(id))
            last = id;
        return last;
    }

    // The section's last entry (or its header), and its last line before the next section.
    std::pair<std::uint32_t, std::uint32_t> Body(std::uint32_t header) const
    {
        std::uint32_t lastEntry = header, last = header;
        for (std::uint32_t id = Next(header); id != kNone; id = Next(id)) {
            const TIniLine::TKind kind = Info(id).kind;
            if (kind == TIniLine::Section)
                break;
            if (kind == TIniLine::Entry)
                lastEntry = id;
            last = id;
        }
        return {lastEntry, last};
    }

    std::size_t LineNumber(std::uint32_t target) const
    {
        std::size_t number = 1;
        for (std::uint32_t id = Next(kHead); id != kNone && id != target; id = Next(id))
            ++number;
        return number;
    }
};

namespace {

// What a step changed of one line.
struct TLineChange {
    std::uint32_t id;
    bool goneBefore, goneAfter;
    std::string before, after;
};

}  // namespace

struct TStep {
    std::vector<TLineChange> lines;
    // The model's changes, in the order made.
    std::vector<TSlice<TBoardDocument::TPc>> pcs;
    std::vector<TSlice<TPcLines>> pcLines;
    std::vector<TSlice<TSectionRef>> sections;
    TSys sysBefore, sysAfter;
    // A conversion swaps the whole state.
    std::unique_ptr<TBoardDocument::TState> other;
    std::uint64_t version = 0;  // of the state it leads to
};

struct TBoardDocument::TImpl {
    std::unique_ptr<TState> state;
    std::vector<TStep> done, undone;
    // What the file on disk holds: the bytes opened (a state that every conversion keeps in
    // the history), until a save.
    const std::string* opened = nullptr;
    std::optional<std::string> saved;
    TStep* step = nullptr;  // the one being made
    std::uint64_t versions = 0;
    // What could be done again when the step at dropped was made, for RevertSince.
    std::vector<TStep> redoDropped;
    std::size_t dropped = SIZE_MAX;

    void Push(TStep made)
    {
        made.version = ++versions;
        if (!undone.empty()) {
            redoDropped = std::move(undone);
            dropped = done.size();
        }
        undone.clear();
        done.push_back(std::move(made));
    }

    // -- lines, recorded in the step being made

    void PutRaw(std::uint32_t id, std::string_view raw)
    {
        TState& s = *state;
        if (s.Visible(id))
            s.notUtf8 += !IsValidUtf8(raw) - !IsValidUtf8(s.Raw(id));
        if (!s.IsOpened(id))
            s.added[id - s.Opened()].raw = raw;
        else if (raw == std::string_view(s.bytes).substr(s.starts[id], s.ends[id] - s.starts[id]))
            s.rewritten.erase(id);
        else
            s.rewritten[id] = raw;
    }
    void PutGone(std::uint32_t id, bool gone)
    {
        TState& s = *state;
        if (s.Visible(id) == gone)
            s.notUtf8 += (gone ? -1 : 1) * !IsValidUtf8(s.Raw(id));
        if (s.IsOpened(id))
            s.gone[id] = gone;
        else
            s.added[id - s.Opened()].gone = gone;
    }
    void Rewrite(std::uint32_t id, std::string raw)
    {
        const bool gone = !state->Visible(id);
        step->lines.push_back({id, gone, gone, std::string(state->Raw(id)), raw});
        PutRaw(id, raw);
    }
    void Remove(std::uint32_t id)
    {
        const std::string raw(state->Raw(id));
        step->lines.push_back({id, false, true, raw, raw});
        PutGone(id, true);
    }
    // A new line right after the line given (or kHead).
    std::uint32_t Insert(std::uint32_t previous, std::string raw)
    {
        TState& s = *state;
        const auto id = static_cast<std::uint32_t>(s.Opened() + s.added.size());
        const bool opened = previous == kHead || s.IsOpened(previous);
        const std::uint32_t anchor = opened ? previous : s.added[previous - s.Opened()].anchor;
        auto& chain = s.after[anchor];
        chain.insert(opened ? chain.begin() : std::find(chain.begin(), chain.end(), previous) + 1, id);
        s.added.push_back({raw, anchor});
        step->lines.push_back({id, true, false, raw, raw});
        PutGone(id, false);
        return id;
    }

    void Apply(TStep& st, bool forward)
    {
        if (st.other) {
            std::swap(state, st.other);
            return;
        }
        const auto put = [&](const TLineChange& c) {
            if (c.before != c.after)
                PutRaw(c.id, forward ? c.after : c.before);
            if (c.goneBefore != c.goneAfter)
                PutGone(c.id, forward ? c.goneAfter : c.goneBefore);
        };
        if (forward)
            std::for_each(st.lines.begin(), st.lines.end(), put);
        else
            std::for_each(st.lines.rbegin(), st.lines.rend(), put);
        TState& s = *state;
        const auto putAll = [forward](auto& slices, auto& v) {
            if (forward)
                for (auto& slice : slices)
                    slice.Put(v, true);
            else
                for (auto it = slices.rbegin(); it != slices.rend(); ++it)
                    it->Put(v, false);
        };
        putAll(st.pcs, s.pcs);
        putAll(st.pcLines, s.pcLines);
        putAll(st.sections, s.sections);
        s.sys = forward ? st.sysAfter : st.sysBefore;
    }

    // Runs an edit as one step; what it refuses, or what would no longer read as the file's
    // encoding, leaves the document as it was.
    template <class Work>
    TRefusal Edit(Work work)
    {
        TStep made;
        made.sysBefore = state->sys;
        step = &made;
        TRefusal refusal = work();
        step = nullptr;
        made.sysAfter = state->sys;
        if (refusal == TRefusal::None && state->codec.encoding == TTextEncoding::Big5 && state->notUtf8 == 0)
            refusal = TRefusal::NotInEncoding;
        if (refusal != TRefusal::None) {
            Apply(made, false);
            return refusal;
        }
        if (!made.lines.empty())
            Push(std::move(made));
        return TRefusal::None;
    }

    // -- lines as the grammar sees them

    std::string Encoded(std::string_view text, bool& ok) const
    {
        std::string raw;
        ok = state->codec.Encode(text, raw);
        return raw;
    }

    // The entry line with its value replaced by text, kept as it was around the value; empty
    // with ok false when that would not read back.
    std::string WithValue(std::uint32_t id, std::string_view text, bool& ok) const
    {
        const TState& s = *state;
        const TCodec& c = s.codec;
        const std::string_view raw = s.Raw(id);
        const std::size_t units = c.Units(raw);
        std::size_t from = 0;
        while (from < units && c.At(raw, from) != '=')
            ++from;
        std::size_t to = ++from;
        while (to < units && c.At(raw, to) != '\0')
            ++to;
        while (from < to && IsBlankUnit(c.At(raw, from)))
            ++from;
        while (to > from && IsBlankUnit(c.At(raw, to - 1)))
            --to;
        const std::string value = Encoded(WrittenValue(text), ok);
        std::string line = std::string(raw.substr(0, from * c.Unit())) + value + std::string(raw.substr(to * c.Unit()));
        ok = ok && ReadsAs(line, TIniLine::Entry, s.Info(id).name, text);
        return line;
    }
    std::string NewEntry(std::string_view key, std::string_view text, bool& ok) const
    {
        std::string line = Encoded(std::string(key) + "=" + WrittenValue(text), ok);
        ok = ok && ReadsAs(line, TIniLine::Entry, key, text);
        return line;
    }
    // A PC section's header with another number, all else kept.
    std::string Renamed(std::uint32_t header, std::int64_t number, bool& ok) const
    {
        const TState& s = *state;
        const TCodec& c = s.codec;
        const std::string_view raw = s.Raw(header);
        const std::size_t units = c.Units(raw);
        std::size_t at = 0;
        while (at < units && c.At(raw, at) != '[')
            ++at;
        while (++at < units && IsBlankUnit(c.At(raw, at))) {
        }
        std::size_t end = at += 2;  // past "PC"
        while (end < units && c.At(raw, end) >= '0' && c.At(raw, end) <= '9')
            ++end;
        std::string line = std::string(raw.substr(0, at * c.Unit())) + Encoded(std::to_string(number), ok) +
                           std::string(raw.substr(end * c.Unit()));
        const TLineInfo info = state->Classified(line);
        ok = ok && info.kind == TIniLine::Section && info.name.size() >= 2 &&
             info.name.substr(2) == std::to_string(number);
        return line;
    }
    bool ReadsAs(std::string_view raw, TIniLine::TKind kind, std::string_view name, std::string_view value) const
    {
        const TLineInfo info = state->Classified(raw);
        return info.kind == kind && SameText(info.name, name) && info.value == value;
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

    // -- edits

    // Sets an entry of a section: in place, or as a new line after its last entry.
    TRefusal Set(std::uint32_t header, std::uint32_t& line, std::string_view key, std::string_view text)
    {
        bool ok = false;
        std::string raw = line != kNone ? WithValue(line, text, ok) : NewEntry(key, text, ok);
        if (!ok) {
            bool encodable = false;
            Encoded(text, encodable);
            return encodable ? TRefusal::Unwritable : TRefusal::NotInEncoding;
        }
        if (line != kNone)
            Rewrite(line, std::move(raw));
        else
            line = Insert(state->Body(header).first, std::move(raw));
        return TRefusal::None;
    }

    TRefusal SetCount(std::int32_t count)
    {
        TSys& sys = state->sys;
        if (sys.header == kNone) {
            bool ok = false;
            std::string raw = Encoded("[" + std::string(kSysSection) + "]", ok);
            if (!ok)
                return TRefusal::Unwritable;
            sys.header = Insert(state->Last(), std::move(raw));
        }
        sys.count = count;
        return Set(sys.header, sys.countLine, kCountKey, IntToStr(count));
    }

    // Takes a section out, with every line up to the next section.
    void RemoveSection(std::uint32_t header)
    {
        std::vector<std::uint32_t> lines{header};
        for (std::uint32_t id = state->Next(header); id != kNone && state->Info(id).kind != TIniLine::Section;
             id = state->Next(id))
            lines.push_back(id);
        for (const std::uint32_t id : lines)
            Remove(id);
    }

    // Gives every PC section numbered from..to (shown or not) the number map gives it, 0
    // taking it out; the shown PCs follow, kept in number order.
    template <class Map>
    TRefusal Renumber(std::int32_t from, std::int32_t to, Map map)
    {
        TState& s = *state;
        const auto byNumber = [](const auto& a, const auto& b) { return a.number < b.number; };
        const auto first = std::lower_bound(s.sections.begin(), s.sections.end(), TSectionRef{from, 0}, byNumber);
        const auto last = std::upper_bound(first, s.sections.end(), TSectionRef{to, 0}, byNumber);
        // Every new header first, so that a refusal finds nothing changed.
        struct TRenamed {
            std::uint32_t header;
            std::int64_t number;
            std::string raw;
        };
        std::vector<TRenamed> renamed;
        for (auto it = first; it != last; ++it) {
            const std::int64_t number = map(it->number);
            bool ok = true;
            std::string raw = number ? Renamed(it->header, number, ok) : std::string();
            if (!ok)
                return TRefusal::Unwritable;
            renamed.push_back({it->header, number, std::move(raw)});
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
        Splice(step->sections, s.sections, static_cast<std::size_t>(first - s.sections.begin()),
               static_cast<std::size_t>(last - s.sections.begin()), std::move(refs));

        const auto pcFirst = std::lower_bound(s.pcs.begin(), s.pcs.end(), TPc{from, {}}, byNumber);
        const auto pcLast = std::upper_bound(pcFirst, s.pcs.end(), TPc{to, {}}, byNumber);
        const auto at = static_cast<std::size_t>(pcFirst - s.pcs.begin()),
                   end = static_cast<std::size_t>(pcLast - s.pcs.begin());
        std::vector<std::size_t> order;
        std::vector<TPc> pcs;
        for (std::size_t i = at; i < end; ++i)
            if (const std::int64_t number = map(s.pcs[i].number)) {
                order.push_back(i);
                pcs.push_back({static_cast<std::int32_t>(number), s.pcs[i].entry});
            }
        std::vector<std::size_t> sorted(order.size());
        for (std::size_t i = 0; i < sorted.size(); ++i)
            sorted[i] = i;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](std::size_t a, std::size_t b) { return pcs[a].number < pcs[b].number; });
        std::vector<TPc> newPcs;
        std::vector<TPcLines> newLines;
        for (const std::size_t i : sorted) {
            newPcs.push_back(pcs[i]);
            newLines.push_back(s.pcLines[order[i]]);
        }
        Splice(step->pcLines, s.pcLines, at, end, std::move(newLines));
        Splice(step->pcs, s.pcs, at, end, std::move(newPcs));
        return TRefusal::None;
    }
};

namespace {

// The opened file: its lines, and the board as the status board reads it.
std::unique_ptr<TBoardDocument::TState> Open(std::string bytes)
{
    auto state = std::make_unique<TBoardDocument::TState>();
    TBoardDocument::TState& s = *state;
    TTextEncoding encoding = TTextEncoding::Utf8;
    std::string text = DecodeText(bytes, &encoding);
    s.codec.encoding = encoding;
    s.bytes = std::move(bytes);
    s.bom = encoding == TTextEncoding::Utf8Bom ? 3 : s.codec.Wide() ? 2 : 0;
    const TCodec& c = s.codec;
    const std::size_t unit = c.Unit();
    // A UTF-16 file cut in the middle of a unit keeps its odd byte at the end, out of every line.
    const std::size_t size = s.bytes.size() - (s.bytes.size() - s.bom) % unit;
    const std::string_view body = std::string_view(s.bytes).substr(0, size);
    const auto isEnd = [&](std::size_t at) {
        const char16_t u = c.At(body, at / unit);
        return u == '\r' || u == '\n';
    };
    for (std::size_t at = s.bom; at < size;) {
        std::size_t end = at;
        if (unit == 1)
            while (end < size && body[end] != '\r' && body[end] != '\n')
                ++end;
        else
            while (end < size && !isEnd(end))
                end += unit;
        s.starts.push_back(static_cast<std::uint32_t>(at));
        s.ends.push_back(static_cast<std::uint32_t>(end));
        std::size_t next = end;
        if (next < size)
            next += c.At(body, next / unit) == '\r' && next + unit < size && c.At(body, next / unit + 1) == '\n'
                        ? 2 * unit
                        : unit;
        if (s.lineEnd.empty() && next > end)
            s.lineEnd = body.substr(end, next - end);
        s.endsWithLineEnd = next > end;
        at = next;
    }
    s.starts.push_back(static_cast<std::uint32_t>(size));
    s.gone.assign(s.ends.size(), false);
    // A file of one line, or none, gets Windows' line end.
    if (s.lineEnd.empty())
        c.Encode("\r\n", s.lineEnd);
    // Only a Big5 file can stop being one.
    if (encoding == TTextEncoding::Big5)
        for (std::uint32_t id = 0; id < s.Opened(); ++id)
            s.notUtf8 += !IsValidUtf8(s.Raw(id));

    // Where each PC's values are read from: the first section of its name, and there the first
    // entry of each key, as the reader takes them. Every PC section's lines are noted as they
    // come; sorted by number, the first of each number is the one read.
    std::vector<std::pair<std::int32_t, TPcLines>> found;
    bool pc = false, sys = false;
    ForEachIniLine(text, [&](const TIniLine& line) {
        const auto id = static_cast<std::uint32_t>(line.number - 1);
        if (id >= s.Opened())
            return;  // the odd byte's line
        if (line.kind == TIniLine::Section) {
            const std::int32_t number = PcNumberOf(line.name);
            pc = number > 0;
            if (pc)
                found.push_back({number, {id}});
            sys = SameText(line.name, kSysSection) && s.sys.header == kNone;
            if (sys)
                s.sys.header = id;
        } else if (line.kind == TIniLine::Entry) {
            if (sys && s.sys.countLine == kNone && SameText(line.name, kCountKey))
                s.sys.countLine = id;
            if (!pc)
                return;
            for (std::size_t k = 0; k < kPcKeys.size(); ++k)
                if (SameText(line.name, kPcKeys[k]) && found.back().second.keys[k] == kNone)
                    found.back().second.keys[k] = id;
        }
    });
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    s.sections.reserve(found.size());
    for (const auto& [number, lines] : found)
        s.sections.push_back({number, lines.section});

    const TIniFile file("", std::move(text));
    s.sys.count = ReadCount(file);
    const std::vector<std::int32_t> numbers = PcNumbersInFile(file, s.sys.count);
    s.pcs.reserve(numbers.size());
    s.pcLines.reserve(numbers.size());
    auto first = found.begin();
    for (const std::int32_t i : numbers) {
        s.pcs.push_back({i, ReadPcEntry(file, i)});
        first = std::lower_bound(first, found.end(), i, [](const auto& f, std::int32_t n) { return f.first < n; });
        s.pcLines.push_back(first->second);
    }
    // Held for as long as the file is open: no room to spare.
    s.starts.shrink_to_fit();
    s.ends.shrink_to_fit();
    return state;
}

}  // namespace

TBoardDocument::TBoardDocument(std::string bytes) : impl_(std::make_unique<TImpl>())
{
    impl_->state = Open(std::move(bytes));
    impl_->opened = &impl_->state->bytes;
}

TBoardDocument::~TBoardDocument() = default;

const std::vector<TBoardDocument::TPc>& TBoardDocument::Pcs() const
{
    return impl_->state->pcs;
}

std::int32_t TBoardDocument::Count() const
{
    return impl_->state->sys.count;
}

TTextEncoding TBoardDocument::Encoding() const
{
    return impl_->state->codec.encoding;
}

TBoardDocument::TOrigin TBoardDocument::Origin(std::size_t pc, TPcKey key) const
{
    const TState& s = *impl_->state;
    const TPcLines& lines = s.pcLines.at(pc);
    const std::uint32_t value = lines.keys[static_cast<std::size_t>(key)];
    return {s.LineNumber(lines.section), value == kNone ? 0 : s.LineNumber(value)};
}

TRefusal TBoardDocument::SetValue(std::size_t pc, TPcKey key, std::string_view text)
{
    TImpl& d = *impl_;
    if (pc >= d.state->pcs.size())
        return TRefusal::NoSuchPc;
    if (const TRefusal refusal = CheckText(text); refusal != TRefusal::None)
        return refusal;
    std::int32_t number = 0;
    if (key != TPcKey::Caption && !TryStrToInt(text, number))
        return TRefusal::NotANumber;
    return d.Edit([&] {
        TState& s = *d.state;
        TPcLines lines = s.pcLines[pc];
        const auto k = static_cast<std::size_t>(key);
        if (const TRefusal refusal = d.Set(lines.section, lines.keys[k], kPcKeys[k], text); refusal != TRefusal::None)
            return refusal;
        TPc changed = s.pcs[pc];
        TPcEntry& e = changed.entry;
        switch (key) {
        case TPcKey::Caption:
            e.caption = text;
            break;
        case TPcKey::Left:
            e.left = number;
            break;
        case TPcKey::Top:
            e.top = number;
            break;
        case TPcKey::Width:
            e.width = number;
            break;
        case TPcKey::Height:
            e.height = number;
            break;
        }
        d.Splice(d.step->pcLines, s.pcLines, pc, pc + 1, {lines});
        d.Splice(d.step->pcs, s.pcs, pc, pc + 1, {changed});
        return TRefusal::None;
    });
}

TRefusal TBoardDocument::AddPc(const TPcEntry& entry)
{
    TImpl& d = *impl_;
    if (const TRefusal refusal = CheckText(entry.caption); refusal != TRefusal::None)
        return refusal;
    const std::int32_t number = std::max(d.state->sys.count, 1);
    if (number == INT32_MAX)
        return TRefusal::BoardFull;
    return d.Edit([&] {
        TState& s = *d.state;
        // Every line of the new section first, so that a refusal finds nothing changed.
        bool ok = false;
        std::vector<std::string> raws{d.Encoded("[" + SectionName(number) + "]", ok)};
        const std::int32_t values[] = {entry.left, entry.top, entry.width, entry.height};
        for (std::size_t k = 0; k < kPcKeys.size() && ok; ++k)
            raws.push_back(d.NewEntry(kPcKeys[k], k == 0 ? entry.caption : IntToStr(values[k - 1]), ok));
        if (!ok) {
            d.Encoded(entry.caption, ok);
            return ok ? TRefusal::Unwritable : TRefusal::NotInEncoding;
        }
        // Sections past the count stay past it.
        if (const TRefusal refusal = d.Renumber(number, INT32_MAX, [](std::int64_t n) { return n + 1; });
            refusal != TRefusal::None)
            return refusal;
        std::uint32_t previous = s.pcs.empty() ? s.Last() : s.Body(s.pcLines.back().section).first;
        TPcLines lines;
        lines.section = previous = d.Insert(previous, std::move(raws[0]));
        for (std::size_t k = 0; k < kPcKeys.size(); ++k)
            lines.keys[k] = previous = d.Insert(previous, std::move(raws[k + 1]));
        if (const TRefusal refusal = d.SetCount(number + 1); refusal != TRefusal::None)
            return refusal;
        const auto at = static_cast<std::size_t>(
            std::lower_bound(s.sections.begin(), s.sections.end(), TSectionRef{number, 0},
                             [](const TSectionRef& a, const TSectionRef& b) { return a.number < b.number; }) -
            s.sections.begin());
        d.Splice(d.step->sections, s.sections, at, at, {TSectionRef{number, lines.section}});
        d.Splice(d.step->pcLines, s.pcLines, s.pcLines.size(), s.pcLines.size(), {lines});
        d.Splice(d.step->pcs, s.pcs, s.pcs.size(), s.pcs.size(), {TPc{number, entry}});
        return TRefusal::None;
    });
}

TRefusal TBoardDocument::DeletePc(std::size_t pc)
{
    TImpl& d = *impl_;
    if (pc >= d.state->pcs.size())
        return TRefusal::NoSuchPc;
    const std::int32_t gone = d.state->pcs[pc].number;
    return d.Edit([&] {
        if (const TRefusal refusal =
                d.Renumber(gone, INT32_MAX, [gone](std::int64_t n) { return n == gone ? 0 : n - 1; });
            refusal != TRefusal::None)
            return refusal;
        return d.SetCount(d.state->sys.count - 1);
    });
}

TRefusal TBoardDocument::MovePc(std::size_t pc, std::int32_t number)
{
    TImpl& d = *impl_;
    if (pc >= d.state->pcs.size() || number < 1 || number >= d.state->sys.count)
        return TRefusal::NoSuchPc;
    const std::int32_t from = d.state->pcs[pc].number;
    if (from == number)
        return TRefusal::None;
    return d.Edit([&] {
        return d.Renumber(std::min(from, number), std::max(from, number), [&](std::int64_t n) -> std::int64_t {
            return n == from ? number : from < number ? n - 1 : n + 1;
        });
    });
}

TRefusal TBoardDocument::Reorder(const std::vector<std::size_t>& order)
{
    TImpl& d = *impl_;
    const std::vector<TPc>& pcs = d.state->pcs;
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
    return d.Edit([&] { return d.Renumber(pcs.front().number, pcs.back().number, map); });
}

void TBoardDocument::ConvertToUtf8(bool byteOrderMark)
{
    TImpl& d = *impl_;
    const std::string now = Bytes();
    std::string text = (byteOrderMark ? "\xEF\xBB\xBF" : "") + DecodeText(now);
    if (text == now)
        return;
    TStep step;
    step.other = Open(std::move(text));
    std::swap(d.state, step.other);
    d.Push(std::move(step));
}

bool TBoardDocument::CanUndo() const
{
    return !impl_->done.empty();
}

bool TBoardDocument::CanRedo() const
{
    return !impl_->undone.empty();
}

void TBoardDocument::Undo()
{
    TImpl& d = *impl_;
    if (d.done.empty())
        return;
    TStep step = std::move(d.done.back());
    d.done.pop_back();
    d.Apply(step, false);
    d.undone.push_back(std::move(step));
}

void TBoardDocument::Redo()
{
    TImpl& d = *impl_;
    if (d.undone.empty())
        return;
    TStep step = std::move(d.undone.back());
    d.undone.pop_back();
    d.Apply(step, true);
    d.done.push_back(std::move(step));
}

std::size_t TBoardDocument::StepMark() const
{
    return impl_->done.size();
}

bool TBoardDocument::JoinSince(std::size_t mark)
{
    TImpl& d = *impl_;
    if (mark > d.done.size())
        return false;
    if (mark + 1 >= d.done.size())
        return true;
    const auto first = d.done.begin() + static_cast<std::ptrdiff_t>(mark);
    if (std::any_of(first, d.done.end(), [](const TStep& st) { return st.other != nullptr; }))
        return false;
    // Each part of a step is applied in order, forwards and backwards: the parts one after
    // another are the steps one after another.
    TStep joined = std::move(*first);
    for (auto it = first + 1; it != d.done.end(); ++it) {
        const auto append = [](auto& to, auto& from) {
            to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
        };
        append(joined.lines, it->lines);
        append(joined.pcs, it->pcs);
        append(joined.pcLines, it->pcLines);
        append(joined.sections, it->sections);
        joined.sysAfter = it->sysAfter;
        joined.version = it->version;
    }
    d.done.erase(first, d.done.end());
    d.done.push_back(std::move(joined));
    if (d.dropped != SIZE_MAX && d.dropped > mark) {
        d.redoDropped.clear();
        d.dropped = SIZE_MAX;
    }
    return true;
}

void TBoardDocument::RevertSince(std::size_t mark)
{
    TImpl& d = *impl_;
    if (mark >= d.done.size())
        return;
    while (d.done.size() > mark) {
        d.Apply(d.done.back(), false);
        d.done.pop_back();
    }
    if (d.dropped == mark)
        d.undone = std::move(d.redoDropped);
    if (d.dropped != SIZE_MAX && d.dropped >= mark) {
        d.redoDropped.clear();
        d.dropped = SIZE_MAX;
    }
}

std::uint64_t TBoardDocument::Version() const
{
    return impl_->done.empty() ? 0 : impl_->done.back().version;
}

std::string TBoardDocument::Bytes() const
{
    const TState& s = *impl_->state;
    std::string out = s.bytes.substr(0, s.bom);
    const std::string_view tail = std::string_view(s.bytes).substr(s.starts.back());
    const std::uint32_t lastOpened = s.Opened() ? s.Opened() - 1 : kNone;
    std::uint32_t last = kNone;
    for (std::uint32_t id = s.Next(kHead); id != kNone;) {
        const std::uint32_t next = s.Next(id);
        out += s.Raw(id);
        const std::string_view own = s.IsOpened(id)
                                         ? std::string_view(s.bytes).substr(s.ends[id], s.starts[id + 1] - s.ends[id])
                                         : std::string_view();
        if (next != kNone)
            out += own.empty() ? std::string_view(s.lineEnd) : own;
        else if (s.IsOpened(id))
            out += own;
        else if (s.endsWithLineEnd)
            out += s.lineEnd;
        last = id;
        id = next;
    }
    // The odd byte stays last; a line of its own unless its line is still as it was.
    if (!tail.empty() && (last != lastOpened || s.rewritten.contains(last)) && last != kNone &&
        !(out.size() >= s.lineEnd.size() && out.ends_with(s.lineEnd)))
        out += s.lineEnd;
    out += tail;
    return out;
}

TSaveResult TBoardDocument::Save(const std::string& path, bool keepBackup, bool opened)
{
    const TImpl& d = *impl_;
    if (d.saved)
        return SaveAs(path, keepBackup, *d.saved);
    return SaveAs(path, keepBackup, opened ? std::optional<std::string_view>(*d.opened) : std::nullopt);
}

TSaveResult TBoardDocument::SaveAs(const std::string& path, bool keepBackup, std::optional<std::string_view> onDisk)
{
    TImpl& d = *impl_;
    std::string bytes = Bytes();
    TSaveResult result = SaveFile(path, bytes, onDisk, keepBackup);
    if (result.Saved())
        d.saved = std::move(bytes);
    return result;
}

}  // namespace board
