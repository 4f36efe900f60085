// New, Open and Save through the main window: a block opened through the picker, a cancelled
// picker, unsaved changes asked about first, and folder views that never open what they list.

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "BlockFile.h"
#include "BlockPicker.h"
#include "FrmBlkShoSel.h"
#include "ModalDialogs.h"
#include "QtText.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;
using test::Child;

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheSecondBlockThroughThePicker()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        window.show();
        QString caption, heading, chosen;
        QStringList lines;
        bool filled = false;
        test::WhenModal<FrmBlkShoSel>([&](FrmBlkShoSel* picker) {
            auto* list = Child<QListWidget>(*picker, "List1");
            auto* headingLabel = Child<QLabel>(*picker, "Label1");
            auto* chosenLabel = Child<QLabel>(*picker, "Label3");
            auto* choose = Child<QPushButton>(*picker, "Command1_0");
            QVERIFY(list);
            QVERIFY(headingLabel);
            QVERIFY(chosenLabel);
            QVERIFY(choose);
            filled = QTest::qWaitFor([list] { return list->count() == 2; });
            caption = picker->windowTitle();
            heading = headingLabel->text();
            lines = test::Lines(*list);
            if (list->count() == 2) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
                chosen = chosenLabel->text();
            }
            QTest::mouseClick(choose, Qt::LeftButton);
        });
        QVERIFY(test::Trigger(window, "mnuFileOpen"));

        QVERIFY(filled);
        QCOMPARE(caption, QStringLiteral("直立消波ブロック - 形状選択"));
        QCOMPARE(heading, QString::fromUtf8(kPickerHeading));
        // NOTES.CSV is no block file and is left out; the others in name order.
        QCOMPARE(lines, QStringList({Utf8(BlockListLine(f.first)), Utf8(BlockListLine(f.second))}));
        QCOMPARE(chosen, QStringLiteral("BLK2"));
        QCOMPARE(Utf8(f.state.BlkName), QStringLiteral("BLK2"));
        QVERIFY(f.state.CurData == f.second);
        QVERIFY(f.state.SavedData == f.second);
        QCOMPARE(window.windowTitle(), QStringLiteral("直立消波ブロック設定 - BLK2"));
    }

    void folderViewsNeverOpenTheFilesTheyList()
    {
#ifdef Q_OS_LINUX
        // A file of /proc such as kmsg blocks the reader for ever, and a pipe blocks its opener:
        // the views must tell what an entry is from its name and kind alone. The kernel reports
        // every opening of these two, whoever opens them.
        test::DataFolderFixture f;
        const QString plain = f.data.filePath(QStringLiteral("kmsg"));
        QFile stand(plain);
        QVERIFY(stand.open(QIODevice::WriteOnly));
        stand.write("<6>a kernel message with no name of its type\n");
        stand.close();
        const QByteArray fifo = QFile::encodeName(f.data.filePath(QStringLiteral("x.csv")));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), f.data.filePath(QStringLiteral("zero"))));
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(::inotify_add_watch(watch, QFile::encodeName(plain).constData(), IN_OPEN) >= 0);
        QVERIFY(::inotify_add_watch(watch, fifo.constData(), IN_OPEN) >= 0);
        // Should a view open the pipe after all, a writer lets it go so that the test ends.
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            while (!stop) {
                const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });

        frmMain& window = f.makeOnData();
        window.show();
        bool pickerListed = false;
        test::WhenModal<FrmBlkShoSel>([&](FrmBlkShoSel* picker) {
            auto* tree = Child<QTreeView>(*picker, "Dir1");
            QVERIFY(tree);
            auto* model = qobject_cast<QFileSystemModel*>(tree->model());
            QVERIFY(model);
            QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
            tree->expand(model->index(f.data.path()));
            pickerListed = QTest::qWaitFor([&] {
                return std::any_of(loaded.begin(), loaded.end(),
                                   [&](const QList<QVariant>& args) { return args.at(0).toString() == f.data.path(); });
            });
            picker->grab();
            picker->reject();
        });
        const bool opened = test::Trigger(window, "mnuFileOpen");

        bool dialogListed = false;
        test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            dialog->setNameFilter(QStringLiteral("*"));
            auto* list = Child<QListView>(*dialog, "listView");
            QVERIFY(list);
            dialogListed = QTest::qWaitFor([list] {
                const QModelIndex root = list->rootIndex();
                for (int row = 0; row < list->model()->rowCount(root); ++row) {
                    if (list->model()->index(row, 0, root).data().toString() == QStringLiteral("kmsg"))
                        return true;
                }
                return false;
            });
            dialog->grab();
            dialog->reject();
        });
        const bool saved = test::Trigger(window, "mnuFileSave");

        stop = true;
        writer.join();
        char events[4096];
        const auto got = ::read(watch, events, sizeof events);
        ::close(watch);
        QVERIFY(opened);
        QVERIFY(saved);
        QVERIFY(pickerListed);
        QVERIFY(dialogListed);
        QVERIFY2(got <= 0, "a folder view opened a file it listed");
#else
        QSKIP("the kernel's report of openings is Linux's");
#endif
    }

    void aCancelledPickerLeavesDataPathWhereTheTreeWent()
    {
        test::DataFolderFixture f;
        QVERIFY(QDir(f.data.path()).mkdir(QStringLiteral("sub")));
        const QString sub = f.data.filePath(QStringLiteral("sub"));
        WriteBlockFile(f.first, (sub + QStringLiteral("/ONLY.csv")).toStdString());
        frmMain& window = f.makeOnData();
        window.show();
        f.state.CurData = f.second;
        f.state.SavedData = f.second;
        QStringList lines;
        bool loaded = false;
        test::WhenModal<FrmBlkShoSel>([&](FrmBlkShoSel* picker) {
            auto* tree = Child<QTreeView>(*picker, "Dir1");
            auto* list = Child<QListWidget>(*picker, "List1");
            auto* cancel = Child<QPushButton>(*picker, "Command1_1");
            QVERIFY(tree);
            QVERIFY(list);
            QVERIFY(cancel);
            auto* model = qobject_cast<QFileSystemModel*>(tree->model());
            QVERIFY(model);
            const QModelIndex folder = model->index(f.data.path());
            // The tree's rows come from a loader thread; the click waits for them.
            loaded = QTest::qWaitFor([&] { return model->rowCount(folder) == 1; });
            const QModelIndex subIndex = model->index(sub);
            tree->scrollTo(subIndex);
            // On the name's start: a deep folder's row runs on beyond the viewport.
            const QRect row = tree->visualRect(subIndex);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(row.left() + 8, row.center().y()));
            lines = test::Lines(*list);
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        QVERIFY(test::Trigger(window, "mnuFileOpen"));

        QVERIFY(loaded);
        QCOMPARE(lines, QStringList({Utf8(BlockListLine(f.first))}));
        QCOMPARE(Utf8(f.state.DataPath), QDir::toNativeSeparators(sub) + QDir::separator());
        QCOMPARE(Utf8(f.state.BlkName), QStringLiteral("無題"));
        QVERIFY(f.state.CurData == f.second);
    }

    void newAsksAboutUnsavedChangesFirst()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        f.state.CurData = f.second;
        // Yes leads to the save dialog; cancelling it keeps the block.
        test::WhenModal<QMessageBox>([](QMessageBox* box) {
            test::WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
            auto* yes = box->button(QMessageBox::Yes);
            QVERIFY(yes);
            yes->click();
        });
        QVERIFY(test::Trigger(window, "mnuFileNew"));
        QVERIFY(f.state.CurData == f.second);

        QString title, text;
        test::WhenModal<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            auto* no = box->button(QMessageBox::No);
            QVERIFY(no);
            no->click();
        });
        QVERIFY(test::Trigger(window, "mnuFileNew"));
        QCOMPARE(title, QStringLiteral("保存確認"));
        QCOMPARE(text, QStringLiteral("データが更新されています。保存しますか?"));
        QVERIFY(f.state.CurData == BlockData());
        QCOMPARE(Utf8(f.state.BlkName), QStringLiteral("無題"));
        QCOMPARE(window.windowTitle(), QStringLiteral("直立消波ブロック設定"));
    }
};

QTEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"
