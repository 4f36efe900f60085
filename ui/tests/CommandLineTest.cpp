// The editor's command line: which arguments are options, which options the program and Qt know,
// and the program itself refusing what it does not know before it opens a window.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "CommandLine.h"
#include "ExportCommand.h"
#include "ProgramRun.h"

using namespace chokusho;

namespace {

QStringList Arguments(QStringList arguments)
{
    arguments.prepend(QStringLiteral("chokusho"));
    return arguments;
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void optionsAreKnownOrRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("problem");
        QTest::newRow("a file") << QStringList{QStringLiteral("a.csv")} << QStringLiteral("a.csv") << QString();
        QTest::newRow("Qt's options and their values")
            << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--style"),
                           QStringLiteral("fusion"),    QStringLiteral("-reverse"),  QStringLiteral("-qwindowtitle"),
                           QStringLiteral("x.csv"),     QStringLiteral("b.csv")}
            << QStringLiteral("b.csv") << QString();
        QTest::newRow("Qt's values attached")
            << QStringList{QStringLiteral("-style=fusion"), QStringLiteral("--stylesheet=a.qss"),
                           QStringLiteral("c.csv")}
            << QStringLiteral("c.csv") << QString();
        QTest::newRow("the program's own")
            << QStringList{QStringLiteral("--help"), QStringLiteral("-v")} << QString() << QString();
        QTest::newRow("a name with a dash")
            << QStringList{QStringLiteral("--"), QStringLiteral("-c.csv")} << QStringLiteral("-c.csv") << QString();
        QTest::newRow("no option after --")
            << QStringList{QStringLiteral("--"), QStringLiteral("--bogus")} << QStringLiteral("--bogus") << QString();
        QTest::newRow("an unknown option") << QStringList{QStringLiteral("--bogus"), QStringLiteral("a.csv")}
                                           << QString() << UnknownOptionMessage(QStringLiteral("--bogus"));
        QTest::newRow("an unknown letter") << QStringList{QStringLiteral("a.csv"), QStringLiteral("-x")} << QString()
                                           << UnknownOptionMessage(QStringLiteral("-x"));
        QTest::newRow("a form Qt does not take") << QStringList{QStringLiteral("--platform=offscreen")} << QString()
                                                 << UnknownOptionMessage(QStringLiteral("--platform=offscreen"));
        QTest::newRow("a value missing") << QStringList{QStringLiteral("a.csv"), QStringLiteral("-platform")}
                                         << QString() << MissingValueMessage(QStringLiteral("-platform"));
        QTest::newRow("the first problem") << QStringList{QStringLiteral("-bogus"), QStringLiteral("-style")}
                                           << QString() << UnknownOptionMessage(QStringLiteral("-bogus"));
        // The export's own parser says what is wrong with its arguments.
        QTest::newRow("the export's options") << QStringList{QStringLiteral("--export"), QStringLiteral("a.pdf"),
                                                             QStringLiteral("--scale=1:50"), QStringLiteral("a.csv")}
                                              << QString() << QString();
    }
    void optionsAreKnownOrRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(QString, problem);
        QCOMPARE(ArgumentProblem(Arguments(arguments)).value_or(QString()), problem);
        QCOMPARE(FileToOpen(Arguments(arguments)).value_or(QString()), file);
    }

    void theProgramRefusesWhatItDoesNotKnowWithoutAWindow()
    {
        QTemporaryDir dir;
        for (const QStringList& arguments : {QStringList{QStringLiteral("--bogus"), QStringLiteral("a.csv")},
                                             QStringList{QStringLiteral("-platform")}}) {
            const auto result = test::RunProgram(QStringLiteral(CHOKUSHO_PROGRAM), arguments, dir.path());
            const QString said = QStringLiteral("chokusho: ") +
                                 ArgumentProblem(Arguments(arguments)).value_or(QString()) + QLatin1Char('\n');
            QCOMPARE(result.exitCode, kExportUsage);
            QCOMPARE(result.err, said);
            QVERIFY(result.out.isEmpty());
        }
    }

    void wildcardsStandForTheFoldersFiles()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("ブロック")) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(folder));
        for (const char* name : {"b-10.csv", "B-2.csv", "a.txt", "ソ表.CSV"})
            QVERIFY(QFile(folder + QString::fromUtf8(name)).open(QIODevice::WriteOnly));
        const QStringList expanded{folder + QStringLiteral("B-2.csv"), folder + QStringLiteral("b-10.csv"),
                                   folder + QStringLiteral("ソ表.CSV"), QStringLiteral("plain.csv")};
        QCOMPARE(std::get<QStringList>(
                     ExpandWildcards({folder + QStringLiteral("*.csv"), QStringLiteral("plain.csv")})),
                 expanded);
        QCOMPARE(std::get<QString>(ExpandWildcards({folder + QStringLiteral("*.dxf")})),
                 QStringLiteral("「%1*.dxf」に合うファイルがありません。").arg(folder));
#ifdef Q_OS_WIN
        // The shells of Windows leave the pattern to the program.
        const QString pattern = QDir::toNativeSeparators(folder) + QStringLiteral("*.csv");
        const auto byPattern = test::RunProgram(QStringLiteral(CHOKUSHO_PROGRAM), {QStringLiteral("--check"), pattern},
                                                dir.path());
        const auto byName = test::RunProgram(QStringLiteral(CHOKUSHO_PROGRAM),
                                             QStringList{QStringLiteral("--check")} + expanded.mid(0, 3), dir.path());
        QCOMPARE(byPattern.out, byName.out);
        QCOMPARE(byPattern.exitCode, byName.exitCode);
        const auto none = test::RunProgram(QStringLiteral(CHOKUSHO_PROGRAM),
                                           {QStringLiteral("--check"), pattern + QStringLiteral("x")}, dir.path());
        QVERIFY2(none.err.contains(pattern + QStringLiteral("x")), qPrintable(none.err));
        QCOMPARE(none.exitCode, kExportFailed);
#endif
    }
};

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
