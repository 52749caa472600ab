// Writing Big5 through the system's code page 950 gives what glibc gives.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/Big5Samples.h"

TEST(Big5Encoding, SharedSamples)
{
    EXPECT_EQ(psbtest::Big5SamplesMissed(), std::vector<std::string>{});
}
