#pragma once

#include <filesystem>
#include <string>

namespace chokusho {

/**
 * Where the program keeps its own small files: the program's folder (beside the executable)
 * and, for an installed program whose folder cannot be written, the user's configuration folder.
 */
struct ProgramFolders {
    std::filesystem::path program;
    std::filesystem::path config;
};

/** Shown in the version box when the version file is missing. */
inline constexpr const char* kUnknownVersion = "X.X.X";

/**
 * The folder of block files remembered in CVDTPATH: the first line of the program folder's
 * file or the configuration folder's, whichever was written last (the program folder's when
 * both were written at the same time), else of the other one; the program's folder with a
 * trailing separator when neither can be read or the line is empty.
 */
[[nodiscard]] std::string LoadDataPath(const ProgramFolders& folders);

/**
 * Remembers `dataPath` in CVDTPATH beside the executable, or in the configuration folder
 * where the program's folder cannot be written. Never throws: the program is closing.
 * Returns false when neither could be written.
 */
bool SaveDataPath(const std::string& dataPath, const ProgramFolders& folders);

/** The first value of SYSVER.DAT in `programFolder`, without quotes; "X.X.X" when it is missing. */
[[nodiscard]] std::string ReadVersionFile(const std::filesystem::path& programFolder);

}  // namespace chokusho
