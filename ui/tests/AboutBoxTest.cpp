// The version box, the version file the build puts beside the program, and the icon set.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include "FileSystem.h"
#include "Icons.h"
#include "UiTests.h"
#include "frmAbout.h"

using namespace chokusho;

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
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblTitle_0"))->text(),
                 QStringLiteral("直立消波ブロックデータ作成"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblTitle_1"))->text(), QStringLiteral("Ver. 2.3.4"));
        const auto* icon = about.findChild<QLabel*>(QStringLiteral("picIcon"));
        QVERIFY(icon != nullptr);
        QVERIFY(!icon->pixmap().isNull());
        QVERIFY(!about.windowIcon().isNull());
    }

    void showsAnUnknownVersionWithoutTheFile()
    {
        QTemporaryDir program;
        frmAbout about(Folder(program));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblTitle_1"))->text(), QStringLiteral("Ver. X.X.X"));
    }

    void okIsTheDefaultAndCloses()
    {
        QTemporaryDir program;
        frmAbout about(Folder(program));
        auto* ok = about.findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QVERIFY(ok != nullptr);
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
        // The tests are built into the program's folder.
        QFile file(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("SYSVER.DAT")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(CHOKUSHO_VERSION "\r\n"));
    }

    void everyIconIsAValidTransparentPicture_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* name :
             {"chokusho.svg", "connect.svg", "delete-line.svg", "delete-point.svg", "grid.svg", "help.svg", "new.svg",
              "open.svg", "redraw.svg", "save.svg", "show-all.svg", "undo.svg", "zoom-in.svg", "zoom-out.svg"})
            QTest::newRow(name) << QString::fromUtf8(name);
    }

    void everyIconIsAValidTransparentPicture()
    {
        QFETCH(QString, file);
        const QIcon icon = UiIcon(file);  // also registers the resource
        QSvgRenderer svg(QStringLiteral(":/icons/") + file);
        QVERIFY(svg.isValid());
        // The icon engine draws it at any scale: 16 pixels at 100 %, 32 at 200 %.
        for (const int side : {16, 32}) {
            const QImage image = icon.pixmap(QSize(side, side)).toImage();
            QCOMPARE(image.size(), QSize(side, side));
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            int drawn = 0;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x)
                    drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
            QVERIFY2(drawn > side * side / 16, qPrintable(QString::number(drawn)));
        }
    }
};

std::unique_ptr<QObject> MakeAboutBoxTest() { return std::make_unique<AboutBoxTest>(); }

#include "AboutBoxTest.moc"
