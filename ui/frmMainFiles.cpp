#include "frmMain.h"

namespace chokusho {

std::string frmMain::saveFileDialog(const SaveDialogSpec&)
{
    return {};
}

std::string frmMain::showPicker()
{
    return {};
}

}  // namespace chokusho
