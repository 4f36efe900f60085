#include "ImportCommand.h"

#include <QFileInfo>
#include <algorithm>
#include <optional>
#include <vector>

#include "BlockFile.h"
#include "DxfReader.h"
#include "ExportCommand.h"
#include "FileSystem.h"
#include "QtText.h"

namespace chokusho {

const char* const kImportUsageText =
    "\nDXF の読み込み:\n"
    "  chokusho --import 図面.dxf ブロック.csv [読み込みのオプション]\n"
    "                 DXF の図面の線と円弧から、新しいブロックファイルを作ります。\n"
    "  --unit 単位        図面の座標の単位: mm, cm, m (既定は図面の $INSUNITS、なければ mm)\n"
    "  --layers A,B,…     読み込むレイヤー (既定はすべて)\n"
    "  --tolerance 値     許容差 (mm、既定は 1): これより近い端点は一つの点に、円弧は\n"
    "                     これ以内の弦に分けます。\n"
    "  --force            ブロックファイルがあれば、上書きします。\n";

namespace {

const QString kImport = QStringLiteral("--import");

/** The value of `name` at `arguments[i]`, as "--name value" or "--name=value"; advances `i`. */
struct OptionValue {
    const QStringList& arguments;
    qsizetype& i;

    /** nullopt when the argument is not `name`; an empty value when none was given. */
    std::optional<QString> of(const QString& name) const
    {
        const QString& argument = arguments[i];
        if (argument.startsWith(name + QLatin1Char('=')))
            return argument.mid(name.size() + 1);
        if (argument != name)
            return std::nullopt;
        if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QStringLiteral("--")))
            return arguments[++i];
        return QString();
    }
};

std::optional<DxfUnit> UnitNamed(const QString& name)
{
    if (name == QStringLiteral("mm"))
        return DxfUnit::Millimetre;
    if (name == QStringLiteral("cm"))
        return DxfUnit::Centimetre;
    if (name == QStringLiteral("m"))
        return DxfUnit::Metre;
    return std::nullopt;
}

/** What is wrong with the value of an option, or nullopt; fills `request`. */
std::optional<QString> TakeValue(ImportRequest& request, const QString& option, const QString& value)
{
    if (value.isEmpty())
        return MissingValueMessage(option);
    if (option == QStringLiteral("--unit")) {
        request.options.unit = UnitNamed(value);
        if (!request.options.unit)
            return QStringLiteral("単位「%1」は使えません。mm, cm か m を指定してください。").arg(value);
    } else if (option == QStringLiteral("--tolerance")) {
        bool number = false;
        request.options.toleranceMm = value.toDouble(&number);
        if (!number || !(request.options.toleranceMm >= kMinDxfToleranceMm) ||
            !(request.options.toleranceMm <= kMaxDxfToleranceMm))
            return QStringLiteral("許容差「%1」は使えません。%2～%3 (mm) の数を指定してください。")
                .arg(value)
                .arg(kMinDxfToleranceMm)
                .arg(kMaxDxfToleranceMm);
    } else {
        std::vector<std::string> layers;
        for (const QString& name : value.split(QLatin1Char(','))) {
            if (!name.trimmed().isEmpty())
                layers.push_back(ToUtf8(name.trimmed()));
        }
        if (layers.empty())
            return MissingValueMessage(option);
        request.options.layers = std::move(layers);
    }
    return std::nullopt;
}

/** The layers named in `request` that `drawing` does not have, as a message; nullopt when it has them all. */
std::optional<QString> MissingLayers(const ImportRequest& request, const DxfDrawing& drawing)
{
    if (!request.options.layers)
        return std::nullopt;
    QStringList missing;
    for (const std::string& name : *request.options.layers) {
        DxfImportOptions one;
        one.layers = std::vector<std::string>{name};
        const std::vector<bool> ticked = DxfTickedLayers(drawing, one);
        if (std::find(ticked.begin(), ticked.end(), true) == ticked.end())
            missing << Utf8(name);
    }
    if (missing.isEmpty())
        return std::nullopt;
    QStringList found;
    for (const DxfLayer& layer : drawing.layers)
        found << Utf8(layer.name);
    return QStringLiteral("レイヤー「%1」はありません。この図面のレイヤー: %2")
        .arg(missing.join(QStringLiteral("」「")), found.join(QStringLiteral(", ")));
}

}  // namespace

bool AsksForImport(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == kImport)
            return true;
        if (arguments[i] == QStringLiteral("--"))
            break;
    }
    return false;
}

std::variant<ImportRequest, QString> ParseImportRequest(const QStringList& arguments)
{
    ImportRequest request;
    QStringList files;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!options || !argument.startsWith(QStringLiteral("--"))) {
            files << argument;
            continue;
        }
        if (argument == QStringLiteral("--")) {
            options = false;
            continue;
        }
        if (argument == kImport)
            continue;
        if (argument == QStringLiteral("--force")) {
            request.force = true;
            continue;
        }
        const OptionValue value{arguments, i};
        bool known = false;
        for (const QString& option :
             {QStringLiteral("--unit"), QStringLiteral("--tolerance"), QStringLiteral("--layers")}) {
            if (const auto text = value.of(option)) {
                if (const auto problem = TakeValue(request, option, *text))
                    return *problem;
                known = true;
                break;
            }
        }
        if (!known)
            return UnknownOptionMessage(argument);
    }
    if (files.size() != 2)
        return QStringLiteral("--import には、読み込む DXF ファイルと作るブロックファイルの二つを指定してください。");
    request.input = files[0];
    request.output = files[1];
    return request;
}

int RunImport(const ImportRequest& request, const std::function<void(const QString&)>& out,
              const std::function<void(const QString&)>& err)
{
    const auto fail = [&](const QString& file, const QString& why) {
        err(file + QStringLiteral(": ") + why + QLatin1Char('\n'));
        return kExportFailed;
    };
    const QFileInfo output(request.output);
    if (!request.force && (output.exists() || output.isSymLink()))
        return fail(request.output,
                    QStringLiteral("このファイルはすでにあります。上書きするには --force を付けてください。"));

    int readError = 0;
    const auto bytes = ReadWholeFile(PathFromUtf8(ToUtf8(request.input)), kMaxDxfFileBytes, &readError);
    if (!bytes)
        return fail(request.input, Utf8(FileReadErrorText(readError)));
    const DxfReadResult read = ReadDxf(*bytes);
    if (!read)
        return fail(request.input, Utf8(DxfReadFailureText(read)));
    if (const auto missing = MissingLayers(request, read.drawing))
        return fail(request.input, *missing);
    const DxfImport import = AssembleBlock(read.drawing, request.options);
    if (!import)
        return fail(request.input, Utf8(DxfImportFailureText(import)));

    BlockData record = import.block;
    record.Name = ToUtf8(output.completeBaseName());
    try {
        WriteBlockFile(record, ToUtf8(request.output));
    } catch (const FileWriteError& error) {
        return fail(request.output, Utf8(error.reason()));
    }
    out(request.input + QStringLiteral(" → ") + request.output + QStringLiteral(": ") +
        Utf8(DxfImportCountsText(import.counts)) + QLatin1Char('\n'));
    return kExportDone;
}

}  // namespace chokusho
