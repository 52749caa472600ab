// The reader's byte-level search, on the words of the 32-bit build and of the 64-bit ones.
#include "platform/text/IniScan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

template <class TWord>
class IniScan : public testing::Test {
};
using TWords = testing::Types<std::uint32_t, std::uint64_t>;
TYPED_TEST_SUITE(IniScan, TWords);

// Three words and a tail, filled with each byte that is no stop (control characters, high
// bytes, '>' and 0x0E just above the marked ones, ...) and with runs of them all: each stop at
// every offset is found from every start up to it; without a stop the search runs to the end.
TYPED_TEST(IniScan, FindsEachStopAtEveryOffsetAndPassesEveryOtherByte)
{
    constexpr std::size_t kSize = sizeof(TypeParam), kLength = 4 * kSize - 1;
    const auto next = [](const std::string& s, std::size_t from, std::size_t to) {
        return static_cast<std::size_t>(iniscan::NextStop<TypeParam>(s.data() + from, s.data() + to) - s.data());
    };
    std::vector<std::string> fillings;
    std::string every;
    for (int c = 1; c < 256; ++c)
        if (c != '\n' && c != '\r' && c != '=') {
            fillings.emplace_back(kLength, static_cast<char>(c));
            every += static_cast<char>(c);
        }
    for (std::size_t i = 0; i + kLength <= every.size(); i += 7)
        fillings.push_back(every.substr(i, kLength));
    for (const std::string& filling : fillings) {
        const int first = static_cast<unsigned char>(filling[0]);
        for (std::size_t end = 0; end <= kLength; ++end)
            ASSERT_EQ(next(filling, 0, end), end) << "no stop among " << first;
        for (const char stop : {'\0', '\n', '\r', '='})
            for (std::size_t at = 0; at < kLength; ++at) {
                std::string text = filling;
                text[at] = stop;
                for (std::size_t start = 0; start <= at && start <= kSize; ++start)
                    ASSERT_EQ(next(text, start, kLength), at) << int(stop) << " from " << start << " among " << first;
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
}

}  // namespace
