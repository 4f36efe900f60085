#pragma once

// What the file functions of FileSystem.h share between their common part (FileSystem.cpp) and
// the part of each platform (FileSystemPosix.cpp, FileSystemWin32.cpp, one of which the build
// takes). Only those files include this.

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace chokusho::file_system {

/** The reason a save gives for a file that nobody may write: it was made read-only on purpose. */
inline constexpr const char* kTextReadOnlyFile = "読み取り専用のファイルです。";

/**
 * The path of a save's temporary in `folder` (the current folder when empty), made by the process
 * `pid` as its `counter`th: ".chokusho-save-PID-N.tmp". The name is short, so that a target
 * whose name is near the length limit still has one, and the same on every platform.
 */
std::filesystem::path TemporaryPath(const std::filesystem::path& folder, unsigned long pid, unsigned counter);

/**
 * Removes the temporaries that saves killed before their rename left in `folder`: those whose
 * writing process is gone. A save still running in another instance keeps its own.
 */
void RemoveAbandonedTemporaries(const std::filesystem::path& folder);

// Each platform's part defines the two below.

/** Removes `temporary`, a save's temporary made by the process `pid`, when that process is gone. */
void RemoveIfAbandoned(const std::filesystem::path& temporary, unsigned long pid);

/** How long a file name is, against the most its folder takes, in the unit the file system counts. */
struct NameLength {
    std::size_t length = 0;
    std::size_t limit = 0;
    /** The unit as the message shows it after the limit: " バイト" or " 文字". */
    const char* unit = "";
};

/** The length of `name` as a file name in `folder`, and the folder's limit. */
NameLength MeasureFileName(const std::filesystem::path& folder, std::string_view name);

}  // namespace chokusho::file_system
