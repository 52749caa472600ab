// Where the editor's window puts things, shared by the files that lay it out, in design pixels.
#pragma once

#include <cstdint>

namespace editform {

// The board's client area sits this far into the canvas, so what lies beyond its edges shows.
inline constexpr std::int64_t kMargin = 16;
inline constexpr std::int32_t kPanelWidth = 280, kStatusHeight = 22, kRow = 26;
// Room for the scroll bars, which show when PCs lie beyond what the canvas shows.
inline constexpr std::int32_t kScrollBarRoom = 18;
// Tab orders from here on are the generator's, then the findings'.
inline constexpr int kGeneratorTabs = 100;
// The panel's fields and a few lines of findings.
inline constexpr std::int32_t kPanelHeight = 500;

}  // namespace editform
