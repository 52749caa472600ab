// Writing Big5 through the system's code page 950 gives what glibc gives.
#include <gtest/gtest.h>

#include <string>

#include "platform/TextCodec.h"
#include "tests/support/Big5Samples.h"

TEST(Big5Encoding, SharedSamples)
{
    for (const auto& [text, big5] : psbtest::kBig5Written) {
        std::string out;
        EXPECT_TRUE(Utf8ToBig5(text, out) && out == big5 && Big5ToUtf8(out) == text) << text;
    }
    for (const std::string_view text : psbtest::kBig5Refused) {
        std::string out;
        EXPECT_FALSE(Utf8ToBig5(text, out)) << testing::PrintToString(std::string(text));
    }
}
