#include "FileIconProvider.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

namespace chokusho {

QIcon FileIconProvider::icon(IconType type) const
{
    QStyle* style = QApplication::style();
    switch (type) {
    case Computer: return style->standardIcon(QStyle::SP_ComputerIcon);
    case Desktop: return style->standardIcon(QStyle::SP_DesktopIcon);
    case Trashcan: return style->standardIcon(QStyle::SP_TrashIcon);
    case Network: return style->standardIcon(QStyle::SP_DriveNetIcon);
    case Drive: return style->standardIcon(QStyle::SP_DriveHDIcon);
    case Folder: return style->standardIcon(QStyle::SP_DirIcon);
    case File: break;
    }
    return style->standardIcon(QStyle::SP_FileIcon);
}

QIcon FileIconProvider::icon(const QFileInfo& info) const
{
    // isDir() and isRoot() look at the entry (stat), never into it.
    if (info.isRoot())
        return icon(Drive);
    return icon(info.isDir() ? Folder : File);
}

QString FileIconProvider::type(const QFileInfo& info) const
{
    if (info.isDir())
        return QStringLiteral("フォルダー");
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return QStringLiteral("ファイル");
    return suffix.toUpper() + QStringLiteral(" ファイル");
}

FileIconProvider& FolderViewIcons()
{
    static FileIconProvider icons;
    return icons;
}

}  // namespace chokusho
