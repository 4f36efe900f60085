// The version box and the version file the build puts beside the program for it.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "FileSystem.h"
#include "Widgets.h"
#include "frmAbout.h"

using namespace chokusho;
using test::Child;

namespace {

std::filesystem::path Folder(const QTemporaryDir& dir) { return PathFromUtf8(dir.path().toStdString()); }

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void showsTitleAndTheVersionOfTheProgramFolder()
    {
        QTemporaryDir program;
        WriteFile(program.filePath(QStringLiteral("SYSVER.DAT")), "2.3.4\r\n");
        frmAbout about(Folder(program));
        QCOMPARE(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        QVERIFY(about.isModal());
        auto* title = Child<QLabel>(about, "lblTitle_0");
        auto* version = Child<QLabel>(about, "lblTitle_1");
        auto* icon = Child<QLabel>(about, "picIcon");
        QVERIFY(title);
        QVERIFY(version);
        QVERIFY(icon);
        QCOMPARE(title->text(), QStringLiteral("直立消波ブロックデータ作成"));
        QCOMPARE(version->text(), QStringLiteral("Ver. 2.3.4"));
        QVERIFY(!icon->pixmap().isNull());
        QVERIFY(!about.windowIcon().isNull());
    }

    void showsAnUnknownVersionWithoutTheFile()
    {
        QTemporaryDir program;
        frmAbout about(Folder(program));
        auto* version = Child<QLabel>(about, "lblTitle_1");
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("Ver. X.X.X"));
    }

    void okIsTheDefaultAndCloses()
    {
        QTemporaryDir program;
        frmAbout about(Folder(program));
        auto* ok = Child<QPushButton>(about, "cmdOK");
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        about.open();
        QVERIFY(about.isVisible());
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void theBuildPutsTheVersionFileBesideTheProgram()
    {
        QFile file(QDir(QString::fromUtf8(CHOKUSHO_PROGRAM_DIR)).filePath(QStringLiteral("SYSVER.DAT")));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QCOMPARE(file.readAll(), QByteArray(CHOKUSHO_VERSION "\r\n"));
    }
};

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
