// Where the board file lies, which of its PC sections make labels and how one PC entry is
// read: every key name of the board file is written here once, and the field a key names and
// an entry's rectangle.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry/Graphics.h"
#include "platform/text/IniFiles.h"
#include "platform/text/SysUtils.h"

namespace board {

// "sys.ini" beside the executable of that full path, whatever the working directory.
std::string FilePath(std::string_view exeName);

// "PC" followed by the number, as the file names the section of PC i.
std::string SectionName(std::int32_t i);

// The number of a section name that SectionName gives for it (letter case aside, as
// section names match without it), or 0 for any other name.
std::int32_t PcNumberOf(std::string_view name);

// The numbers i with 1 <= i < count whose PC section is in the file, ascending.
// A number without a section would give a label with an empty caption and a 0 x 0
// rectangle, which nobody can see or click; leaving those out makes any count cost only
// as much as the file's own sections.
std::vector<std::int32_t> PcNumbersInFile(const TIniFile& file, std::int32_t count);

// The section and key of the board's size: one more than the number of PCs.
inline constexpr std::string_view kSysSection = "sys";
inline constexpr std::string_view kCountKey = "count";
std::int32_t ReadCount(const TIniFile& file);

// The keys of a PC section, in the order they are read and applied.
enum class TPcKey { Caption, Left, Top, Width, Height };
inline constexpr std::array<std::string_view, 5> kPcKeys = {"Caption", "Left", "Top", "Width", "Height"};

struct TPcEntry {
    std::string caption;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const TPcEntry&, const TPcEntry&) = default;
};

// The number a key other than Caption names.
inline std::int32_t& FieldOf(TPcEntry& entry, TPcKey key)
{
    switch (key) {
    case TPcKey::Left:
        return entry.left;
    case TPcKey::Top:
        return entry.top;
    case TPcKey::Width:
        return entry.width;
    default:
        assert(key == TPcKey::Height);
        return entry.height;
    }
}

inline std::int32_t FieldOf(const TPcEntry& entry, TPcKey key)
{
    return FieldOf(const_cast<TPcEntry&>(entry), key);
}

// The rectangle the entry gives, empty or not, whatever 32-bit values it holds.
inline TRect64 EntryRect(const TPcEntry& entry)
{
    return TRect64::Of(entry.left, entry.top, entry.width, entry.height);
}

// A PC the board shows: its number and its entry.
struct TPc {
    std::int32_t number = 0;
    TPcEntry entry;
};

// Reads PC i's entry in the order the board applies it: the caption, then left, top, width
// and height, each read and handed to apply before the next (apply(caption), then
// apply(key, value)). Missing keys give "" and 0. One pass over the section finds where all
// five values are.
template <class Apply>
void ReadPcEntry(const TIniFile& file, std::int32_t i, Apply&& apply);

// The whole entry at once, for readers that apply nothing.
TPcEntry ReadPcEntry(const TIniFile& file, std::int32_t i);

}  // namespace board

template <class Apply>
void board::ReadPcEntry(const TIniFile& file, std::int32_t i, Apply&& apply)
{
    std::array<std::optional<std::string_view>, kPcKeys.size()> values;
    file.FindValues(SectionName(i), kPcKeys, values);
    apply(std::string(values[0].value_or("")));
    for (const TPcKey key : {TPcKey::Left, TPcKey::Top, TPcKey::Width, TPcKey::Height})
        apply(key, StrToIntDef(values[static_cast<std::size_t>(key)].value_or(""), 0));
}
