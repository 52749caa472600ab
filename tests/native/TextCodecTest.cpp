#include "TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

using namespace std::string_literals;

namespace {

const std::string kFffd = "\xEF\xBF\xBD";

std::string Bytes(std::u16string_view text, bool bigEndian)
{
    std::string bytes;
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

} // namespace

// ---- byte order marks ----

TEST(DecodeTextBom, Utf8BomIsDroppedAndReported)
{
    TTextEncoding detected = TTextEncoding::Big5;
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF" "a=\xE5\x90\x8D"s, &detected), "a=\xE5\x90\x8D");
    EXPECT_EQ(detected, TTextEncoding::Utf8Bom);
}

TEST(DecodeTextBom, Utf8BomWithDamagedBytesStillGivesValidUtf8)
{
    TTextEncoding detected = TTextEncoding::Big5;
    const std::string text = DecodeText("\xEF\xBB\xBF" "a\xFF" "b\xE5\x90"s, &detected);
    EXPECT_EQ(detected, TTextEncoding::Utf8Bom);
    EXPECT_EQ(text, "a" + kFffd + "b" + kFffd);
}

TEST(DecodeTextBom, Utf16LittleEndian)
{
    TTextEncoding detected = TTextEncoding::Utf8;
    EXPECT_EQ(DecodeText("\xFF\xFE" + Bytes(u"k=名稱\r\n", false), &detected), "k=名稱\r\n");
    EXPECT_EQ(detected, TTextEncoding::Utf16LE);
}

TEST(DecodeTextBom, Utf16BigEndian)
{
    TTextEncoding detected = TTextEncoding::Utf8;
    EXPECT_EQ(DecodeText("\xFE\xFF" + Bytes(u"k=故障中", true), &detected), "k=故障中");
    EXPECT_EQ(detected, TTextEncoding::Utf16BE);
}

TEST(DecodeTextBom, Utf16OddTrailingByteIsDropped)
{
    EXPECT_EQ(DecodeText("\xFF\xFE" + Bytes(u"ab", false) + "c"), "ab");
    EXPECT_EQ(DecodeText("\xFE\xFF" + Bytes(u"ab", true) + "\x00"s), "ab");
    EXPECT_EQ(DecodeText("\xFF\xFE" "x"s), "");
}

TEST(DecodeTextBom, BomAloneGivesEmptyText)
{
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"), "");
    EXPECT_EQ(DecodeText("\xFF\xFE"), "");
    EXPECT_EQ(DecodeText("\xFE\xFF"), "");
    EXPECT_EQ(DecodeText(""), "");
}

TEST(DecodeTextBom, Utf16SurrogatePairsAndUnpairedHalves)
{
    // U+1F600 is D83D DE00.
    EXPECT_EQ(DecodeText("\xFF\xFE" + Bytes(u"\U0001F600", false)), "\xF0\x9F\x98\x80");
    EXPECT_EQ(DecodeText("\xFE\xFF" + Bytes(u"\U0001F600", true)), "\xF0\x9F\x98\x80");
    const std::u16string broken = {u'a', 0xD83D, u'b', 0xDE00, u'c', 0xDE00, 0xD83D, 0xD83D};
    EXPECT_EQ(DecodeText("\xFF\xFE" + Bytes(broken, false)), "a" + kFffd + "b" + kFffd + "c" + kFffd + kFffd + kFffd);
}

// ---- no byte order mark: UTF-8 or else Big5 ----

TEST(DecodeTextDetection, ValidUtf8IsKeptAsIs)
{
    const std::string text = "[PC01]\nName=名稱\n\x00tail"s;
    TTextEncoding detected = TTextEncoding::Big5;
    EXPECT_EQ(DecodeText(text, &detected), text);
    EXPECT_EQ(detected, TTextEncoding::Utf8);
}

TEST(DecodeTextDetection, InvalidUtf8IsReadAsBig5)
{
    TTextEncoding detected = TTextEncoding::Utf8;
    EXPECT_EQ(DecodeText("Name=\xA6\x57\xBA\xD9\nStatus=\xAC\x47\xBB\xD9\xA4\xA4"s, &detected),
              "Name=名稱\nStatus=故障中");
    EXPECT_EQ(detected, TTextEncoding::Big5);
}

TEST(DecodeTextDetection, Big5TrailByteInAsciiRangeIsPartOfTheCharacter)
{
    // "狀態" is AA AC BA 41: the 'A' belongs to the second character.
    EXPECT_EQ(DecodeText("\xAA\xAC\xBA\x41"s), "狀態");
}

// ---- strict UTF-8 ----

TEST(Utf8Validity, AcceptsEveryBoundaryOfEachLength)
{
    for (const std::string& s : {"\x7F"s, "\xC2\x80"s, "\xDF\xBF"s, "\xE0\xA0\x80"s, "\xED\x9F\xBF"s, "\xEE\x80\x80"s,
                                "\xEF\xBF\xBF"s, "\xF0\x90\x80\x80"s, "\xF4\x8F\xBF\xBF"s, "\x00"s, ""s})
        EXPECT_TRUE(IsValidUtf8(s)) << testing::PrintToString(s);
}

TEST(Utf8Validity, RejectsOverlongsSurrogatesAndTooLarge)
{
    for (const std::string& s : {"\xC0\x80"s, "\xC1\xBF"s, "\xE0\x80\x80"s, "\xE0\x9F\xBF"s, "\xF0\x80\x80\x80"s,
                                "\xF0\x8F\xBF\xBF"s, "\xED\xA0\x80"s, "\xED\xBF\xBF"s, "\xF4\x90\x80\x80"s,
                                "\xF5\x80\x80\x80"s, "\xF8\x88\x80\x80\x80"s, "\xFF"s, "\xFE"s})
        EXPECT_FALSE(IsValidUtf8("ok" + s + "ok")) << testing::PrintToString(s);
}

TEST(Utf8Validity, RejectsCutAndStrayContinuationBytes)
{
    for (const std::string& s : {"\x80"s, "\xBF"s, "\xC2"s, "\xE5\x90"s, "\xF0\x9F\x98"s, "\xC2\x41"s, "\xE5\x41\x8D"s})
        EXPECT_FALSE(IsValidUtf8(s)) << testing::PrintToString(s);
    // A sequence cut by the end of the text, after a long ASCII run.
    EXPECT_FALSE(IsValidUtf8(std::string(37, 'a') + "\xE5\x90"));
    EXPECT_FALSE(IsValidUtf8(std::string(64, 'a') + "\x80" + std::string(64, 'a')));
}

// ---- UTF-8 <-> UTF-16 ----

TEST(Utf16Conversion, KnownCharactersBothWays)
{
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9名\xF0\x9F\x98\x80"), u"a\u00E9名\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"a\u00E9名\U0001F600"), "a\xC3\xA9名\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("a\0b"s), u"a\0b"s);
    EXPECT_EQ(Utf16ToUtf8(u"a\0b"s), "a\0b"s);
}

TEST(Utf16Conversion, EveryScalarValueRoundTrips)
{
    std::u16string all;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        if (cp < 0x10000) {
            all += static_cast<char16_t>(cp);
        } else {
            all += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            all += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    const std::string utf8 = Utf16ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(utf8.size(), 0x80u * 1 + 0x780u * 2 + (0x10000u - 0x800u - 0x800u) * 3 + 0x100000u * 4);
    EXPECT_TRUE(Utf8ToUtf16(utf8) == all);
}

TEST(Utf16Conversion, InvalidUtf8BecomesOneReplacementPerBadSequence)
{
    EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("a\xE5\x90" "b"), u"a\uFFFDb");          // cut three-byte sequence
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // a surrogate: no valid prefix
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98"), u"\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC2"), u"\uFFFD");
}

TEST(Utf16Conversion, UnpairedSurrogatesBecomeReplacement)
{
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800}), kFffd);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDFFF, u'x'}), kFffd + "x");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, 0xD800}), kFffd + kFffd);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, 0xD800, 0xDC00}), kFffd + "\xF0\x90\x80\x80");
}

// ---- Big5 (code page 950) ----

TEST(Big5Conversion, KnownCharacters)
{
    EXPECT_EQ(Big5ToUtf8("\xA6\x57\xBA\xD9"), "名稱");
    EXPECT_EQ(Big5ToUtf8("\xAC\x47\xBB\xD9\xA4\xA4"), "故障中");
    EXPECT_EQ(Big5ToUtf8("\xA5\xBF\xB1\x60"), "正常");
    EXPECT_EQ(Big5ToUtf8("plain ascii =;[]"), "plain ascii =;[]");
    EXPECT_EQ(Big5ToUtf8(""), "");
}

TEST(Big5Conversion, NulBytesPassThroughAnywhere)
{
    EXPECT_EQ(Big5ToUtf8("\x00\xA6\x57\x00\xBA\xD9\x00"s), "\x00名\x00稱\x00"s);
    EXPECT_EQ(Big5ToUtf8("\x00\x00"s), "\x00\x00"s);
}

TEST(Big5Conversion, InvalidBytesBecomeReplacementAndAsciiSurvives)
{
    EXPECT_EQ(Big5ToUtf8("a\xFF" "b"), "a" + kFffd + "b");
    EXPECT_EQ(Big5ToUtf8("k=\xA6"), "k=" + kFffd);                // lead byte cut by the end
    EXPECT_EQ(Big5ToUtf8("\xA6\n=1"), kFffd + "\n=1");           // lead byte before a line end
    EXPECT_EQ(Big5ToUtf8("\xA6\x00z"s), kFffd + "\x00z"s);
}

TEST(Big5Conversion, RandomBytesGiveValidUtf8AndKeepLowBytes)
{
    // Bytes below 0x40 are never half of a Big5 character, so line ends, '=' and NULs
    // must all come through whatever surrounds them.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 50; ++round) {
        std::string garbage(4096, '\0');
        for (char& c : garbage)
            c = static_cast<char>(byte(random));
        const std::string text = Big5ToUtf8(garbage);
        ASSERT_TRUE(IsValidUtf8(text));
        for (const char low : {'\0', '\n', '\r', '='})
            ASSERT_EQ(std::count(text.begin(), text.end(), low), std::count(garbage.begin(), garbage.end(), low));
    }
}

TEST(Big5Conversion, LargeInputConvertsWhole)
{
    // Eleven-byte lines put characters across every kind of internal boundary.
    const std::string line = "Name=\xA6\x57\xBA\xD9\xFF\n";
    const std::string expectedLine = "Name=名稱" + kFffd + "\n";
    std::string big5, expected;
    while (big5.size() < (4u << 20)) {
        big5 += line;
        expected += expectedLine;
    }
    big5 += "\xA6";
    expected += kFffd;
    EXPECT_TRUE(Big5ToUtf8(big5) == expected);
}
