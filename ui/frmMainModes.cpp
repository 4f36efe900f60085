#include "FrmEditPntMov.h"
#include "frmMain.h"

namespace chokusho {

void frmMain::showPointMoveDialog()
{
    // The dialog centres itself over this window when it opens.
    FrmEditPntMov dialog(state_, this);
    dialog.exec();
}

}  // namespace chokusho
