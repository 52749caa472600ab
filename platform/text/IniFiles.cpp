#include "platform/text/IniFiles.h"

#include "platform/text/FileRead.h"
#include "platform/text/IniScan.h"
#include "platform/text/SysUtils.h"
#include "platform/text/TextCodec.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

using iniscan::IsLineEnd;
using iniscan::NextLineStart;

inline std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsIniBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsIniBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// FNV-1a over the bytes with letter case folded as SameText folds it, so names that match
// hash alike.
std::size_t HashText(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 1099511628211ULL;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
}

// One matching pair of quotes around the whole value is dropped, nothing more.
inline std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Keeps the next CR and the next LF found with memchr, so walking all lines of a text scans
// it only once.
class TLineFinder {
public:
    explicit TLineFinder(std::string_view text) : text_(text), nextCr_(Find('\r', 0)), nextLf_(Find('\n', 0)) {}

    // Position of the terminator of the line starting at pos, or the text size.
    std::size_t LineEnd(std::size_t pos)
    {
        if (nextCr_ < pos)
            nextCr_ = Find('\r', pos);
        if (nextLf_ < pos)
            nextLf_ = Find('\n', pos);
        return std::min(nextCr_, nextLf_);
    }

    // Start of the line after the one ending at end, as LineEnd gave it.
    std::size_t NextLine(std::size_t end) const
    {
        return static_cast<std::size_t>(NextLineStart(text_.data() + end, text_.data() + text_.size()) - text_.data());
    }

private:
    std::size_t Find(char c, std::size_t from) const
    {
        const void* hit = std::memchr(text_.data() + from, c, text_.size() - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
    }

    std::string_view text_;
    std::size_t nextCr_;
    std::size_t nextLf_;
};

// Where the first non-blank character of a line is, or npos for a blank line.
inline std::size_t FirstNonBlank(std::string_view line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (!IsIniBlank(line[i]))
            return i;
    }
    return std::string_view::npos;
}

// A name or a value ends at a NUL byte, as the platform's strings do.
std::string_view BeforeNul(std::string_view text)
{
    const void* nul = std::memchr(text.data(), '\0', text.size());
    return nul ? text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data())) : text;
}

// A section line's name, from the text after its '[': up to the first ']' or, without one,
// the end of the line; a NUL ends it too. Names are short: a plain loop beats two library
// searches.
inline std::string_view SectionNameAfter(std::string_view rest)
{
    const auto end = std::find_if(rest.begin(), rest.end(), [](char c) { return c == ']' || c == '\0'; });
    return Trim(rest.substr(0, static_cast<std::size_t>(end - rest.begin())));
}

// The grammar of a line, told where its first '=' is (npos: none) and whether it holds a
// NUL, which a caller walking the bytes anyway has seen. Inline: every line the reader looks
// at goes through it.
inline TIniLine Classify(std::string_view line, std::size_t equals, bool nul)
{
    TIniLine info{TIniLine::Other, 0, line, {}, {}};
    const std::size_t first = FirstNonBlank(line);
    if (first == std::string_view::npos) {
        info.kind = TIniLine::Blank;
    } else if (line[first] == '[') {
        info.kind = TIniLine::Section;
        info.name = SectionNameAfter(line.substr(first + 1));
    } else if (line[first] == ';') {
        info.kind = TIniLine::Comment;
    } else if (equals != std::string_view::npos) {
        info.kind = TIniLine::Entry;
        // first < equals < size: both views lie inside the line.
        std::string_view name(line.data() + first, equals - first),
            value(line.data() + equals + 1, line.size() - equals - 1);
        if (nul) {
            name = BeforeNul(name);
            value = BeforeNul(value);
        }
        info.name = Trim(name);
        info.value = Unquote(Trim(value));
    }
    return info;
}

}  // namespace

TCustomIniFile::TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

std::int32_t TCustomIniFile::ReadInteger(std::string_view section, std::string_view ident,
                                         std::int32_t defaultValue) const
{
    return StrToIntDef(ReadString(section, ident, {}), defaultValue);
}

namespace {
std::string ReadDecoded(const std::string& fileName)
{
    std::string bytes;
    ReadWholeFile(fileName, bytes);
    return DecodeText(std::move(bytes));
}
}  // namespace

TIniFile::TIniFile(std::string fileName) : TIniFile(fileName, ReadDecoded(fileName)) {}

void TIniFile::Index()
{
    std::vector<std::uint32_t> hashes;
    ScanSections(hashes);
    IndexNames(hashes);
}

void TIniFile::ScanSections(std::vector<std::uint32_t>& hashes)
{
    const std::string_view text = text_;
    // Room for a section every 48 bytes, more than files of many small sections need, so the lists
    // are not copied as they grow; room not used is address space never touched.
    sections_.reserve(text.size() / 48);
    hashes.reserve(text.size() / 48);
    // A section line is one whose first non-blank character is '[': its '[' is searched for,
    // so the entries in between are passed at memchr's pace.
    for (std::size_t at = 0; (at = text.find('[', at)) != std::string_view::npos;) {
        std::size_t start = at;
        while (start > 0 && IsIniBlank(text[start - 1]))
            --start;
        if (start > 0 && !IsLineEnd(text[start - 1])) {
            ++at;  // inside a line
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && !IsLineEnd(text[end]))
            ++end;
        const auto next =
            static_cast<std::size_t>(NextLineStart(text.data() + end, text.data() + text.size()) - text.data());
        // The grammar's section line, by how it was found: its name is all that matters here.
        const std::string_view name = SectionNameAfter(text.substr(at + 1, end - at - 1));
        at = next;
        if (!sections_.empty())
            sections_.back().bodyEnd = static_cast<std::uint32_t>(start);
        sections_.push_back({static_cast<std::uint32_t>(name.data() - text.data()),
                             static_cast<std::uint32_t>(name.size()), static_cast<std::uint32_t>(next),
                             static_cast<std::uint32_t>(text.size())});
        hashes.push_back(static_cast<std::uint32_t>(HashText(name)));
    }
}

void TIniFile::IndexNames(const std::vector<std::uint32_t>& hashes)
{
    if (sections_.empty())
        return;
    // At most half full, so probe runs stay short. A repeated name is dropped as it is met:
    // only the first section of a name is ever searched.
    std::size_t capacity = 2;
    while (capacity < 2 * sections_.size())
        capacity *= 2;
    buckets_.assign(capacity, TBucket{0, 0});
    const std::size_t mask = capacity - 1;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const std::uint32_t hash = hashes[i];
        std::size_t slot = hash & mask;
        while (buckets_[slot].index != 0 && !(buckets_[slot].hash == hash &&
                                              SameText(Name(sections_[buckets_[slot].index - 1]), Name(sections_[i]))))
            slot = (slot + 1) & mask;
        if (buckets_[slot].index != 0)
            continue;
        sections_[kept] = sections_[i];
        buckets_[slot] = TBucket{hash, static_cast<std::uint32_t>(++kept)};
    }
    sections_.resize(kept);
}

std::string_view TIniFile::Name(const TSection& section) const
{
    return std::string_view(text_.data() + section.nameBegin, section.nameLength);
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view name) const
{
    if (buckets_.empty())
        return nullptr;
    // Files are mostly read in the order they are written: try the section after the last one.
    if (lastSection_ && lastSection_ + 1 < sections_.data() + sections_.size() &&
        SameText(Name(lastSection_[1]), name)) {
        return ++lastSection_;
    }
    const std::size_t mask = buckets_.size() - 1;
    const auto hash = static_cast<std::uint32_t>(HashText(name));
    for (std::size_t slot = hash & mask; buckets_[slot].index != 0; slot = (slot + 1) & mask) {
        if (buckets_[slot].hash != hash)
            continue;
        const TSection& section = sections_[buckets_[slot].index - 1];
        if (SameText(Name(section), name)) {
            lastSection_ = &section;
            return &section;
        }
    }
    return nullptr;
}

namespace {

// Calls fn(key, value) for each entry of the lines in text[begin, end), in order, until fn
// returns false.
template <class Fn>
void ForEachEntry(std::string_view text, std::size_t begin, std::size_t end, Fn fn)
{
    // A section is a few short lines: one pass over each finds its end, its first '=' and any
    // NUL; a line without '=' is no entry and needs no more.
    const char* const stop = text.data() + end;
    for (const char* line = text.data() + begin; line < stop;) {
        const char* equals = nullptr;
        bool nul = false;
        const char* p = line;
        for (;; ++p) {
            p = iniscan::NextStop(p, stop);
            if (p == stop || IsLineEnd(*p))
                break;
            if (*p == '=')
                equals = equals ? equals : p;
            else
                nul = true;
        }
        if (equals) {
            const TIniLine info = Classify(std::string_view(line, static_cast<std::size_t>(p - line)),
                                           static_cast<std::size_t>(equals - line), nul);
            if (info.kind == TIniLine::Entry && !fn(info.name, info.value))
                return;
        }
        line = NextLineStart(p, stop);
    }
}

}  // namespace

bool TIniFile::FindValues(std::string_view section, std::span<const std::string_view> keys,
                          std::span<std::optional<std::string_view>> values) const
{
    std::fill(values.begin(), values.end(), std::nullopt);
    const TSection* found = FindSection(section);
    if (!found)
        return false;
    // The first entry of a key wins; the walk ends once every key has its value.
    const std::size_t count = std::min(keys.size(), values.size());
    std::size_t missing = count;
    ForEachEntry(text_, found->bodyBegin, found->bodyEnd, [&](std::string_view key, std::string_view value) {
        // An entry gives a value to the first slot of its key only; a later entry of a key
        // already given is passed over.
        for (std::size_t k = 0; k < count; ++k) {
            if (SameText(key, keys[k])) {
                if (!values[k]) {
                    values[k] = value;
                    --missing;
                }
                break;
            }
        }
        return missing > 0;
    });
    // A key asked for twice has its value in its first slot; the others copy it.
    for (std::size_t k = 0; k < count && missing > 0; ++k) {
        for (std::size_t j = 0; j < k && !values[k]; ++j) {
            if (SameText(keys[j], keys[k]))
                values[k] = values[j];
        }
    }
    return true;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident, std::string_view defaultValue) const
{
    std::optional<std::string_view> value;
    FindValues(section, {&ident, 1}, {&value, 1});
    return std::string(value.value_or(defaultValue));
}

bool TIniFile::SectionExists(std::string_view section) const
{
    return FindSection(section) != nullptr;
}

std::vector<std::string_view> TIniFile::SectionNames() const
{
    std::vector<std::string_view> names;
    names.reserve(sections_.size());
    for (const TSection& section : sections_)
        names.push_back(Name(section));
    return names;
}

TIniFile::TIniFile(std::string fileName, std::string decodedText)
    : TCustomIniFile(std::move(fileName)), text_(std::move(decodedText))
{
    // The index holds 32-bit offsets; a text beyond that reads as an unreadable file.
    if (text_.size() > std::numeric_limits<std::uint32_t>::max()) {
        text_.clear();
        text_.shrink_to_fit();
    }
    Index();
}

TIniLine ClassifyIniLine(std::string_view line)
{
    return Classify(line, line.find('='), line.find('\0') != std::string_view::npos);
}

void ForEachIniLine(std::string_view text, const std::function<void(const TIniLine&)>& fn)
{
    TLineFinder lines(text);
    std::size_t number = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = lines.LineEnd(pos);
        TIniLine info = ClassifyIniLine(text.substr(pos, end - pos));
        info.number = ++number;
        fn(info);
        pos = lines.NextLine(end);
    }
}
