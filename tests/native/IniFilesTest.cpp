#include "IniFiles.h"

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// A fresh directory per test, removed with everything in it afterwards.
class IniTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::random_device seed;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = fs::temp_directory_path()
               / ("psb-ini-" + std::to_string(now) + "-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        ASSERT_TRUE(fs::create_directory(dir_));
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string Write(const std::string& bytes, const std::string& name = "sys.ini")
    {
        const fs::path path = dir_ / name;
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        EXPECT_TRUE(out) << path;
        return path.string();
    }

    fs::path dir_;
};

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Utf16Bytes(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

constexpr const char* kMissing = "<missing>";

} // namespace

// ---- names match ignoring ASCII case; values come back as written ----

class IniCase : public IniTest {};

TEST_F(IniCase, SectionAndKeyNamesIgnoreAsciiCase)
{
    const TIniFile ini(Write("[Board PC]\nCaption=Front Desk\n"));
    EXPECT_EQ(ini.ReadString("board pc", "CAPTION", kMissing), "Front Desk");
    EXPECT_EQ(ini.ReadString("BOARD PC", "caption", kMissing), "Front Desk");
    EXPECT_TRUE(ini.SectionExists("bOARD pC"));
}

TEST_F(IniCase, ValuesKeepTheirCase)
{
    const TIniFile ini(Write("[s]\nk=MiXeD cAsE\n"));
    EXPECT_EQ(ini.ReadString("S", "K", kMissing), "MiXeD cAsE");
}

TEST_F(IniCase, OnlyAsciiLettersAreFolded)
{
    // '@' and '`' differ by the case bit but are not letters; so do the second bytes of É and é.
    const TIniFile ini(Write("[x@]\nk@=1\n[\xC3\x89t\xC3\xA9]\n\xC3\x89=2\n"));
    EXPECT_EQ(ini.ReadString("x@", "K@", kMissing), "1");
    EXPECT_FALSE(ini.SectionExists("x`"));
    EXPECT_EQ(ini.ReadString("x@", "k`", kMissing), kMissing);
    EXPECT_TRUE(ini.SectionExists("\xC3\x89t\xC3\xA9"));
    EXPECT_FALSE(ini.SectionExists("\xC3\xA9t\xC3\xA9"));
    EXPECT_EQ(ini.ReadString("\xC3\x89T\xC3\xA9", "\xC3\x89", kMissing), "2");
    EXPECT_EQ(ini.ReadString("\xC3\x89t\xC3\xA9", "\xC3\xA9", kMissing), kMissing);
}

// ---- blanks around names and values are ignored ----

class IniBlanks : public IniTest {};

TEST_F(IniBlanks, SpacesTabsAndVerticalTabsAreTrimmed)
{
    const TIniFile ini(Write(" \t[ \v Desk 1 \t]  \n \v key one \t= \t value one \v \n"));
    EXPECT_EQ(ini.ReadString("Desk 1", "key one", kMissing), "value one");
    EXPECT_TRUE(ini.SectionExists("Desk 1"));
    EXPECT_FALSE(ini.SectionExists(" Desk 1 "));
}

TEST_F(IniBlanks, BlankOnlyValueIsEmpty)
{
    const TIniFile ini(Write("[s]\nk= \t\v \n"));
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "");
}

// ---- ';' at the start of a line is a comment; '#' is ordinary ----

class IniComments : public IniTest {};

TEST_F(IniComments, SemicolonLinesAreSkipped)
{
    const TIniFile ini(Write("[s]\n;a=1\n \t;b=2\nb=3\n"));
    EXPECT_EQ(ini.ReadString("s", "a", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("s", ";a", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("s", "b", kMissing), "3");
}

TEST_F(IniComments, CommentedSectionHeaderOpensNothing)
{
    const TIniFile ini(Write("[s]\n;[t]\nk=1\n"));
    EXPECT_FALSE(ini.SectionExists("t"));
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "1");
}

TEST_F(IniComments, NoEndOfLineComments)
{
    const TIniFile ini(Write("[s]\nk=1 ; not a comment\nh=2 # nor this\n"));
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "1 ; not a comment");
    EXPECT_EQ(ini.ReadString("s", "h", kMissing), "2 # nor this");
}

TEST_F(IniComments, HashIsOrdinary)
{
    const TIniFile ini(Write("[s]\n#k=1\n[#t]\nx=2\n"));
    EXPECT_EQ(ini.ReadString("s", "#k", kMissing), "1");
    EXPECT_EQ(ini.ReadString("#t", "x", kMissing), "2");
}

// ---- '[' opens a section named up to the first ']' ----

class IniSections : public IniTest {};

TEST_F(IniSections, RestOfHeaderLineIsIgnored)
{
    const TIniFile ini(Write("[a] junk=1\nk=2\n[b]c]\nk=3\n"));
    EXPECT_EQ(ini.ReadString("a", "k", kMissing), "2");
    EXPECT_EQ(ini.ReadString("a", "junk", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("b", "k", kMissing), "3");
    EXPECT_FALSE(ini.SectionExists("b]c"));
}

TEST_F(IniSections, MissingCloseBracketStillOpensSection)
{
    const TIniFile ini(Write("[ open ended \t\nk=1\n"));
    EXPECT_EQ(ini.ReadString("open ended", "k", kMissing), "1");
}

TEST_F(IniSections, EmptyNameIsReachable)
{
    const TIniFile ini(Write("[]\nk=1\n[ \t ]\nk=2\n"));
    EXPECT_TRUE(ini.SectionExists(""));
    EXPECT_EQ(ini.ReadString("", "k", kMissing), "1");
}

TEST_F(IniSections, IndentedHeaderOpensSection)
{
    const TIniFile ini(Write("[a]\n  \t[b]\nk=1\n"));
    EXPECT_EQ(ini.ReadString("b", "k", kMissing), "1");
    EXPECT_EQ(ini.ReadString("a", "k", kMissing), kMissing);
}

TEST_F(IniSections, EntriesBeforeFirstSectionBelongToNone)
{
    const TIniFile ini(Write("k=0\n=e\n[]\nother=1\n[s]\nj=2\n"));
    EXPECT_EQ(ini.ReadString("", "k", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("", "", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("", "other", kMissing), "1");
}

TEST_F(IniSections, SectionEndsAtNextHeader)
{
    const TIniFile ini(Write("[a]\nx=1\n[b]\ny=2\n"));
    EXPECT_EQ(ini.ReadString("a", "y", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("b", "x", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("b", "y", kMissing), "2");
}

TEST_F(IniSections, SectionExistsOnlyForHeaders)
{
    const TIniFile ini(Write("[a]\nb=c\n"));
    EXPECT_TRUE(ini.SectionExists("a"));
    EXPECT_FALSE(ini.SectionExists("b"));
    EXPECT_FALSE(ini.SectionExists(""));
    EXPECT_FALSE(ini.SectionExists("a "));
}

// ---- entries: key '=' value ----

class IniEntries : public IniTest {};

TEST_F(IniEntries, LineWithoutEqualsIsNoEntry)
{
    const TIniFile ini(Write("[s]\nlonely\nk=1\n"));
    EXPECT_EQ(ini.ReadString("s", "lonely", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "1");
}

TEST_F(IniEntries, EmptyValueIsNotTheDefault)
{
    const TIniFile ini(Write("[s]\nk=\n"));
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "");
}

TEST_F(IniEntries, KeyEndsAtFirstEquals)
{
    const TIniFile ini(Write("[s]\na = b = c\n"));
    EXPECT_EQ(ini.ReadString("s", "a", kMissing), "b = c");
    EXPECT_EQ(ini.ReadString("s", "a = b", kMissing), kMissing);
}

TEST_F(IniEntries, EmptyKeyMatchesOnlyEmptyIdent)
{
    const TIniFile ini(Write("[s]\n = v\nk=1\n"));
    EXPECT_EQ(ini.ReadString("s", "", kMissing), "v");
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "1");
    EXPECT_EQ(ini.ReadString("s", "v", kMissing), kMissing);
}

TEST_F(IniEntries, MissingSectionOrKeyGivesDefault)
{
    const TIniFile ini(Write("[s]\nk=1\n"));
    EXPECT_EQ(ini.ReadString("t", "k", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("s", "j", ""), "");
    EXPECT_EQ(ini.FileName(), (dir_ / "sys.ini").string());
}

// ---- one matching pair of quotes around a value is dropped ----

class IniQuotes : public IniTest {};

TEST_F(IniQuotes, MatchingPairIsDropped)
{
    const TIniFile ini(Write("[s]\nd=\"two words\"\ns='single'\nb=  \"  inner blanks  \"  \ne=\"\"\n"));
    EXPECT_EQ(ini.ReadString("s", "d", kMissing), "two words");
    EXPECT_EQ(ini.ReadString("s", "s", kMissing), "single");
    EXPECT_EQ(ini.ReadString("s", "b", kMissing), "  inner blanks  ");
    EXPECT_EQ(ini.ReadString("s", "e", kMissing), "");
}

TEST_F(IniQuotes, OnlyOnePairIsDropped)
{
    const TIniFile ini(Write("[s]\nd=\"\"x\"\"\nt=\"\"\"\nm=\"a\"b\"\n"));
    EXPECT_EQ(ini.ReadString("s", "d", kMissing), "\"x\"");
    EXPECT_EQ(ini.ReadString("s", "t", kMissing), "\"");
    EXPECT_EQ(ini.ReadString("s", "m", kMissing), "a\"b");
}

TEST_F(IniQuotes, MismatchedOrLoneQuotesStay)
{
    const TIniFile ini(Write("[s]\na=\"x'\nb='x\"\nc=\"\nd='\ne=\"x\nf=x\"\ng=\"x\" y\n"));
    EXPECT_EQ(ini.ReadString("s", "a", kMissing), "\"x'");
    EXPECT_EQ(ini.ReadString("s", "b", kMissing), "'x\"");
    EXPECT_EQ(ini.ReadString("s", "c", kMissing), "\"");
    EXPECT_EQ(ini.ReadString("s", "d", kMissing), "'");
    EXPECT_EQ(ini.ReadString("s", "e", kMissing), "\"x");
    EXPECT_EQ(ini.ReadString("s", "f", kMissing), "x\"");
    EXPECT_EQ(ini.ReadString("s", "g", kMissing), "\"x\" y");
}

// ---- CR, LF and CR LF all end a line ----

class IniLineEnds : public IniTest {};

TEST_F(IniLineEnds, EachStyleAndMixes)
{
    for (const std::string& end : {"\n"s, "\r"s, "\r\n"s}) {
        const TIniFile ini(Write("[a]" + end + "x=1" + end + "[b]" + end + "y=2" + end));
        EXPECT_EQ(ini.ReadString("a", "x", kMissing), "1") << testing::PrintToString(end);
        EXPECT_EQ(ini.ReadString("b", "y", kMissing), "2") << testing::PrintToString(end);
        EXPECT_EQ(ini.ReadString("a", "y", kMissing), kMissing) << testing::PrintToString(end);
    }
    const TIniFile mixed(Write("[a]\rx=1\r\ny=2\nz=3\n\r[b]\r\r\nw=4"));
    EXPECT_EQ(mixed.ReadString("a", "x", kMissing), "1");
    EXPECT_EQ(mixed.ReadString("a", "y", kMissing), "2");
    EXPECT_EQ(mixed.ReadString("a", "z", kMissing), "3");
    EXPECT_EQ(mixed.ReadString("b", "w", kMissing), "4");
}

TEST_F(IniLineEnds, LineEndIsNotPartOfTheValue)
{
    const TIniFile ini(Write("[s]\r\nk=v\r\n\r\nj=\"q\"\r"));
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "v");
    EXPECT_EQ(ini.ReadString("s", "j", kMissing), "q");
}

TEST_F(IniLineEnds, LastLineWithoutTerminator)
{
    EXPECT_EQ(TIniFile(Write("[s]\nk=last")).ReadString("s", "k", kMissing), "last");
    EXPECT_TRUE(TIniFile(Write("[s]")).SectionExists("s"));
}

// ---- the first of duplicate sections and keys wins ----

class IniDuplicates : public IniTest {};

TEST_F(IniDuplicates, FirstSectionOfANameIsTheOnlyOneSearched)
{
    const TIniFile ini(Write("[PC]\na=1\n[other]\n[pc]\na=2\nb=3\n[Pc]\nc=4\n"));
    EXPECT_EQ(ini.ReadString("PC", "a", kMissing), "1");
    EXPECT_EQ(ini.ReadString("pc", "b", kMissing), kMissing);
    EXPECT_EQ(ini.ReadString("pc", "c", kMissing), kMissing);
}

TEST_F(IniDuplicates, FirstKeyWins)
{
    const TIniFile ini(Write("[s]\nk=first\nK = second\n"));
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "first");
}

TEST_F(IniDuplicates, ManyDuplicatesAmongManySections)
{
    // Enough sections that sorting cannot keep file order by accident.
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "[S" + std::to_string(i % 100) + "]\nv=" + std::to_string(i) + "\n";
    const TIniFile ini(Write(text));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(ini.ReadString("s" + std::to_string(i), "v", kMissing), std::to_string(i));
}

// ---- encodings ----

class IniEncodings : public IniTest {};

TEST_F(IniEncodings, SameBoardInEveryEncoding)
{
    const std::string utf8 = "[PC01]\r\nName=名稱\r\nStatus=故障中\r\n[PC02]\r\nName=狀態\r\nStatus=正常\r\n";
    const std::u16string utf16 = u"[PC01]\r\nName=名稱\r\nStatus=故障中\r\n[PC02]\r\nName=狀態\r\nStatus=正常\r\n";
    const std::string big5 = "[PC01]\r\nName=\xA6\x57\xBA\xD9\r\nStatus=\xAC\x47\xBB\xD9\xA4\xA4\r\n"
                             "[PC02]\r\nName=\xAA\xAC\xBA\x41\r\nStatus=\xA5\xBF\xB1\x60\r\n";
    const std::string files[] = {utf8, "\xEF\xBB\xBF" + utf8, Utf16Bytes(utf16, false), Utf16Bytes(utf16, true), big5};
    for (const std::string& bytes : files) {
        const TIniFile ini(Write(bytes));
        EXPECT_EQ(ini.ReadString("PC01", "Name", kMissing), "名稱");
        EXPECT_EQ(ini.ReadString("PC01", "Status", kMissing), "故障中");
        EXPECT_EQ(ini.ReadString("PC02", "Name", kMissing), "狀態");
        EXPECT_EQ(ini.ReadString("PC02", "Status", kMissing), "正常");
        EXPECT_EQ(ini.SectionNames(), (std::vector<std::string_view>{"PC01", "PC02"}));
    }
}

TEST_F(IniEncodings, NonAsciiNamesMatch)
{
    const TIniFile ini(Write("[\xAA\xAC\xBA\x41]\r\n\xA6\x57\xBA\xD9=1\r\n"));
    EXPECT_EQ(ini.ReadString("狀態", "名稱", kMissing), "1");
}

TEST_F(IniEncodings, Utf16OddLengthStillReads)
{
    const TIniFile le(Write(Utf16Bytes(u"[s]\nk=名稱", false) + "\x01"));
    EXPECT_EQ(le.ReadString("s", "k", kMissing), "名稱");
    const TIniFile be(Write(Utf16Bytes(u"[s]\nk=v\n", true) + "\x5B"));
    EXPECT_EQ(be.ReadString("s", "k", kMissing), "v");
}

TEST_F(IniEncodings, NeitherUtf8NorBig5StillReadsAsciiKeys)
{
    const TIniFile ini(Write("[s]\nbad=\xFF\xFE\x80\xC0\nk=1\n\xFF\n[t]\nj=\xFF" "2\n"));
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "1");
    EXPECT_EQ(ini.ReadString("t", "j", kMissing), "\xEF\xBF\xBD" "2");
    EXPECT_NE(ini.ReadString("s", "bad", kMissing), kMissing);
}

// ---- integers ----

class IniIntegers : public IniTest {};

TEST_F(IniIntegers, DecimalValuesInRange)
{
    const TIniFile ini(Write("[n]\na=12\nb=-5\nc=+7\nd= 42 \ne=2147483647\nf=-2147483648\ng=\"8\"\nh=007\n"));
    EXPECT_EQ(ini.ReadInteger("n", "a", -1), 12);
    EXPECT_EQ(ini.ReadInteger("n", "b", -1), -5);
    EXPECT_EQ(ini.ReadInteger("n", "c", -1), 7);
    EXPECT_EQ(ini.ReadInteger("n", "d", -1), 42);
    EXPECT_EQ(ini.ReadInteger("n", "e", -1), 2147483647);
    EXPECT_EQ(ini.ReadInteger("n", "f", -1), -2147483647 - 1);
    EXPECT_EQ(ini.ReadInteger("n", "g", -1), 8);
    EXPECT_EQ(ini.ReadInteger("n", "h", -1), 7);
}

TEST_F(IniIntegers, AnythingElseGivesDefault)
{
    const std::string bad[] = {"", "12px", "1.5", "0x1F", "2147483648", "-2147483649", "99999999999",
                               "--1", "+-1", "-+1", "- 1", "+", "-", "1 2", "\"\"", "١٢"};
    std::string text = "[n]\n";
    for (std::size_t i = 0; i < std::size(bad); ++i)
        text += "k" + std::to_string(i) + "=" + bad[i] + "\n";
    const TIniFile ini(Write(text));
    for (std::size_t i = 0; i < std::size(bad); ++i)
        EXPECT_EQ(ini.ReadInteger("n", "k" + std::to_string(i), 31337), 31337) << '"' << bad[i] << '"';
    EXPECT_EQ(ini.ReadInteger("n", "absent", -9), -9);
    EXPECT_EQ(ini.ReadInteger("absent", "k0", -9), -9);
}

// ---- bad input never throws and reads as defaults ----

class IniBadInput : public IniTest {};

TEST_F(IniBadInput, EmptyAndBlankFiles)
{
    for (const std::string& bytes : {""s, "\n\n"s, "   "s, "\xEF\xBB\xBF"s, "\xFF\xFE"s}) {
        const TIniFile ini(Write(bytes));
        EXPECT_EQ(ini.ReadString("", "", kMissing), kMissing);
        EXPECT_TRUE(ini.SectionNames().empty());
    }
}

TEST_F(IniBadInput, NulBytesInNamesAndValues)
{
    const TIniFile ini(Write("[a\0b]\nk\0ey=v\0al\0\nnext=1\n\0\n[c]\nz=2"s));
    EXPECT_TRUE(ini.SectionExists("a\0b"s));
    EXPECT_FALSE(ini.SectionExists("a"));
    EXPECT_EQ(ini.ReadString("A\0B"s, "K\0EY"s, kMissing), "v\0al\0"s);
    EXPECT_EQ(ini.ReadString("a\0b"s, "next", kMissing), "1");
    EXPECT_EQ(ini.ReadString("c", "z", kMissing), "2");
}

TEST_F(IniBadInput, BinaryGarbage)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        std::string garbage(64 * 1024, '\0');
        for (char& c : garbage)
            c = static_cast<char>(byte(random));
        const TIniFile ini(Write(garbage + "\n[after garbage]\nk=ok\n"));
        EXPECT_EQ(ini.ReadString("after garbage", "k", kMissing), "ok");
        for (const std::string_view name : ini.SectionNames())
            EXPECT_TRUE(ini.SectionExists(name));
    }
}

TEST_F(IniBadInput, TenMegabyteLineComesBackIntact)
{
    std::string value(10u << 20, 'x');
    for (std::size_t i = 0; i < value.size(); i += 4099)
        value[i] = static_cast<char>('a' + i % 26);
    const TIniFile ini(Write("[s]\nlong=" + value + "\nafter=1\n[" + value + "]\nk=2\n"));
    EXPECT_TRUE(ini.ReadString("s", "long", kMissing) == value);
    EXPECT_EQ(ini.ReadString("s", "after", kMissing), "1");
    EXPECT_EQ(ini.ReadString(value, "k", kMissing), "2");
}

TEST_F(IniBadInput, MillionSections)
{
    std::string text;
    text.reserve(12u << 20);
    for (int i = 1; i <= 1000000; ++i) {
        char line[16] = "[a";
        char* end = std::to_chars(line + 2, line + sizeof line, i).ptr;
        *end++ = ']';
        *end++ = '\n';
        text.append(line, end);
    }
    text += "k=last\n";
    const TIniFile ini(Write(text));
    const std::vector<std::string_view> names = ini.SectionNames();
    ASSERT_EQ(names.size(), 1000000u);
    EXPECT_EQ(names.front(), "a1");
    EXPECT_EQ(names[499999], "a500000");
    EXPECT_EQ(names.back(), "a1000000");
    EXPECT_EQ(ini.ReadString("A1000000", "k", kMissing), "last");
    EXPECT_EQ(ini.ReadString("a999999", "k", kMissing), kMissing);
    EXPECT_TRUE(ini.SectionExists("A777777"));
    EXPECT_FALSE(ini.SectionExists("a1000001"));
}

TEST_F(IniBadInput, LookupsDoNotRescanTheFile)
{
    // 50,000 lookups in a 2.5 MB file: rescanning the file per lookup would take minutes.
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "[PC" + std::to_string(i) + "]\nName=n" + std::to_string(i) + "\nIP=10.0.0.1\n";
    const TIniFile ini(Write(text));
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 50000; ++i)
        ASSERT_EQ(ini.ReadString("pc" + std::to_string(i), "name", kMissing), "n" + std::to_string(i));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// ---- section names ----

class IniSectionNames : public IniTest {};

TEST_F(IniSectionNames, FileOrderFirstSpellingNoRepeats)
{
    const TIniFile ini(Write("x=0\n[Zeta]\n[alpha]\n[ZETA]\n[ Mid ]\n[]\n[Alpha]\n;[hidden]\n[mid\n"));
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string_view>{"Zeta", "alpha", "Mid", ""}));
}

TEST_F(IniSectionNames, ViewsPointIntoTheObjectsOwnText)
{
    std::vector<std::string_view> names;
    {
        const TIniFile ini(Write("[one]\n[two]\n"));
        names = ini.SectionNames();
        ASSERT_EQ(names.size(), 2u);
        fs::remove(dir_ / "sys.ini");
        EXPECT_EQ(names[0], "one");
        EXPECT_EQ(names[1], "two");
        EXPECT_EQ(ini.ReadString("two", "k", kMissing), kMissing);
    }
}

// ---- reading never modifies the file ----

class IniReadOnly : public IniTest {};

TEST_F(IniReadOnly, BytesAndTimeUnchanged)
{
    const std::string bytes = "\xEF\xBB\xBF[s]\r\nk=\"v\"\r\n[s]\r\nk=2\r\n";
    const std::string path = Write(bytes);
    // Back-date the file so a write now would show; read the time back as the system stored it.
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(48));
    const fs::file_time_type past = fs::last_write_time(path);
    {
        const TIniFile ini(path);
        EXPECT_EQ(ini.ReadString("s", "k", kMissing), "v");
        EXPECT_EQ(ini.ReadInteger("s", "missing", 3), 3);
    }
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(fs::last_write_time(path), past);
}

// ---- opening the file ----

class IniFileAccess : public IniTest {};

TEST_F(IniFileAccess, MissingFile)
{
    const TIniFile ini((dir_ / "no such.ini").string());
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), kMissing);
    EXPECT_EQ(ini.ReadInteger("s", "k", 5), 5);
    EXPECT_TRUE(ini.SectionNames().empty());
    EXPECT_FALSE(fs::exists(dir_ / "no such.ini"));
}

TEST_F(IniFileAccess, DirectoryPath)
{
    fs::create_directory(dir_ / "sys.ini");
    const TIniFile ini((dir_ / "sys.ini").string());
    EXPECT_FALSE(ini.SectionExists(""));
    EXPECT_TRUE(ini.SectionNames().empty());
}

TEST_F(IniFileAccess, ReadOnlyFileCanBeRead)
{
    const std::string path = Write("[s]\nk=1\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "1");
}

TEST_F(IniFileAccess, NonAsciiPathIsUtf8)
{
    const fs::path path = dir_ / fs::path(u8"狀態 板.ini");
    std::ofstream(path, std::ios::binary) << "[s]\nk=1\n";
    const std::u8string utf8 = path.u8string();
    const TIniFile ini(std::string(utf8.begin(), utf8.end()));
    EXPECT_EQ(ini.ReadString("s", "k", kMissing), "1");
}
