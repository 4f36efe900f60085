// The point table and the block parameters, driven through their widgets: what they show,
// keyboard editing in the grids, registration, the volume check and the menu commands.

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "DocumentState.h"
#include "FileSystem.h"
#include "FrmEditInf.h"
#include "FrmEditPnt.h"
#include "QelGrid.h"
#include "UiTests.h"
#include "frmMain.h"

using namespace chokusho;

namespace {

/** A 4 m x 3 m block: points 1..3, segments 1-2 (solid) and 2-3 (dotted), two layers. */
BlockData SampleBlock()
{
    BlockData d;
    d.Name = "消波A";
    d.Kind = "2.0t型";
    d.B = 4, d.H = 3, d.L = 2, d.Gx = 2, d.Gy = 1.5, d.V = 10;
    d.GxMode = 1;
    d.LayerCount = 2;
    d.LayerH = {1.5, 1.5};
    d.LayerDV = {4, 6};
    d.LayerV = {4, 10};
    d.LayerGx = {1.9, 2.1};
    d.PointCount = 3;
    d.PointX[2] = 4;
    d.PointX[3] = 4, d.PointY[3] = 3;
    d.LineCount = 2;
    d.LineStart[1] = 1, d.LineEnd[1] = 2;
    d.LineStart[2] = 2, d.LineEnd[2] = 3, d.LineKind[2] = kDottedLine;
    return d;
}

template <typename T>
T* Child(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromUtf8(name));
    if (child == nullptr)
        qWarning("no child %s", name);
    return child;
}

void Show(QWidget& dialog)
{
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        qWarning("the dialog was not exposed");
}

/** Types `text` into grid cell (row, col) (grid rows: 1 = first data row) and presses `key`. */
void TypeInto(QelGrid& grid, int row, int col, const QString& text, Qt::Key key)
{
    grid.setFocus();
    grid.setCurrentCell(row - 1, col);
    QTest::keyClicks(&grid, text.left(1));
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    if (editor == nullptr) {
        qWarning("typing opened no editor");
        return;
    }
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, key);
}

/** Runs `act` on the modal widget of type T once the event loop shows one. */
template <typename T>
void WhenModal(std::function<void(T*)> act, int attempts = 500)
{
    QTimer::singleShot(0, [act = std::move(act), attempts] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(modal);
            return;
        }
        if (attempts > 0)
            WhenModal<T>(act, attempts - 1);
        else
            qWarning("no modal dialog came up");
    });
}

/** A main window on temporary program and configuration folders. */
struct Window {
    QTemporaryDir program, config;
    DocumentState state;
    std::unique_ptr<frmMain> window;

    frmMain& make(const BlockData& data)
    {
        window = std::make_unique<frmMain>(state, ProgramFolders{PathFromUtf8(program.path().toStdString()),
                                                                 PathFromUtf8(config.path().toStdString())});
        state.CurData = data;
        state.SavedData = data;
        window->logic().Repaint();
        return *window;
    }
};

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void pointTableShowsThePointsAndRegistersWhatWasTyped()
    {
        DocumentState state;
        state.CurData = SampleBlock();
        FrmEditPnt dialog(state);
        Show(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("構成点編集"));
        QCOMPARE(dialog.size(), QSize(240, 446));
        auto* grid = Child<QelGrid>(dialog, "QelGP");
        QVERIFY(grid != nullptr);
        QCOMPARE(grid->geometry(), QRect(16, 16, 205, 361));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("X (m)"));
        QCOMPARE(grid->rowCount(), 100);
        QCOMPARE(grid->columnWidth(1), 73);
        QCOMPARE(grid->rowHeight(0), 17);
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("3"));
        QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("4.000"));
        QVERIFY(!(grid->item(0, 0)->flags() & Qt::ItemIsEditable));
        QVERIFY(grid->item(0, 1)->flags() & Qt::ItemIsEditable);
        QCOMPARE(Child<QLabel>(dialog, "Label1")->text(),
                 QStringLiteral("外側４隅の点を右回りで最初に登録して下さい。"));

        // Typing replaces the text and Enter moves down; Tab moves right, then on to the next row.
        TypeInto(*grid, 1, 1, QStringLiteral("7.5"), Qt::Key_Return);
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("7.5"));
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 1);
        TypeInto(*grid, 4, 1, QStringLiteral("1"), Qt::Key_Tab);
        QCOMPARE(grid->currentColumn(), 2);
        QTest::keyClicks(grid, QStringLiteral("2"));
        QTest::keyClick(grid->indexWidget(grid->currentIndex()), Qt::Key_Tab);
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

        QTest::mouseClick(Child<QPushButton>(dialog, "CmdP_0"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Confirmed().PointCount, 2);
        QCOMPARE(dialog.Confirmed().PointX[1], 7.5);
        QVERIFY(state.CurData == SampleBlock());  // the caller takes the points
    }

    void whatTheDialogsCannotStoreIsNamedAndSelected()
    {
        DocumentState state;
        state.CurData = SampleBlock();
        {
            FrmEditPnt table(state);
            Show(table);
            auto* grid = Child<QelGrid>(table, "QelGP");
            QVERIFY(grid);
            TypeInto(*grid, 2, 2, QStringLiteral("1e400"), Qt::Key_Return);
            QString text;
            WhenModal<QMessageBox>([&](QMessageBox* box) {
                text = box->text();
                box->accept();
            });
            QTest::mouseClick(Child<QPushButton>(table, "CmdP_0"), Qt::LeftButton);
            QCOMPARE(text, QStringLiteral("No.2 の Y (m) の数値が大きすぎて扱えません。"));
            QVERIFY(table.isVisible());
            QCOMPARE(table.result(), int(QDialog::Rejected));
            QCOMPARE(grid->currentRow(), 1);
            QCOMPARE(grid->currentColumn(), 2);
            QCOMPARE(table.focusWidget(), grid);
        }
        {
            FrmEditInf params(state);
            Show(params);
            QApplication::setActiveWindow(&params);
            auto* name = Child<QLineEdit>(params, "Text1_0");
            QVERIFY(name);
            name->setText(QStringLiteral("北側,ケーソンA"));
            Child<QLineEdit>(params, "Text1_2")->setFocus();
            QString text;
            WhenModal<QMessageBox>([&](QMessageBox* box) {
                text = box->text();
                box->accept();
            });
            QTest::mouseClick(Child<QPushButton>(params, "CmdPara_0"), Qt::LeftButton);
            QCOMPARE(text, QStringLiteral("名称に半角のカンマ「,」は使えません。"));
            QVERIFY(params.isVisible());
            QCOMPARE(params.focusWidget(), name);
            QCOMPARE(name->selectedText(), name->text());
        }
        QVERIFY(state.CurData == SampleBlock());
        QCOMPARE(state.Undo.UndoCount(), 0);
    }

    void pointTableCancelChangesNothing()
    {
        DocumentState state;
        state.CurData = SampleBlock();
        FrmEditPnt dialog(state);
        Show(dialog);
        TypeInto(*Child<QelGrid>(dialog, "QelGP"), 1, 1, QStringLiteral("9"), Qt::Key_Return);
        QTest::mouseClick(Child<QPushButton>(dialog, "CmdP_1"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(state.CurData == SampleBlock());
        QCOMPARE(state.Undo.UndoCount(), 0);
    }

    void blockParamsShowTheRecordAndFollowTheCentroidOption()
    {
        DocumentState state;
        state.CurData = SampleBlock();
        FrmEditInf dialog(state);
        Show(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ブロック諸元"));
        const char* expected[] = {"消波A", "2.0t型", "4.000", "3.000", "2.000", "2.000", "1.500", "10.000"};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(Child<QLineEdit>(dialog, QStringLiteral("Text1_%1").arg(i).toUtf8().constData())->text(),
                     QString::fromUtf8(expected[i]));
        auto* gv = Child<QelGrid>(dialog, "QelGV");
        auto* gv1 = Child<QelGrid>(dialog, "QelGV1");
        QVERIFY(Child<QRadioButton>(dialog, "Opt_sgxsw_1")->isChecked());
        QCOMPARE(dialog.width(), 555);
        QCOMPARE(gv->geometry(), QRect(196, 12, 247, 369));
        QCOMPARE(gv1->geometry(), QRect(447, 12, 87, 369));
        QCOMPARE(Child<QPushButton>(dialog, "CmdPara_0")->geometry(), QRect(463, 392, 65, 25));
        QCOMPARE(gv->item(1, 2)->text(), QStringLiteral("6.000"));
        QCOMPARE(gv->item(1, 3)->text(), QStringLiteral("2.100"));
        QCOMPARE(gv1->item(1, 0)->text(), QStringLiteral("10.000"));
        QCOMPARE(gv->item(1, 1)->background().color(), QColor(0xFF, 0xFF, 0xD0));
        QCOMPARE(gv1->item(1, 0)->background().color(), QColor(0xD0, 0xFF, 0xFF));
        QVERIFY(gv->item(0, 3)->flags() & Qt::ItemIsEditable);
        QVERIFY(!(gv1->item(0, 0)->flags() & Qt::ItemIsEditable));

        QTest::mouseClick(Child<QRadioButton>(dialog, "Opt_sgxsw_0"), Qt::LeftButton);
        QCOMPARE(dialog.width(), 492);
        QCOMPARE(gv->width(), 184);
        QCOMPARE(gv1->x(), 384);
        QCOMPARE(Child<QPushButton>(dialog, "CmdPara_1")->geometry(), QRect(400, 424, 65, 25));
        QVERIFY(!(gv->item(0, 3)->flags() & Qt::ItemIsEditable));
        gv->setCurrentCell(0, 2);
        QTest::keyClick(gv, Qt::Key_Right);
        QCOMPARE(gv->horizontalScrollBar()->value(), 0);  // the hidden column does not pull the grid sideways

        // Leaving a figure box shows it as "0.000" when it is a number as a whole.
        auto* b = Child<QLineEdit>(dialog, "Text1_2");
        QApplication::setActiveWindow(&dialog);
        b->setFocus();
        b->selectAll();
        QTest::keyClicks(b, QStringLiteral("4.25"));
        Child<QLineEdit>(dialog, "Text1_3")->setFocus();
        QCOMPARE(b->text(), QStringLiteral("4.250"));

        TypeInto(*gv, 2, 2, QStringLiteral("5"), Qt::Key_Return);
        Child<QLineEdit>(dialog, "Text1_7")->setText(QStringLiteral("9"));
        QTest::mouseClick(Child<QPushButton>(dialog, "Command1"), Qt::LeftButton);
        QCOMPARE(gv1->item(1, 0)->text(), QStringLiteral("9.000"));
        QTest::mouseClick(Child<QPushButton>(dialog, "CmdPara_0"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Confirmed().B, 4.25);
        QCOMPARE(dialog.Confirmed().GxMode, std::int16_t(0));
        QCOMPARE(dialog.Confirmed().LayerV[1], 9.0);
        QVERIFY(state.CurData == SampleBlock());  // the caller takes the record
    }

    void aVolumeMismatchIsReportedAndTheDialogStays()
    {
        DocumentState state;
        state.CurData = SampleBlock();
        FrmEditInf dialog(state);
        Show(dialog);
        Child<QLineEdit>(dialog, "Text1_7")->setText(QStringLiteral("11"));
        QString title, text;
        Qt::Alignment alignment;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                alignment = label->alignment();
            box->accept();
        });
        QTest::mouseClick(Child<QPushButton>(dialog, "CmdPara_0"), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Error"));
        QCOMPARE(text, QStringLiteral("層別体積表の合計値が違います。\n\n体積 = 11.000    層別体積合計 = 10.000"));
        QVERIFY(alignment & Qt::AlignRight);
        QVERIFY(dialog.isVisible());
        QVERIFY(state.CurData == SampleBlock());
        QCOMPARE(state.Undo.UndoCount(), 0);
    }

    void theLayerGridsScrollTogether()
    {
        DocumentState state;
        state.CurData = SampleBlock();
        FrmEditInf dialog(state);
        Show(dialog);
        auto* gv = Child<QelGrid>(dialog, "QelGV");
        auto* gv1 = Child<QelGrid>(dialog, "QelGV1");
        QVERIFY(gv->verticalScrollBar()->maximum() > 20);
        gv->verticalScrollBar()->setValue(20);
        QCOMPARE(gv1->verticalScrollBar()->value(), 20);
        QCOMPARE(gv1->rowAt(0), 20);
        gv1->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(gv->RowPosition(), 19);
        gv->verticalScrollBar()->setValue(gv->verticalScrollBar()->maximum());
        QCOMPARE(gv1->RowPosition(), gv->RowPosition());
    }

    void theMenuCommandsOpenTheDialogsOverTheWindow()
    {
        Window w;
        frmMain& window = w.make(SampleBlock());

        // The table registered as it stands keeps every segment.
        WhenModal<FrmEditPnt>([](FrmEditPnt* dialog) { Child<QPushButton>(*dialog, "CmdP_0")->click(); });
        window.item(QStringLiteral("mnuPointHen"))->trigger();
        QCOMPARE(w.state.CurData.LineCount, 2);
        QCOMPARE(w.state.Undo.UndoCount(), 1);

        // A cancelled table is no edit.
        WhenModal<FrmEditPnt>([](FrmEditPnt* dialog) { Child<QPushButton>(*dialog, "CmdP_1")->click(); });
        window.item(QStringLiteral("mnuPointHen"))->trigger();
        QCOMPARE(w.state.Undo.UndoCount(), 1);

        WhenModal<FrmEditInf>([](FrmEditInf* dialog) {
            Child<QLineEdit>(*dialog, "Text1_0")->setText(QStringLiteral("新名称"));
            Child<QPushButton>(*dialog, "CmdPara_0")->click();
        });
        window.item(QStringLiteral("mnuBlkPara"))->trigger();
        QCOMPARE(QString::fromStdString(w.state.CurData.Name), QStringLiteral("新名称"));
        QCOMPARE(w.state.Undo.UndoCount(), 2);
        QCOMPARE(w.state.Undo.UndoText(0), std::string("諸条件修正"));
        QCOMPARE(w.state.Undo.UndoText(1), std::string("点編集"));
    }
};

std::unique_ptr<QObject> MakeDialogsTest() { return std::make_unique<DialogsTest>(); }

#include "DialogsTest.moc"
