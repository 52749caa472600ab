// TIniFile over any bytes against a simple line-by-line reading of the decoded text; and the
// line walker, which must see what TIniFile reads.
#include <optional>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/text/IniFiles.h"
#include "platform/text/SysUtils.h"
#include "platform/text/TextCodec.h"

// Names and values end at a NUL byte; blanks around them go.
static std::string_view Field(std::string_view s)
{
    return fuzz::Trim(s.substr(0, s.find('\0')));
}

// The same name with its ASCII letters' cases flipped as a seed picks.
static std::string Recase(std::string s, std::size_t seed)
{
    for (char& c : s)
        if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z' && ((seed = seed * 5 + 1) & 4))
            c = static_cast<char>(c ^ 0x20);
    return s;
}

// The file as plain lines, read slowly and simply.
struct TReference {
    std::vector<std::string_view> lines, names;
    std::vector<std::optional<std::string_view>> headers;

    explicit TReference(std::string_view text)
    {
        for (std::size_t start = 0, end; start < text.size(); start = end + 1 + (text.compare(end, 2, "\r\n") == 0)) {
            end = std::min(text.find_first_of("\r\n", start), text.size());
            const std::string_view line = lines.emplace_back(text.substr(start, end - start)), t = fuzz::Trim(line);
            headers.push_back(t.starts_with('[') ? std::optional(Field(t.substr(1, t.find(']') - 1))) : std::nullopt);
            if (headers.back() && !Listed(*headers.back()))
                names.push_back(*headers.back());
        }
    }

    bool Listed(std::string_view section) const
    {
        return std::any_of(names.begin(), names.end(), [&](std::string_view n) { return fuzz::SameText(n, section); });
    }

    std::optional<std::string> Read(std::string_view section, std::string_view key) const
    {
        const auto in = [&](const auto& header) { return header && fuzz::SameText(*header, section); };
        for (auto i = std::find_if(headers.begin(), headers.end(), in) - headers.begin() + 1;
             i < std::ssize(lines) && !headers[i]; ++i) {
            const std::size_t eq = lines[i].find('=');
            const std::string_view k = Field(lines[i].substr(0, eq));
            if (eq == std::string_view::npos || fuzz::Trim(lines[i]).starts_with(';') || !fuzz::SameText(k, key))
                continue;
            std::string_view v = Field(lines[i].substr(eq + 1));
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            return std::string(v);
        }
        return std::nullopt;
    }
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TIniFile ini(fuzz::WriteScratch("board.ini", fuzz::Text(data, size)));
    const std::string text = DecodeText(std::string(fuzz::Text(data, size)));
    const TReference reference(text);
    const std::vector<std::string_view> names = ini.SectionNames();
    FUZZ_CHECK(names == reference.names);

    // Names to ask for: a few fixed ones, and some from the file both as written and recased.
    std::vector<std::string> sections{"sys", "PC1", "", "no such section"}, keys{"count", "Caption", "Left", ""};
    for (std::size_t i = 0; i < names.size() && i < 8; ++i)
        sections.insert(sections.end(), {std::string(names[i]), Recase(std::string(names[i]), size + i)});
    for (const std::string_view line : reference.lines)
        if (const std::string_view key = Field(line.substr(0, line.find('=')));
            line.find('=') != line.npos && keys.size() < 16)
            keys.insert(keys.end(), {std::string(key), Recase(std::string(key), size + keys.size())});

    const std::vector<std::string_view> keyViews(keys.begin(), keys.end());
    for (const std::string& section : sections) {
        FUZZ_CHECK(ini.SectionExists(section) == reference.Listed(section) && IsValidUtf8(section));
        // All keys in one pass, some of them asked for twice in other letter cases.
        std::vector<std::optional<std::string_view>> values(keys.size());
        FUZZ_CHECK(ini.FindValues(section, keyViews, values) == reference.Listed(section));
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const std::optional<std::string> expected = reference.Read(section, keys[k]);
            FUZZ_CHECK(values[k].has_value() == expected.has_value() && (!expected || *values[k] == *expected));
            // No value holds a line end, so this default shows a missing key.
            const std::string value = ini.ReadString(section, keys[k], "\n");
            FUZZ_CHECK(value == expected.value_or("\n") && IsValidUtf8(value));
            std::int32_t number = static_cast<std::int32_t>(size % 3) - 1, fallback = number;
            FUZZ_CHECK(ini.ReadInteger(section, keys[k], fallback) ==
                       (expected && TryStrToInt(*expected, number) ? number : fallback));
        }
    }

    // The walker: the same sections, and in each the first value of every key.
    std::vector<std::string_view> walked, keysHere;
    bool searched = false;
    ForEachIniLine(text, [&](const TIniLine& line) {
        const auto has = [&](const std::vector<std::string_view>& list) {
            return std::any_of(list.begin(), list.end(),
                               [&](std::string_view n) { return fuzz::SameText(n, line.name); });
        };
        if (line.kind == TIniLine::Section) {
            if ((searched = !has(walked)))
                walked.push_back(line.name);
            keysHere.clear();
        } else if (line.kind == TIniLine::Entry && searched && keysHere.size() < 64 && !has(keysHere)) {
            keysHere.push_back(line.name);
            FUZZ_CHECK(ini.ReadString(walked.back(), line.name, "\n") == line.value);
        }
    });
    FUZZ_CHECK(walked == names);
    return 0;
}
