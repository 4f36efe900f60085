#include "Widgets.h"

#include <QAction>
#include <QListWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "QelGrid.h"
#include "frmMain.h"

namespace chokusho::test {

void ReportMissingChild(const QObject& parent, const char* type, const char* name)
{
    qWarning("%s \"%s\" has no %s named \"%s\"", parent.metaObject()->className(), qPrintable(parent.objectName()),
             type, name);
}

QAction* Item(const frmMain& window, const char* name)
{
    QAction* action = window.item(QString::fromUtf8(name));
    if (action == nullptr)
        qWarning("the main window has no item \"%s\"", name);
    return action;
}

bool Trigger(frmMain& window, const char* name)
{
    QAction* action = Item(window, name);
    if (action == nullptr)
        return false;
    action->trigger();
    return true;
}

QToolButton* ToolButton(const frmMain& window, const char* key)
{
    auto* toolbar = Child<QToolBar>(window, "Toolbar1");
    QAction* action = Item(window, key);
    if (toolbar == nullptr || action == nullptr)
        return nullptr;
    auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action));
    if (button == nullptr)
        qWarning("the toolbar has no button for \"%s\"", key);
    return button;
}

void ShowAndExpose(QWidget& widget)
{
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget))
        qWarning("%s was not exposed", widget.metaObject()->className());
}

bool TypeInto(QelGrid& grid, int row, int col, const QString& text, Qt::Key key)
{
    grid.setFocus();
    grid.setCurrentCell(row - 1, col);
    QTest::keyClicks(&grid, text.left(1));
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    if (editor == nullptr) {
        qWarning("typing into %s at row %d, column %d opened no editor", qPrintable(grid.objectName()), row, col);
        return false;
    }
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, key);
    return true;
}

QStringList Lines(const QListWidget& list)
{
    QStringList lines;
    for (int row = 0; row < list.count(); ++row)
        lines << list.item(row)->text();
    return lines;
}

}  // namespace chokusho::test
