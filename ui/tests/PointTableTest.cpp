// The point table (FrmEditPnt) driven through its widgets: what it shows, keyboard editing in
// its grid, registration, a number it cannot store, columns wide enough for every figure, and,
// through the main window, the question before a confirmation drops segments.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include "DocumentState.h"
#include "FigureFits.h"
#include "FrmEditPnt.h"
#include "ModalDialogs.h"
#include "QelGrid.h"
#include "QtText.h"
#include "SampleBlocks.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

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
        auto* grid = Child<QelGrid>(dialog, "QelGP");
        auto* hint = Child<QLabel>(dialog, "Label1");
        auto* ok = Child<QPushButton>(dialog, "CmdP_0");
        auto* cancel = Child<QPushButton>(dialog, "CmdP_1");
        QVERIFY(grid);
        QVERIFY(hint);
        QVERIFY(ok);
        QVERIFY(cancel);
        // As drawn, but for what the value columns grew by to show the widest figure.
        const int grown = 2 * (grid->columnWidth(1) - 73);
        QVERIFY(grown >= 0);
        QCOMPARE(grid->columnWidth(2), grid->columnWidth(1));
        QCOMPARE(dialog.size(), QSize(240 + grown, 446));
        QCOMPARE(grid->geometry(), QRect(16, 16, 205 + grown, 361));
        QCOMPARE(dialog.width() - cancel->geometry().right(), 20);
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("X (m)"));
        QCOMPARE(grid->rowCount(), 100);
        QCOMPARE(grid->rowHeight(0), 17);
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("3"));
        QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("4.000"));
        for (int row = 0; row < grid->rowCount(); ++row)
            QCOMPARE(grid->item(row, 0)->text(), QString::number(row + 1));
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
        QCOMPARE(grid->CellText(4, 0) + grid->CellText(4, 1) + grid->CellText(4, 2), std::string("412"));

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

    void copiesAndPastesCellsThroughTheClipboard()
    {
        DocumentState state;
        state.CurData = test::LayeredBlock();
        FrmEditPnt table(state);
        test::ShowAndExpose(table);
        auto* grid = Child<QelGrid>(table, "QelGP");
        QVERIFY(grid);
        QClipboard* clipboard = QApplication::clipboard();

        // Points 1 and 2 copied, the No. column left out; pasted from point 5's X on.
        grid->setCurrentCell(0, 0);
        grid->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 2), true);
        QTest::keySequence(grid, QKeySequence::Copy);
        const QString copied = clipboard->text();
        QCOMPARE(copied.count(QLatin1Char('\n')), 2);
        grid->setCurrentCell(4, 1);
        QTest::keySequence(grid, QKeySequence::Paste);
        QCOMPARE(grid->CellText(5, 1) + grid->CellText(6, 2), grid->CellText(1, 1) + grid->CellText(2, 2));

        // A cell that is no number: said, and nothing pasted.
        clipboard->setText(QStringLiteral("1\t2\nx\t4\n"));
        grid->setCurrentCell(9, 1);
        bool told = false;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            told = true;
            box->accept();
        });
        QTest::keySequence(grid, QKeySequence::Paste);
        QVERIFY(told);
        QCOMPARE(grid->CellText(10, 1), std::string());
    }

    void valueColumnsShowTheWidestFigure_data() { test::FontSizeRows(); }

    void valueColumnsShowTheWidestFigure()
    {
        QFETCH(int, pixelSize);
        const test::ApplicationFont font(pixelSize);
        DocumentState state;
        FrmEditPnt dialog(state);
        test::ShowAndExpose(dialog);
        auto* grid = Child<QelGrid>(dialog, "QelGP");
        auto* cancel = Child<QPushButton>(dialog, "CmdP_1");
        QVERIFY(grid);
        QVERIFY(cancel);
        for (const int col : {1, 2}) {
            const int lacking = test::PixelsShort(*grid, col, QStringLiteral("-12345.678"));
            QVERIFY2(lacking <= 0, qPrintable(QStringLiteral("column %1 lacks %2 px").arg(col).arg(lacking)));
        }
        QVERIFY(cancel->geometry().right() < dialog.width());
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

    void droppedSegmentsAreAskedAboutAndGoingBackShowsWhatWasTyped()
    {
        test::WindowFixture f;
        frmMain& window = f.make();
        f.state.CurData = test::LayeredBlock();  // segments 1-2 and 2-3

        test::WhenModal<FrmEditPnt>([](FrmEditPnt* table) {
            auto* grid = Child<QelGrid>(*table, "QelGP");
            QVERIFY(grid);
            QVERIFY(TypeInto(*grid, 2, 1, QStringLiteral("4.5"), Qt::Key_Return));
            QVERIFY(TypeInto(*grid, 4, 1, QStringLiteral("1"), Qt::Key_Return));
            QVERIFY(TypeInto(*grid, 4, 2, QStringLiteral("1"), Qt::Key_Return));
            Child<QPushButton>(*table, "CmdP_0")->click();
        });
        QString question;
        test::WhenModal<QMessageBox>([&question](QMessageBox* box) {
            question = box->text();
            QVERIFY(box->button(QMessageBox::Ok));
            box->button(QMessageBox::Cancel)->click();
        });
        QStringList shownAgain;
        test::WhenModal<FrmEditPnt>([&shownAgain](FrmEditPnt* table) {
            auto* grid = Child<QelGrid>(*table, "QelGP");
            QVERIFY(grid);
            for (int row = 1; row <= 4; ++row)
                shownAgain << Utf8(grid->CellText(row, 0) + " " + grid->CellText(row, 1) + " " +
                                   grid->CellText(row, 2));
            table->reject();
        });
        QVERIFY(test::Trigger(window, "mnuPointHen"));

        QCOMPARE(question, QStringLiteral("座標を変更または削除した点につながる線分 2 本が削除されます。\n"
                                          "続けますか？（キャンセルで構成点編集の表に戻ります）"));
        QCOMPARE(shownAgain, (QStringList{QStringLiteral("1 0.000 0.000"), QStringLiteral("2 4.500 0.000"),
                                          QStringLiteral("3 4.000 3.000"), QStringLiteral("4 1.000 1.000")}));
        QVERIFY(f.state.CurData == test::LayeredBlock());
        QCOMPARE(f.state.Undo.UndoCount(), 0);
    }
};

QTEST_MAIN(PointTableTest)
#include "PointTableTest.moc"
