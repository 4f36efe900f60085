#include <QDesktopServices>
#include <QUrl>

#include "FrmEditInf.h"
#include "FrmEditPnt.h"
#include "QtText.h"
#include "frmMain.h"

namespace chokusho {

bool frmMain::showPointTable()
{
    FrmEditPnt dialog(state_, this);
    return dialog.exec() == QDialog::Accepted;
}

void frmMain::showBlockParams()
{
    FrmEditInf dialog(state_, this);
    dialog.exec();
}

bool frmMain::openDocument(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(Utf8(path)));
}

}  // namespace chokusho
