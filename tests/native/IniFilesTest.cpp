#include "IniFiles.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

constexpr const char* kMissing = "<missing>";
// As a key, kHeader asks SectionExists instead of ReadString; the answer is kFound or kMissing.
constexpr const char* kHeader = "<header>";
constexpr const char* kFound = "<found>";

using enum TTextEncoding;

using Row = std::array<std::string, 4>;  // board text, section, key, expected

// Every non-ASCII character the boards use, as {UTF-8, UTF-16, Big5}.
const std::tuple<std::string_view, char16_t, std::string_view> kGlyphs[] = {
    {"名", u'名', "\xA6\x57"}, {"稱", u'稱', "\xBA\xD9"}, {"故", u'故', "\xAC\x47"}, {"障", u'障', "\xBB\xD9"},
    {"中", u'中', "\xA4\xA4"}, {"狀", u'狀', "\xAA\xAC"}, {"態", u'態', "\xBA\x41"}, {"正", u'正', "\xA5\xBF"},
    {"常", u'常', "\xB1\x60"}};

std::string Encode(std::string_view utf8, TTextEncoding to)
{
    std::string out = to == Utf8Bom ? "\xEF\xBB\xBF" : to == Utf16LE ? "\xFF\xFE" : to == Utf16BE ? "\xFE\xFF" : "";
    for (std::size_t i = 0; i < utf8.size(); ) {
        auto [u8, unit, big5] = std::tuple(utf8.substr(i, 1), static_cast<char16_t>(utf8[i]), utf8.substr(i, 1));
        for (const auto& glyph : kGlyphs)
            if (utf8.substr(i).starts_with(std::get<0>(glyph)))
                std::tie(u8, unit, big5) = glyph;
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += to == Big5 ? big5 : to == Utf16LE ? std::string{low, high} : to == Utf16BE ? std::string{high, low} : u8;
        i += u8.size();
    }
    return out;
}

struct IniFile : testing::Test {
    void SetUp() override { ASSERT_TRUE(fs::create_directory(dir_)); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& bytes, const std::string& name = "sys.ini") const
    {
        EXPECT_TRUE((std::ofstream(dir_ / name, std::ios::binary) << bytes).flush()) << name;
        return (dir_ / name).string();
    }

    // Consecutive rows with the same text are asked of one TIniFile, in order.
    void Check(const std::vector<Row>& rows) const
    {
        std::optional<TIniFile> ini;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto& [text, section, key, expected] = rows[i];
            if (i == 0 || text != rows[i - 1][0])
                ini.emplace(Write(text));
            const std::string found = key == kHeader ? (ini->SectionExists(section) ? kFound : kMissing)
                                                     : ini->ReadString(section, key, kMissing);
            EXPECT_EQ(found, expected) << testing::PrintToString(text) << " [" << section << "] " << key;
        }
    }

    const fs::path dir_ = fs::temp_directory_path() / ("psb-ini-" + std::to_string(std::random_device{}()));
};

using IniBadInput = IniFile;

} // namespace

TEST_F(IniFile, NamesMatchIgnoringAsciiCaseAndSurroundingBlanks)
{
    const std::string a = "[Board PC]\nCaption=Front Desk\n[s]\nk=MiXeD cAsE\n";
    const std::string b = "[x@]\nk@=1\n[\xC3\x89t\xC3\xA9]\n\xC3\x89=2\n";
    const std::string c = " \t[ \v Desk 1 \t]  \n \v key one \t= \t value one \v \nblank= \t\v \n";
    Check({{a, "board pc", "CAPTION", "Front Desk"}, {a, "BOARD PC", "caption", "Front Desk"},
           {a, "bOARD pC", kHeader, kFound}, {a, "S", "K", "MiXeD cAsE"}, {b, "x@", "K@", "1"},
           {b, "x`", kHeader, kMissing}, {b, "x@", "k`", kMissing}, {b, "\xC3\x89t\xC3\xA9", kHeader, kFound},
           {b, "\xC3\xA9t\xC3\xA9", kHeader, kMissing}, {b, "\xC3\x89T\xC3\xA9", "\xC3\x89", "2"},
           {b, "\xC3\x89t\xC3\xA9", "\xC3\xA9", kMissing}, {c, "Desk 1", "key one", "value one"},
           {c, "Desk 1", kHeader, kFound}, {c, " Desk 1 ", kHeader, kMissing}, {c, "Desk 1", "blank", ""}});
}

TEST_F(IniFile, OnlyALeadingSemicolonStartsAComment)
{
    const std::string a = "[s]\n;a=1\n \t;b=2\nb=3\n;[t]\nk=1\ne=1 ; not a comment\nh=2 # nor this\n#k=1\n[#t]\nx=2\n";
    Check({{a, "s", "a", kMissing}, {a, "s", ";a", kMissing}, {a, "s", "b", "3"}, {a, "t", kHeader, kMissing},
           {a, "s", "k", "1"}, {a, "s", "e", "1 ; not a comment"}, {a, "s", "h", "2 # nor this"},
           {a, "s", "#k", "1"}, {a, "#t", "x", "2"}});
}

TEST_F(IniFile, SectionIsNamedUpToTheFirstCloseBracket)
{
    const std::string a = "[a] junk=1\nk=2\n[b]c]\nk=3\n", b = "[ open ended \t\nk=1\n", c = "[]\nk=1\n[ \t ]\nk=2\n";
    const std::string d = "[a]\n  \t[b]\nk=1\n", e = "k=0\n=e\n[]\nother=1\n[s]\nj=2\n", f = "[a]\nx=1\n[b]\ny=2\n";
    Check({{a, "a", "k", "2"}, {a, "a", "junk", kMissing}, {a, "b", "k", "3"}, {a, "b]c", kHeader, kMissing},
           {b, "open ended", "k", "1"}, {c, "", kHeader, kFound}, {c, "", "k", "1"}, {d, "b", "k", "1"},
           {d, "a", "k", kMissing}, {e, "", "k", kMissing}, {e, "", "", kMissing}, {e, "s", "k", kMissing},
           {e, "", "other", "1"}, {f, "a", "y", kMissing}, {f, "b", "x", kMissing}, {f, "b", "y", "2"},
           {f, "a", kHeader, kFound}, {f, "x", kHeader, kMissing}, {f, "", kHeader, kMissing},
           {f, "a ", kHeader, kMissing}});
}

TEST_F(IniFile, EntryIsKeyUpToTheFirstEqualsThenValue)
{
    const std::string a = "[s]\nlonely\nk=1\ne=\na = b = c\n = v\n";
    Check({{a, "s", "lonely", kMissing}, {a, "s", "k", "1"}, {a, "s", "e", ""}, {a, "s", "a", "b = c"},
           {a, "s", "a = b", kMissing}, {a, "s", "", "v"}, {a, "s", "v", kMissing}, {a, "t", "k", kMissing}});
    EXPECT_EQ(TIniFile(Write(a)).ReadString("s", "j", ""), "");
    EXPECT_EQ(TIniFile(Write(a)).FileName(), (dir_ / "sys.ini").string());
}

TEST_F(IniFile, OneMatchingPairOfQuotesIsDropped)
{
    const auto v = [](const std::string& in, const char* out) { return Row{"[s]\nk=" + in + "\n", "s", "k", out}; };
    Check({v("\"two words\"", "two words"), v("'single'", "single"), v("  \"  inner blanks  \"  ", "  inner blanks  "),
           v("\"\"", ""), v("\"\"x\"\"", "\"x\""), v("\"\"\"", "\""), v("\"a\"b\"", "a\"b"), v("\"x'", "\"x'"),
           v("'x\"", "'x\""), v("\"", "\""), v("'", "'"), v("\"x", "\"x"), v("x\"", "x\""), v("\"x\" y", "\"x\" y")});
}

TEST_F(IniFile, CrOrLfOrCrLfEndsALine)
{
    const std::string m = "[a]\rx=1\r\ny=2\nz=3\n\r[b]\r\r\nw=4", c = "[s]\r\nk=v\r\n\r\nj=\"q\"\r", u = "[s]\nk=last";
    std::vector<Row> rows = {{m, "a", "x", "1"}, {m, "a", "y", "2"}, {m, "a", "z", "3"}, {m, "b", "w", "4"},
                             {c, "s", "k", "v"}, {c, "s", "j", "q"}, {u, "s", "k", "last"},
                             {"[s]", "s", kHeader, kFound}};
    for (const std::string end : {"\n", "\r", "\r\n"}) {
        const std::string a = "[a]" + end + "x=1" + end + "[b]" + end + "y=2" + end;
        rows.insert(rows.end(), {{a, "a", "x", "1"}, {a, "b", "y", "2"}, {a, "a", "y", kMissing}});
    }
    Check(rows);
}

TEST_F(IniFile, FirstOfDuplicateSectionsAndKeysWinsAndIsListedOnce)
{
    const std::string a = "[PC]\na=1\n[other]\n[pc]\na=2\nb=3\n[Pc]\nc=4\n", b = "[s]\nk=first\nK = second\n";
    std::vector<Row> rows = {{a, "PC", "a", "1"}, {a, "pc", "b", kMissing}, {a, "pc", "c", kMissing},
                             {b, "s", "k", "first"}};
    std::string many;  // enough sections that sorting cannot keep file order by accident
    for (int i = 0; i < 3000; ++i)
        many += "[S" + std::to_string(i % 100) + "]\nv=" + std::to_string(i) + "\n";
    for (int i = 0; i < 100; ++i)
        rows.push_back({many, "s" + std::to_string(i), "v", std::to_string(i)});
    Check(rows);
    const TIniFile ini(Write("x=0\n[Zeta]\n[alpha]\n[ZETA]\n[ Mid ]\n[]\n[Alpha]\n;[hidden]\n[mid\n"));
    fs::remove(dir_ / "sys.ini");
    const std::vector<std::string_view> names = ini.SectionNames();
    EXPECT_EQ(ini.ReadString("zeta", "k", kMissing), kMissing);
    EXPECT_EQ(names, (std::vector<std::string_view>{"Zeta", "alpha", "Mid", ""}));
}

TEST_F(IniFile, SameBoardInEveryEncodingAndDamagedText)
{
    const std::string le = Encode("[s]\nk=名稱", Utf16LE) + "\x01", be = Encode("[s]\nk=v\n", Utf16BE) + "\x5B";
    const std::string bad = "[s]\nbad=\xFF\xFE\x80\xC0\nk=1\n\xFF\n[t]\nj=\xFF" "2\n";
    std::vector<Row> rows = {{le, "s", "k", "名稱"}, {be, "s", "k", "v"}, {bad, "s", "k", "1"},
                             {bad, "t", "j", "\xEF\xBF\xBD" "2"}};
    const std::string board = "[PC01]\r\nName=名稱\r\nStatus=故障中\r\n[PC02]\r\nName=狀態\r\nStatus=正常\r\n"
                              "[狀態]\r\n名稱=1\r\n";
    for (const TTextEncoding to : {Utf8, Utf8Bom, Utf16LE, Utf16BE, Big5}) {
        const std::string bytes = Encode(board, to);
        EXPECT_EQ(TIniFile(Write(bytes)).SectionNames(), (std::vector<std::string_view>{"PC01", "PC02", "狀態"}));
        rows.insert(rows.end(), {{bytes, "PC01", "Name", "名稱"}, {bytes, "PC01", "Status", "故障中"},
                                 {bytes, "PC02", "Name", "狀態"}, {bytes, "PC02", "Status", "正常"},
                                 {bytes, "狀態", "名稱", "1"}});
    }
    Check(rows);
    EXPECT_NE(TIniFile(Write(bad)).ReadString("s", "bad", kMissing), kMissing);
}

TEST_F(IniFile, IntegersAreDecimalInRangeElseTheDefault)
{
    const std::pair<std::string, std::optional<std::int32_t>> values[] = {
        {"12", 12}, {"-5", -5}, {"+7", 7}, {" 42 ", 42}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"\"8\"", 8}, {"007", 7}, {"", {}}, {"12px", {}}, {"1.5", {}}, {"0x1F", {}}, {"2147483648", {}},
        {"-2147483649", {}}, {"99999999999", {}}, {"--1", {}}, {"+-1", {}}, {"-+1", {}}, {"- 1", {}}, {"+", {}},
        {"-", {}}, {"1 2", {}}, {"\"\"", {}}, {"١٢", {}}};
    std::string text = "[n]\n";
    for (std::size_t i = 0; i < std::size(values); ++i)
        text += "k" + std::to_string(i) + "=" + values[i].first + "\n";
    const TIniFile ini(Write(text));
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(ini.ReadInteger("n", "k" + std::to_string(i), 31337), values[i].second.value_or(31337))
            << values[i].first;
    EXPECT_EQ(ini.ReadInteger("n", "absent", -9), -9);
    EXPECT_EQ(ini.ReadInteger("absent", "k0", -9), -9);
}

TEST_F(IniBadInput, EmptyFilesAndNulBytes)
{
    for (const std::string& bytes : {""s, "\n\n"s, "   "s, "\xEF\xBB\xBF"s, "\xFF\xFE"s}) {
        const TIniFile ini(Write(bytes));
        EXPECT_EQ(ini.ReadString("", "", kMissing), kMissing);
        EXPECT_TRUE(ini.SectionNames().empty());
    }
    const std::string n = "[a\0b]\nk\0ey=v\0al\0\nnext=1\n\0\n[c]\nz=2"s;
    Check({{n, "a\0b"s, kHeader, kFound}, {n, "a", kHeader, kMissing}, {n, "A\0B"s, "K\0EY"s, "v\0al\0"s},
           {n, "a\0b"s, "next", "1"}, {n, "c", "z", "2"}});
}

TEST_F(IniBadInput, BinaryGarbage)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::string garbage(64 * 1024, '\0');
        std::ranges::generate(garbage, [&] { return static_cast<char>(random()); });
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
    std::vector<std::string> names;
    for (int i = 1; i <= 1000000; ++i)
        text += "[" + names.emplace_back("a" + std::to_string(i)) + "]\nk=" + std::to_string(i) + "\n";
    const TIniFile ini(Write(text + "z=last\n"));
    EXPECT_TRUE(std::ranges::equal(ini.SectionNames(), names));
    EXPECT_TRUE(ini.SectionExists("A777777"));
    EXPECT_FALSE(ini.SectionExists("a1000001"));
    const auto start = std::chrono::steady_clock::now();  // rescanning the file for each lookup would take minutes
    for (int i = 1; i <= 1000000; i += 20)
        ASSERT_EQ(ini.ReadString("A" + std::to_string(i), "K", kMissing), std::to_string(i));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(ini.ReadString("A1000000", "z", kMissing), "last");
    EXPECT_EQ(ini.ReadString("a999999", "z", kMissing), kMissing);
}

TEST_F(IniFile, FilesAreOnlyReadAndUnreadableOnesAreEmpty)
{
    const std::string bytes = "\xEF\xBB\xBF[s]\r\nk=\"v\"\r\n[s]\r\nk=2\r\n", path = Write(bytes);
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(48));
    const fs::file_time_type past = fs::last_write_time(path);
    EXPECT_EQ(TIniFile(path).ReadString("s", "k", kMissing), "v");
    EXPECT_EQ(TIniFile(path).ReadInteger("s", "missing", 3), 3);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
    EXPECT_EQ(fs::last_write_time(path), past);
    const TIniFile missing((dir_ / "no such.ini").string()), directory(dir_.string());
    EXPECT_EQ(missing.ReadString("s", "k", kMissing), kMissing);
    EXPECT_EQ(missing.ReadInteger("s", "k", 5), 5);
    EXPECT_TRUE(missing.SectionNames().empty());
    EXPECT_FALSE(fs::exists(dir_ / "no such.ini"));
    EXPECT_FALSE(directory.SectionExists(""));
    EXPECT_TRUE(directory.SectionNames().empty());
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(TIniFile(path).ReadString("s", "k", kMissing), "v");
    EXPECT_EQ(TIniFile(Write("[s]\nk=2\n", "狀態 板.ini")).ReadString("s", "k", kMissing), "2");
}
