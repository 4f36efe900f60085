#pragma once

#include <stdexcept>
#include <string>

#include "BlockData.h"

namespace chokusho {

/** First line of a block file as written: the format's prefix and version 2. */
inline constexpr const char* kBlockFileHeader = "#直立消波ブロック002";

/** A block file, or another file of the program, could not be written. */
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(std::string path, std::string reason);
    const std::string& path() const { return path_; }
    /** The system's reason, for example "Permission denied". */
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
bool ReadBlockFile(BlockData& record, const std::string& dataPath, const std::string& name);

/** Reads a block file from the bytes of its content, as ReadBlockFile does after opening it. */
bool ParseBlockFile(BlockData& record, std::string_view bytes);

/** The version 2 content of `record`, as WriteBlockFile writes it. */
std::string FormatBlockFile(const BlockData& record);

/**
 * Writes `record` to `path` in the version 2 layout. The content goes to a temporary file in
 * the same folder, is flushed to disk and then replaces the target, so that a failure at any
 * point leaves the old file as it was. Throws FileWriteError with the system's reason.
 */
void WriteBlockFile(const BlockData& record, const std::string& path);

}  // namespace chokusho
