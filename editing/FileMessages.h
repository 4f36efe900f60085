#pragma once

#include <string>

#include "BlockFile.h"
#include "FramePort.h"

namespace chokusho {

/**
 * The one message of every file the program failed to write (a block, a drawing, an export):
 * the file's full path as the user reads it and the system's reason, titled "Error" with the
 * warning icon, so that a failed save and a failed export read alike.
 */
MessageBoxRequest FailedWriteMessage(const std::string& path, const std::string& reason);

/**
 * The message of a block file that was not opened. Content that is no block file keeps the
 * program's two lines "直立消波ブロックのデータ形式ではありません。" "処理を中止します。"; a file that
 * cannot be opened or read, or whose name is too long, names the file and the reason instead,
 * for the file itself is not damaged.
 */
MessageBoxRequest FailedReadMessage(const std::string& path, const BlockReadResult& result);

/**
 * Help's message when the manual is in neither folder it is looked for in: it names the file
 * where the program expects it (beside the program), so that a manual lost when the program was
 * unpacked or copied is found again; apart from the one that says no application opens a manual
 * that is there.
 */
MessageBoxRequest MissingManualMessage(const std::string& expectedPath);

}  // namespace chokusho
