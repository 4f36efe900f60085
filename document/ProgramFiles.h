#pragma once

#include <filesystem>
#include <string>

namespace chokusho {

/**
 * Where the program keeps its own files. CVDTPATH lives in the program's folder (beside the
 * executable) and, where that cannot be written, in the user's configuration folder; SYSVER.DAT,
 * the sample blocks and the manual lie in the folder of the program's files, which is the
 * program's folder unless the program is installed.
 */
struct ProgramFolders {
    /** Beside the executable; empty for an installed program, whose folder belongs to the system. */
    std::filesystem::path program;
    std::filesystem::path config;
    /** SYSVER.DAT, the samples and the manual; the program's folder when empty. */
    std::filesystem::path files = {};

    [[nodiscard]] const std::filesystem::path& filesFolder() const { return files.empty() ? program : files; }
};

/**
 * The folders of the program whose executable lies in `executableFolder`. Its files are found
 * beside the executable first (a build folder, an unpacked zip, a copied folder); else in
 * `../share/chokusho`, where an installed package puts them, and then CVDTPATH is kept in
 * `configFolder` only.
 */
[[nodiscard]] ProgramFolders LocateProgramFolders(const std::filesystem::path& executableFolder,
                                                  const std::filesystem::path& configFolder);

/** Shown in the version box when the version file is missing. */
inline constexpr const char* kUnknownVersion = "X.X.X";

/**
 * The folder of block files remembered in CVDTPATH: the first line of the program folder's
 * file or the configuration folder's, whichever was written last (the program folder's when
 * both were written at the same time), else of the other one; the folder of the program's
 * files, with the samples, and a trailing separator when neither can be read or the line is
 * empty.
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
