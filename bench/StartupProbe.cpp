// The program's start-up as main() does it, ending once the canvas has been painted.

#include <QApplication>

#include "CanvasWidget.h"
#include "DocumentState.h"
#include "FirstPaint.h"
#include "Icons.h"
#include "frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chokusho"));
    QApplication::setWindowIcon(chokusho::ProgramIcon());

    chokusho::DocumentState state;
    chokusho::frmMain window(state);
    chokusho::bench::QuitAfterFirstPaint quit(&window.canvasWidget());
    window.show();
    return app.exec();
}
