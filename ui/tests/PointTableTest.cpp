// The point table (FrmEditPnt) driven through its widgets: what it shows, keyboard editing in
// its grid, registration, and a number it cannot store.

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "DocumentState.h"
#include "FrmEditPnt.h"
#include "ModalDialogs.h"
#include "QelGrid.h"
#include "SampleBlocks.h"
#include "Widgets.h"

using namespace chokusho;
using test::Child;
using test::TypeInto;

class PointTableTest : public QObject {
    Q_OBJECT

private slots:
    void showsThePointsAndRegistersWhatWasTyped()
    {
        DocumentState state;
        state.CurData = test::LayeredBlock();
        FrmEditPnt dialog(state);
        test::ShowAndExpose(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("構成点編集"));
        QCOMPARE(dialog.size(), QSize(240, 446));
        auto* grid = Child<QelGrid>(dialog, "QelGP");
        auto* hint = Child<QLabel>(dialog, "Label1");
        auto* ok = Child<QPushButton>(dialog, "CmdP_0");
        QVERIFY(grid);
        QVERIFY(hint);
        QVERIFY(ok);
        QCOMPARE(grid->geometry(), QRect(16, 16, 205, 361));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("X (m)"));
        QCOMPARE(grid->rowCount(), 100);
        QCOMPARE(grid->columnWidth(1), 73);
        QCOMPARE(grid->rowHeight(0), 17);
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("3"));
        QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("4.000"));
        QVERIFY(!(grid->item(0, 0)->flags() & Qt::ItemIsEditable));
        QVERIFY(grid->item(0, 1)->flags() & Qt::ItemIsEditable);
        QCOMPARE(hint->text(), QStringLiteral("外側４隅の点を右回りで最初に登録して下さい。"));

        // Typing replaces the text and Enter moves down; Tab moves right, then on to the next row.
        QVERIFY(TypeInto(*grid, 1, 1, QStringLiteral("7.5"), Qt::Key_Return));
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("7.5"));
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 1);
        QVERIFY(TypeInto(*grid, 4, 1, QStringLiteral("1"), Qt::Key_Tab));
        QCOMPARE(grid->currentColumn(), 2);
        QTest::keyClicks(grid, QStringLiteral("2"));
        QWidget* editor = grid->indexWidget(grid->currentIndex());
        QVERIFY2(editor, "typing opened no editor");
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(grid->currentRow(), 4);
        QCOMPARE(grid->currentColumn(), 1);  // the No. column is passed over
        QCOMPARE(grid->DataRows(), 4);

        // Delete empties the selected cells: point 3's row ends the list.
        grid->setCurrentCell(2, 1);
        grid->setRangeSelected(QTableWidgetSelectionRange(2, 1, 2, 2), true);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(grid->item(2, 1)->text(), QString());
        QCOMPARE(grid->CellText(3, 2), std::string());
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("3"));

        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Confirmed().PointCount, 2);
        QCOMPARE(dialog.Confirmed().PointX[1], 7.5);
        QVERIFY(state.CurData == test::LayeredBlock());  // the caller takes the points
    }

    void aNumberItCannotStoreIsNamedAndSelected()
    {
        DocumentState state;
        state.CurData = test::LayeredBlock();
        FrmEditPnt table(state);
        test::ShowAndExpose(table);
        auto* grid = Child<QelGrid>(table, "QelGP");
        auto* ok = Child<QPushButton>(table, "CmdP_0");
        QVERIFY(grid);
        QVERIFY(ok);
        QVERIFY(TypeInto(*grid, 2, 2, QStringLiteral("1e400"), Qt::Key_Return));
        QString text;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            box->accept();
        });
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(text, QStringLiteral("No.2 の Y (m) の数値が大きすぎて扱えません。"));
        QVERIFY(table.isVisible());
        QCOMPARE(table.result(), int(QDialog::Rejected));
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 2);
        QCOMPARE(table.focusWidget(), grid);
        QVERIFY(state.CurData == test::LayeredBlock());
        QCOMPARE(state.Undo.UndoCount(), 0);
    }

    void cancelChangesNothing()
    {
        DocumentState state;
        state.CurData = test::LayeredBlock();
        FrmEditPnt dialog(state);
        test::ShowAndExpose(dialog);
        auto* grid = Child<QelGrid>(dialog, "QelGP");
        auto* cancel = Child<QPushButton>(dialog, "CmdP_1");
        QVERIFY(grid);
        QVERIFY(cancel);
        QVERIFY(TypeInto(*grid, 1, 1, QStringLiteral("9"), Qt::Key_Return));
        QTest::mouseClick(cancel, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(state.CurData == test::LayeredBlock());
        QCOMPARE(state.Undo.UndoCount(), 0);
    }
};

QTEST_MAIN(PointTableTest)
#include "PointTableTest.moc"
