#include "FrameLogic.h"

namespace chokusho {

void FrameLogic::mnuLineDelAll_Click()
{
    Raber_Reset();
}

void FrameLogic::mnuPointHen_Click()
{
    Raber_Reset();
}

void FrameLogic::mnuBlkPara_Click()
{
    Raber_Reset();
}

void FrameLogic::mnuHelpHelp_Click()
{
}

}  // namespace chokusho
