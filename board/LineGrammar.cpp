#include "board/LineGrammar.h"

#include "platform/text/SysUtils.h"

namespace board {
namespace {

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

bool ReadsAs(const TLineStore& lines, std::string_view raw, TIniLine::TKind kind, std::string_view name,
             std::string_view value)
{
    const TLineInfo info = lines.Classified(raw);
    return info.kind == kind && SameText(info.name, name) && info.value == value;
}

}  // namespace

std::optional<std::string> Encoded(const TLineStore& lines, std::string_view text)
{
    std::string raw;
    if (!lines.Codec().Encode(text, raw))
        return std::nullopt;
    return raw;
}

std::optional<std::string> WithValue(const TLineStore& lines, std::uint32_t id, std::string_view text)
{
    const TLineCodec& c = lines.Codec();
    const std::string_view raw = lines.Raw(id);
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
    const std::optional<std::string> value = Encoded(lines, WrittenValue(text));
    if (!value)
        return std::nullopt;
    std::string line = std::string(raw.substr(0, from * c.Unit())) + *value + std::string(raw.substr(to * c.Unit()));
    if (!ReadsAs(lines, line, TIniLine::Entry, lines.Info(id).name, text))
        return std::nullopt;
    return line;
}

std::optional<std::string> NewEntry(const TLineStore& lines, std::string_view key, std::string_view text)
{
    std::optional<std::string> line = Encoded(lines, std::string(key) + "=" + WrittenValue(text));
    if (line && !ReadsAs(lines, *line, TIniLine::Entry, key, text))
        return std::nullopt;
    return line;
}

std::optional<std::string> Renamed(const TLineStore& lines, std::uint32_t header, std::int64_t number)
{
    const TLineCodec& c = lines.Codec();
    const std::string_view raw = lines.Raw(header);
    const std::size_t units = c.Units(raw);
    std::size_t at = 0;
    while (at < units && c.At(raw, at) != '[')
        ++at;
    while (++at < units && IsBlankUnit(c.At(raw, at))) {
    }
    std::size_t end = at += 2;  // past "PC"
    while (end < units && c.At(raw, end) >= '0' && c.At(raw, end) <= '9')
        ++end;
    const std::string digits = std::to_string(number);
    const std::optional<std::string> encoded = Encoded(lines, digits);
    if (!encoded)
        return std::nullopt;
    std::string line = std::string(raw.substr(0, at * c.Unit())) + *encoded + std::string(raw.substr(end * c.Unit()));
    const TLineInfo info = lines.Classified(line);
    if (info.kind != TIniLine::Section || info.name.size() < 2 || info.name.substr(2) != digits)
        return std::nullopt;
    return line;
}

}  // namespace board
