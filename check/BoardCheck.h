// Reads a board file as the status board does and finds what the board silently skips.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometry/Graphics.h"
#include "board/BoardFile.h"
#include "check/Messages.h"
#include "platform/text/TextCodec.h"

namespace check {

struct TFinding {
    std::size_t line = 1;  // 1-based line of the board file
    TMsg msg{};
    std::vector<std::string> args;
    std::int32_t pc = 0;  // the PC whose label it concerns, or 0
};

// A control of the window's fixed part, in client coordinates.
struct TFixedControl {
    std::string name;
    std::string caption;
    TRect64 rect;
    bool native = false;  // a window of its own, above every painted label
};

struct TShownLabel : board::TPcEntry {
    std::int32_t pc = 0;

    // In a painted stack: a label is painted, at 96 DPI.
    bool IsWindowless() const { return true; }
    TRect64 PaintedRect() const { return board::EntryRect(*this); }
};

struct TBoardCheck {
    TTextEncoding encoding = TTextEncoding::Utf8;
    std::int64_t clientWidth = 0, clientHeight = 0;
    std::string fontName;
    std::int32_t fontHeight = 11;  // pixels, at 96 DPI
    std::vector<TFixedControl> controls;
    std::vector<TShownLabel> labels;  // as created, bottom first
    std::vector<TFinding> findings;   // sorted by line
    std::size_t warnings = 0, errors = 0;
};

// Never fails: any bytes give an answer. With the board's path, what its values name on disk
// is looked at too (the floor plan's picture).
TBoardCheck CheckBoard(std::string bytes, const std::optional<std::string>& boardPath = std::nullopt);

// Width of a caption in the window's font, from the widths of its characters.
std::int64_t CaptionWidth(std::string_view caption, std::int32_t fontHeight);

std::string EncodingName(TTextEncoding encoding);

// The report: one line per finding, FILE:LINE: warning|error: TEXT, then the summary.
std::string TextReport(const TBoardCheck& check, std::string_view fileName, TLanguage language);
std::string JsonReport(const TBoardCheck& check, std::string_view fileName, TLanguage language);
// The client area at 96 DPI as the program shows it at start, each finding about a label
// marked with the number of its line in the text report.
std::string SvgPicture(const TBoardCheck& check);

}  // namespace check
