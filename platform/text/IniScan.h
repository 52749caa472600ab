// The .ini reader's byte-level rules: where a line ends and where the next one starts, and the
// word-at-a-time search for the bytes an entry's walk stops at. Only IniFiles.cpp and its
// tests use it; the search takes the word type so that the tests try the 32-bit build's
// four-byte words as well as eight-byte ones.
#pragma once

#include <bit>
#include <cstddef>
#include <cstring>

namespace iniscan {

// CR, LF and CR LF all end a line.
inline bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// The start of the line after the one that ends at end, its CR or LF, or at stop when it is
// the text's last line.
inline const char* NextLineStart(const char* end, const char* stop)
{
    if (end == stop)
        return stop;
    return end + (end[0] == '\r' && stop - end > 1 && end[1] == '\n' ? 2 : 1);
}

// The bytes of a word below 0x0E (the line ends, NUL and a few other control characters) and
// its '=' bytes, as their 0x80 bits. A borrow can mark bytes above a marked one, never below
// it, so the lowest mark is exact; with no such byte there is no mark.
template <class TWord>
constexpr TWord StopMarks(TWord v)
{
    constexpr TWord kOnes = static_cast<TWord>(~TWord{0} / 0xFF), kHigh = static_cast<TWord>(kOnes * 0x80);
    const TWord equals = v ^ static_cast<TWord>(kOnes * '=');
    return static_cast<TWord>((((v - kOnes * 0x0E) & ~v) | ((equals - kOnes) & ~equals)) & kHigh);
}

// The first line end, '=' or NUL in [p, stop), or stop. A marked control character that is no
// stop is passed.
template <class TWord = std::size_t>
inline const char* NextStop(const char* p, const char* stop)
{
    static_assert(std::endian::native == std::endian::little, "the lowest mark is the first byte");
    const auto isStop = [](char c) { return IsLineEnd(c) || c == '=' || c == '\0'; };
    while (static_cast<std::size_t>(stop - p) >= sizeof(TWord)) {
        TWord v;
        std::memcpy(&v, p, sizeof v);
        const TWord marks = StopMarks(v);
        if (!marks) {
            p += sizeof(TWord);
            continue;
        }
        p += std::countr_zero(marks) / 8;
        if (isStop(*p))
            return p;
        ++p;
    }
    while (p < stop && !isStop(*p))
        ++p;
    return p;
}

}  // namespace iniscan
