#include "board/BoardIndex.h"

#include <algorithm>

#include "platform/text/SysUtils.h"

namespace board {

void TBoardLineScan::Line(std::uint32_t at, const TIniLine& line)
{
    if (line.kind == TIniLine::Section) {
        const std::int32_t number = PcNumberOf(line.name);
        inPc_ = number > 0;
        if (inPc_)
            found_.push_back({number, {at}});
        inSys_ = SameText(line.name, kSysSection) && sys_.header == kNoLine;
        if (inSys_)
            sys_.header = at;
        inPlan_ = SameText(line.name, kPlanSection) && plan_.section == kNoLine;
        if (inPlan_)
            plan_.section = at;
    } else if (line.kind == TIniLine::Entry) {
        if (inSys_ && sys_.countLine == kNoLine && SameText(line.name, kCountKey))
            sys_.countLine = at;
        if (inPlan_)
            for (std::size_t k = 0; k < kPlanKeys.size(); ++k)
                if (SameText(line.name, kPlanKeys[k]) && plan_.keys[k] == kNoLine)
                    plan_.keys[k] = at;
        if (!inPc_)
            return;
        TPcLines& lines = found_.back().lines;
        for (std::size_t k = 0; k < kPcKeys.size(); ++k)
            if (SameText(line.name, kPcKeys[k]) && lines.keys[k] == kNoLine)
                lines.keys[k] = at;
    }
}

std::vector<TPcSection> TBoardLineScan::Sections() &&
{
    std::stable_sort(found_.begin(), found_.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return std::move(found_);
}

std::vector<TPcLines> LinesRead(const std::vector<TPcSection>& sections, const std::vector<std::int32_t>& numbers)
{
    std::vector<TPcLines> lines;
    lines.reserve(numbers.size());
    auto first = sections.begin();
    for (const std::int32_t i : numbers) {
        first = std::lower_bound(first, sections.end(), i, [](const auto& s, std::int32_t n) { return s.number < n; });
        lines.push_back(first->lines);
    }
    return lines;
}

TBoardIndex::TBoardIndex(const TLineStore& lines, std::string text)
{
    TBoardLineScan scan;
    ForEachIniLine(text, [&](const TIniLine& line) {
        const auto id = static_cast<std::uint32_t>(line.number - 1);
        // A line past the store's would name no line of the file.
        if (id < lines.OpenedLines())
            scan.Line(id, line);
    });
    sys = scan.Sys();
    plan = scan.Plan();
    const std::vector<TPcSection> found = std::move(scan).Sections();
    sections.reserve(found.size());
    for (const TPcSection& section : found)
        sections.push_back({section.number, section.lines.section});

    const TIniFile file("", std::move(text));
    sys.count = ReadCount(file);
    const std::vector<std::int32_t> numbers = PcNumbersInFile(file, sys.count);
    pcs.reserve(numbers.size());
    for (const std::int32_t i : numbers)
        pcs.push_back({i, ReadPcEntry(file, i)});
    pcLines = LinesRead(found, numbers);
}

std::uint32_t TBoardIndex::NewEntryAfter(const TLineStore& lines, std::uint32_t header)
{
    std::uint32_t lastEntry = header;
    for (std::uint32_t id = lines.Next(header); id != kNoLine; id = lines.Next(id)) {
        const TIniLine::TKind kind = lines.Info(id).kind;
        if (kind == TIniLine::Section)
            break;
        if (kind == TIniLine::Entry)
            lastEntry = id;
    }
    return lastEntry;
}

std::uint32_t TBoardIndex::NewPcAfter(const TLineStore& lines) const
{
    return pcs.empty() ? lines.Last() : NewEntryAfter(lines, pcLines.back().section);
}

}  // namespace board
