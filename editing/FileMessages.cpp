#include "FileMessages.h"

#include "FileNames.h"

namespace chokusho {

MessageBoxRequest FailedWriteMessage(const std::string& path, const std::string& reason)
{
    return {"ファイル「" + DisplayFileName(path) + "」に保存できませんでした。\r\n" + reason, "Error", MsgButtons::Ok,
            MsgIcon::Exclamation};
}

MessageBoxRequest FailedReadMessage(const std::string& path, const BlockReadResult& result)
{
    if (result.failure == BlockReadFailure::NotBlockFile)
        return {"直立消波ブロックのデータ形式ではありません。\r\n処理を中止します。", "Error", MsgButtons::Ok,
                MsgIcon::Exclamation};
    return {"ファイル「" + DisplayFileName(path) + "」を開けませんでした。\r\n" + BlockReadFailureText(result), "Error",
            MsgButtons::Ok, MsgIcon::Exclamation};
}

}  // namespace chokusho
