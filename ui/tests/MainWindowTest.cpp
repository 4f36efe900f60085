#include <QtTest>

#include "DocumentState.h"
#include "frmMain.h"

using namespace chokusho;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startsUntitledWithItsCaption()
    {
        DocumentState state;
        frmMain window(state);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("直立消波ブロック設定"));
        QCOMPARE(QString::fromStdString(state.BlkName), QStringLiteral("無題"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
