// The program's start-up as main() does it for a window without a file to open, ending once the
// canvas has been painted.

#include <QApplication>

#include "ApplicationSetup.h"
#include "CanvasWidget.h"
#include "DocumentState.h"
#include "FirstPaint.h"
#include "frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    chokusho::SetUpApplication(app);

    chokusho::DocumentState state;
    chokusho::frmMain window(state);
    chokusho::bench::QuitAfterFirstPaint quit(&window.canvasWidget());
    window.show();
    return app.exec();
}
