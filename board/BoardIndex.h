// Which line of a board file each value is read from, as the reader takes them: the first
// section of a name, and there the first entry of each key. The checker points its findings
// at these lines and the board document edits them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "board/BoardFile.h"
#include "board/FloorPlan.h"
#include "board/LineStore.h"
#include "platform/text/IniFiles.h"

namespace board {

// A PC section's lines: its header, and the first entry of each key of kPcKeys, or kNoLine.
struct TPcLines {
    std::uint32_t section = kNoLine;
    std::array<std::uint32_t, kPcKeys.size()> keys{kNoLine, kNoLine, kNoLine, kNoLine, kNoLine};
};

// A PC section of the file, shown or not, by its number.
struct TPcSection {
    std::int32_t number = 0;
    TPcLines lines;
};

// The board's count, and the lines of the first [sys] section and its count entry.
struct TSys {
    std::int32_t count = 0;
    std::uint32_t header = kNoLine, countLine = kNoLine;
};

// The lines of the first plan section and there of the first entry of each key of kPlanKeys,
// or kNoLine.
struct TPlanLines {
    std::uint32_t section = kNoLine;
    std::array<std::uint32_t, kPlanKeys.size()> keys{kNoLine, kNoLine, kNoLine, kNoLine, kNoLine};
};

// Notes, line by line in file order, where the board's values are. Lines are named by the
// caller: line numbers, or a store's ids.
class TBoardLineScan {
public:
    void Line(std::uint32_t at, const TIniLine& line);

    // The [sys] lines; the count is not read here.
    const TSys& Sys() const { return sys_; }
    const TPlanLines& Plan() const { return plan_; }
    // Every PC section, by number and then in file order: the first of a number is the one
    // read.
    std::vector<TPcSection> Sections() &&;

private:
    std::vector<TPcSection> found_;
    TSys sys_;
    TPlanLines plan_;
    bool inPc_ = false, inSys_ = false, inPlan_ = false;
};

// The lines of each of numbers (ascending, each with a section in sections, as from
// Sections()) that the reader takes its values from.
std::vector<TPcLines> LinesRead(const std::vector<TPcSection>& sections, const std::vector<std::int32_t>& numbers);

// The board a document shows and where each of its values is, kept up to date as it is edited.
struct TBoardIndex {
    // Every PC section of the file, live or not, by number then in file order: renumbering
    // moves them all alike, so no dead section comes to life and none dies.
    struct TSectionRef {
        std::int32_t number;
        std::uint32_t header;
        friend bool operator<(const TSectionRef& a, const TSectionRef& b) { return a.number < b.number; }
    };

    std::vector<TPc> pcs;           // the PCs shown, in number order
    std::vector<TPcLines> pcLines;  // each one's lines
    std::vector<TSectionRef> sections;
    TSys sys;
    TPlanLines plan;

    // Reads the board from the file's text, whose lines are the store's opened lines.
    TBoardIndex(const TLineStore& lines, std::string text);

    // Where a new entry of a section goes: after its last entry, or its header.
    static std::uint32_t NewEntryAfter(const TLineStore& lines, std::uint32_t header);
    // Where a new PC's section goes: after the last PC shown; on a board showing none, last.
    std::uint32_t NewPcAfter(const TLineStore& lines) const;
};

}  // namespace board
