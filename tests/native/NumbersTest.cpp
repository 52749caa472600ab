// Numbers as the board file writes them, and coordinates scaled to the screen's DPI.
#include <gtest/gtest.h>

#include <string>

#include "platform/geometry/Graphics.h"
#include "platform/text/SysUtils.h"

namespace {

TEST(TryStrToInt, DecimalInThirtyTwoBitsBetweenBlanksElseNothing)
{
    const std::pair<std::string, std::int32_t> good[] = {
        {"12", 12}, {"-5", -5}, {"+7", 7}, {" \t42\v ", 42}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"007", 7}, {"-0", 0}};
    for (const auto& [text, expected] : good) {
        std::int32_t value = 31337;
        EXPECT_TRUE(TryStrToInt(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const std::string bad : {"", " ", "12px", "1.5", "0x1F", "2147483648", "-2147483649", "99999999999", "--1",
                                  "+-1", "-+1", "- 1", "+", "-", "1 2", "\"8\"", "\xD9\xA1\xD9\xA2", "\n1"}) {
        std::int32_t value = 31337;
        EXPECT_FALSE(TryStrToInt(bad, value)) << testing::PrintToString(bad);
        EXPECT_EQ(value, 31337) << testing::PrintToString(bad);
    }
}

// Half away from zero, exact at the 32-bit extremes; a rectangle edge by edge.
TEST(ScaleToDpi, HalvesAwayFromZeroAndExactAtTheExtremes)
{
    // Value, DPI, scaled.
    const std::int64_t small[][3] = {{1, 144, 2},  {-1, 144, -2}, {3, 144, 5},  {-3, 144, -5}, {2, 72, 2},
                                     {-2, 72, -2}, {1, 72, 1},    {-1, 72, -1}, {1, 120, 1},   {-1, 120, -1},
                                     {3, 120, 4},  {-3, 120, -4}, {-7, 96, -7}, {0, 144, 0}};
    const std::int64_t extreme[][3] = {{INT32_MAX, 96, INT32_MAX},     {INT32_MIN, 96, INT32_MIN},
                                       {INT32_MAX, 144, 3221225471},   {INT32_MIN, 144, -3221225472},
                                       {-INT32_MAX, 144, -3221225471}, {INT32_MAX, 480, 10737418235},
                                       {INT32_MIN, 480, -10737418240}, {INT32_MAX, 120, 2684354559}};
    for (const auto& [v, dpi, scaled] : small)
        EXPECT_EQ(ScaleToDpi(v, int(dpi)), scaled) << v << " at " << dpi;
    for (const auto& [v, dpi, scaled] : extreme)
        EXPECT_EQ(ScaleToDpi(v, int(dpi)), scaled) << v << " at " << dpi;
    EXPECT_EQ(ScaleToDpi(TRect64{-1, 1, 1, 3}, 144), (TRect64{-2, 2, 2, 5}));
}

// Only letters match across case: bytes a case apart in bit 5 but no letters do not.
TEST(SameText, LettersInEitherCaseOtherBytesExactly)
{
    EXPECT_TRUE(SameText("Caption[PC1]", "cAPTION[pc1]"));
    for (const auto& [a, b] : {std::pair{"@", "`"}, {"[", "{"}, {"^", "~"}, {"\xC3", "\xE3"}, {"a", "ab"}})
        EXPECT_FALSE(SameText(a, b)) << a << " " << b;
}

}  // namespace
