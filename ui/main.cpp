#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QStandardPaths>
#include <optional>

#include "ApplicationSetup.h"
#include "CheckCommand.h"
#include "CommandLine.h"
#include "DocumentState.h"
#include "EditOperations.h"
#include "ExportCommand.h"
#include "ImportCommand.h"
#include "QtText.h"
#include "RecoveryServices.h"
#include "frmMain.h"

namespace {

/**
 * The program's own crash test starts it on a block that it edits and then leaves unsaved until
 * it is killed: CHOKUSHO_TEST_EDIT names the block, CHOKUSHO_RECOVERY_FOLDER the folder where
 * the work is kept. Its settings then stay in Qt's test folders, away from the user's.
 */
void EditForCrashTest(chokusho::frmMain& window, chokusho::DocumentState& state, const QString& block)
{
    window.logic().OpenFile(chokusho::ToUtf8(block));
    chokusho::PushUndo(state, chokusho::undo_label::kAddPoint);
    if (chokusho::AddPoint(state, 1.0 / 3, 2.5))
        window.logic().Menu_Enable();
    window.logic().Repaint();
}

}  // namespace

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

    const QString crashTestBlock = qEnvironmentVariable("CHOKUSHO_TEST_EDIT");
    if (!crashTestBlock.isEmpty())
        QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    chokusho::SetUpApplication(app);

    chokusho::DocumentState state;
    chokusho::frmMain window(state);
    window.show();
    // Unsaved work is kept from the start; what an instance that died left is offered once the
    // window is up, before a block named on the command line opens.
    window.startRecovery(qEnvironmentVariableIsEmpty("CHOKUSHO_RECOVERY_FOLDER")
                             ? chokusho::DefaultRecoveryFolder()
                             : qEnvironmentVariable("CHOKUSHO_RECOVERY_FOLDER"));
    QMetaObject::invokeMethod(&window, [&window] { window.offerRecovery(); }, Qt::QueuedConnection);
    if (!crashTestBlock.isEmpty())
        QMetaObject::invokeMethod(
            &window, [&window, &state, crashTestBlock] { EditForCrashTest(window, state, crashTestBlock); },
            Qt::QueuedConnection);
    // "chokusho FILE.csv" starts with that block open, as 開く would open it, once the window
    // is up to show what happened.
    const std::optional<QString> file = chokusho::FileToOpen(QCoreApplication::arguments());
    if (file)
        QMetaObject::invokeMethod(
            &window, [&window, path = *file] { window.logic().OpenFile(chokusho::ToUtf8(path)); },
            Qt::QueuedConnection);
    return app.exec();
}
