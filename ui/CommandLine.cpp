#include "CommandLine.h"

#include <QDate>
#include <QDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <variant>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "CheckCommand.h"
#include "ExportCommand.h"
#include "FrameLogic.h"
#include "ImportCommand.h"
#include "ProgramFiles.h"
#include "QtText.h"
#include "Wildcards.h"

namespace chokusho {

namespace {

// Below the program's name.
constexpr const char* kUsage =
    "\n\n"
    "使い方: chokusho [オプション] [ブロックファイル.csv]\n"
    "  オプションがなければ、エディターのウィンドウを開きます。ブロックファイルを指定すると、\n"
    "  それを開いた状態で始まります。\n\n"
    "オプション:\n"
    "  -h, --help     この説明を表示します。\n"
    "  -v, --version  バージョンを表示します。\n\n"
    "図の書き出し:\n";

bool AsksForVersion(const QString& argument)
{
    return argument == QStringLiteral("--version") || argument == QStringLiteral("-v");
}

bool AsksForHelp(const QString& argument)
{
    return argument == QStringLiteral("--help") || argument == QStringLiteral("-h") ||
           argument == QStringLiteral("-?") || argument == QStringLiteral("/?");
}

// Qt's own options, which QGuiApplication, QApplication and the X11 platform take out of the
// arguments, by their names without the dash; Qt accepts them with one dash or two.
constexpr std::array kQtOptionsWithValue{"platform",
                                         "platformpluginpath",
                                         "platformtheme",
                                         "plugin",
                                         "qwindowgeometry",
                                         "geometry",
                                         "qwindowtitle",
                                         "title",
                                         "qwindowicon",
                                         "icon",
                                         "session",
                                         "style",
                                         "stylesheet",
                                         "display",
                                         "name",
                                         "visual",
                                         "qmljsdebugger"};
constexpr std::array kQtFlags{"reverse", "testability", "widgetcount", "nograb", "dograb", "qdevel", "qdebug"};
// Those that Qt also takes as "-name=value".
constexpr std::array kQtOptionsWithAttachedValue{"style=", "stylesheet=", "qmljsdebugger="};

template <std::size_t N>
bool IsOneOf(const QString& name, const std::array<const char*, N>& names)
{
    return std::any_of(names.begin(), names.end(),
                       [&name](const char* known) { return name == QLatin1StringView(known); });
}

template <std::size_t N>
bool StartsWithOneOf(const QString& name, const std::array<const char*, N>& prefixes)
{
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&name](const char* prefix) { return name.startsWith(QLatin1StringView(prefix)); });
}

/** The arguments that are no options, in order, or what is wrong with an option. */
std::variant<QStringList, QString> Operands(const QStringList& arguments)
{
    QStringList operands;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        // A dash alone names a file, as it does for every program that takes file names.
        if (!options || !argument.startsWith(QLatin1Char('-')) || argument == QStringLiteral("-")) {
            operands << argument;
            continue;
        }
        if (argument == QStringLiteral("--")) {
            options = false;
            continue;
        }
        if (AsksForHelp(argument) || AsksForVersion(argument))
            continue;
        const QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
        if (IsOneOf(name, kQtFlags) || StartsWithOneOf(name, kQtOptionsWithAttachedValue))
            continue;
        if (!IsOneOf(name, kQtOptionsWithValue))
            return UnknownOptionMessage(argument);
        if (++i >= arguments.size())
            return MissingValueMessage(argument);
    }
    return operands;
}

}  // namespace

std::optional<QString> ArgumentProblem(const QStringList& arguments)
{
    if (AsksForExport(arguments) || AsksForImport(arguments) || AsksForCheck(arguments))
        return std::nullopt;
    const auto operands = Operands(arguments);
    if (const auto* problem = std::get_if<QString>(&operands))
        return *problem;
    return std::nullopt;
}

bool AsksForTerminalAnswer(const QStringList& arguments)
{
    // The first is the program's own name.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (AsksForVersion(arguments[i]) || AsksForHelp(arguments[i]))
            return true;
    }
    return false;
}

std::optional<QString> TerminalAnswer(const QStringList& arguments, const std::filesystem::path& filesFolder)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (AsksForHelp(arguments[i]))
            return Utf8(kMainCaption) + Utf8(kUsage) + Utf8(kExportUsageText) + Utf8(kImportUsageText) +
                   Utf8(kCheckUsageText);
        if (AsksForVersion(arguments[i]))
            return QStringLiteral("chokusho ") + Utf8(ReadVersionFile(filesFolder)) + QStringLiteral("\n");
    }
    return std::nullopt;
}

std::optional<QString> FileToOpen(const QStringList& arguments)
{
    const auto operands = Operands(arguments);
    if (const auto* files = std::get_if<QStringList>(&operands)) {
        for (const QString& file : *files) {
            if (!file.isEmpty())
                return QDir::toNativeSeparators(file);
        }
    }
    return std::nullopt;
}

std::variant<QStringList, QString> ExpandWildcards(const QStringList& inputs)
{
    QStringList expanded;
    for (const QString& input : inputs) {
        const std::string pattern = ToUtf8(input);
        if (!HasWildcard(pattern)) {
            expanded << input;
            continue;
        }
        const std::size_t nameStart = FileNamePartStart(pattern);
        const QString folder = Utf8(std::string_view(pattern).substr(0, nameStart));
        std::vector<std::string> names;
        for (const QString& name : QDir(folder.isEmpty() ? QStringLiteral(".") : folder).entryList(QDir::Files))
            names.push_back(ToUtf8(name));
        const std::vector<std::string> matching = MatchingNames(std::string_view(pattern).substr(nameStart), names);
        if (matching.empty())
            return QStringLiteral("「%1」に合うファイルがありません。").arg(input);
        for (const std::string& name : matching)
            expanded << folder + Utf8(name);
    }
    return expanded;
}

namespace {

/**
 * Expands the wildcards of a command's `inputs` where the shells leave them to the program (see
 * ExpandWildcards); false after saying which pattern no file fits.
 */
bool ExpandInputs([[maybe_unused]] QStringList& inputs)
{
#ifdef Q_OS_WIN
    auto expanded = ExpandWildcards(inputs);
    if (const auto* none = std::get_if<QString>(&expanded)) {
        WriteToTerminal(QStringLiteral("chokusho: ") + *none + QLatin1Char('\n'), TerminalStream::Error);
        return false;
    }
    inputs = std::get<QStringList>(std::move(expanded));
#endif
    return true;
}

}  // namespace

int ReportWrongArguments(const QString& problem)
{
    WriteToTerminal(QStringLiteral("chokusho: ") + problem + QLatin1Char('\n'), TerminalStream::Error);
    return kExportUsage;
}

int ExportFromCommandLine(const QStringList& arguments)
{
    auto request = ParseExportRequest(arguments);
    if (const auto* wrong = std::get_if<QString>(&request))
        return ReportWrongArguments(*wrong);
    if (!ExpandInputs(std::get<ExportRequest>(request).files))
        return kExportFailed;
    return RunExport(
        std::get<ExportRequest>(request), QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")),
        [](const QString& line) { WriteToTerminal(line); },
        [](const QString& line) { WriteToTerminal(line, TerminalStream::Error); });
}

int ImportFromCommandLine(const QStringList& arguments)
{
    auto request = ParseImportRequest(arguments);
    if (const auto* wrong = std::get_if<QString>(&request))
        return ReportWrongArguments(*wrong);
    // One drawing is imported: a pattern may stand for it, not for several.
    QStringList input{std::get<ImportRequest>(request).input};
    if (!ExpandInputs(input))
        return kExportFailed;
    if (input.size() > 1)
        return ReportWrongArguments(
            QStringLiteral("「%1」に合うファイルが %2 個あります。読み込むファイルを一つ指定してください。")
                .arg(std::get<ImportRequest>(request).input)
                .arg(input.size()));
    std::get<ImportRequest>(request).input = input.first();
    return RunImport(
        std::get<ImportRequest>(request), [](const QString& line) { WriteToTerminal(line); },
        [](const QString& line) { WriteToTerminal(line, TerminalStream::Error); });
}

int CheckFromCommandLine(const QStringList& arguments)
{
    auto request = ParseCheckRequest(arguments);
    if (const auto* wrong = std::get_if<QString>(&request))
        return ReportWrongArguments(*wrong);
    if (!ExpandInputs(std::get<CheckRequest>(request).inputs))
        return kExportFailed;
    return RunCheck(
        std::get<CheckRequest>(request), [](const QString& text) { WriteToTerminal(text); },
        [](const QString& text) { WriteToTerminal(text, TerminalStream::Error); });
}

#ifdef Q_OS_WIN

namespace {

/** Whether this program is chokusho-cli.exe, built for the console subsystem: read from its own header. */
bool IsConsoleProgram()
{
    const auto* image = reinterpret_cast<const unsigned char*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_CUI;
}

/** `text` with CR LF line ends in the code page `codePage`, as cmd.exe's `type` and Notepad read a log. */
QByteArray InCodePage(QString text, UINT codePage)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const std::wstring wide = text.toStdWString();
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(codePage, 0, wide.c_str(), length, nullptr, 0, nullptr, nullptr);
    QByteArray bytes(std::max(size, 0), '\0');
    WideCharToMultiByte(codePage, 0, wide.c_str(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

/**
 * chokusho-cli.exe's output: to a console as wide characters, which it shows whatever its code
 * page; to a file or a pipe in the console's output code page (the system's ANSI one without a
 * console), with CR LF, as the other programs of a batch file write theirs.
 */
void WriteFromConsoleProgram(const QString& text, HANDLE output)
{
    if (output == nullptr || output == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (DWORD mode = 0; GetConsoleMode(output, &mode)) {
        const std::wstring wide = text.toStdWString();
        WriteConsoleW(output, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const UINT console = GetConsoleOutputCP();
    const QByteArray bytes = InCodePage(text, console != 0 ? console : GetACP());
    WriteFile(output, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

void WriteToTerminal(const QString& text, TerminalStream stream)
{
    HANDLE output = GetStdHandle(stream == TerminalStream::Error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (IsConsoleProgram()) {
        WriteFromConsoleProgram(text, output);
        return;
    }
    // chokusho.exe redirected into a file or a pipe: the text as UTF-8 bytes.
    if (output != nullptr && output != INVALID_HANDLE_VALUE && GetFileType(output) != FILE_TYPE_CHAR &&
        GetFileType(output) != FILE_TYPE_UNKNOWN) {
        const QByteArray bytes = text.toUtf8();
        DWORD written = 0;
        WriteFile(output, bytes.constData(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        return;
    }
    // A program of the Windows subsystem has no console of its own: it borrows the one it was
    // started from, where wide characters show whatever the console's code page.
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            const std::wstring wide = text.toStdWString();
            DWORD written = 0;
            WriteConsoleW(console, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
            CloseHandle(console);
            FreeConsole();
            return;
        }
        FreeConsole();
    }
    const std::wstring wide = text.trimmed().toStdWString();
    const std::wstring caption = Utf8(kMainCaption).toStdWString();
    MessageBoxW(nullptr, wide.c_str(), caption.c_str(),
                MB_OK | (stream == TerminalStream::Error ? MB_ICONWARNING : MB_ICONINFORMATION));
}

#else

void WriteToTerminal(const QString& text, TerminalStream stream)
{
    const QByteArray bytes = text.toUtf8();
    FILE* file = stream == TerminalStream::Error ? stderr : stdout;
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file);
    std::fflush(file);
}

#endif

}  // namespace chokusho
