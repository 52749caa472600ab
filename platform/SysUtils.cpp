#include "platform/SysUtils.h"

#include <cstdint>

EOutOfMemory::EOutOfMemory() : Exception("記憶體不足，這項工作無法完成。") {}

std::string ExtractFilePath(std::string_view path)
{
    const auto cut = path.find_last_of("\\/:");
    if (cut == std::string_view::npos)
        return {};
    return std::string(path.substr(0, cut + 1));
}

std::string IntToStr(std::int32_t value)
{
    return std::to_string(value);
}

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}
char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
}  // namespace

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = Lower(c);
    return lower;
}

bool TryStrToInt(std::string_view text, std::int32_t& value)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (negative || text.front() == '+'))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    // The magnitude in 64 bits, so the most negative number fits and any overflow shows at
    // the digit that causes it; a board reads four numbers per PC.
    const std::int64_t limit = negative ? -std::int64_t{INT32_MIN} : INT32_MAX;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return false;
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}
