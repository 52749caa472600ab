// TIniFile over arbitrary file bytes, compared with a line-by-line reference reading of the
// same decoded text: section names, lookups (with names in other letter cases), integers.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "IniFiles.h"
#include "SysUtils.h"
#include "TextCodec.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// The same name in other ASCII letter cases, picked by a seed.
std::string Recase(std::string_view s, unsigned seed)
{
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = ((seed >> (i % 16)) & 1) ? Upper(out[i]) : Lower(out[i]);
    return out;
}

// The file as plain lines, read slowly and simply, for comparison.
class TReference {
public:
    explicit TReference(std::string_view text)
    {
        std::size_t start = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r' && text[i] != '\n')
                continue;
            lines_.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
        if (start < text.size())
            lines_.push_back(text.substr(start));
        for (const std::string_view line : lines_)
            headers_.push_back(Header(line));
    }

    const std::vector<std::string_view>& Lines() const { return lines_; }

    static std::optional<std::string_view> Header(std::string_view line)
    {
        line = Trim(line);
        if (line.empty() || line.front() != '[')
            return std::nullopt;
        line.remove_prefix(1);
        return Trim(line.substr(0, line.find(']')));
    }

    std::vector<std::string_view> SectionNames() const
    {
        std::vector<std::string_view> names;
        for (const auto& name : headers_) {
            if (!name)
                continue;
            bool seen = false;
            for (const std::string_view n : names)
                seen = seen || SameText(n, *name);
            if (!seen)
                names.push_back(*name);
        }
        return names;
    }

    std::optional<std::string> Read(std::string_view section, std::string_view key) const
    {
        std::size_t i = 0;
        while (i < lines_.size() && !(headers_[i] && SameText(*headers_[i], section)))
            ++i;
        if (i == lines_.size())
            return std::nullopt;
        for (++i; i < lines_.size() && !headers_[i]; ++i) {
            const std::size_t eq = lines_[i].find('=');
            if (eq == std::string_view::npos)
                continue;
            const std::string_view k = Trim(lines_[i].substr(0, eq));
            if (!k.empty() && k.front() == ';')
                continue;
            if (!SameText(k, key))
                continue;
            std::string_view v = Trim(lines_[i].substr(eq + 1));
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            return std::string(v);
        }
        return std::nullopt;
    }

private:
    std::vector<std::string_view> lines_;
    std::vector<std::optional<std::string_view>> headers_;
};

// No value holds a line end, so this default shows a missing key.
constexpr std::string_view kMissing = "\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::Text(data, size);
    const std::string path = fuzz::Scratch().Write("board.ini", bytes);
    const TIniFile ini(path);
    FUZZ_CHECK(ini.FileName() == path);

    const std::string text = DecodeText(std::string(bytes));
    const TReference reference(text);

    const std::vector<std::string_view> names = ini.SectionNames();
    const std::vector<std::string_view> expectedNames = reference.SectionNames();
    FUZZ_CHECK(names == expectedNames);

    // Sections to ask for: those in the file, a few in other cases, some that are not there.
    std::vector<std::string> sections;
    for (std::size_t i = 0; i < names.size() && i < 8; ++i) {
        sections.emplace_back(names[i]);
        sections.push_back(Recase(names[i], static_cast<unsigned>(size + i)));
    }
    for (const char* name : {"sys", "PC1", "", "no such section"})
        sections.emplace_back(name);

    // Keys to ask for: the first distinct keys written anywhere, some recased, a few fixed.
    std::vector<std::string> keys;
    for (const std::string_view line : reference.Lines()) {
        if (keys.size() >= 6)
            break;
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos && !TReference::Header(line))
            keys.emplace_back(Trim(line.substr(0, eq)));
    }
    for (std::size_t i = 0, n = keys.size(); i < n; ++i)
        keys.push_back(Recase(keys[i], static_cast<unsigned>(i * 7 + size)));
    for (const char* key : {"count", "Caption", "Left", ""})
        keys.emplace_back(key);

    for (const std::string& section : sections) {
        bool listed = false;
        for (const std::string_view n : expectedNames)
            listed = listed || SameText(n, section);
        const bool exists = ini.SectionExists(section);
        FUZZ_CHECK(exists == listed);
        for (const std::string& key : keys) {
            const std::string value = ini.ReadString(section, key, kMissing);
            const std::optional<std::string> expected = reference.Read(section, key);
            FUZZ_CHECK(value == expected.value_or(std::string(kMissing)));
            if (!exists)
                FUZZ_CHECK(value == kMissing);
            if (expected)
                FUZZ_CHECK(IsValidUtf8(value));

            std::int32_t number = 0;
            const bool isNumber = expected && TryStrToInt(*expected, number);
            const auto fallback = static_cast<std::int32_t>(size % 3) - 1;
            FUZZ_CHECK(ini.ReadInteger(section, key, fallback) == (isNumber ? number : fallback));
        }
    }
    for (const std::string_view name : names)
        FUZZ_CHECK(IsValidUtf8(name) && ini.SectionExists(name));
    return 0;
}
