#include "frmMain.h"

namespace chokusho {

void frmMain::showPointMoveDialog()
{
}

}  // namespace chokusho
