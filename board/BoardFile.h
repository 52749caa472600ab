// Where the board file lies and which of its PC sections make labels.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TIniFile;

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

}  // namespace board
