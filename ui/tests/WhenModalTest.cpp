// The tests' answer to modal dialogs: whatever a test does inside an answer, and whatever the
// code under test opens, no dialog is left waiting for ever, and each answer reaches its dialog.

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>

#include "ModalDialogs.h"

using namespace chokusho;

class WhenModalTest : public QObject {
    Q_OBJECT

private slots:
    void aCheckThatFailsInsideTheAnswerStillClosesTheDialog()
    {
        QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), QStringLiteral("保存しますか?"),
                        QMessageBox::Yes | QMessageBox::No);
        bool carriedOn = false;
        test::WhenModal<QMessageBox>([&](QMessageBox*) {
            QEXPECT_FAIL("", "a check inside the answer fails and returns early", Abort);
            QVERIFY(false);
            carriedOn = true;
        });
        box.exec();  // returns only once the box is closed
        QVERIFY(!carriedOn);
        QVERIFY(!box.isVisible());
    }

    void anUnexpectedDialogFailsTheTestIsRejectedAndTheWatchWaitsOn()
    {
        QFileDialog expected(nullptr, QStringLiteral("保存"));
        expected.setOption(QFileDialog::DontUseNativeDialog, true);
        bool answered = false;
        test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            answered = dialog == &expected;
            dialog->reject();
        });
        QMessageBox intruder(QMessageBox::Warning, QStringLiteral("Error"), QStringLiteral("予期しない"),
                             QMessageBox::Ok);
        QEXPECT_FAIL("", "a message box comes up where a file dialog is awaited", Continue);
        intruder.exec();
        QVERIFY(!intruder.isVisible());
        QVERIFY(!answered);
        expected.exec();
        QVERIFY(answered);
    }

    void aDialogThatTheAnswerOpensWithoutAWatchIsRejected()
    {
        QMessageBox outer(QMessageBox::Question, QStringLiteral("確認"), QStringLiteral("外側"),
                          QMessageBox::Yes | QMessageBox::No);
        bool innerClosed = false;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            QMessageBox inner(QMessageBox::Warning, QStringLiteral("Error"), QStringLiteral("内側"), QMessageBox::Ok,
                              box);
            QEXPECT_FAIL("", "the answer opens a dialog that no watch awaits", Continue);
            inner.exec();
            innerClosed = !inner.isVisible();
            box->accept();
        });
        outer.exec();
        QVERIFY(innerClosed);
        QVERIFY(!outer.isVisible());
    }

    void watchesTakeTheDialogsThatComeUpAboveTheTestsOwnInTurn()
    {
        QDialog own;
        own.setModal(true);
        own.show();  // the test's own modal dialog, already up: not the next one
        QStringList answered;
        const auto answer = [&answered](QMessageBox* box) {
            answered << box->text();
            box->accept();
        };
        test::WhenModal<QMessageBox>(answer);
        test::WhenModal<QMessageBox>(answer);
        QMessageBox first(QMessageBox::Information, QString(), QStringLiteral("一つ目"), QMessageBox::Ok, &own);
        first.exec();
        QMessageBox second(QMessageBox::Information, QString(), QStringLiteral("二つ目"), QMessageBox::Ok, &own);
        second.exec();
        QCOMPARE(answered, QStringList({QStringLiteral("一つ目"), QStringLiteral("二つ目")}));
        QVERIFY(own.isVisible());
    }
};

QTEST_MAIN(WhenModalTest)
#include "WhenModalTest.moc"
