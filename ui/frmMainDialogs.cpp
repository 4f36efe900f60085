#include "frmMain.h"

namespace chokusho {

void frmMain::showPointTable()
{
}

void frmMain::showBlockParams()
{
}

bool frmMain::openDocument(const std::string&)
{
    return false;
}

}  // namespace chokusho
