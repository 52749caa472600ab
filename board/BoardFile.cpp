#include "board/BoardFile.h"

#include <algorithm>
#include <charconv>

#include "platform/text/IniFiles.h"
#include "platform/text/SysUtils.h"

namespace board {

std::string FilePath(std::string_view exeName)
{
    return ExtractFilePath(exeName) + "sys.ini";
}

std::string SectionName(std::int32_t i)
{
    // Written in place: loading asks for one name per PC.
    char name[2 + 11] = {'P', 'C'};
    return std::string(name, std::to_chars(name + 2, name + sizeof name, i).ptr);
}

std::int32_t PcNumberOf(std::string_view name)
{
    if (name.size() < 3 || (name[0] != 'P' && name[0] != 'p') || (name[1] != 'C' && name[1] != 'c'))
        return 0;
    const std::string_view digits = name.substr(2);
    if (digits.front() == '0')
        return 0;
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
        if (value > INT32_MAX)
            return 0;
    }
    return static_cast<std::int32_t>(value);
}

std::vector<std::int32_t> PcNumbersInFile(const TIniFile& file, std::int32_t count)
{
    std::vector<std::int32_t> numbers;
    file.ForEachSectionName([&](std::string_view name) {
        const std::int32_t i = PcNumberOf(name);
        if (i >= 1 && i < count)
            numbers.push_back(i);
    });
    // Section names are distinct ignoring case, so no number comes twice.
    if (!std::is_sorted(numbers.begin(), numbers.end()))
        std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::int32_t ReadCount(const TIniFile& file)
{
    return file.ReadInteger(kSysSection, kCountKey, 0);
}

TPcEntry ReadPcEntry(const TIniFile& file, std::int32_t i)
{
    struct TCollect {
        TPcEntry& entry;
        void operator()(std::string caption) { entry.caption = std::move(caption); }
        void operator()(TPcKey key, std::int32_t value) { FieldOf(entry, key) = value; }
    };
    TPcEntry entry;
    ReadPcEntry(file, i, TCollect{entry});
    return entry;
}

}  // namespace board
