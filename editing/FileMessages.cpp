#include "FileMessages.h"

#include "FileNames.h"

namespace chokusho {

MessageBoxRequest FailedWriteMessage(const std::string& path, const std::string& reason)
{
    return ErrorMessage("ファイル「" + DisplayFileName(path) + "」に保存できませんでした。\r\n" + reason);
}

MessageBoxRequest FailedReadMessage(const std::string& path, const BlockReadResult& result)
{
    if (result.failure == BlockReadFailure::NotBlockFile)
        return ErrorMessage("直立消波ブロックのデータ形式ではありません。\r\n処理を中止します。");
    return ErrorMessage("ファイル「" + DisplayFileName(path) + "」を開けませんでした。\r\n" +
                        BlockReadFailureText(result));
}

MessageBoxRequest MissingManualMessage(const std::string& expectedPath)
{
    MessageBoxRequest missing;
    missing.text = "操作説明書「" + DisplayFileName(expectedPath) + "」が見つかりません。";
    missing.title = "Corvel_T";
    missing.icon = MsgIcon::Warning;
    return missing;
}

}  // namespace chokusho
