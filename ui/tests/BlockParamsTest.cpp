// The block parameters (FrmEditInf) driven through their widgets: what they show, the centroid
// option, figure boxes wide enough for every figure, layer grids, the volume check and what they
// cannot store.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTextDocumentFragment>

#include "DocumentState.h"
#include "FigureFits.h"
#include "FrmEditInf.h"
#include "ModalDialogs.h"
#include "QelGrid.h"
#include "SampleBlocks.h"
#include "SectionPanel.h"
#include "Widgets.h"

using namespace chokusho;
using test::Child;

class BlockParamsTest : public QObject {
    Q_OBJECT

private slots:
    void showTheRecordAndFollowTheCentroidOption()
    {
        DocumentState state;
        state.CurData = test::LayeredBlock();
        FrmEditInf dialog(state);
        test::ShowAndExpose(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ブロック諸元"));
        struct Shown {
            const char* box;
            const char* what;
            const char* text;
        };
        // clang-format off
        const Shown fields[] = {
            {"Text1_0", "name",       "消波A"},
            {"Text1_1", "kind",       "2.0t型"},
            {"Text1_2", "B",          "4.000"},
            {"Text1_3", "H",          "3.000"},
            {"Text1_4", "L",          "2.000"},
            {"Text1_5", "centroid X", "2.000"},
            {"Text1_6", "centroid Y", "1.500"},
            {"Text1_7", "volume",     "10.000"},
        };
        // clang-format on
        for (const Shown& field : fields) {
            auto* box = Child<QLineEdit>(dialog, field.box);
            QVERIFY2(box, field.what);
            QVERIFY2(box->text() == QString::fromUtf8(field.text),
                     qPrintable(QStringLiteral("%1 shows \"%2\"").arg(QString::fromUtf8(field.what), box->text())));
        }
        auto* gv = Child<QelGrid>(dialog, "QelGV");
        auto* gv1 = Child<QelGrid>(dialog, "QelGV1");
        auto* onePerLayer = Child<QRadioButton>(dialog, "Opt_sgxsw_1");
        auto* oneForAll = Child<QRadioButton>(dialog, "Opt_sgxsw_0");
        auto* ok = Child<QPushButton>(dialog, "CmdPara_0");
        auto* cancel = Child<QPushButton>(dialog, "CmdPara_1");
        auto* sum = Child<QPushButton>(dialog, "Command1");
        auto* b = Child<QLineEdit>(dialog, "Text1_2");
        auto* h = Child<QLineEdit>(dialog, "Text1_3");
        auto* v = Child<QLineEdit>(dialog, "Text1_7");
        QVERIFY(gv);
        QVERIFY(gv1);
        QVERIFY(onePerLayer);
        QVERIFY(oneForAll);
        QVERIFY(ok);
        QVERIFY(cancel);
        QVERIFY(sum);
        QVERIFY(b);
        QVERIFY(h);
        QVERIFY(v);
        QVERIFY(onePerLayer->isChecked());
        // As drawn, moved right by what the boxes grew by to show the widest figure.
        const int grown = b->width() - 61;
        QVERIFY(grown >= 0);
        QCOMPARE(dialog.width(), 555 + grown);
        QCOMPARE(gv->geometry(), QRect(196 + grown, 12, 247, 369));
        QCOMPARE(gv1->geometry(), QRect(447 + grown, 12, 87, 369));
        QCOMPARE(ok->geometry(), QRect(463 + grown, 392, 65, 25));
        QCOMPARE(gv->item(1, 2)->text(), QStringLiteral("6.000"));
        QCOMPARE(gv->item(1, 3)->text(), QStringLiteral("2.100"));
        QCOMPARE(gv1->item(1, 0)->text(), QStringLiteral("10.000"));
        QCOMPARE(gv->item(1, 1)->background().color(), QColor(0xFF, 0xFF, 0xD0));
        QCOMPARE(gv1->item(1, 0)->background().color(), QColor(0xD0, 0xFF, 0xFF));
        QVERIFY(gv->item(0, 3)->flags() & Qt::ItemIsEditable);
        QVERIFY(!(gv1->item(0, 0)->flags() & Qt::ItemIsEditable));

        QTest::mouseClick(oneForAll, Qt::LeftButton);
        QCOMPARE(dialog.width(), 492 + grown);
        QCOMPARE(gv->width(), 184);
        QCOMPARE(gv1->x(), 384 + grown);
        QCOMPARE(cancel->geometry(), QRect(400 + grown, 424, 65, 25));
        QVERIFY(!(gv->item(0, 3)->flags() & Qt::ItemIsEditable));
        gv->setCurrentCell(0, 2);
        QTest::keyClick(gv, Qt::Key_Right);
        QCOMPARE(gv->horizontalScrollBar()->value(), 0);  // the hidden column does not pull the grid sideways

        // Leaving a figure box shows it as "0.000" when it is a number as a whole.
        QApplication::setActiveWindow(&dialog);
        b->setFocus();
        b->selectAll();
        QTest::keyClicks(b, QStringLiteral("4.25"));
        h->setFocus();
        QCOMPARE(b->text(), QStringLiteral("4.250"));

        QVERIFY(test::TypeInto(*gv, 2, 2, QStringLiteral("5"), Qt::Key_Return));
        v->setText(QStringLiteral("9"));
        QTest::mouseClick(sum, Qt::LeftButton);
        QCOMPARE(gv1->item(1, 0)->text(), QStringLiteral("9.000"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Confirmed().B, 4.25);
        QCOMPARE(dialog.Confirmed().GxMode, std::int16_t(0));
        QCOMPARE(dialog.Confirmed().LayerV[1], 9.0);
        QVERIFY(state.CurData == test::LayeredBlock());  // the caller takes the record
    }

    void numberBoxesShowTheWidestFigure_data() { test::FontSizeRows(); }

    void numberBoxesShowTheWidestFigure()
    {
        QFETCH(int, pixelSize);
        const test::ApplicationFont font(pixelSize);
        DocumentState state;
        FrmEditInf dialog(state);
        test::ShowAndExpose(dialog);
        auto* gv = Child<QelGrid>(dialog, "QelGV");
        QVERIFY(gv);
        // Each figure box whole, inside its framed band, and the bands clear of the layer grid.
        const char* frames[] = {"Frame_sunpo",   "Frame_sunpo",   "Frame_sunpo",
                                "Frame_juushin", "Frame_juushin", "Frame_taiseki"};
        for (int i = 2; i <= 7; ++i) {
            auto* box = Child<QLineEdit>(dialog, qPrintable(QStringLiteral("Text1_%1").arg(i)));
            auto* frame = Child<QWidget>(dialog, frames[i - 2]);
            QVERIFY(box);
            QVERIFY(frame);
            const int lacking = test::PixelsShort(*box, QStringLiteral("-12345.678"));
            QVERIFY2(lacking <= 0, qPrintable(QStringLiteral("Text1_%1 lacks %2 px").arg(i).arg(lacking)));
            QVERIFY(frame->geometry().contains(box->geometry()));
            QVERIFY(frame->geometry().right() < gv->x());
        }
    }

    void aCommaInTheNameIsNamedAndSelected()
    {
        DocumentState state;
        state.CurData = test::LayeredBlock();
        FrmEditInf params(state);
        test::ShowAndExpose(params);
        QApplication::setActiveWindow(&params);
        auto* name = Child<QLineEdit>(params, "Text1_0");
        auto* b = Child<QLineEdit>(params, "Text1_2");
        auto* ok = Child<QPushButton>(params, "CmdPara_0");
        QVERIFY(name);
        QVERIFY(b);
        QVERIFY(ok);
        name->setText(QStringLiteral("北側,ケーソンA"));
        b->setFocus();
        QString text;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            text = QTextDocumentFragment::fromHtml(box->text()).toPlainText();
            box->accept();
        });
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(text, QStringLiteral("名称に半角のカンマ「,」は使えません。"));
        QVERIFY(params.isVisible());
        QCOMPARE(params.focusWidget(), name);
        QCOMPARE(name->selectedText(), name->text());
        QVERIFY(state.CurData == test::LayeredBlock());
        QCOMPARE(state.Undo.UndoCount(), 0);
    }

    void aVolumeMismatchIsReportedAndTheDialogStays()
    {
        DocumentState state;
        state.CurData = test::LayeredBlock();
        FrmEditInf dialog(state);
        test::ShowAndExpose(dialog);
        auto* v = Child<QLineEdit>(dialog, "Text1_7");
        auto* ok = Child<QPushButton>(dialog, "CmdPara_0");
        QVERIFY(v);
        QVERIFY(ok);
        v->setText(QStringLiteral("11"));
        QString title, text;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Error"));
        // Right-aligned, as the message has always stood.
        QVERIFY2(text.startsWith(QStringLiteral("<p align=\"right\"")), qPrintable(text));
        QCOMPARE(QTextDocumentFragment::fromHtml(text).toPlainText(),
                 QStringLiteral("層別体積表の合計値が違います。\n\n体積 = 11.000    層別体積合計 = 10.000"));
        QVERIFY(dialog.isVisible());
        QVERIFY(state.CurData == test::LayeredBlock());
        QCOMPARE(state.Undo.UndoCount(), 0);
    }

    void theSectionPanelShowsTheFiguresAndPutsThemIn()
    {
        DocumentState state;
        state.CurData = test::LayeredBlock();
        // A closed triangle (0, 0), (4, 0), (4, 3): 6 m², 12 m³ over Ｌ 2 m, centroid (2.667, 1).
        state.CurData.LineKind[2] = kSolidLine;
        state.CurData.LineCount = 3;
        state.CurData.LineStart[3] = 3, state.CurData.LineEnd[3] = 1;
        FrmEditInf dialog(state);
        test::ShowAndExpose(dialog);
        auto* section = Child<QPushButton>(dialog, "CmdSection");
        auto* gv = Child<QelGrid>(dialog, "QelGV");
        auto* gx = Child<QLineEdit>(dialog, "Text1_5");
        auto* v = Child<QLineEdit>(dialog, "Text1_7");
        auto* ok = Child<QPushButton>(dialog, "CmdPara_0");
        QVERIFY(section && gv && gx && v && ok);
        // The rows as the grid holds them now: one layer, its top at the triangle's top.
        QVERIFY(test::TypeInto(*gv, 1, 1, QStringLiteral("3"), Qt::Key_Return));
        gv->item(1, 1)->setText(QString());
        gv->item(1, 2)->setText(QString());

        int figureRows = 0;
        bool someRed = false;
        test::WhenModal<SectionPanel>([&](SectionPanel* panel) {
            auto* table = panel->findChild<QTableWidget*>(QStringLiteral("SectionFigures"));
            auto* take = panel->findChild<QPushButton*>(QStringLiteral("CmdTake"));
            QVERIFY(table && take);
            figureRows = table->rowCount();
            for (int row = 0; row < table->rowCount(); ++row)
                someRed = someRed || table->item(row, 1)->foreground().color() == QColor(0xFF, 0, 0);
            QTest::mouseClick(take, Qt::LeftButton);
        });
        QTest::mouseClick(section, Qt::LeftButton);
        QCOMPARE(figureRows, 6);  // A, Ｖ, Gx, Gy, and the row's ⊿Ｖ and centroid X
        QVERIFY(someRed);         // the entered Ｖ of 10 m³ against 12
        QCOMPARE(gx->text(), QStringLiteral("2.667"));
        QCOMPARE(v->text(), QStringLiteral("12.000"));
        QCOMPARE(gv->item(0, 2)->text(), QStringLiteral("12.000"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Confirmed().V, 12.0);
        QCOMPARE(dialog.Confirmed().LayerCount, std::int16_t(1));
    }

    void theLayerGridsScrollTogether()
    {
        DocumentState state;
        state.CurData = test::LayeredBlock();
        FrmEditInf dialog(state);
        test::ShowAndExpose(dialog);
        auto* gv = Child<QelGrid>(dialog, "QelGV");
        auto* gv1 = Child<QelGrid>(dialog, "QelGV1");
        QVERIFY(gv);
        QVERIFY(gv1);
        QVERIFY(gv->verticalScrollBar()->maximum() > 20);
        gv->verticalScrollBar()->setValue(20);
        QCOMPARE(gv1->verticalScrollBar()->value(), 20);
        QCOMPARE(gv1->rowAt(0), 20);
        gv1->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(gv->RowPosition(), 19);
        gv->verticalScrollBar()->setValue(gv->verticalScrollBar()->maximum());
        QCOMPARE(gv1->RowPosition(), gv->RowPosition());
    }
};

QTEST_MAIN(BlockParamsTest)
#include "BlockParamsTest.moc"
