// The point-move dialog (FrmEditPntMov) on its own: layout, focus order, how its fields show
// what was typed, boxes wide enough for every figure, and a number too large to store.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <initializer_list>

#include "DocumentState.h"
#include "FigureFits.h"
#include "FrmEditPntMov.h"
#include "ModalDialogs.h"
#include "Widgets.h"

using namespace chokusho;
using test::Child;

class PointMoveDialogTest : public QObject {
    Q_OBJECT

private slots:
    void layoutAndFields()
    {
        DocumentState state;
        state.MoveDX = 1.25;
        FrmEditPntMov dialog(state);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("構成点移動量指定"));
        QCOMPARE(dialog.size(), QSize(265, 117));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        auto* yLabel = Child<QLabel>(dialog, "Label1_1");
        auto* x = Child<QLineEdit>(dialog, "Text1_0");
        auto* y = Child<QLineEdit>(dialog, "Text1_1");
        auto* ok = Child<QPushButton>(dialog, "Command1_0");
        auto* cancel = Child<QPushButton>(dialog, "Command1_1");
        QVERIFY(yLabel);
        QVERIFY(x);
        QVERIFY(y);
        QVERIFY(ok);
        QVERIFY(cancel);
        QCOMPARE(yLabel->text(), QStringLiteral("移動量 Y  (m)"));
        QCOMPARE(x->geometry().left(), 108);
        // At least as wide as the form drew it; wider where the font needs it for the widest figure.
        QVERIFY2(y->geometry().width() >= 77, qPrintable(QString::number(y->geometry().width())));
        QCOMPARE(ok->geometry(), QRect(100, 76, 73, 29));
        QCOMPARE(cancel->geometry().left(), 180);
        QCOMPARE(cancel->text(), QStringLiteral("キャンセル"));
        QVERIFY(ok->isDefault());

        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(x->text(), QStringLiteral("1.250"));
        QVERIFY(x->hasFocus());
        for (QWidget* next : std::initializer_list<QWidget*>{y, ok, cancel, x}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
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
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!state.MoveOK);
        QCOMPARE(state.MoveDY, 1.5);  // キャンセル stores what was typed
    }

    void theBoxesShowTheWidestFigure_data() { test::FontSizeRows(); }

    void theBoxesShowTheWidestFigure()
    {
        QFETCH(int, pixelSize);
        const test::ApplicationFont font(pixelSize);
        DocumentState state;
        FrmEditPntMov dialog(state);
        test::ShowAndExpose(dialog);
        for (const char* name : {"Text1_0", "Text1_1"}) {
            auto* box = Child<QLineEdit>(dialog, name);
            QVERIFY(box);
            const int lacking = test::PixelsShort(*box, QStringLiteral("-12345.678"));
            QVERIFY2(lacking <= 0,
                     qPrintable(QStringLiteral("%1 lacks %2 px").arg(QString::fromUtf8(name)).arg(lacking)));
            QCOMPARE(box->x(), 108);
            QVERIFY(box->geometry().right() < dialog.width());
        }
    }

    void keepsANumberTooLargeForARealOut()
    {
        DocumentState state;
        state.MoveDY = 2;
        FrmEditPntMov dialog(state);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* y = Child<QLineEdit>(dialog, "Text1_1");
        auto* ok = Child<QPushButton>(dialog, "Command1_0");
        QVERIFY(y);
        QVERIFY(ok);
        y->setText(QStringLiteral("1e400"));
        QString message;
        test::WhenModal<QMessageBox>([&message](QMessageBox* box) {
            message = box->windowTitle() + u'|' + box->text();
            auto* button = box->button(QMessageBox::Ok);
            QVERIFY(button);
            button->click();
        });
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(message, QStringLiteral("Error|移動量 Y の数値が大きすぎて扱えません。"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), y);  // the field to correct, whole text selected
        QCOMPARE(y->selectedText(), QStringLiteral("1e400"));
        QCOMPARE(state.MoveDY, 2.0);
        QVERIFY(!state.MoveOK);
        dialog.reject();
    }
};

QTEST_MAIN(PointMoveDialogTest)
#include "PointMoveDialogTest.moc"
