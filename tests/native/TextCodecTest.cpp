#include "platform/text/TextCodec.h"

#include <gtest/gtest.h>

#include "tests/support/Big5Samples.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace std::string_literals;
using enum TTextEncoding;

const std::string R = "\xEF\xBF\xBD";  // U+FFFD

static std::string Utf16(std::u16string_view text, TTextEncoding order)
{
    std::string bytes = order == Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text)
        bytes += order == Utf16LE ? std::string{char(unit), char(unit >> 8)} : std::string{char(unit >> 8), char(unit)};
    return bytes;
}

TEST(DecodeText, ByteOrderMarkElseUtf8ElseBig5)
{
    const std::string bom = "\xEF\xBB\xBF";
    const std::tuple<std::string, std::string, TTextEncoding> rows[] = {
        {bom + "a=名", "a=名", Utf8Bom},
        {bom + "a\xFF" + "b\xE5\x90", "a" + R + "b" + R, Utf8Bom},
        {Utf16(u"k=名稱\r\n", Utf16LE), "k=名稱\r\n", Utf16LE},
        {Utf16(u"k=故障中", Utf16BE), "k=故障中", Utf16BE},
        {Utf16(u"ab", Utf16LE) + "c", "ab", Utf16LE},  // a stray last byte is no character
        {Utf16(u"\U0001F600", Utf16BE), "\xF0\x9F\x98\x80", Utf16BE},
        {bom, "", Utf8Bom},
        {"", "", Utf8},
        {"[PC01]\nName=名稱\n\0tail"s, "[PC01]\nName=名稱\n\0tail"s, Utf8},
        {"Name=\xA6\x57\xBA\xD9\nStatus=\xAC\x47\xBB\xD9\xA4\xA4", "Name=名稱\nStatus=故障中", Big5}};
    for (const auto& [bytes, text, encoding] : rows) {
        TTextEncoding detected = encoding == Big5 ? Utf8 : Big5;
        EXPECT_EQ(DecodeText(bytes, &detected), text) << testing::PrintToString(bytes);
        EXPECT_EQ(detected, encoding) << testing::PrintToString(bytes);
    }
}

TEST(Utf8Validity, StrictAtEveryBoundaryAndAtTheEnd)
{
    for (const std::string& s : {"\x7F"s, "\xC2\x80"s, "\xDF\xBF"s, "\xE0\xA0\x80"s, "\xED\x9F\xBF"s, "\xEE\x80\x80"s,
                                 "\xEF\xBF\xBF"s, "\xF0\x90\x80\x80"s, "\xF4\x8F\xBF\xBF"s, "\x00"s, ""s})
        EXPECT_TRUE(IsValidUtf8(s) && IsValidUtf8("ok" + s + "ok")) << testing::PrintToString(s);
    // Overlong, surrogates, beyond U+10FFFF; then stray and cut sequences.
    std::vector<std::string> bad{"\xC0\x80",         "\xC1\xBF",         "\xE0\x80\x80",        "\xE0\x9F\xBF",
                                 "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",        "\xED\xBF\xBF",
                                 "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xF8\x88\x80\x80\x80"};
    bad.insert(bad.end(),
               {"\xFF", "\xFE", "\x80", "\xBF", "\xC2", "\xE5\x90", "\xF0\x9F\x98", "\xC2\x41", "\xE5\x41\x8D"});
    bad.push_back(std::string(37, 'a') + "\xE5\x90");  // across the fast paths' blocks
    bad.push_back(std::string(64, 'a') + "\x80" + std::string(64, 'a'));
    for (const std::string& s : bad)
        EXPECT_FALSE(IsValidUtf8(s) || IsValidUtf8("ok" + s + "ok")) << testing::PrintToString(s);
}

TEST(Utf16Conversion, BothWaysWithOneReplacementPerBadSequence)
{
    for (const auto& [utf8, utf16] :
         {std::pair{"a\xC3\xA9名\xF0\x9F\x98\x80"s, u"a\u00E9名\U0001F600"s},
          {"a\0b"s, u"a\0b"s},
          // Beyond the Basic Multilingual Plane, with every lead byte: the ideographs of some
          // Taiwanese names (U+20000, U+2A6D6), a plane-3 one, and the last code point.
          {"\xF0\xA0\x80\x80\xF0\xAA\x9B\x96\xF0\xB0\x80\x80\xF1\x80\x80\x81\xF3\xBF\xBF\xBD\xF4\x8F\xBF\xBF"s,
           u"\U00020000\U0002A6D6\U00030000\U00040001\U000FFFFD\U0010FFFF"s}}) {
        EXPECT_EQ(Utf8ToUtf16(utf8), utf16);
        EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
    }
    for (const auto& [utf8, utf16] : {std::pair{"a\xFF" + "b"s, u"a\uFFFDb"},
                                      {"a\xE5\x90" + "b"s, u"a\uFFFDb"},
                                      {"\xED\xA0\x80"s, u"\uFFFD\uFFFD\uFFFD"},
                                      {"\xC0\xAF"s, u"\uFFFD\uFFFD"},
                                      {"\xF0\x9F\x98"s, u"\uFFFD"}})
        EXPECT_EQ(Utf8ToUtf16(utf8), utf16) << testing::PrintToString(std::string(utf8));
    for (const auto& [utf16, utf8] : {std::pair{u"\xD800"s, R},
                                      {u"\xDFFFx"s, R + "x"},
                                      {u"\xDC00\xD800"s, R + R},
                                      {u"\xD800\xD800\xDC00"s, R + "\xF0\x90\x80\x80"}})
        EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
}

TEST(Big5Conversion, KnownNulAndInvalidBytes)
{
    for (const auto& [big5, utf8] : {std::pair{"\xA6\x57\xBA\xD9"s, "名稱"s},
                                     {"\xAC\x47\xBB\xD9\xA4\xA4"s, "故障中"s},
                                     {"\xA5\xBF\xB1\x60"s, "正常"s},
                                     {"\xAA\xAC\xBA\x41"s, "狀態"s},
                                     {"plain ascii =;[]"s, "plain ascii =;[]"s},
                                     {""s, ""s},
                                     {"\x00\xA6\x57\x00\xBA\xD9\x00"s, "\x00名\x00稱\x00"s},
                                     {"a\xFF" + "b"s, "a" + R + "b"},
                                     {"k=\xA6"s, "k=" + R},
                                     {"\xA6\n=1"s, R + "\n=1"},
                                     {"\xA6\x00z"s, R + "\x00z"s}})
        EXPECT_EQ(Big5ToUtf8(big5), utf8) << testing::PrintToString(big5);
}

TEST(Big5Conversion, LargeInputConvertsWhole)
{
    std::string big5, expected;  // eleven-byte lines put characters across every internal boundary
    while (big5.size() < (4u << 20))
        big5 += "Name=\xA6\x57\xBA\xD9\xFF\n", expected += "Name=名稱" + R + "\n";
    EXPECT_TRUE(Big5ToUtf8(big5 + "\xA6") == expected + R);
}

TEST(Big5Encoding, SharedSamples)
{
    EXPECT_EQ(psbtest::Big5SamplesMissed(), std::vector<std::string>{});
}
