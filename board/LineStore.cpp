#include "board/LineStore.h"

#include <algorithm>

namespace board {

std::string TLineCodec::Decode(std::string_view raw) const
{
    if (encoding == TTextEncoding::Big5)
        return Big5ToUtf8(raw);
    // No line holds an odd byte: a cut-off UTF-16 file keeps its last byte after every line.
    if (Wide())
        return Utf16BytesToUtf8(raw, encoding == TTextEncoding::Utf16BE);
    return std::string(raw);
}

bool TLineCodec::Encode(std::string_view text, std::string& raw) const
{
    if (!IsValidUtf8(text))
        return false;
    if (encoding == TTextEncoding::Big5)
        return Utf8ToBig5(text, raw);
    if (Wide())
        raw = Utf8ToUtf16Bytes(text, encoding == TTextEncoding::Utf16BE);
    else
        raw.assign(text);
    return true;
}

TLineStore::TLineStore(std::string bytes, TTextEncoding encoding) : codec_{encoding}, bytes_(std::move(bytes))
{
    const TLineCodec& c = codec_;
    bom_ = encoding == TTextEncoding::Utf8Bom ? 3 : c.Wide() ? 2 : 0;
    const std::size_t unit = c.Unit();
    // A UTF-16 file cut in the middle of a unit keeps its odd byte at the end, out of every line.
    const std::size_t size = bytes_.size() - (bytes_.size() - bom_) % unit;
    const std::string_view body = std::string_view(bytes_).substr(0, size);
    const auto isEnd = [&](std::size_t at) {
        const char16_t u = c.At(body, at / unit);
        return u == '\r' || u == '\n';
    };
    for (std::size_t at = bom_; at < size;) {
        std::size_t end = at;
        if (unit == 1)
            while (end < size && body[end] != '\r' && body[end] != '\n')
                ++end;
        else
            while (end < size && !isEnd(end))
                end += unit;
        starts_.push_back(static_cast<std::uint32_t>(at));
        ends_.push_back(static_cast<std::uint32_t>(end));
        std::size_t next = end;
        if (next < size)
            next += c.At(body, next / unit) == '\r' && next + unit < size && c.At(body, next / unit + 1) == '\n'
                        ? 2 * unit
                        : unit;
        if (lineEnd_.empty() && next > end)
            lineEnd_ = body.substr(end, next - end);
        endsWithLineEnd_ = next > end;
        at = next;
    }
    starts_.push_back(static_cast<std::uint32_t>(size));
    gone_.assign(ends_.size(), false);
    // A file of one line, or none, gets Windows' line end.
    if (lineEnd_.empty())
        c.Encode("\r\n", lineEnd_);
    // Only a Big5 file can stop being one.
    if (encoding == TTextEncoding::Big5)
        for (std::uint32_t id = 0; id < OpenedLines(); ++id)
            notUtf8_ += !IsValidUtf8(Raw(id));
    // Held for as long as the file is open: no room to spare.
    starts_.shrink_to_fit();
    ends_.shrink_to_fit();
}

std::string_view TLineStore::Raw(std::uint32_t id) const
{
    if (!IsOpened(id))
        return added_[id - OpenedLines()].raw;
    if (const auto it = rewritten_.find(id); it != rewritten_.end())
        return it->second;
    return std::string_view(bytes_).substr(starts_[id], ends_[id] - starts_[id]);
}

TLineInfo TLineStore::Classified(std::string_view raw) const
{
    const std::string text = codec_.Decode(raw);
    const TIniLine line = ClassifyIniLine(text);
    return {line.kind, std::string(line.name), std::string(line.value)};
}

std::uint32_t TLineStore::NextAny(std::uint32_t id) const
{
    const std::uint32_t anchor = id == kHead || IsOpened(id) ? id : added_[id - OpenedLines()].anchor;
    if (const auto it = after_.find(anchor); it != after_.end()) {
        const auto& chain = it->second;
        const auto at = anchor == id ? chain.begin() : std::find(chain.begin(), chain.end(), id) + 1;
        if (at != chain.end())
            return *at;
    }
    const std::uint32_t next = anchor == kHead ? 0 : anchor + 1;
    return next < OpenedLines() ? next : kNoLine;
}

std::uint32_t TLineStore::Next(std::uint32_t id) const
{
    do
        id = NextAny(id);
    while (id != kNoLine && !Visible(id));
    return id;
}

std::uint32_t TLineStore::Last() const
{
    std::uint32_t last = kHead;
    for (std::uint32_t id = Next(kHead); id != kNoLine; id = Next(id))
        last = id;
    return last;
}

std::size_t TLineStore::LineNumber(std::uint32_t target) const
{
    std::size_t number = 1;
    for (std::uint32_t id = Next(kHead); id != kNoLine && id != target; id = Next(id))
        ++number;
    return number;
}

void TLineStore::PutRaw(std::uint32_t id, std::string_view raw)
{
    if (Visible(id))
        notUtf8_ += !IsValidUtf8(raw) - !IsValidUtf8(Raw(id));
    if (!IsOpened(id))
        added_[id - OpenedLines()].raw = raw;
    else if (raw == std::string_view(bytes_).substr(starts_[id], ends_[id] - starts_[id]))
        rewritten_.erase(id);
    else
        rewritten_[id] = raw;
}

void TLineStore::PutGone(std::uint32_t id, bool gone)
{
    if (Visible(id) == gone)
        notUtf8_ += (gone ? -1 : 1) * !IsValidUtf8(Raw(id));
    if (IsOpened(id))
        gone_[id] = gone;
    else
        added_[id - OpenedLines()].gone = gone;
}

std::uint32_t TLineStore::Add(std::uint32_t previous, std::string raw)
{
    const auto id = static_cast<std::uint32_t>(OpenedLines() + added_.size());
    const bool opened = previous == kHead || IsOpened(previous);
    const std::uint32_t anchor = opened ? previous : added_[previous - OpenedLines()].anchor;
    auto& chain = after_[anchor];
    chain.insert(opened ? chain.begin() : std::find(chain.begin(), chain.end(), previous) + 1, id);
    added_.push_back({std::move(raw), anchor});
    return id;
}

std::string TLineStore::Assembled(bool oddByte) const
{
    std::string out = bytes_.substr(0, bom_);
    const std::string_view tail = oddByte ? std::string_view(bytes_).substr(starts_.back()) : std::string_view();
    const std::uint32_t lastOpened = OpenedLines() ? OpenedLines() - 1 : kNoLine;
    std::uint32_t last = kNoLine;
    for (std::uint32_t id = Next(kHead); id != kNoLine;) {
        const std::uint32_t next = Next(id);
        out += Raw(id);
        const std::string_view own =
            IsOpened(id) ? std::string_view(bytes_).substr(ends_[id], starts_[id + 1] - ends_[id]) : std::string_view();
        // The file keeps ending as it did, with a line end or without, whichever line is last.
        if (next != kNoLine || endsWithLineEnd_)
            out += own.empty() ? std::string_view(lineEnd_) : own;
        last = id;
        id = next;
    }
    // The odd byte stays last; a line of its own unless its line is still as it was.
    if (!tail.empty() && (last != lastOpened || rewritten_.contains(last)) && last != kNoLine &&
        !(out.size() >= lineEnd_.size() && out.ends_with(lineEnd_)))
        out += lineEnd_;
    out += tail;
    return out;
}

}  // namespace board
