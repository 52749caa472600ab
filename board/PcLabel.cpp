#include "board/PcLabel.h"

namespace board {

void StylePcLabel(TLabel& label)
{
    label.SetColor(clYellow);
    label.SetAutoSize(false);
    label.SetAlignment(taCenter);
    label.SetLayout(tlCenter);
}

}  // namespace board
