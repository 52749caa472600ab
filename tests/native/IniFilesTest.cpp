// The reader on real files; its rules for the text are fuzz_ini's oracle too.
#include "platform/text/IniFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMissing = "<missing>";

struct IniFile : testing::Test {
    std::string Write(const std::string& bytes, const std::string& name = "sys.ini") const
    {
        EXPECT_TRUE(psbtest::WriteBytes(dir_ / name, bytes)) << name;
        return (dir_ / name).string();
    }

    const psbtest::TScratchFolder dir_{"ini"};
};

TEST_F(IniFile, FilesAreOnlyReadAndUnreadableOnesAreEmpty)
{
    const std::string bytes = "\xEF\xBB\xBF[s]\r\nk=\"v\"\r\n[s]\r\nk=2\r\n", path = Write(bytes);
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(48));
    const fs::file_time_type past = fs::last_write_time(path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(TIniFile(path).ReadString("s", "k", kMissing), "v");
    EXPECT_EQ(psbtest::ReadBytes(path), bytes);
    EXPECT_EQ(fs::last_write_time(path), past);
    const TIniFile missing((dir_ / "no such.ini").string()), directory(dir_.Path().string());
    EXPECT_EQ(missing.ReadString("s", "k", kMissing), kMissing);
    EXPECT_FALSE(fs::exists(dir_ / "no such.ini"));
    EXPECT_TRUE(directory.SectionNames().empty());
    EXPECT_EQ(TIniFile(Write("[s]\nk=2\n", "狀態 板.ini")).ReadInteger("s", "k", 0), 2);
}

// A repeated section leaves the index; those after it are still found, by hash and in turn.
TEST_F(IniFile, RepeatedSectionsLeaveOnlyTheFirst)
{
    const TIniFile ini(Write("[a]\nk=1\n[b]\nk=2\n[A]\nk=3\n[c]\nk=4\n[B]\n[d]\nk=5\n"));
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string_view>{"a", "b", "c", "d"}));
    for (const auto& [section, value] : {std::pair{"a", "1"}, {"b", "2"}, {"c", "4"}, {"d", "5"}, {"A", "1"}})
        EXPECT_EQ(ini.ReadString(section, "k", kMissing), value) << section;
}

// A DOS editor's Ctrl-Z and a form feed around a name or value are blanks, inside one they
// stay; a NUL byte ends a name or a value.
TEST_F(IniFile, CtrlZAndFormFeedAreBlanksAndNulEndsANameOrValue)
{
    using namespace std::string_literals;
    const TIniFile ini(
        Write("\f[PC1\0x]\nHeight=48\x1A\nCaption=ab\0cd\nLeft\0junk=7\n\x1A;comment=1\n"
              "\fTop\f=\f5\f\n\f;note=1\nWidth=\f'a\fb'\f\n[\fPC2\f]\f\nk=2\n\x1A"s));
    const struct {
        const char *section, *key, *value;
    } cases[] = {
        {"PC1", "Height", "48"}, {"PC1", "Caption", "ab"},   {"PC1", "Left", "7"},     {"PC1", ";comment", kMissing},
        {"PC1", "Top", "5"},     {"PC1", ";note", kMissing}, {"PC1", "Width", "a\fb"}, {"PC2", "k", "2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, kMissing), c.value) << c.section << " " << c.key;
}

// Several keys in one pass: in any order, the first entry of each, a key asked for twice.
TEST_F(IniFile, FindValuesGivesEachKeyItsFirstValue)
{
    const TIniFile ini(Write("[s]\nb=1\na=2\nB=3\nc=4\n[t]\na=5\n"));
    const std::array<std::string_view, 5> keys{"A", "b", "missing", "B", "a"};
    std::array<std::optional<std::string_view>, 5> values;
    ASSERT_TRUE(ini.FindValues("S", keys, values));
    EXPECT_EQ(values, (decltype(values){"2", "1", std::nullopt, "1", "2"}));
    EXPECT_FALSE(ini.FindValues("u", keys, values));
    EXPECT_EQ(values, decltype(values){});
}

TEST_F(IniFile, TenMegabyteLineComesBackIntact)
{
    std::string value(10u << 20, 'x');
    for (std::size_t i = 0; i < value.size(); i += 4099)
        value[i] = static_cast<char>('a' + i % 26);
    const TIniFile ini(Write("[s]\nlong=" + value + "\nafter=1\n[" + value + "]\nk=2\n"));
    EXPECT_TRUE(ini.ReadString("s", "long", kMissing) == value);
    EXPECT_EQ(ini.ReadString("s", "after", kMissing), "1");
    EXPECT_EQ(ini.ReadString(value, "k", kMissing), "2");
}

// Enough sections that sorting or hashing cannot keep file order by accident.
TEST_F(IniFile, MillionSections)
{
    std::string text;
    std::vector<std::string> names;
    for (int i = 1; i <= 1000000; ++i)
        text += "[" + names.emplace_back("a" + std::to_string(i)) + "]\nk=" + std::to_string(i) + "\n";
    const TIniFile ini(Write(text + "z=last\n[A5]\nk=again\n"));
    EXPECT_TRUE(std::ranges::equal(ini.SectionNames(), names));
    EXPECT_FALSE(ini.SectionExists("a1000001"));
    for (int i = 1; i <= 1000000; i += 20)
        ASSERT_EQ(ini.ReadString("A" + std::to_string(i), "K", kMissing), std::to_string(i));
    EXPECT_EQ(ini.ReadString("A1000000", "z", kMissing), "last");
    EXPECT_EQ(ini.ReadString("a999999", "z", kMissing), kMissing);
}

}  // namespace
