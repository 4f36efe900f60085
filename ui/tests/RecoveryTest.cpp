// Unsaved work kept for recovery through the main window: the timer writes it and a normal close
// removes it, the dialog at start restores, discards or keeps what an ended instance left, and a
// program killed in the middle of its work leaves a pair that the next start restores exactly.

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "BlockFile.h"
#include "EditOperations.h"
#include "FileSystem.h"
#include "ModalDialogs.h"
#include "QtText.h"
#include "RecoveryDialog.h"
#include "RecoveryServices.h"
#include "SampleBlocks.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;
using test::Child;

namespace {

/** The names of the recovery pairs in `folder`, with the extension of each file. */
QStringList FilesIn(const QTemporaryDir& folder)
{
    return QDir(folder.path()).entryList({QStringLiteral("*.csv"), QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
}

/** A pair that an ended instance left in `folder`. */
void LeavePair(const QTemporaryDir& folder, const std::string& name, const BlockData& record)
{
    LockedRecoveryFolder(folder.path(), name)
        .write(name, record, {"tei", "tei.csv", "/data/", "/data/", 2, "2026-12-07 10:00:00", 77});
}

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void anEditIsWrittenAndANormalCloseRemovesIt()
    {
        QTemporaryDir recovery;
        test::WindowFixture f;
        frmMain& window = f.show();
        window.startRecovery(recovery.path());
        PushUndo(f.state, undo_label::kAddPoint);
        QVERIFY(AddPoint(f.state, 1, 2));
        QTRY_COMPARE_WITH_TIMEOUT(FilesIn(recovery).size(), 2, 10000);

        // Another instance sees the pair as held by a running one.
        LockedRecoveryFolder other(recovery.path(), "chokusho-1-20260101000000");
        const std::string name = window.recovery()->keeper.name();
        QVERIFY(other.isHeld(name));

        test::WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
        QVERIFY(window.close());
        QCOMPARE(FilesIn(recovery), QStringList());
        f.window.reset();
        QVERIFY(!other.isHeld(name));
    }

    void theDialogRestoresDiscardsOrKeepsWhatWasLeft()
    {
        QTemporaryDir recovery;
        const BlockData left = test::ListedBlock("護岸 A", "前面傾斜型", 4, 3);
        LeavePair(recovery, "chokusho-10-20261207100000", left);
        LeavePair(recovery, "chokusho-11-20261207100000", left);
        QFile broken(recovery.filePath(QStringLiteral("chokusho-12-20261207100000.csv")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("no block\r\n");
        broken.close();

        test::WindowFixture f;
        frmMain& window = f.show();
        window.startRecovery(recovery.path());

        // 後で keeps every one.
        int rows = 0;
        test::WhenModal<RecoveryDialog>([&](RecoveryDialog* dialog) {
            rows = Child<QTreeWidget>(*dialog, "recoveryList")->topLevelItemCount();
            Child<QPushButton>(*dialog, "laterButton")->click();
        });
        window.offerRecovery();
        QCOMPARE(rows, 3);
        QCOMPARE(FilesIn(recovery).size(), 5);

        // 破棄 asks first; the unreadable pair cannot be restored, only discarded.
        bool restorable = true;
        test::WhenModal<RecoveryDialog>([&](RecoveryDialog* dialog) {
            auto* list = Child<QTreeWidget>(*dialog, "recoveryList");
            list->setCurrentItem(list->topLevelItem(2));
            restorable = Child<QPushButton>(*dialog, "restoreButton")->isEnabled();
            test::WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); });
            Child<QPushButton>(*dialog, "discardButton")->click();
            test::WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
            Child<QPushButton>(*dialog, "discardButton")->click();
            rows = list->topLevelItemCount();
            Child<QPushButton>(*dialog, "laterButton")->click();
        });
        window.offerRecovery();
        QVERIFY(!restorable);
        QCOMPARE(rows, 2);
        QVERIFY(!QFile::exists(recovery.filePath(QStringLiteral("chokusho-12-20261207100000.csv"))));

        // 復元 opens the block unsaved, under its file, and this instance takes the work over.
        test::WhenModal<RecoveryDialog>(
            [](RecoveryDialog* dialog) { Child<QPushButton>(*dialog, "restoreButton")->click(); });
        window.offerRecovery();
        QCOMPARE(f.state.CurData, left);
        QCOMPARE(f.state.BlkFile, std::string("tei.csv"));
        QVERIFY(window.logic().IsModified());
        QVERIFY(!QFile::exists(recovery.filePath(QStringLiteral("chokusho-10-20261207100000.csv"))));
        QVERIFY(QFile::exists(recovery.filePath(QStringLiteral("chokusho-11-20261207100000.csv"))));
        QVERIFY(QFile::exists(recovery.filePath(Utf8(window.recovery()->keeper.name() + ".csv"))));
    }

    void aKilledProgramLeavesItsWorkForTheNextStart()
    {
        QTemporaryDir recovery, data;
        const BlockData block = test::ListedBlock("護岸 A", "前面傾斜型", 4, 3);
        const std::string file = ToUtf8(data.filePath(QStringLiteral("block.csv")));
        WriteBlockFile(block, file);

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("CHOKUSHO_TEST_EDIT"), Utf8(file));
        environment.insert(QStringLiteral("CHOKUSHO_RECOVERY_FOLDER"), recovery.path());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CHOKUSHO_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(FilesIn(recovery).size(), 2, 30000);

        test::WindowFixture f;
        frmMain& window = f.make();
        window.startRecovery(recovery.path());
        QVERIFY2(window.recovery()->keeper.LeftBehind().empty(), "the running program's work is not offered");

        // SIGKILL; TerminateProcess on Windows: the program gets no chance to tidy up.
        program.kill();
        QVERIFY(program.waitForFinished());

        const std::vector<LeftRecovery> left = window.recovery()->keeper.LeftBehind();
        QCOMPARE(left.size(), std::size_t{1});
        QVERIFY2(left[0].content.ok, left[0].content.problem.c_str());
        DocumentState expected;
        expected.CurData = block;
        PushUndo(expected, undo_label::kAddPoint);
        QVERIFY(AddPoint(expected, 1.0 / 3, 2.5));
        QCOMPARE(left[0].content.record, expected.CurData);
        QCOMPARE(left[0].content.info.blkFile, std::string("block.csv"));
        QCOMPARE(left[0].content.info.undoCount, 1);
    }
};

QTEST_MAIN(RecoveryTest)
#include "RecoveryTest.moc"
