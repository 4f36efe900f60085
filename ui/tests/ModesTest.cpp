// The mouse modes through the real window: menu, canvas events, message boxes and the
// point-move dialog.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <memory>

#include "CanvasWidget.h"
#include "DocumentState.h"
#include "FileSystem.h"
#include "FrmEditPntMov.h"
#include "UiTests.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;

namespace {

/** A shown window on a 10 m x 8 m block (points 1..4 anticlockwise from the origin, four sides). */
struct Fixture : test::WindowFixture {
    Fixture()
    {
        test::PutSampleBlock(state.CurData);
        state.CurData.Gx = 0;
        state.CurData.Gy = 0;
        show();
        trigger("mnuDispAll");
    }

    CanvasWidget& canvas() { return window->canvasWidget(); }
    void trigger(const char* item) { window->item(QString::fromUtf8(item))->trigger(); }
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

/**
 * Hands the next modal box or dialog to `answer` once it is open. The check repeats on the
 * event loop until the modal appears, because exec() opens it only after the click that
 * asked for it has been delivered.
 */
void WhenModalOpens(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        const QPointer<QWidget> open(modal);
        answer(modal);
        // A failed check leaves the answer early; the modal must still close or the test hangs.
        if (open && open->isVisible())
            open->close();
    });
    poll->start();
}

}  // namespace

class ModesTest : public QObject {
    Q_OBJECT

private slots:
    void connectingTwoPointsAddsASegmentThatUndoTakesBack()
    {
        Fixture f;
        f.trigger("mnuLineIn");
        QCOMPARE(f.window->logic().Disp_mode, mode::kConnect);
        QTest::mouseClick(&f.canvas(), Qt::LeftButton, {}, f.point(1));
        QTest::mouseMove(&f.canvas(), f.at(6, 3));
        QVERIFY(f.yellowPixels() > 20);  // the rubber line
        QTest::mouseClick(&f.canvas(), Qt::LeftButton, {}, f.point(3) + QPoint(3, 2));
        QCOMPARE(f.yellowPixels(), 0);
        QCOMPARE(f.state.CurData.LineCount, 5);
        QCOMPARE(f.state.CurData.LineStart[5], 1);
        QCOMPARE(f.state.CurData.LineEnd[5], 3);
        QVERIFY(f.window->item(QStringLiteral("Undo"))->isEnabled());

        auto* toolbar = f.window->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QTest::mouseClick(toolbar->widgetForAction(f.window->item(QStringLiteral("Undo"))), Qt::LeftButton);
        QCOMPARE(f.state.CurData.LineCount, 4);
        QCOMPARE(f.window->logic().Mouse_sw, 0);  // the chain starts again
    }

    void deletingAPointAsksFirst()
    {
        Fixture f;
        f.trigger("mnuPointDel");
        QTest::mouseClick(&f.canvas(), Qt::LeftButton, {}, f.point(2));
        QCOMPARE(f.canvas().canvas().image().pixel(f.point(2)) & 0xFFFFFF, QRgb(0xFFFF00));
        QString question;
        WhenModalOpens([&question](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            question = box->windowTitle() + u'|' + box->text();
            box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(&f.canvas(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(question, QStringLiteral("確認|選択中の点を削除しますか？\n結線されている線分も削除します。"));
        QCOMPARE(f.state.CurData.PointCount, 3);
        QCOMPARE(f.state.CurData.LineCount, 2);
        QCOMPARE(f.window->logic().Disp_mode, mode::kDeletePoints);
    }

    void movingAnAreaOfPointsThroughTheDialog()
    {
        Fixture f;
        f.trigger("mnuPointMov");
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
        WhenModalOpens([&f, &seen](QWidget* modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("FrmEditPntMov"));
            const QPoint offset = modal->geometry().center() - f.window->geometry().center();
            QVERIFY2(offset.manhattanLength() < 40, "centred over the main window");
            auto* x = modal->findChild<QLineEdit*>(QStringLiteral("Text1_0"));
            auto* y = modal->findChild<QLineEdit*>(QStringLiteral("Text1_1"));
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

    void pointMoveDialogLayoutAndFields()
    {
        DocumentState state;
        state.MoveDX = 1.25;
        FrmEditPntMov dialog(state);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("構成点移動量指定"));
        QCOMPARE(dialog.size(), QSize(265, 117));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        const auto field = [&dialog](const char* name) { return dialog.findChild<QWidget*>(QString::fromUtf8(name)); };
        QCOMPARE(field("Label1_1")->property("text").toString(), QStringLiteral("移動量 Y  (m)"));
        QCOMPARE(field("Text1_0")->geometry().left(), 108);
        QCOMPARE(field("Text1_1")->geometry().width(), 77);
        QCOMPARE(field("Command1_0")->geometry(), QRect(100, 76, 73, 29));
        QCOMPARE(field("Command1_1")->geometry().left(), 180);
        QCOMPARE(field("Command1_1")->property("text").toString(), QStringLiteral("キャンセル"));
        QVERIFY(qobject_cast<QPushButton*>(field("Command1_0"))->isDefault());

        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* x = qobject_cast<QLineEdit*>(field("Text1_0"));
        auto* y = qobject_cast<QLineEdit*>(field("Text1_1"));
        QCOMPARE(x->text(), QStringLiteral("1.250"));
        QVERIFY(x->hasFocus());
        for (const char* next : {"Text1_1", "Command1_0", "Command1_1", "Text1_0"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), field(next));
        }
        x->setText(QStringLiteral("abc"));
        // A click into Y selects all of it even though the click itself places the cursor.
        QTest::mouseClick(y, Qt::LeftButton, {}, QPoint(5, y->height() / 2));
        QVERIFY(y->hasFocus());
        QTRY_COMPARE(y->selectedText(), QStringLiteral("0.000"));
        QCOMPARE(x->text(), QStringLiteral("abc"));  // not a number: left as typed
        y->setText(QStringLiteral(" 1.5 "));
        x->setFocus(Qt::TabFocusReason);
        QCOMPARE(y->text(), QStringLiteral("1.500"));
        QTest::mouseClick(qobject_cast<QPushButton*>(field("Command1_1")), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(state.MoveOK, 0);
        QCOMPARE(state.MoveDY, 1.5);  // キャンセル stores what was typed
    }

    void pointMoveDialogKeepsANumberTooLargeForARealOut()
    {
        DocumentState state;
        state.MoveDY = 2;
        FrmEditPntMov dialog(state);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* y = dialog.findChild<QLineEdit*>(QStringLiteral("Text1_1"));
        QVERIFY(y);
        y->setText(QStringLiteral("1e400"));
        QString message;
        WhenModalOpens([&message](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            message = box->windowTitle() + u'|' + box->text();
            box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Command1_0")), Qt::LeftButton);
        QCOMPARE(message, QStringLiteral("Error|移動量 Y の数値が大きすぎて扱えません。"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), y);  // the field to correct, whole text selected
        QCOMPARE(y->selectedText(), QStringLiteral("1e400"));
        QCOMPARE(state.MoveDY, 2.0);
        QCOMPARE(state.MoveOK, 0);
        dialog.reject();
    }
};

std::unique_ptr<QObject> MakeModesTest() { return std::make_unique<ModesTest>(); }

#include "ModesTest.moc"
