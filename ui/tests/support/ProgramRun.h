#pragma once

#include <QString>
#include <QStringList>

namespace chokusho::test {

/** How a run of a program ended: its exit code (-1 when it crashed or hung) and what it wrote. */
struct ProgramResult {
    int exitCode = -1;
    QString out;
    QString err;
};

/** `program` run with `arguments` in `folder`, as a user runs it from a terminal with no display. */
ProgramResult RunProgram(const QString& program, const QStringList& arguments, const QString& folder);

}  // namespace chokusho::test
