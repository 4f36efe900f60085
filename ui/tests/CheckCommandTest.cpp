// "chokusho --check": the program itself run without a display on sound, noticed, open and broken
// block files and on folders, its exit codes, and its CSV.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "BlockFile.h"
#include "ExportCommand.h"
#include "ProgramRun.h"
#include "QtText.h"
#include "SampleBlocks.h"

using namespace chokusho;

namespace {

/** A 4 x 3 rectangle, Ｌ 2, with the figures entered as computed but V: 24, centroid (2, 1.5). */
BlockData Rectangle(double v = 24)
{
    BlockData r = test::RectangleBlock(4, 3);
    r.L = 2;
    r.V = v;
    return r;
}

/** The rectangle less its right side: nothing closed. */
BlockData Open()
{
    BlockData r = Rectangle();
    r.LineCount = 3;
    return r;
}

void Write(const QString& folder, const char* name, const BlockData& record)
{
    WriteBlockFile(record, ToUtf8(QDir(folder).filePath(Utf8(name))));
}

test::ProgramResult Run(const QStringList& arguments, const QString& folder)
{
    return test::RunProgram(QStringLiteral(CHOKUSHO_PROGRAM), arguments, folder);
}

}  // namespace

class CheckCommandTest : public QObject {
    Q_OBJECT

private slots:
    void theExitCodeSaysWhetherSomethingIsWrong_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("sound") << QStringList{QStringLiteral("--check"), QStringLiteral("sound.csv")} << kExportDone;
        QTest::newRow("a notice only") << QStringList{QStringLiteral("--check"), QStringLiteral("notice.csv")} << kExportDone;
        QTest::newRow("an open outline") << QStringList{QStringLiteral("--check"), QStringLiteral("sound.csv"), QStringLiteral("open.csv")}
                                         << kExportFailed;
        QTest::newRow("no block file") << QStringList{QStringLiteral("--csv"), QStringLiteral("--check"), QStringLiteral("text.csv")}
                                       << kExportFailed;
        QTest::newRow("a missing file") << QStringList{QStringLiteral("--check"), QStringLiteral("missing.csv")} << kExportFailed;
        QTest::newRow("nothing to check") << QStringList{QStringLiteral("--check"), QStringLiteral("--csv")} << kExportUsage;
        QTest::newRow("an unknown option") << QStringList{QStringLiteral("--check"), QStringLiteral("--bogus"), QStringLiteral("sound.csv")}
                                           << kExportUsage;
    }
    void theExitCodeSaysWhetherSomethingIsWrong()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        Write(dir.path(), "sound.csv", Rectangle());
        Write(dir.path(), "notice.csv", Rectangle(20));
        Write(dir.path(), "open.csv", Open());
        QFile text(QDir(dir.path()).filePath(QStringLiteral("text.csv")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("a,b\n");
        text.close();
        const test::ProgramResult result = Run(arguments, dir.path());
        QVERIFY2(result.exitCode == exitCode, qPrintable(result.out + result.err));
    }

    void theCsvHasAHeaderAndARowPerFile()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("blocks")));
        const QString blocks = dir.path() + QStringLiteral("/blocks");
        Write(blocks, "B-2.csv", Rectangle(20));
        Write(blocks, "B-10.CSV", Open());
        Write(blocks, "x,y.csv", Rectangle());
        const test::ProgramResult result =
            Run({QStringLiteral("--check"), QStringLiteral("--csv"), QStringLiteral("blocks")}, dir.path());
        QCOMPARE(result.exitCode, kExportFailed);
        const QStringList lines = result.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("file,area_m2,centroid_x_m,centroid_y_m,prism_volume_m3,V_m3,Gx_m,Gy_m,"
                                          "layer_sum_m3,problems"));
        // In the picker's order: B-2 before B-10.
        QCOMPARE(lines[1], QStringLiteral("blocks/B-2.csv,12.0000,2.0000,1.5000,24.0000,20.0000,2.0000,1.5000,,volume-differs"));
        QVERIFY2(lines[2].startsWith(QStringLiteral("blocks/B-10.CSV,0.0000,")) && lines[2].endsWith(QStringLiteral(",open-outline")),
                 qPrintable(lines[2]));
        QCOMPARE(lines[3], QStringLiteral("\"blocks/x,y.csv\",12.0000,2.0000,1.5000,24.0000,24.0000,2.0000,1.5000,,"));
        QCOMPARE(lines[4], QString());
    }

    void theHelpListsTheCheck()
    {
        QTemporaryDir dir;
        const test::ProgramResult result = Run({QStringLiteral("--help")}, dir.path());
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains(QStringLiteral("--check")));
        QVERIFY(result.out.contains(QStringLiteral("--csv")));
    }
};

QTEST_MAIN(CheckCommandTest)
#include "CheckCommandTest.moc"
