#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include "BlockData.h"

namespace chokusho {

/** First line of a block file as written: the format's prefix and version 2. */
inline constexpr const char* kBlockFileHeader = "#直立消波ブロック002";

/**
 * A block's name and kind are short labels: a name or kind line longer than this many bytes
 * (cp932, as stored) makes a file no block file, and the dialogs accept no longer ones.
 */
inline constexpr std::size_t kMaxNameBytes = 1000;

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

/** Empties both strings and sets every number, count and array element to 0. */
void ClearBlock(BlockData& record);

/**
 * Reads the block file dataPath + name + ".CSV" into `record` (the file name matched without
 * regard to ASCII letter case). Versions 0, 1 and 2 are read. Returns false when the file is
 * missing or is not a complete block file; `record` then holds what was read until the failure.
 */
[[nodiscard]] bool ReadBlockFile(BlockData& record, const std::string& dataPath, const std::string& name);

/**
 * Reads exactly the file `fileName` (with its extension) in `dataPath` into `record`, as
 * ReadBlockFile reads the file it finds: for a choice made from a folder's listing, where the
 * file listed must be the file read even beside another spelled differently.
 */
[[nodiscard]] bool ReadBlockFileNamed(BlockData& record, const std::string& dataPath, const std::string& fileName);

/** Reads a block file from the bytes of its content, as ReadBlockFile does after opening it. */
[[nodiscard]] bool ParseBlockFile(BlockData& record, std::string_view bytes);

/** The version 2 content of `record`, as WriteBlockFile writes it. */
[[nodiscard]] std::string FormatBlockFile(const BlockData& record);

/**
 * Writes `record` to `path` in the version 2 layout through WriteFileAtomically: a failure at
 * any point leaves the old file as it was, and what the file is (a link's target, its
 * permissions, its other names) stays as it was. Throws FileWriteError with a Japanese reason.
 */
void WriteBlockFile(const BlockData& record, const std::string& path);

}  // namespace chokusho
