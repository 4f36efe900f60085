#include "FileDialogs.h"
#include "FrmBlkShoSel.h"
#include "QtText.h"
#include "frmMain.h"

namespace chokusho {

std::string frmMain::saveFileDialog(const SaveDialogRequest& spec)
{
    SaveFileDialog dialog(this, QStringLiteral("名前を付けて保存"), Utf8(spec.initialFolder), Utf8(spec.filter),
                          spec.targetOf);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (!spec.fileName.empty())
        dialog.selectFile(Utf8(spec.fileName));
    return dialog.run();
}

PickedBlock frmMain::showPicker()
{
    FrmBlkShoSel picker(state_, folders_.filesFolder(), this);
    picker.exec();
    if (picker.result() != QDialog::Accepted)
        return {};
    return {picker.BlkNm(), picker.FileName()};
}

}  // namespace chokusho
