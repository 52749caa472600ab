// The plan of the room that the editor shows under the board, as the board file keeps it: a
// section the status board never reads. Its name is ASCII, so that it reads the same in every
// encoding a board file comes in (UTF-8, UTF-16, Big5) and by every reader of them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/IniFiles.h"

namespace board {

inline constexpr std::string_view kPlanSection = "FloorPlan";
// The keys of the plan's section, in the order a new section is written.
enum class TPlanKey { File, Left, Top, Scale, Opacity };
inline constexpr std::array<std::string_view, 5> kPlanKeys = {"File", "Left", "Top", "Scale", "Opacity"};

struct TFloorPlan {
    // Scale is kept in hundredths of a per cent: a plan lined up by two points rarely comes out
    // at a whole per cent, and a whole one would be off by pixels across a room.
    static constexpr std::int32_t kFullSize = 10000, kSmallest = 1, kLargest = 1000000;
    static constexpr std::int32_t kDefaultOpacity = 40;

    std::string file;                        // as written: relative to the board's folder, or whole
    std::int32_t left = 0, top = 0;          // where the picture's top left corner lies on the board
    std::int32_t scale = kFullSize;          // board pixels per picture pixel, times kFullSize
    std::int32_t opacity = kDefaultOpacity;  // per cent
    friend bool operator==(const TFloorPlan&, const TFloorPlan&) = default;
};

// The value of a key as written: a scale as a per cent with up to two decimals ("37.25").
std::string PlanValue(const TFloorPlan& plan, TPlanKey key);
// Takes a value as the editor reads it; false (the plan unchanged) for one it would not take:
// no plain integer, a scale out of range or an opacity past 0 to 100.
bool ReadPlanValue(TFloorPlan& plan, TPlanKey key, std::string_view text);
// The scale per cent text ("37.25") in hundredths; false when it is none.
bool ReadScale(std::string_view text, std::int32_t& hundredths);
std::string ScaleText(std::int32_t hundredths);

// The plan of a board file, each value the editor would not take left at its default;
// nullopt without the section.
std::optional<TFloorPlan> ReadFloorPlan(const TIniFile& file);

// The picture's name as a board at boardPath keeps it: relative when it lies in the board's
// folder or below, else as given.
std::string PlanFileName(std::string_view boardPath, std::string_view picturePath);
// Where the picture a board at boardPath names lies.
std::string PlanPath(std::string_view boardPath, std::string_view file);

}  // namespace board
