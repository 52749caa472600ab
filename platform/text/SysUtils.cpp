#include "platform/text/SysUtils.h"

#include <charconv>

EOutOfMemory::EOutOfMemory() : Exception("記憶體不足，這項工作無法完成。") {}

std::string ExtractFilePath(std::string_view path)
{
    const auto cut = path.find_last_of("\\/:");
    if (cut == std::string_view::npos)
        return {};
    return std::string(path.substr(0, cut + 1));
}

std::string ExtractFileName(std::string_view path)
{
    return std::string(path.substr(ExtractFilePath(path).size()));
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
}  // namespace

std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string_view>& values)
{
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t n = i + 2 < pattern.size() && pattern[i] == '{' && pattern[i + 2] == '}'
                                  ? static_cast<std::size_t>(pattern[i + 1] - '0')
                                  : values.size();
        if (n < values.size()) {
            text += values[n];
            i += 2;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> values)
{
    return FillPlaceholders(pattern, std::vector<std::string_view>(values));
}

std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

bool TryStrToInt(std::string_view text, std::int32_t& value)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    // from_chars takes '-' but not '+'; after a '+' only digits may follow.
    const bool plus = !text.empty() && text.front() == '+';
    if (plus)
        text.remove_prefix(1);
    if (text.empty() || !((!plus && text.front() == '-') || (text.front() >= '0' && text.front() <= '9')))
        return false;
    std::int32_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t defaultValue)
{
    std::int32_t value = 0;
    return TryStrToInt(text, value) ? value : defaultValue;
}
