// The file functions that are the same on every platform: paths, names, the reasons shown to the
// user, and the clearing of abandoned temporaries. Reading, writing and the length of a name are
// each platform's own (FileSystemPosix.cpp, FileSystemWin32.cpp).

#include "FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <utility>

#include "FileSystemInternal.h"

namespace chokusho {

FileWriteError::FileWriteError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason))
{
}

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view fileName)
{
    std::error_code error;
    const auto exact = folder / PathFromUtf8(fileName);
    if (std::filesystem::is_regular_file(exact, error))
        return exact;

    std::optional<std::filesystem::path> found;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const auto name = PathToUtf8(it->path().filename());
        if (!EqualsIgnoringAsciiCase(name, fileName))
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        if (!found || it->path() < *found)
            found = it->path();
    }
    return found;
}

namespace {

/** Temporaries of saves begin with this name and end in ".tmp", after the writer's process id. */
constexpr std::string_view kTemporaryPrefix = ".chokusho-save-";

/** The process id in the name of a save's temporary, or 0 when the name is not one. */
unsigned long TemporaryOwner(const std::string& name)
{
    if (name.compare(0, kTemporaryPrefix.size(), kTemporaryPrefix) != 0 || !name.ends_with(".tmp"))
        return 0;
    return std::strtoul(name.c_str() + kTemporaryPrefix.size(), nullptr, 10);
}

// The reasons stand under "ファイル「…」に保存できませんでした。", which already names the file,
// so they say only what went wrong.
constexpr const char* kTextNoPermission = "書き込む権限がありません。";
constexpr const char* kTextReadOnlyFileSystem = "読み取り専用のファイルシステムです。";
constexpr const char* kTextNoSpace = "ディスクの空き容量が足りません。";
constexpr const char* kTextIsFolder = "フォルダーです。";
constexpr const char* kTextNotFound = "保存先のフォルダーが見つかりません。";
constexpr const char* kTextNameTooLong = "名前が長すぎます。";
constexpr const char* kTextIoError = "入出力エラーが発生しました。";
constexpr const char* kTextTooLarge = "ファイルが大きすぎます。";
constexpr const char* kTextLinkLoop = "シンボリックリンクが循環しています。";
// Reasons of a file that could not be read, under "ファイル「…」を開けませんでした。".
constexpr const char* kTextFileNotFound = "ファイルが見つかりません。";
constexpr const char* kTextNoReadPermission = "読み取る権限がありません。";
constexpr const char* kTextNotRegularFile = "通常のファイルではありません。";

}  // namespace

std::string FileErrorText(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM: return kTextNoPermission;
    case EROFS: return kTextReadOnlyFileSystem;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return kTextNoSpace;
    case EISDIR: return kTextIsFolder;
    case ENOENT:
    case ENOTDIR: return kTextNotFound;
    case ENAMETOOLONG: return kTextNameTooLong;
    case EIO: return kTextIoError;
    case EFBIG: return kTextTooLarge;
#ifdef ELOOP
    case ELOOP: return kTextLinkLoop;
#endif
    default: return std::generic_category().message(errorNumber);
    }
}

std::string FileNameLengthProblem(const std::filesystem::path& folder, std::string_view name)
{
    const file_system::NameLength measured = file_system::MeasureFileName(folder, name);
    if (measured.length <= measured.limit)
        return {};
    return "ファイル名が長すぎます (" + std::to_string(measured.limit) + measured.unit + "まで)。";
}

std::string FileReadErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR: return kTextFileNotFound;
    case EACCES:
    case EPERM: return kTextNoReadPermission;
    case kNotRegularFile: return kTextNotRegularFile;
    default: return FileErrorText(errorNumber);
    }
}

namespace file_system {

std::filesystem::path TemporaryPath(const std::filesystem::path& folder, unsigned long pid, unsigned counter)
{
    const std::string name = std::string(kTemporaryPrefix) + std::to_string(pid) + "-" + std::to_string(counter) +
                             ".tmp";
    return (folder.empty() ? std::filesystem::path(".") : folder) / PathFromUtf8(name);
}

void RemoveAbandonedTemporaries(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator it(folder.empty() ? std::filesystem::path(".") : folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (const unsigned long pid = TemporaryOwner(PathToUtf8(it->path().filename())); pid != 0)
            RemoveIfAbandoned(it->path(), pid);
    }
}

}  // namespace file_system

}  // namespace chokusho
