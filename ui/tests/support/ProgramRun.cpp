#include "ProgramRun.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace chokusho::test {

ProgramResult RunProgram(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
#ifndef Q_OS_WIN
    // Windows programs need no display to draw; elsewhere the program must do without one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
#endif
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    ProgramResult result;
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

}  // namespace chokusho::test
