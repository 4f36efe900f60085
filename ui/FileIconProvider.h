#pragma once

#include <QAbstractFileIconProvider>

namespace chokusho {

/**
 * Icons and type names of the folder views (the picker's folder tree, the save dialog) from the
 * name and the kind of entry alone. Qt's own provider looks into files to tell their types; a
 * pipe, a device or a file of /proc read on the user-interface thread can block for ever, so
 * this one never opens a file.
 */
class FileIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    /** "フォルダー", "CSV ファイル", "TXT ファイル" (the extension in capitals) or "ファイル". */
    QString type(const QFileInfo& info) const override;
};

/**
 * The one provider of the program's folder views. It lives as long as the program: a view's
 * model may still ask it while the view is torn down.
 */
FileIconProvider& FolderViewIcons();

}  // namespace chokusho
