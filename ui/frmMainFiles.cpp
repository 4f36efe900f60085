#include <QDir>
#include <QFileDialog>

#include "FrmBlkShoSel.h"
#include "QtText.h"
#include "frmMain.h"

namespace chokusho {

std::string frmMain::saveFileDialog(const SaveDialogSpec& spec)
{
    // Qt's own dialog on every platform: the same on each, and one that tests can fill in.
    QFileDialog dialog(this, QStringLiteral("名前を付けて保存"), Utf8(spec.initialFolder), Utf8(spec.filter));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The suffix is added before the dialog asks about overwriting, so the question covers a
    // name typed without it.
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    // Qt's own words are English unless a translation is loaded; the ones in sight are set here.
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("保存する場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存(&S)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
    if (!spec.fileName.empty())
        dialog.selectFile(Utf8(spec.fileName));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return {};
    return ToUtf8(QDir::toNativeSeparators(chosen.first()));
}

std::string frmMain::showPicker()
{
    FrmBlkShoSel picker(state_, folders_.program, this);
    picker.exec();
    return picker.result() == QDialog::Accepted ? picker.BlkNm() : std::string();
}

}  // namespace chokusho
