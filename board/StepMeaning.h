// What an edit of a board document means, apart from the lines it changed: enough to make the
// same edit again on another version of the file. PCs are named by an identity that their
// number does not carry, so that a meaning still names its PC after renumbering.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "board/BoardFile.h"
#include "board/FloorPlan.h"

namespace board {

// A PC's identity within one document: its section's header line id in the lines as opened,
// for a PC opened or added before any conversion to UTF-8; past a conversion, the identity
// the section had before it. The high half counts the conversions a PC added later came after,
// so that no identity is given twice.
using TPcId = std::uint64_t;

struct TMeaning {
    enum TKind { SetValue, AddPc, DeletePc, MovePc, Reorder, ConvertToUtf8, SetPlan };
    TKind kind = SetValue;
    TPcId pc = 0;                    // all but Reorder, ConvertToUtf8 and SetPlan; AddPc: the PC it made
    TPcKey key = TPcKey::Caption;    // SetValue
    std::string text;                // SetValue: as given, a number's text as typed
    TPcEntry entry;                  // AddPc
    std::int32_t number = 0;         // MovePc: the number given
    std::vector<TPcId> order;        // Reorder: the PCs shown, in the number order they took
    bool byteOrderMark = false;      // ConvertToUtf8
    std::optional<TFloorPlan> plan;  // SetPlan: the plan as set, nullopt when taken out
    friend bool operator==(const TMeaning&, const TMeaning&) = default;
};

}  // namespace board
