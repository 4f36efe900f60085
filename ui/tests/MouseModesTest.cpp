// The mouse modes through the real window: menu, canvas events, message boxes and the
// point-move dialog.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "CanvasWidget.h"
#include "DocumentState.h"
#include "FrmEditPntMov.h"
#include "ModalDialogs.h"
#include "SampleBlocks.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;
using test::Child;

namespace {

/** A shown window on a 10 m x 8 m block (points 1..4 anticlockwise from the origin, four sides). */
struct Fixture : test::WindowFixture {
    Fixture()
    {
        state.CurData = test::RectangleBlock(10, 8);
        state.CurData.Gx = 0;
        state.CurData.Gy = 0;
        show();
        if (!test::Trigger(*window, "mnuDispAll"))
            qWarning("the block is not shown whole");
    }

    CanvasWidget& canvas() { return window->canvasWidget(); }
    QPoint at(double x, double y) const
    {
        const CanvasPoint g = window->logic().view().KzToGz(x, y);
        return {g.gx, g.gy};
    }
    QPoint point(int n) const { return at(state.CurData.PointX[n], state.CurData.PointY[n]); }
    /** A move with the left button held, as the window system sends it during a drag. */
    void dragTo(QPoint p)
    {
        QMouseEvent move(QEvent::MouseMove, p, canvas().mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas(), &move);
    }
    int yellowPixels()
    {
        const QImage& image = canvas().canvas().image();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += (image.pixel(x, y) & 0xFFFFFF) == 0xFFFF00 ? 1 : 0;
        return count;
    }
};

}  // namespace

class MouseModesTest : public QObject {
    Q_OBJECT

private slots:
    void connectingTwoPointsAddsASegmentThatUndoTakesBack()
    {
        Fixture f;
        QVERIFY(test::Trigger(*f.window, "mnuLineIn"));
        QCOMPARE(f.window->logic().modes().mode(), DispMode::Connect);
        QTest::mouseClick(&f.canvas(), Qt::LeftButton, {}, f.point(1));
        QTest::mouseMove(&f.canvas(), f.at(6, 3));
        QVERIFY(f.yellowPixels() > 20);  // the rubber line
        QTest::mouseClick(&f.canvas(), Qt::LeftButton, {}, f.point(3) + QPoint(3, 2));
        QCOMPARE(f.yellowPixels(), 0);
        QCOMPARE(f.state.CurData.LineCount, 5);
        QCOMPARE(f.state.CurData.LineStart[5], 1);
        QCOMPARE(f.state.CurData.LineEnd[5], 3);
        QAction* undo = test::Item(*f.window, "Undo");
        QVERIFY(undo);
        QVERIFY(undo->isEnabled());

        QToolButton* undoButton = test::ToolButton(*f.window, "Undo");
        QVERIFY(undoButton);
        QTest::mouseClick(undoButton, Qt::LeftButton);
        QCOMPARE(f.state.CurData.LineCount, 4);
        QCOMPARE(f.window->logic().modes().step(), MouseStep::FirstPick);  // the chain starts again
    }

    void deletingAPointAsksFirst()
    {
        Fixture f;
        QVERIFY(test::Trigger(*f.window, "mnuPointDel"));
        QTest::mouseClick(&f.canvas(), Qt::LeftButton, {}, f.point(2));
        QCOMPARE(f.canvas().canvas().image().pixel(f.point(2)) & 0xFFFFFF, QRgb(0xFFFF00));
        QString question;
        test::WhenModal<QMessageBox>([&question](QMessageBox* box) {
            question = box->windowTitle() + u'|' + box->text();
            auto* ok = box->button(QMessageBox::Ok);
            QVERIFY(ok);
            ok->click();
        });
        QTest::mouseClick(&f.canvas(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(question, QStringLiteral("確認|選択中の点を削除しますか？\n結線されている線分も削除します。"));
        QCOMPARE(f.state.CurData.PointCount, 3);
        QCOMPARE(f.state.CurData.LineCount, 2);
        QCOMPARE(f.window->logic().modes().mode(), DispMode::DeletePoints);
    }

    void movingAnAreaOfPointsThroughTheDialog()
    {
        Fixture f;
        QVERIFY(test::Trigger(*f.window, "mnuPointMov"));
        // Drag around the upper side: points 3 and 4.
        const QPoint from = f.at(-0.5, 8.5);
        const QPoint to = f.at(10.5, 7.5);
        QTest::mousePress(&f.canvas(), Qt::LeftButton, {}, from);
        f.dragTo(from + QPoint(30, 5));
        f.dragTo(to);
        QVERIFY(f.yellowPixels() > 100);  // the rectangle
        QTest::mouseRelease(&f.canvas(), Qt::LeftButton, {}, to);
        QCOMPARE(f.state.SelPntCount, 2);

        QString seen;
        test::WhenModal<FrmEditPntMov>([&f, &seen](FrmEditPntMov* modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("FrmEditPntMov"));
            const QPoint offset = modal->geometry().center() - f.window->geometry().center();
            QVERIFY2(offset.manhattanLength() < 40, "centred over the main window");
            auto* x = Child<QLineEdit>(*modal, "Text1_0");
            auto* y = Child<QLineEdit>(*modal, "Text1_1");
            QVERIFY(x);
            QVERIFY(y);
            QTRY_VERIFY(x->hasFocus());
            QTRY_COMPARE(x->selectedText(), QStringLiteral("0.000"));  // focused and selected at opening
            QTest::keyClicks(x, QStringLiteral("2"));
            QTest::keyClick(x, Qt::Key_Tab);
            QTRY_COMPARE(y->selectedText(), QStringLiteral("0.000"));
            QTest::keyClicks(y, QStringLiteral("-1"));
            seen = x->text() + u'|' + y->text();
            QTest::keyClick(y, Qt::Key_Return);  // OK is the default button
        });
        QTest::mouseClick(&f.canvas(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(seen, QStringLiteral("2.000|-1"));
        QCOMPARE(f.state.CurData.PointX[3], 12.0);
        QCOMPARE(f.state.CurData.PointY[4], 7.0);
        QCOMPARE(f.state.CurData.PointX[1], 0.0);
        QCOMPARE(f.state.SelPntCount, 0);
    }
};

QTEST_MAIN(MouseModesTest)
#include "MouseModesTest.moc"
