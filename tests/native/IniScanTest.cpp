// The reader's byte-level search, on the four-byte words of the 32-bit build and the eight-byte
// words of the 64-bit ones: a stop at every offset of a word, and every other byte passed.
#include "platform/IniScan.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool Marked(int b)
{
    return b < 0x0E || b == '=';
}

bool Stops(int b)
{
    return b == '\0' || b == '\n' || b == '\r' || b == '=';
}

template <class TWord>
class IniScan : public testing::Test {
};
using TWords = testing::Types<std::uint32_t, std::uint64_t>;
TYPED_TEST_SUITE(IniScan, TWords);

// Any byte at any offset among any unmarked bytes: the lowest mark is that byte's, or there is
// none. Bytes such as 0x0E and '>' just above a marked value take a borrow's false mark, which
// must stay above the true one.
TYPED_TEST(IniScan, LowestMarkIsTheFirstByteBelow0x0EOrEquals)
{
    using TWord = TypeParam;
    constexpr int kSize = sizeof(TWord);
    constexpr TWord kHigh = static_cast<TWord>(~TWord{0} / 0xFF * 0x80);
    for (int filler = 0; filler < 256; ++filler) {
        if (Marked(filler))
            continue;
        for (int b = 0; b < 256; ++b) {
            for (int at = 0; at < kSize; ++at) {
                unsigned char bytes[kSize];
                std::memset(bytes, filler, kSize);
                bytes[at] = static_cast<unsigned char>(b);
                TWord word;
                std::memcpy(&word, bytes, kSize);
                const TWord marks = iniscan::StopMarks(word);
                ASSERT_EQ(marks & ~kHigh, TWord{0});
                if (Marked(b)) {
                    ASSERT_NE(marks, TWord{0}) << "byte " << b << " at " << at << " among " << filler;
                    ASSERT_EQ(std::countr_zero(marks) / 8, at) << "byte " << b << " among " << filler;
                } else {
                    ASSERT_EQ(marks, TWord{0}) << "byte " << b << " at " << at << " among " << filler;
                }
            }
        }
    }
}

// Three words and a tail, filled with one byte that is no stop (a control character, Ctrl-Z,
// a byte of a multi-byte character, ...) or with all of them in turn; each stop at every place
// is found from every start up to it, and without a stop the search runs to the end.
TYPED_TEST(IniScan, NextStopFindsEachStopAtEveryOffsetAndPassesEverythingElse)
{
    using TWord = TypeParam;
    constexpr std::size_t kSize = sizeof(TWord), kLength = 3 * kSize + kSize - 1;
    std::vector<std::string> fillings;
    std::string every;
    for (int c = 1; c < 256; ++c) {
        if (Stops(c))
            continue;
        fillings.emplace_back(kLength, static_cast<char>(c));
        every += static_cast<char>(c);
    }
    for (std::size_t i = 0; i + kLength <= every.size(); i += 7)
        fillings.push_back(every.substr(i, kLength));
    for (const std::string& filling : fillings) {
        for (std::size_t end = 0; end <= kLength; ++end)
            ASSERT_EQ(iniscan::NextStop<TWord>(filling.data(), filling.data() + end) - filling.data(),
                      static_cast<std::ptrdiff_t>(end))
                << "no stop, " << end << " bytes of " << static_cast<int>(static_cast<unsigned char>(filling[0]));
        for (const char stop : {'\0', '\n', '\r', '='}) {
            for (std::size_t at = 0; at < kLength; ++at) {
                std::string text = filling;
                text[at] = stop;
                for (std::size_t start = 0; start <= at && start <= kSize; ++start)
                    ASSERT_EQ(iniscan::NextStop<TWord>(text.data() + start, text.data() + kLength) - text.data(),
                              static_cast<std::ptrdiff_t>(at))
                        << "stop " << static_cast<int>(stop) << " at " << at << " from " << start << " among "
                        << static_cast<int>(static_cast<unsigned char>(filling[0]));
            }
        }
    }
}

// CR, LF and CR LF each end one line; an LF beyond the end is not read.
TEST(IniLineEnd, CrLfAndCrLfEachEndOneLine)
{
    const struct {
        std::string text;
        std::size_t end, stop, next;
    } cases[] = {
        {"a\nb", 1, 3, 2},   {"a\rb", 1, 3, 2},  {"a\r\nb", 1, 4, 3}, {"a\n\rb", 1, 4, 2}, {"a\r\rb", 1, 4, 2},
        {"a\n\nb", 1, 4, 2}, {"a\r\n", 1, 3, 3}, {"a\r\n", 1, 2, 2},  {"a", 1, 1, 1},      {"", 0, 0, 0},
    };
    for (const auto& c : cases) {
        const char* text = c.text.data();
        EXPECT_EQ(iniscan::NextLineStart(text + c.end, text + c.stop) - text, static_cast<std::ptrdiff_t>(c.next))
            << testing::PrintToString(c.text) << " up to " << c.stop;
    }
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(iniscan::IsLineEnd(static_cast<char>(c)), c == '\n' || c == '\r') << c;
}

}  // namespace
