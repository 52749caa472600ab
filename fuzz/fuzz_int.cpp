// TryStrToInt against a plain reference reading, and IntToStr read back.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "SysUtils.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

// Digit by digit in 64 bits, stopping once past the 32-bit range: slow but obviously right.
std::optional<std::int32_t> Reference(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string Canonical(std::int32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    return buffer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::Text(data, size);

    std::int32_t value = 0;
    const bool ok = TryStrToInt(text, value);
    const std::optional<std::int32_t> expected = Reference(text);
    FUZZ_CHECK(ok == expected.has_value());
    if (ok) {
        FUZZ_CHECK(value == *expected);
        std::int32_t again = 0;
        FUZZ_CHECK(TryStrToInt(IntToStr(value), again) && again == value);
    }

    // Any 32-bit value: its decimal text is canonical and reads back, bare or with blanks
    // and a '+' picked by the next bytes.
    if (size >= 4) {
        std::int32_t any;
        std::memcpy(&any, data, sizeof any);
        const std::string decimal = IntToStr(any);
        FUZZ_CHECK(decimal == Canonical(any));
        std::int32_t read = 0;
        FUZZ_CHECK(TryStrToInt(decimal, read) && read == any);

        static constexpr char kBlanks[] = {' ', '\t', '\v'};
        std::string padded;
        std::size_t i = 4;
        for (; i < size && i < 8 && data[i] % 4 != 3; ++i)
            padded += kBlanks[data[i] % 4];
        if (any >= 0 && i < size && data[i] % 2 == 0)
            padded += '+';
        padded += decimal;
        for (std::size_t j = i; j < size && j < i + 4 && data[j] % 4 != 3; ++j)
            padded += kBlanks[data[j] % 4];
        read = 0;
        FUZZ_CHECK(TryStrToInt(padded, read) && read == any);
    }
    return 0;
}
