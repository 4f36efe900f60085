#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "BlockData.h"
#include "FileSystem.h"

namespace chokusho {

/** First line of a block file as written: the format's prefix and version 2. */
inline constexpr const char* kBlockFileHeader = "#直立消波ブロック002";

/**
 * A block's name and kind are short labels: a name or kind longer than this many bytes (cp932,
 * as stored; the text before the line's first comma) is not read, and the dialogs accept no
 * longer ones. What follows a comma on the line is no part of the name and may be longer.
 */
inline constexpr std::size_t kMaxNameBytes = 1000;

/** Why a block file was not read. */
enum class BlockReadFailure {
    None,
    CannotRead,    // the file is missing, not a regular file, or cannot be opened or read
    NotBlockFile,  // its content is not a complete block file
    NameTooLong,   // its name is longer than kMaxNameBytes
    KindTooLong,   // its kind is longer than kMaxNameBytes
};

/** What reading a block file came to: true when the whole file was read. */
struct [[nodiscard]] BlockReadResult {
    BlockReadFailure failure = BlockReadFailure::None;
    /** With CannotRead: why, as ReadWholeFile reports it (an errno value or kNotRegularFile). */
    int errorNumber = 0;

    bool ok() const { return failure == BlockReadFailure::None; }
    explicit operator bool() const { return ok(); }
};

/**
 * Why a block file was not read, as the user reads it under the file's name: the system's reason
 * for a file that cannot be read, "名称が長すぎます (1000 バイトまで)。" for a long name, and
 * "直立消波ブロックのデータ形式ではありません。" for content that is no block file.
 */
std::string BlockReadFailureText(const BlockReadResult& result);

/** Empties both strings and sets every number, count and array element to 0. */
void ClearBlock(BlockData& record);

/**
 * Reads the block file dataPath + name + ".CSV" into `record` (the file name matched without
 * regard to ASCII letter case). Versions 0, 1 and 2 are read. The result says why when the file
 * cannot be read or is not a complete block file; `record` then holds what was read until the
 * failure.
 * `name` is a bare name: one holding a folder separator of the platform is not read.
 */
BlockReadResult ReadBlockFile(BlockData& record, const std::string& dataPath, const std::string& name);

/**
 * Reads exactly the file `fileName` (with its extension) in `dataPath` into `record`, as
 * ReadBlockFile reads the file it finds: for a choice made from a folder's listing, where the
 * file listed must be the file read even beside another spelled differently.
 */
BlockReadResult ReadBlockFileNamed(BlockData& record, const std::string& dataPath, const std::string& fileName);

/** Reads a block file from the bytes of its content, as ReadBlockFile does after opening it. */
BlockReadResult ParseBlockFile(BlockData& record, std::string_view bytes);

/** The version 2 content of `record`, as WriteBlockFile writes it. */
[[nodiscard]] std::string FormatBlockFile(const BlockData& record);

/**
 * The refusal of a name or kind that a block file cannot hold as typed, or "" when it can:
 * "名称に保存できない文字「𠮷」があります。" names up to ten characters that cp932 has no code for,
 * each once (characters it writes as an equivalent one, such as 〜 as ～, are fine). `field` is
 * the box's name, "名称" or "種別".
 */
std::string UnsavableTextProblem(const std::string& field, std::string_view text);

/**
 * Writes `record` to `path` in the version 2 layout through WriteFileAtomically: a failure at
 * any point leaves the old file as it was, and what the file is (a link's target, its
 * permissions, its other names) stays as it was. Throws FileWriteError with a Japanese reason,
 * also, before anything is written, for a name or kind the file cannot hold (UnsavableTextProblem).
 */
void WriteBlockFile(const BlockData& record, const std::string& path);

}  // namespace chokusho
