// The version box, the version on the command line, and the version file the build puts beside
// the program for them.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "CommandLine.h"
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
        auto* licence = Child<QLabel>(about, "lblLicense");
        QVERIFY(licence);
        QCOMPARE(licence->text(), QStringLiteral("MIT ライセンスで公開しています。"));
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

    void theCommandLineAsksForTheVersionOrTheUsageOrTheEditor()
    {
        QTemporaryDir program;
        WriteFile(program.filePath(QStringLiteral("SYSVER.DAT")), "2.3.4\r\n");
        // What asks for an answer before any window opens is what is answered.
        QStringList disagreeing;
        const auto answer = [&](QStringList arguments) {
            arguments.prepend(QStringLiteral("chokusho"));
            auto text = TerminalAnswer(arguments, Folder(program));
            if (AsksForTerminalAnswer(arguments) != text.has_value())
                disagreeing << arguments.join(QLatin1Char(' '));
            return text;
        };
        QCOMPARE(answer({QStringLiteral("--version")}), QStringLiteral("chokusho 2.3.4\n"));
        QCOMPARE(answer({QStringLiteral("-v")}), QStringLiteral("chokusho 2.3.4\n"));
        // The first that asks is answered; Qt's own options may stand before it.
        QCOMPARE(answer({QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--version"),
                         QStringLiteral("--help")}),
                 QStringLiteral("chokusho 2.3.4\n"));
        for (const char* help : {"--help", "-h", "-?", "/?"}) {
            const auto usage = answer({QString::fromLatin1(help)});
            QVERIFY2(usage && usage->contains(QStringLiteral("--version")) &&
                         usage->startsWith(QStringLiteral("直立消波ブロック設定\n")),
                     help);
        }
        // Anything else starts the editor, as does no argument at all.
        QCOMPARE(answer({}), std::nullopt);
        QCOMPARE(answer({QStringLiteral("-platform"), QStringLiteral("offscreen")}), std::nullopt);
        QCOMPARE(answer({QStringLiteral("--versions"), QStringLiteral("block.csv")}), std::nullopt);
        QVERIFY2(disagreeing.isEmpty(), qPrintable(disagreeing.join(QStringLiteral(", "))));
        // The program name itself is never taken for an option.
        QCOMPARE(TerminalAnswer({QStringLiteral("--version")}, Folder(program)), std::nullopt);

        QTemporaryDir empty;
        QCOMPARE(TerminalAnswer({QStringLiteral("chokusho"), QStringLiteral("--version")}, Folder(empty)),
                 QStringLiteral("chokusho X.X.X\n"));
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
