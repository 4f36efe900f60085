#include <QDesktopServices>
#include <QUrl>

#include "FrmEditInf.h"
#include "FrmEditPnt.h"
#include "QtText.h"
#include "frmMain.h"

namespace chokusho {

std::optional<BlockData> frmMain::showPointTable() { return showPointTableWith(state_.CurData); }

std::optional<BlockData> frmMain::showPointTableWith(const BlockData& start)
{
    FrmEditPnt dialog(state_, start, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Confirmed();
}

std::optional<BlockData> frmMain::showBlockParams()
{
    FrmEditInf dialog(state_, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Confirmed();
}

bool frmMain::openDocument(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(Utf8(path)));
}

}  // namespace chokusho
