// "chokusho --export": where each drawing goes, the arguments refused before anything is
// written, and the program itself run without a display on good, broken and missing files.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <variant>

#include "BlockFile.h"
#include "ExportCommand.h"
#include "ProgramRun.h"
#include "QtText.h"
#include "SampleBlocks.h"

using namespace chokusho;

namespace {

QStringList Arguments(std::initializer_list<QString> arguments)
{
    QStringList list{QStringLiteral("chokusho")};
    list.append(arguments);
    return list;
}

using Result = test::ProgramResult;

/** The program run as a user runs it from a terminal with no display. */
Result RunProgram(const QStringList& arguments, const QString& folder)
{
    return test::RunProgram(QStringLiteral(CHOKUSHO_PROGRAM), arguments, folder);
}

void WriteBlock(const QDir& folder, const char* name, const BlockData& record)
{
    WriteBlockFile(record, ToUtf8(folder.filePath(Utf8(name))));
}

void WriteBytes(const QDir& folder, const char* name, const QByteArray& bytes)
{
    QFile file(folder.filePath(Utf8(name)));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

}  // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void eachDrawingGoesWhereTheOutputSays_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a file") << "report.pdf"
                                << ""
                                << "report.pdf";
        QTest::newRow("an extension: beside the block") << ".svg"
                                                        << ""
                                                        << "blocks/消波A.svg";
        QTest::newRow("a folder and an extension") << "out/.dxf"
                                                   << ""
                                                   << "out/消波A.dxf";
        QTest::newRow("a folder: PDF") << "out/"
                                       << ""
                                       << "out/消波A.pdf";
        QTest::newRow("a folder with a format") << "out/"
                                                << "png"
                                                << "out/消波A.png";
    }
    void eachDrawingGoesWhereTheOutputSays()
    {
        QFETCH(QString, output);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QDir folder(dir.path());
        QVERIFY(folder.mkdir(QStringLiteral("blocks")));
        WriteBlock(QDir(folder.filePath(QStringLiteral("blocks"))), "消波A.csv", test::LayeredBlock());
        // An extension alone stands as it is: beside each block file.
        const QString out = output.startsWith(QLatin1Char('.')) ? output : folder.filePath(output);
        QStringList arguments = Arguments({QStringLiteral("--export"), out});
        if (!format.isEmpty())
            arguments << QStringLiteral("--format=") + format;
        arguments << folder.filePath(QStringLiteral("blocks/消波A.csv"));
        const auto request = ParseExportRequest(arguments);
        QVERIFY(std::holds_alternative<ExportRequest>(request));

        QStringList lines;
        QStringList errors;
        QCOMPARE(RunExport(
                     std::get<ExportRequest>(request), QStringLiteral("2026/12/07"),
                     [&](const QString& line) { lines << line; }, [&](const QString& line) { errors << line; }),
                 kExportDone);
        QCOMPARE(errors, QStringList());
        QCOMPARE(lines.size(), 1);
        QVERIFY2(QFile::exists(folder.filePath(expected)), qPrintable(lines.join(QString())));
    }

    void wrongArgumentsAreRefusedBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no output") << Arguments({QStringLiteral("a.csv"), QStringLiteral("--export")})
                                   << "「--export」のあとに値を指定";
        QTest::newRow("no value before the next option")
            << Arguments({QStringLiteral("--export=.pdf"), QStringLiteral("--paper"), QStringLiteral("--landscape"),
                          QStringLiteral("a.csv")})
            << "「--paper」のあとに値を指定";
        QTest::newRow("an empty value")
            << Arguments({QStringLiteral("--export=.png"), QStringLiteral("--dpi="), QStringLiteral("a.csv")})
            << "「--dpi」のあとに値を指定";
        QTest::newRow("no value at the end")
            << Arguments({QStringLiteral("--export=.pdf"), QStringLiteral("a.csv"), QStringLiteral("--scale")})
            << "「--scale」のあとに値を指定";
        QTest::newRow("a format against the file's extension")
            << Arguments({QStringLiteral("--export"), QStringLiteral("x.pdf"), QStringLiteral("--format=dxf"),
                          QStringLiteral("a.csv")})
            << "拡張子を .dxf に";
        QTest::newRow("a format against the extension alone")
            << Arguments({QStringLiteral("--export=.pdf"), QStringLiteral("--format"), QStringLiteral("svg"),
                          QStringLiteral("a.csv")})
            << "拡張子を .svg に";
        QTest::newRow("a new folder without its separator")
            << Arguments({QStringLiteral("--export"), QStringLiteral("newdir"), QStringLiteral("--format"),
                          QStringLiteral("pdf"), QStringLiteral("a.csv")})
            << "「newdir/」";
        QTest::newRow("no block file") << Arguments({QStringLiteral("--export"), QStringLiteral("a.pdf")})
                                       << "ブロックファイルを指定";
        QTest::newRow("an unknown extension")
            << Arguments({QStringLiteral("--export"), QStringLiteral("a.jpg"), QStringLiteral("a.csv")}) << ".dxf";
        QTest::newRow("two blocks into one file") << Arguments({QStringLiteral("--export"), QStringLiteral("a.pdf"),
                                                                QStringLiteral("a.csv"), QStringLiteral("b.csv")})
                                                  << "一つのファイル";
        QTest::newRow("a scale beyond 1:1000") << Arguments({QStringLiteral("--export=.pdf"), QStringLiteral("--scale"),
                                                             QStringLiteral("1:1500"), QStringLiteral("a.csv")})
                                               << "1:1500";
        QTest::newRow("a paper not offered")
            << Arguments({QStringLiteral("--export=.pdf"), QStringLiteral("--paper=Letter"), QStringLiteral("a.csv")})
            << "Letter";
        QTest::newRow("dimensions not offered")
            << Arguments({QStringLiteral("--export=.pdf"), QStringLiteral("--dimensions=some"), QStringLiteral("a.csv")})
            << "some";
        QTest::newRow("a resolution too fine")
            << Arguments({QStringLiteral("--export=.png"), QStringLiteral("--dpi=2400"), QStringLiteral("a.csv")})
            << "2400";
        QTest::newRow("an unknown option")
            << Arguments({QStringLiteral("--export=.pdf"), QStringLiteral("--colour"), QStringLiteral("a.csv")})
            << "--colour";
    }
    void wrongArgumentsAreRefusedBeforeAnythingIsWritten()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const auto request = ParseExportRequest(arguments);
        QVERIFY(std::holds_alternative<QString>(request));
        QVERIFY2(std::get<QString>(request).contains(message), qPrintable(std::get<QString>(request)));
    }

    void optionsReachTheDrawing()
    {
        const auto request = ParseExportRequest(
            Arguments({QStringLiteral("--export"), QStringLiteral(".png"), QStringLiteral("--scale=1:2.5"),
                       QStringLiteral("--paper"), QStringLiteral("b4"), QStringLiteral("--landscape"),
                       QStringLiteral("--dimensions"), QStringLiteral("all"),
                       QStringLiteral("--numbers"), QStringLiteral("--grid"), QStringLiteral("--table"),
                       QStringLiteral("--dpi=150"), QStringLiteral("--"), QStringLiteral("--odd name.csv")}));
        QVERIFY(std::holds_alternative<ExportRequest>(request));
        const ExportRequest& export_ = std::get<ExportRequest>(request);
        QCOMPARE(export_.options.scale, 2.5);
        QVERIFY(export_.options.paper == PaperSize::B4);
        QVERIFY(export_.options.dimensions == DimensionStyle::EveryPoint);
        QVERIFY(export_.options.landscape && export_.options.pointNumbers && export_.options.grid &&
                export_.options.layerTable);
        QCOMPARE(export_.dpi, 150);
        QCOMPARE(export_.files, QStringList{QStringLiteral("--odd name.csv")});
        const auto plain = ParseExportRequest(
            Arguments({QStringLiteral("--export=.pdf"), QStringLiteral("--no-dimensions"), QStringLiteral("a.csv")}));
        QVERIFY(std::holds_alternative<ExportRequest>(plain));
        QVERIFY(std::get<ExportRequest>(plain).options.dimensions == DimensionStyle::None);
    }

    void theProgramWritesWhatItCanAndSaysWhatItCouldNot()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        WriteBlock(folder, "good.csv", test::LayeredBlock());
        WriteBytes(folder, "broken.csv", "#直立消波ブロック002\r\nnot a block\r\n");
        const Result result = RunProgram({QStringLiteral("--export"), QStringLiteral("out/"),
                                          QStringLiteral("good.csv"), QStringLiteral("broken.csv"),
                                          QStringLiteral("missing.csv")},
                                         dir.path());

        QCOMPARE(result.exitCode, kExportFailed);
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("out/good.pdf"))));
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("out/broken.pdf"))));
        QCOMPARE(result.out.count(QLatin1Char('\n')), 1);
        QVERIFY(result.out.startsWith(QStringLiteral("good.csv → ")));
        QVERIFY2(result.err.contains(QStringLiteral("broken.csv: ブロックファイルとして読めません。")),
                 qPrintable(result.err));
        QVERIFY2(result.err.contains(QStringLiteral("missing.csv: ファイルが見つかりません。")),
                 qPrintable(result.err));
    }

    void theProgramWritesEveryFormatWithoutADisplay()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        WriteBlock(folder, "a.csv", test::LayeredBlock());
        WriteBlock(folder, "ソ表.csv", test::RectangleBlock(2, 1));
        for (const QString& format :
             {QStringLiteral("pdf"), QStringLiteral("svg"), QStringLiteral("png"), QStringLiteral("dxf")}) {
            const Result result = RunProgram({QStringLiteral("--export=out/"), QStringLiteral("--format"), format,
                                              QStringLiteral("--scale=1:50"), QStringLiteral("--numbers"),
                                              QStringLiteral("a.csv"), QStringLiteral("ソ表.csv")},
                                             dir.path());
            QVERIFY2(result.exitCode == kExportDone, qPrintable(format + QLatin1Char(' ') + result.err));
            QCOMPARE(result.err, QString());
            QCOMPARE(result.out.count(QLatin1Char('\n')), 2);
            for (const QString& stem : {QStringLiteral("a"), QStringLiteral("ソ表")}) {
                QFile file(folder.filePath(QStringLiteral("out/%1.%2").arg(stem, format)));
                QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
                QVERIFY(file.size() > 1000);
            }
        }
#ifdef CHOKUSHO_DXF_CHECK
        // Every DXF written is read back by another program.
        QProcess check;
        check.start(QStringLiteral(CHOKUSHO_PYTHON),
                    {QStringLiteral(CHOKUSHO_DXF_CHECK), folder.filePath(QStringLiteral("out/a.dxf")),
                     folder.filePath(QStringLiteral("out/ソ表.dxf"))});
        QVERIFY(check.waitForFinished(120000));
        QVERIFY2(check.exitCode() == 0, check.readAllStandardOutput() + check.readAllStandardError());
#endif
    }

    void aDrawingThatDoesNotFitAtTheScaleAskedForIsNotWritten()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        const BlockData wide = test::RectangleBlock(40, 1);
        WriteBlock(folder, "wide.csv", wide);
        WriteBlock(folder, "small.csv", test::RectangleBlock(1, 1));
        WriteBytes(folder, "wide.png", "old");
        const Result result = RunProgram({QStringLiteral("--export=.png"), QStringLiteral("--dpi=50"),
                                          QStringLiteral("--scale=1:10"), QStringLiteral("wide.csv"),
                                          QStringLiteral("small.csv")},
                                         dir.path());

        QCOMPARE(result.exitCode, kExportFailed);
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("small.png"))));
        QFile old(folder.filePath(QStringLiteral("wide.png")));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        // The scale at which it fits, as the drawing fitted to the paper has it.
        DrawingOptions fit;
        fit.scale = kFitToPaper;
        const QString fitting = Utf8(ScaleText(BuildDrawing(wide, fit, "wide.csv", "2026/12/07").scale));
        QCOMPARE(result.err, QStringLiteral("wide.csv: 1:10 では収まりません (収まる縮尺: %1)\n").arg(fitting));
    }

    void wrongArgumentsEndTheProgramWithTheUsageCode()
    {
        QTemporaryDir dir;
        const Result result = RunProgram({QStringLiteral("--export=a.pdf"), QStringLiteral("--paper=C4"),
                                          QStringLiteral("a.csv")},
                                         dir.path());
        QCOMPARE(result.exitCode, kExportUsage);
        QVERIFY(result.err.startsWith(QStringLiteral("chokusho: ")));
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void anOutputThatCannotBeMeantIsRefusedAndNothingWritten_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("a format against the output") << QStringList{QStringLiteral("--export=x.pdf"),
                                                                     QStringLiteral("--format=dxf"),
                                                                     QStringLiteral("a.csv")};
        QTest::newRow("a value missing") << QStringList{QStringLiteral("--export=out/"), QStringLiteral("--format"),
                                                        QStringLiteral("--numbers"), QStringLiteral("a.csv")};
        QTest::newRow("a new folder without its separator")
            << QStringList{QStringLiteral("--export=newdir"), QStringLiteral("--format=pdf"), QStringLiteral("a.csv")};
    }
    void anOutputThatCannotBeMeantIsRefusedAndNothingWritten()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        const QDir folder(dir.path());
        WriteBlock(folder, "a.csv", test::RectangleBlock(1, 1));
        const Result result = RunProgram(arguments, dir.path());
        QCOMPARE(result.exitCode, kExportUsage);
        QVERIFY(result.err.startsWith(QStringLiteral("chokusho: ")));
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("a.csv")});
    }

    void ofTwoBlocksOfOneNameTheSecondIsNotWrittenAndSaidSo()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        for (const QString& sub : {QStringLiteral("a"), QStringLiteral("b")}) {
            QVERIFY(folder.mkdir(sub));
            WriteBlock(QDir(folder.filePath(sub)), "x.csv", test::RectangleBlock(1, 1));
        }
        const Result result = RunProgram({QStringLiteral("--export=out/"), QStringLiteral("a/x.csv"),
                                          QStringLiteral("b/x.csv")},
                                         dir.path());
        QCOMPARE(result.exitCode, kExportFailed);
        // Every path as the system writes them: on Windows with backslashes, though typed with "/".
        const auto native = [](const char* path) { return QDir::toNativeSeparators(QString::fromUtf8(path)); };
        QVERIFY2(result.out.startsWith(native("a/x.csv") + QStringLiteral(" → ") + native("out/x.pdf")),
                 qPrintable(result.out));
        // The block file not written, and the one whose drawing took its place.
        QVERIFY2(result.err.startsWith(native("b/x.csv") + QStringLiteral(": ")) &&
                     result.err.contains(native("a/x.csv")),
                 qPrintable(result.err));
    }

    void theHelpListsTheExportOptions()
    {
        QTemporaryDir dir;
        const Result result = RunProgram({QStringLiteral("--help")}, dir.path());
        QCOMPARE(result.exitCode, 0);
        for (const char* option :
             {"--export", "--scale", "--paper", "--landscape", "--numbers", "--grid", "--table", "--dimensions",
              "--no-dimensions", "--dpi", "--format"})
            QVERIFY2(result.out.contains(Utf8(option)), option);
    }
};

QTEST_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
