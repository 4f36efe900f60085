// The program's start-up as main() does it for a window without a file to open, ending once the
// canvas has been painted: the same look at the command line, the same application set-up, the
// same window.

#include <QApplication>
#include <QStringList>

#include "ApplicationSetup.h"
#include "CanvasWidget.h"
#include "CommandLine.h"
#include "DocumentState.h"
#include "ExportCommand.h"
#include "FirstPaint.h"
#include "frmMain.h"

int main(int argc, char* argv[])
{
    QStringList options;
    for (int i = 0; i < argc; ++i)
        options << QString::fromLocal8Bit(argv[i]);
    if (chokusho::ArgumentProblem(options) || chokusho::AsksForTerminalAnswer(options) ||
        chokusho::AsksForExport(options))
        return 2;  // the probe starts the window only

    QApplication app(argc, argv);
    chokusho::SetUpApplication(app);

    chokusho::DocumentState state;
    chokusho::frmMain window(state);
    chokusho::bench::QuitAfterFirstPaint quit(&window.canvasWidget());
    window.show();
    if (chokusho::FileToOpen(QCoreApplication::arguments()))
        return 2;
    return app.exec();
}
