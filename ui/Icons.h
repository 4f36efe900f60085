#pragma once

#include <QIcon>
#include <QString>

namespace chokusho {

/** An icon of the program's own set, by its file name in the resource ("zoom-in.svg"). */
QIcon UiIcon(const QString& fileName);

/** The program's icon, as shown in window titles and in the version box. */
QIcon ProgramIcon();

}  // namespace chokusho
