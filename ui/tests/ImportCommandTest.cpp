// "chokusho --import": the arguments it takes or refuses, and the program itself run without a
// display: a block file written from a drawing, an existing one kept unless --force, a file that
// is no DXF refused with nothing written.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <variant>

#include "BlockFile.h"
#include "Drawing.h"
#include "DxfWriter.h"
#include "ExportCommand.h"
#include "ImportCommand.h"
#include "ProgramRun.h"
#include "QtText.h"
#include "SampleBlocks.h"

using namespace chokusho;

namespace {

QStringList List(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list << Utf8(item);
    return list;
}

QStringList Arguments(const QStringList& arguments)
{
    QStringList list{QStringLiteral("chokusho")};
    list.append(arguments);
    return list;
}

test::ProgramResult RunProgram(const QStringList& arguments, const QString& folder)
{
    return test::RunProgram(QStringLiteral(CHOKUSHO_PROGRAM), arguments, folder);
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ImportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void argumentsAreTakenOrRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("taken");
        const auto row = [](const char* name, std::initializer_list<const char*> arguments, bool taken) {
            QTest::newRow(name) << List(arguments) << taken;
        };
        row("all options",
            {"--import", "a.dxf", "b.csv", "--unit", "cm", "--layers=A, B", "--tolerance", "0.5", "--force"}, true);
        row("options first", {"--tolerance=2", "--import", "a.dxf", "b.csv"}, true);
        row("one file", {"--import", "a.dxf"}, false);
        row("three files", {"--import", "a.dxf", "b.csv", "c.csv"}, false);
        row("a unit it does not know", {"--import", "a.dxf", "b.csv", "--unit", "inch"}, false);
        row("no tolerance", {"--import", "a.dxf", "b.csv", "--tolerance", "0"}, false);
        row("a tolerance that is no number", {"--import", "a.dxf", "b.csv", "--tolerance", "1mm"}, false);
        row("no layers", {"--import", "a.dxf", "b.csv", "--layers", ","}, false);
        row("a value missing", {"--import", "a.dxf", "b.csv", "--unit", "--force"}, false);
        row("an export option", {"--import", "a.dxf", "b.csv", "--scale", "1:50"}, false);
    }
    void argumentsAreTakenOrRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, taken);
        QVERIFY(AsksForImport(Arguments(arguments)));
        const auto request = ParseImportRequest(Arguments(arguments));
        QCOMPARE(std::holds_alternative<ImportRequest>(request), taken);
    }

    void optionsReachTheImport()
    {
        const auto parsed = ParseImportRequest(Arguments(List(
            {"--import", "in.dxf", "out.csv", "--unit=m", "--layers", "外形,B", "--tolerance", "2.5", "--force"})));
        const auto* request = std::get_if<ImportRequest>(&parsed);
        QVERIFY(request);
        QCOMPARE(request->input, QStringLiteral("in.dxf"));
        QCOMPARE(request->output, QStringLiteral("out.csv"));
        QVERIFY(request->options.unit == DxfUnit::Metre);
        QVERIFY(request->options.layers == (std::vector<std::string>{"外形", "B"}));
        QCOMPARE(request->options.toleranceMm, 2.5);
        QVERIFY(request->force);
    }

    void theProgramWritesABlockFromADrawing()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        const BlockData block = test::ListedBlock("元", "", 4, 3);
        {
            QFile dxf(folder.filePath(QStringLiteral("in.dxf")));
            QVERIFY(dxf.open(QIODevice::WriteOnly));
            const std::string bytes = FormatDxf(BuildDrawing(block, DrawingOptions{}, "元.csv", "2026/01/01"));
            dxf.write(bytes.data(), static_cast<qint64>(bytes.size()));
        }
        const QStringList arguments = List({"--import", "in.dxf", "断面.csv", "--layers", "OUTLINE,DOTTED"});
        const auto first = RunProgram(arguments, dir.path());
        QCOMPARE(first.exitCode, kExportDone);
        QVERIFY2(first.err.isEmpty(), qPrintable(first.err));
        QCOMPARE(first.out.count(QLatin1Char('\n')), 1);

        BlockData read;
        QVERIFY(ReadBlockFileNamed(read, ToUtf8(folder.path() + QLatin1Char('/')), "断面.csv").ok());
        QCOMPARE(read.Name, std::string("断面"));
        QCOMPARE(read.PointCount, block.PointCount);
        QVERIFY(read.PointX == block.PointX && read.PointY == block.PointY);
        QCOMPARE(read.LineCount, block.LineCount);
        QVERIFY(read.LineStart == block.LineStart && read.LineEnd == block.LineEnd && read.LineKind == block.LineKind);

        // There now: kept as it is, unless forced.
        const QByteArray written = Bytes(folder.filePath(QStringLiteral("断面.csv")));
        const auto again = RunProgram(arguments + List({"--layers", "OUTLINE"}), dir.path());
        QCOMPARE(again.exitCode, kExportFailed);
        QVERIFY(again.out.isEmpty());
        QCOMPARE(Bytes(folder.filePath(QStringLiteral("断面.csv"))), written);
        const auto forced = RunProgram(arguments + List({"--layers", "OUTLINE", "--force"}), dir.path());
        QCOMPARE(forced.exitCode, kExportDone);
        QVERIFY(Bytes(folder.filePath(QStringLiteral("断面.csv"))) != written);
    }

    void theProgramWritesNothingFromWhatItCannotImport()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        {
            QFile dwg(folder.filePath(QStringLiteral("drawing.dwg")));
            QVERIFY(dwg.open(QIODevice::WriteOnly));
            dwg.write("AC1032\0\0\0\0\0", 11);
        }
        const struct {
            QStringList arguments;
            int exitCode;
        } runs[] = {
            {List({"--import", "drawing.dwg", "out.csv"}), kExportFailed},
            {List({"--import", "missing.dxf", "out.csv"}), kExportFailed},
            {List({"--import", "drawing.dwg", "out.csv", "--unit", "ft"}), kExportUsage},
        };
        for (const auto& run : runs) {
            const auto result = RunProgram(run.arguments, dir.path());
            QCOMPARE(result.exitCode, run.exitCode);
            QVERIFY(result.out.isEmpty());
            QVERIFY(!result.err.isEmpty());
            QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("out.csv"))));
        }
    }
};

QTEST_MAIN(ImportCommandTest)
#include "ImportCommandTest.moc"
