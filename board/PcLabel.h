// The look of a PC's label, the same on the status board and in the editor.
#pragma once

#include "platform/forms/Controls.h"

namespace board {

// Yellow, its caption centred both ways, its size its own.
void StylePcLabel(TLabel& label);

}  // namespace board
