#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QListWidget;
class QToolButton;
class QWidget;

namespace chokusho {

class QelGrid;
class frmMain;

namespace test {

/** Warns that `parent` has no child of `type` named `name`, so that the failed check says which. */
void ReportMissingChild(const QObject& parent, const char* type, const char* name);

/**
 * The child of `parent` named `name` of type T, searched at any depth; null, with a warning
 * naming it, when there is none. Check the result (QVERIFY) before using it.
 */
template <class T>
T* Child(const QObject& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromUtf8(name));
    if (child == nullptr)
        ReportMissingChild(parent, T::staticMetaObject.className(), name);
    return child;
}

/** The window's menu item or toolbar button `name`; null, with a warning, when there is none. */
QAction* Item(const frmMain& window, const char* name);

/** Triggers the window's item `name`; false, with a warning, when there is none. */
[[nodiscard]] bool Trigger(frmMain& window, const char* name);

/** The toolbar's button for the item `key`; null, with a warning, when there is none. */
QToolButton* ToolButton(const frmMain& window, const char* key);

/** Shows `widget` and waits until it is exposed; a widget that is never exposed is reported. */
void ShowAndExpose(QWidget& widget);

/**
 * Types `text` into cell (`row`, `col`) of `grid` (grid rows: 1 = the first data row) and
 * presses `key` in the editor that typing opened; false when typing opened no editor.
 */
[[nodiscard]] bool TypeInto(QelGrid& grid, int row, int col, const QString& text, Qt::Key key);

/** The text of every line of `list`, top to bottom. */
QStringList Lines(const QListWidget& list);

}  // namespace test
}  // namespace chokusho
