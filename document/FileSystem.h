#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace chokusho {

/** A block file, or another file of the program, could not be written. */
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(std::string path, std::string reason);
    const std::string& path() const { return path_; }
    /** Why, as the user reads it: for example "書き込む権限がありません。" (FileErrorText). */
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

/** A path from the program's UTF-8 text, on every platform. */
std::filesystem::path PathFromUtf8(std::string_view utf8);
/** The program's UTF-8 text of a path. */
std::string PathToUtf8(const std::filesystem::path& path);

/** True when the two names are equal ignoring the letter case of ASCII letters only. */
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

/**
 * The file `fileName` in `folder`: the exact name when such a regular file exists, else the
 * regular file of the folder whose name equals it ignoring ASCII case (the first in name
 * order when several do). Names on Windows already match without regard to case.
 */
[[nodiscard]] std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                                        std::string_view fileName);

/** Why a file was not read when it is there but no regular file: a pipe, a device, a socket. */
inline constexpr int kNotRegularFile = -1;

/**
 * The bytes of a regular file, or nullopt when it cannot be read or is larger than `limit`.
 * Then `*error`, when given, says why: an errno value (ENOENT, EACCES, EISDIR, EFBIG for a file
 * over the limit, ...) or kNotRegularFile. A pipe or device is never waited on.
 */
[[nodiscard]] std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t limit,
                                                       int* error = nullptr);

/** The Japanese reason shown to the user for the system error `errorNumber` (an errno value) of a write. */
std::string FileErrorText(int errorNumber);

/** The Japanese reason shown to the user for a file that ReadWholeFile could not read (its `error`). */
std::string FileReadErrorText(int errorNumber);

/**
 * Why `name` cannot be a file name in `folder` for its length, or "" when it can: a file system
 * counts a name in bytes of UTF-8 (Linux: 255 on most, as the folder's system says), Windows in
 * UTF-16 units (255). The message says the limit: "ファイル名が長すぎます (255 バイトまで)。".
 */
std::string FileNameLengthProblem(const std::filesystem::path& folder, std::string_view name);

/**
 * Replaces the file at `path` with `bytes` so that a failure at any point leaves the old file
 * as it was: the bytes go to a temporary file in the same folder, which is flushed to disk and
 * then renamed over the target. A symbolic link stays a link and its final target is replaced;
 * the new file keeps the old one's permission bits and group (and owner, for the superuser). A
 * file with several hard links is overwritten in place so that all its names keep sharing it.
 * A read-only target is refused. Throws FileWriteError with a Japanese reason.
 */
void WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace chokusho
