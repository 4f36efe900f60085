#include "FrameLogic.h"

namespace chokusho {

void FrameLogic::Picture1_MouseDown(int, int, int)
{
}

void FrameLogic::Picture1_MouseMove(int, int, int)
{
}

void FrameLogic::Picture1_MouseUp(int, int, int)
{
}

void FrameLogic::Pnt_AreaSel(int, int, int, int)
{
}

void FrameLogic::mnuLineIn_Click()
{
    Raber_Reset();
}

void FrameLogic::mnuLineDel_Click()
{
    Raber_Reset();
}

void FrameLogic::mnuPointDel_Click()
{
    Raber_Reset();
}

void FrameLogic::mnuPointMov_Click()
{
    Raber_Reset();
}

void FrameLogic::mnuLineKind_Click()
{
    Raber_Reset();
}

}  // namespace chokusho
