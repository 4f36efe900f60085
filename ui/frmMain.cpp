#include "frmMain.h"

namespace chokusho {

frmMain::frmMain(DocumentState& state, QWidget* parent) : QMainWindow(parent), state_(state)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("直立消波ブロック設定"));
    resize(759, 529);
    state_.BlkName = kUntitledName;
    state_.SavedData = state_.CurData;
}

}  // namespace chokusho
