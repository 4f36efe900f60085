// 最近使ったファイル through the main window: an opened block is listed, kept in the settings of
// the configuration folder for the next window, opened again by its entry, and 一覧を消去 empties
// the list.

#include <QAction>
#include <QMenu>
#include <QTest>

#include "BlockFile.h"
#include "QtText.h"
#include "Widgets.h"
#include "WindowFixture.h"
#include "frmMain.h"

using namespace chokusho;
using test::Child;
using test::Item;

class RecentFilesTest : public QObject {
    Q_OBJECT

private slots:
    void theListIsKeptAndItsEntriesOpenTheirBlocks()
    {
        test::DataFolderFixture f;
        frmMain& window = f.makeOnData();
        window.logic().OpenFile(f.dataFile("BLK1.csv"));
        window.logic().OpenFile(f.dataFile("BLK2.csv"));
        QCOMPARE(window.logic().recent().paths().size(), std::size_t{2});

        // The next window of the same configuration folder lists them too, newest first.
        f.window.reset();
        frmMain& next = f.make();
        auto* recent = Child<QMenu>(next, "mnuFileRecent");
        QVERIFY(recent);
        QAction* newest = recent->findChild<QAction*>(QStringLiteral("recentFile1"));
        QVERIFY(newest);
        QVERIFY(recent->findChild<QAction*>(QStringLiteral("recentFile2")));
        QVERIFY(Item(next, "mnuFileRecentClear")->isEnabled());

        newest->trigger();
        QCOMPARE(f.state.CurData, f.second);
        QCOMPARE(f.state.BlkFile, std::string("BLK2.csv"));

        Item(next, "mnuFileRecentClear")->trigger();
        QVERIFY(!recent->findChild<QAction*>(QStringLiteral("recentFile1")));
        QVERIFY(!Item(next, "mnuFileRecentClear")->isEnabled());
        f.window.reset();
        QVERIFY(f.make().logic().recent().paths().empty());
    }
};

QTEST_MAIN(RecentFilesTest)
#include "RecentFilesTest.moc"
