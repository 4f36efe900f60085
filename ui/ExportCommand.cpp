#include "ExportCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "BlockFile.h"
#include "FileNames.h"
#include "QtText.h"

namespace chokusho {

const char* const kExportUsageText =
    "  chokusho --export 出力 [図のオプション] ブロックファイル.csv...\n"
    "                 ブロックの図をウィンドウを開かずに書き出します。出力は\n"
    "                   図.pdf       一つのブロックファイルをこのファイルに\n"
    "                   .pdf         各ブロックファイルと同じ名前で、その隣に\n"
    "                   フォルダー/  各ブロックファイルと同じ名前で、そのフォルダーに\n"
    "                 拡張子 .pdf .svg .png .dxf が形式を決めます。\n\n"
    "図のオプション:\n"
    "  --format 形式   フォルダーへ書き出す形式: pdf, svg, png, dxf (既定は pdf)\n"
    "  --scale 縮尺    1:N (N は 1～1000、小数は 1 桁まで: 1:50, 1:2.5) か fit (既定は fit:\n"
    "                 用紙に収まる最大の標準縮尺 1:1, 1:1.5, 1:2, 1:2.5, 1:3, 1:4, 1:5, 1:6, 1:10, …)\n"
    "  --paper 用紙    A4, A3, B4 か B5 (B 列は JIS、既定は A4)\n"
    "  --landscape     用紙を横向きにします。\n"
    "  --numbers       点番号を描きます。\n"
    "  --grid          1 m のグリッドを描きます。\n"
    "  --table         層別体積表を描きます。\n"
    "  --dimensions 寸法  overall (全体寸法、既定)、all (全点の寸法も) か none\n"
    "  --no-dimensions 寸法を描きません (--dimensions none と同じ)。\n"
    "  --dpi 解像度    PNG の解像度 (50～600、既定は 300)\n";

namespace {

const QString kExport = QStringLiteral("--export");
const QString kSeeUsage = QStringLiteral("chokusho --help で使い方を表示します。");

/** An option given without its value: the parse ends there, naming the option, whichever it is. */
struct MissingValue {
    QString option;
};

/**
 * The value of an option given as "--name value" or "--name=value"; advances `i` past it. No value
 * is an empty one, or none before the end or the next option ("--scale --landscape"), which no
 * value starts with: throws MissingValue.
 */
std::optional<QString> ValueOf(const QStringList& arguments, qsizetype& i, const QString& name)
{
    const QString& argument = arguments[i];
    QString value;
    if (argument.startsWith(name + QLatin1Char('=')))
        value = argument.mid(name.size() + 1);
    else if (argument != name)
        return std::nullopt;
    else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QStringLiteral("--")))
        value = arguments[++i];
    if (value.isEmpty())
        throw MissingValue{name};
    return value;
}

std::optional<double> ScaleOf(const QString& text)
{
    if (text.compare(QStringLiteral("fit"), Qt::CaseInsensitive) == 0)
        return kFitToPaper;
    return ReadScale(ToUtf8(text));
}

/** The value of `names` whose name is `name`, without regard to ASCII case. */
template <typename Value>
std::optional<Value> Named(const QString& name, std::initializer_list<std::pair<const char*, Value>> names)
{
    for (const auto& [text, value] : names) {
        if (name.compare(Utf8(text), Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

std::optional<ExportFormat> FormatNamed(const QString& name) { return ExportFormatOf(ToUtf8(QStringLiteral("x.") + name)); }

bool EndsWithSeparator(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) || path.endsWith(QDir::separator());
}

bool IsFolder(const QString& output) { return EndsWithSeparator(output) || QFileInfo(output).isDir(); }

/** What is wrong with `request`'s output for the format it asks for; nullopt when nothing is. */
std::optional<QString> OutputProblem(const ExportRequest& request)
{
    if (IsFolder(request.output))
        return std::nullopt;
    const auto named = ExportFormatOf(ToUtf8(request.output));
    // "--format" is for folders: beside a name that is neither a folder nor a drawing's file, it
    // says that a new folder was meant.
    if (!named && request.format)
        return QStringLiteral("出力「%1」というフォルダーはありません。新しいフォルダーに書き出すには、「%1/」のように"
                              "末尾に / を付けてください。")
            .arg(request.output);
    if (!named)
        return QStringLiteral("出力「%1」の形式がわかりません。拡張子 .pdf, .svg, .png か .dxf を付けてください。")
            .arg(request.output);
    // A file of one format is never written in another.
    if (request.format && *request.format != *named)
        return QStringLiteral("出力「%1」の拡張子と --format %2 の形式が違います。拡張子を .%2 にするか、--format "
                              "を外してください。")
            .arg(request.output, Utf8(ExportSuffix(*request.format)));
    return std::nullopt;
}

/** Where the drawing of `input` goes. */
QString OutputFor(const ExportRequest& request, const QString& input)
{
    const QString stem = QFileInfo(input).completeBaseName();
    const QFileInfo output(request.output);
    if (IsFolder(request.output)) {
        const ExportFormat format = request.format.value_or(ExportFormat::Pdf);
        return QDir(request.output).filePath(stem + QLatin1Char('.') + Utf8(ExportSuffix(format)));
    }
    if (output.fileName().startsWith(QLatin1Char('.')) && output.completeBaseName().isEmpty()) {
        // ".pdf": beside the block file; "out/.pdf": in that folder.
        const QString folder = request.output.contains(QLatin1Char('/')) || request.output.contains(QDir::separator())
                                   ? output.path()
                                   : QFileInfo(input).path();
        return QDir(folder).filePath(stem + output.fileName());
    }
    return request.output;
}

}  // namespace

QString UnknownOptionMessage(const QString& option)
{
    return QStringLiteral("オプション「%1」はありません。").arg(option) + kSeeUsage;
}

QString MissingValueMessage(const QString& option)
{
    return QStringLiteral("オプション「%1」のあとに値を指定してください。").arg(option) + kSeeUsage;
}

bool AsksForExport(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == kExport || arguments[i].startsWith(kExport + QLatin1Char('=')))
            return true;
        if (arguments[i] == QStringLiteral("--"))
            break;
    }
    return false;
}

namespace {

std::variant<ExportRequest, QString> ParseArguments(const QStringList& arguments)
{
    ExportRequest request;
    bool options = true;
    bool hasOutput = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!options || !argument.startsWith(QStringLiteral("--"))) {
            request.files << argument;
            continue;
        }
        if (argument == QStringLiteral("--")) {
            options = false;
        } else if (const auto output = ValueOf(arguments, i, kExport)) {
            request.output = *output;
            hasOutput = true;
        } else if (const auto scale = ValueOf(arguments, i, QStringLiteral("--scale"))) {
            const auto value = ScaleOf(*scale);
            if (!value)
                return QStringLiteral("縮尺「%1」は使えません。1:1 から 1:1000 まで (小数は 1 桁まで、1:50 や 1:2.5) か "
                                      "fit を指定してください。")
                    .arg(*scale);
            request.options.scale = *value;
        } else if (const auto paper = ValueOf(arguments, i, QStringLiteral("--paper"))) {
            const auto named = Named<PaperSize>(
                *paper, {{"A4", PaperSize::A4}, {"A3", PaperSize::A3}, {"B4", PaperSize::B4}, {"B5", PaperSize::B5}});
            if (!named)
                return QStringLiteral("用紙「%1」は使えません。A4, A3, B4 か B5 を指定してください。").arg(*paper);
            request.options.paper = *named;
        } else if (const auto dimensions = ValueOf(arguments, i, QStringLiteral("--dimensions"))) {
            const auto style = Named<DimensionStyle>(*dimensions, {{"overall", DimensionStyle::Overall},
                                                                   {"all", DimensionStyle::EveryPoint},
                                                                   {"none", DimensionStyle::None}});
            if (!style)
                return QStringLiteral("寸法「%1」は使えません。overall, all か none を指定してください。").arg(*dimensions);
            request.options.dimensions = *style;
        } else if (argument == QStringLiteral("--no-dimensions")) {
            request.options.dimensions = DimensionStyle::None;
        } else if (const auto format = ValueOf(arguments, i, QStringLiteral("--format"))) {
            request.format = FormatNamed(format->toLower());
            if (!request.format)
                return QStringLiteral("形式「%1」は使えません。pdf, svg, png か dxf を指定してください。").arg(*format);
        } else if (const auto dpi = ValueOf(arguments, i, QStringLiteral("--dpi"))) {
            bool number = false;
            request.dpi = dpi->toInt(&number);
            if (!number || request.dpi < kMinPngDpi || request.dpi > kMaxPngDpi)
                return QStringLiteral("解像度「%1」は使えません。%2～%3 の整数を指定してください。")
                    .arg(*dpi)
                    .arg(kMinPngDpi)
                    .arg(kMaxPngDpi);
        } else if (argument == QStringLiteral("--landscape")) {
            request.options.landscape = true;
        } else if (argument == QStringLiteral("--numbers")) {
            request.options.pointNumbers = true;
        } else if (argument == QStringLiteral("--grid")) {
            request.options.grid = true;
        } else if (argument == QStringLiteral("--table")) {
            request.options.layerTable = true;
        } else {
            return UnknownOptionMessage(argument);
        }
    }
    if (!hasOutput)
        return QStringLiteral("--export のあとに出力先を指定してください。");
    if (request.files.isEmpty())
        return QStringLiteral("書き出すブロックファイルを指定してください。");
    if (const auto problem = OutputProblem(request))
        return *problem;
    if (request.files.size() > 1 && OutputFor(request, request.files.first()) == request.output)
        return QStringLiteral(
            "複数のブロックファイルは一つのファイルに書き出せません。出力にフォルダーか拡張子だけ (.pdf など) "
            "を指定してください。");
    return request;
}

}  // namespace

std::variant<ExportRequest, QString> ParseExportRequest(const QStringList& arguments)
{
    try {
        return ParseArguments(arguments);
    } catch (const MissingValue& missing) {
        return MissingValueMessage(missing.option);
    }
}

int RunExport(const ExportRequest& request, const QString& date, const std::function<void(const QString&)>& out,
              const std::function<void(const QString&)>& err)
{
    int result = kExportDone;
    // Each output written, and the block file drawn there.
    QHash<QString, QString> written;
    for (const QString& input : request.files) {
        const QFileInfo file(input);
        const QString output = OutputFor(request, input);
        // The paths as the system writes them: on Windows each with backslashes, however typed.
        const QString shownInput = QDir::toNativeSeparators(input);
        const QString shownOutput = QDir::toNativeSeparators(output);
        const auto fail = [&](const QString& why) {
            err(shownInput + QStringLiteral(": ") + why + QLatin1Char('\n'));
            result = kExportFailed;
        };
        BlockData record;
        const BlockReadResult read = ReadBlockFileNamed(record, ToUtf8(file.path()), ToUtf8(file.fileName()));
        if (!read) {
            // A file that is there and whole but no block file is named as such; a file that
            // cannot be read, or a name too long, says why.
            fail(read.failure == BlockReadFailure::NotBlockFile ? QStringLiteral("ブロックファイルとして読めません。")
                                                                : Utf8(BlockReadFailureText(read)));
            continue;
        }
        const QString target = QFileInfo(output).absoluteFilePath();
        if (const auto first = written.constFind(target); first != written.cend()) {
            fail(QStringLiteral("出力「%1」には %2 の図を書き出したので、このファイルの図は書き出しませんでした。")
                     .arg(shownOutput, QDir::toNativeSeparators(*first)));
            continue;
        }
        const std::string fileName = DisplayFileName(ToUtf8(file.fileName()));
        const Drawing drawing = BuildDrawing(record, request.options, fileName, ToUtf8(date));
        if (!drawing.fits) {
            // A script asked for this scale: a clipped sheet at it would pass for a true drawing.
            DrawingOptions fitted = request.options;
            fitted.scale = kFitToPaper;
            const double fitting = BuildDrawing(record, fitted, fileName, ToUtf8(date)).scale;
            fail(QStringLiteral("%1 では収まりません (収まる縮尺: %2)")
                     .arg(Utf8(ScaleText(drawing.scale)), Utf8(ScaleText(fitting))));
            continue;
        }
        const QString folder = QFileInfo(output).path();
        if (!QDir().mkpath(folder)) {
            fail(QStringLiteral("フォルダー「%1」を作れません。").arg(QDir::toNativeSeparators(folder)));
            continue;
        }
        try {
            ExportDrawing(drawing, ToUtf8(QDir::toNativeSeparators(output)), *ExportFormatOf(ToUtf8(output)), request.dpi);
        } catch (const FileWriteError& error) {
            fail(QStringLiteral("「%1」に書き出せません。%2").arg(shownOutput, Utf8(error.reason())));
            continue;
        }
        written.insert(target, input);
        out(shownInput + QStringLiteral(" → ") + shownOutput + QStringLiteral(" (") + Utf8(ScaleText(drawing.scale)) +
            QStringLiteral(")\n"));
    }
    return result;
}

}  // namespace chokusho
