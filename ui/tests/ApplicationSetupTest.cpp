// What the program sets on its application before the main window, as main() and the start-up
// benchmark both do it.

#include <QApplication>
#include <QLocale>
#include <QTest>

#include "ApplicationSetup.h"

class ApplicationSetupTest : public QObject {
    Q_OBJECT

private slots:
    void qtsOwnTextsAndFormatsAreJapanese()
    {
        chokusho::SetUpApplication(*qApp);
        QCOMPARE(QApplication::applicationName(), QStringLiteral("chokusho"));
        QVERIFY(!QApplication::windowIcon().isNull());
        QCOMPARE(QLocale().language(), QLocale::Japanese);
        // The standard buttons of Qt's dialogs and message boxes.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    }
};

QTEST_MAIN(ApplicationSetupTest)
#include "ApplicationSetupTest.moc"
