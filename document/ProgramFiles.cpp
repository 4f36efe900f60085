#include "ProgramFiles.h"

#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "Cp932.h"
#include "FileSystem.h"

namespace chokusho {

namespace {

constexpr const char* kDataPathFile = "CVDTPATH";
constexpr const char* kVersionFile = "SYSVER.DAT";
constexpr std::size_t kSmallFileLimit = 1u << 16;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

/** The first line of a small text file: cp932, or UTF-8 after a byte-order mark. */
std::optional<std::string> FirstLine(const std::filesystem::path& path)
{
    auto bytes = ReadWholeFile(path, kSmallFileLimit);
    if (!bytes)
        return std::nullopt;
    std::string_view text = *bytes;
    const bool utf8 = text.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    if (utf8)
        text.remove_prefix(kUtf8Bom.size());
    text = text.substr(0, text.find_first_of("\r\n"));
    if (text.empty())
        return std::nullopt;
    return utf8 ? std::string(text) : DecodeCp932(text);
}

/** When the file at `path` was last written, or nullopt when there is none. */
std::optional<std::filesystem::file_time_type> LastWriteTime(const std::filesystem::path& path)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    return time;
}

std::string WithTrailingSeparator(const std::filesystem::path& folder)
{
    std::string text = PathToUtf8(folder);
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (text.empty() || text.back() != separator)
        text += separator;
    return text;
}

}  // namespace

ProgramFolders LocateProgramFolders(const std::filesystem::path& executableFolder,
                                    const std::filesystem::path& configFolder)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(executableFolder / kVersionFile, error))
        return {executableFolder, configFolder, executableFolder};
    const auto installed = (executableFolder / ".." / "share" / "chokusho").lexically_normal();
    if (std::filesystem::is_regular_file(installed / kVersionFile, error))
        return {{}, configFolder, installed};
    return {executableFolder, configFolder, executableFolder};
}

std::string LoadDataPath(const ProgramFolders& folders)
{
    std::vector<std::filesystem::path> files;
    for (const auto& folder : {folders.program, folders.config}) {
        if (!folder.empty())
            files.push_back(folder / kDataPathFile);
    }
    // A save falls back to the configuration folder while the program's folder cannot be
    // written, and leaves the program folder's file as it was: the newer of the two holds the
    // user's last choice.
    if (files.size() == 2) {
        const auto program = LastWriteTime(files[0]);
        const auto config = LastWriteTime(files[1]);
        if (program && config && *config > *program)
            std::swap(files[0], files[1]);
    }
    for (const auto& file : files) {
        if (auto line = FirstLine(file))
            return *line;
    }
    return WithTrailingSeparator(folders.filesFolder());
}

bool SaveDataPath(const std::string& dataPath, const ProgramFolders& folders)
{
    // The file is cp932 like every file of the program; a folder name that cp932 cannot hold
    // (possible on Linux) is kept as UTF-8 behind a byte-order mark rather than garbled.
    std::string content = EncodeCp932(dataPath);
    if (DecodeCp932(content) != dataPath)
        content = std::string(kUtf8Bom) + dataPath;
    content += "\r\n";

    for (const auto& folder : {folders.program, folders.config}) {
        if (folder.empty())
            continue;
        try {
            std::error_code ignored;
            std::filesystem::create_directories(folder, ignored);
            WriteFileAtomically(PathToUtf8(folder / kDataPathFile), content);
            return true;
        } catch (const FileWriteError&) {
            // An installed program's folder is read-only: try the configuration folder.
        }
    }
    return false;
}

std::string ReadVersionFile(const std::filesystem::path& programFolder)
{
    const auto line = FirstLine(programFolder / kVersionFile);
    if (!line)
        return kUnknownVersion;
    std::string_view value = *line;
    value = value.substr(0, value.find(','));
    const auto first = value.find_first_not_of(" \t");
    const auto last = value.find_last_not_of(" \t");
    value = first == std::string_view::npos ? std::string_view() : value.substr(first, last - first + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value.empty() ? std::string(kUnknownVersion) : std::string(value);
}

}  // namespace chokusho
