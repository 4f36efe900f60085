#include <QApplication>

#include "DocumentState.h"
#include "Icons.h"
#include "frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chokusho"));
    QApplication::setWindowIcon(chokusho::ProgramIcon());

    chokusho::DocumentState state;
    chokusho::frmMain window(state);
    window.show();
    return app.exec();
}
