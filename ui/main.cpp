#include <QApplication>

#include "DocumentState.h"
#include "frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    chokusho::DocumentState state;
    chokusho::frmMain window(state);
    window.show();
    return app.exec();
}
