// TryStrToInt against a digit-by-digit reading, and IntToStr read back.
#include <cstring>
#include <optional>

#include "FuzzSupport.h"
#include "SysUtils.h"

// In 64 bits, giving up once past the 32-bit range: slow but obviously right.
static std::optional<std::int32_t> Reference(std::string_view text)
{
    text = fuzz::Trim(text);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    std::int64_t n = 0;
    for (const char c : text)
        if (c < '0' || c > '9' || (n = n * 10 + (c - '0')) > std::int64_t{INT32_MAX} + 1)
            return std::nullopt;
    if (text.empty() || (negative ? -n : n) > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -n : n);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::int32_t value = 0;
    const std::optional<std::int32_t> expected = Reference(fuzz::Text(data, size));
    FUZZ_CHECK(TryStrToInt(fuzz::Text(data, size), value) == expected.has_value());
    FUZZ_CHECK(!expected || value == *expected);

    // Any 32-bit value: canonical decimal text that reads back, bare or between blanks and
    // after a '+', as the next bytes pick.
    if (size >= 7) {
        std::int32_t any = 0, read = 0;
        std::memcpy(&any, data, sizeof any);
        const std::string decimal = IntToStr(any);
        FUZZ_CHECK(decimal == std::to_string(any));
        const std::string pad(data[4] % 3, " \t\v"[data[5] % 3]);
        FUZZ_CHECK(TryStrToInt(pad + (any >= 0 && data[6] % 2 ? "+" : "") + decimal + pad, read) && read == any);
    }
    return 0;
}
