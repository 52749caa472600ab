// Basic runtime services: the exception type, paths and integer text.
#pragma once

#include <cstdint>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// The one exception family of the class library; the message is UTF-8.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Memory ran out. What std::bad_alloc becomes before the operator is told, so the message
// names the cause instead of saying nothing.
class EOutOfMemory : public Exception {
public:
    EOutOfMemory();
};

// Directory part of a path, ending in its separator ('\\', '/' or a drive colon);
// empty when the path has none.
std::string ExtractFilePath(std::string_view path);
// The rest: the file's name.
std::string ExtractFileName(std::string_view path);

// Decimal text of a 32-bit integer: no leading zeros, '-' only when negative.
std::string IntToStr(std::int32_t value);

// An ASCII capital made small; any other byte kept. The one folding of letter case that
// names are matched and hashed by.
inline char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Whether two texts are equal ignoring ASCII letter case; other bytes must be equal. Inline:
// the reader asks it for every key it looks up.
inline bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // Names are mostly written as they are asked for: equal bytes need no folding, and are
    // passed four at a time.
    std::size_t i = 0;
    for (std::uint32_t x, y; i + 4 <= a.size(); i += 4) {
        std::memcpy(&x, a.data() + i, 4);
        std::memcpy(&y, b.data() + i, 4);
        if (x != y)
            break;
    }
    for (; i < a.size(); ++i) {
        if (a[i] != b[i] && LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}
// The pattern with each {0} … {9} replaced by that value; a number without a value is kept.
std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string_view> values);
std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string_view>& values);

// The text with ASCII capitals made small; other bytes kept.
std::string LowerCase(std::string_view text);

// Reads text as a signed 32-bit decimal integer. Blanks (space, tab, vertical tab) around
// the number are allowed, then an optional '+' or '-' and at least one digit; anything else,
// or a value outside the 32-bit range, fails.
bool TryStrToInt(std::string_view text, std::int32_t& value);
// The same reading, or defaultValue when the text is no such number.
std::int32_t StrToIntDef(std::string_view text, std::int32_t defaultValue);
