#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <optional>

#include "ApplicationSetup.h"
#include "CheckCommand.h"
#include "CommandLine.h"
#include "DocumentState.h"
#include "ExportCommand.h"
#include "ImportCommand.h"
#include "QtText.h"
#include "frmMain.h"

int main(int argc, char* argv[])
{
    // Wrong arguments, "--version" and "--help" are answered without a window, and so without a display.
    QStringList options;
    for (int i = 0; i < argc; ++i)
        options << QString::fromLocal8Bit(argv[i]);
    if (const auto problem = chokusho::ArgumentProblem(options))
        return chokusho::ReportWrongArguments(*problem);
    if (chokusho::AsksForTerminalAnswer(options)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("chokusho"));
        const auto answer = chokusho::TerminalAnswer(QCoreApplication::arguments(),
                                                     chokusho::frmMain::DefaultFolders().filesFolder());
        chokusho::WriteToTerminal(answer.value_or(QString()));
        return 0;
    }

    // "--import" reads and writes files only.
    if (chokusho::AsksForImport(options)) {
        QCoreApplication app(argc, argv);
        return chokusho::ImportFromCommandLine(QCoreApplication::arguments());
    }

    // "--export" draws without a window: on Linux without a display as well.
    if (chokusho::AsksForExport(options)) {
#ifndef Q_OS_WIN
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        // Its standard error is for what happened to the files; Qt's remarks on its own set-up
        // (no XDG_RUNTIME_DIR, a font substituted) would hide that among lines of no use.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                chokusho::WriteToTerminal(message + QLatin1Char('\n'), chokusho::TerminalStream::Error);
        });
        QGuiApplication app(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("chokusho"));
        return chokusho::ExportFromCommandLine(QCoreApplication::arguments());
    }

    // "--check" reads files and prints figures: no window system at all.
    if (chokusho::AsksForCheck(options)) {
        QCoreApplication app(argc, argv);
        return chokusho::CheckFromCommandLine(QCoreApplication::arguments());
    }

    QApplication app(argc, argv);
    chokusho::SetUpApplication(app);

    chokusho::DocumentState state;
    chokusho::frmMain window(state);
    window.show();
    // "chokusho FILE.csv" starts with that block open, as 開く would open it, once the window
    // is up to show what happened.
    const std::optional<QString> file = chokusho::FileToOpen(QCoreApplication::arguments());
    if (file)
        QMetaObject::invokeMethod(
            &window, [&window, path = *file] { window.logic().OpenFile(chokusho::ToUtf8(path)); },
            Qt::QueuedConnection);
    return app.exec();
}
