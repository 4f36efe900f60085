#include "CheckCommand.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "BlockFile.h"
#include "CheckReport.h"
#include "ExportCommand.h"
#include "FileNames.h"
#include "QtText.h"
#include "SectionProperties.h"

namespace chokusho {

const char* const kCheckUsageText =
    "\n断面の確認:\n"
    "  chokusho --check [--csv] ブロックファイル.csv...|フォルダー...\n"
    "                 各ブロックの断面から面積・重心・体積を計算し、入力値と比べて\n"
    "                 問題を表示します。フォルダーはその中の *.csv を確かめます。\n"
    "  --csv           一行目に見出し、各ファイル一行の CSV (UTF-8) で出力します。\n"
    "                 読めないファイルや注意でない問題があれば終了コード 1 を返します。\n";

namespace {

const QString kCheck = QStringLiteral("--check");

/** The block files of `input`: itself, or a folder's "*.csv" in the picker's order. */
QStringList FilesOf(const QString& input)
{
    const QFileInfo info(input);
    if (!info.isDir())
        return {input};
    QStringList names = QDir(input).entryList(QDir::Files);
    names.removeIf([](const QString& name) { return !name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive); });
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return NaturalLess(ToUtf8(a), ToUtf8(b)); });
    QStringList files;
    for (const QString& name : names)
        files << QDir(input).filePath(name);
    return files;
}

}  // namespace

bool AsksForCheck(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QStringLiteral("--"); ++i) {
        if (arguments[i] == kCheck)
            return true;
    }
    return false;
}

std::variant<CheckRequest, QString> ParseCheckRequest(const QStringList& arguments)
{
    CheckRequest request;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!options || !argument.startsWith(QStringLiteral("--")))
            request.inputs << argument;
        else if (argument == QStringLiteral("--"))
            options = false;
        else if (argument == QStringLiteral("--csv"))
            request.csv = true;
        else if (argument != kCheck)
            return UnknownOptionMessage(argument);
    }
    if (request.inputs.isEmpty())
        return QStringLiteral("確かめるブロックファイルかフォルダーを指定してください。");
    return request;
}

int RunCheck(const CheckRequest& request, const std::function<void(const QString&)>& out,
             const std::function<void(const QString&)>& err)
{
    int result = kExportDone;
    if (request.csv)
        out(Utf8(kCheckCsvHeader) + QLatin1Char('\n'));
    for (const QString& input : request.inputs) {
        for (const QString& path : FilesOf(input)) {
            const QFileInfo file(path);
            BlockData record;
            const BlockReadResult read = ReadBlockFileNamed(record, ToUtf8(file.path()), ToUtf8(file.fileName()));
            if (!read) {
                err(path + QStringLiteral(": ") +
                    (read.failure == BlockReadFailure::NotBlockFile ? QStringLiteral("ブロックファイルとして読めません。")
                                                                    : Utf8(BlockReadFailureText(read))) +
                    QLatin1Char('\n'));
                if (request.csv)
                    out(Utf8(UnreadableCsvRow(ToUtf8(path))) + QLatin1Char('\n'));
                result = kExportFailed;
                continue;
            }
            const SectionResult section = ComputeSection(record);
            if (section.hasErrors())
                result = kExportFailed;
            out(request.csv ? Utf8(CheckCsvRow(ToUtf8(path), record, section)) + QLatin1Char('\n')
                            : Utf8(CheckReport(ToUtf8(path), record, section)));
        }
    }
    return result;
}

}  // namespace chokusho
