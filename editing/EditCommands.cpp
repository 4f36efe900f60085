#include <algorithm>
#include <optional>
#include <system_error>

#include "EditOperations.h"
#include "FileMessages.h"
#include "FileSystem.h"
#include "FrameLogic.h"
#include "Numbers.h"

namespace chokusho {

namespace {

/** The operating manual, looked for in the current folder and then in the program's. */
constexpr const char* kManualName = "直消操作説明.pdf";

bool IsFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

/** Where the manual is, or an empty path when it is in neither folder. */
std::filesystem::path FindManual(const std::filesystem::path& programFolder)
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (!error && IsFile(current / PathFromUtf8(kManualName)))
        return current / PathFromUtf8(kManualName);
    if (!programFolder.empty() && IsFile(programFolder / PathFromUtf8(kManualName)))
        return programFolder / PathFromUtf8(kManualName);
    return {};
}

/** The question before the point table's confirmation drops `count` segments. */
MessageBoxRequest DroppedSegmentsQuestion(int count)
{
    MessageBoxRequest question = Confirmation(
        "座標を変更または削除した点につながる線分 " + FormatInteger(count) +
        " 本が削除されます。\r\n続けますか？（キャンセルで構成点編集の表に戻ります）");
    question.icon = MsgIcon::Exclamation;
    return question;
}

}  // namespace

void FrameLogic::mnuLineDelAll_Click()
{
    Raber_Reset();
    state_.ClearSelections();
    modes_.End();

    if (port_.messageBox(Confirmation("登録線分を全て消去します。よろしいですか？")) == MsgAnswer::Cancel)
        return;

    PushUndo(state_, undo_label::kDeleteAllLines);
    DeleteAllLines(state_);
    Menu_Enable();
    Repaint();
}

void FrameLogic::mnuPointHen_Click()
{
    const BlockData before = state_.CurData;
    Raber_Reset();
    std::optional<BlockData> table = port_.showPointTable();
    // Segments whose points were moved or removed in the table go with them: the user is told
    // how many, and may go back to the table with what they typed to put them right.
    while (table) {
        const int dropped = DroppedSegmentCount(before, *table);
        if (dropped == 0 || port_.messageBox(DroppedSegmentsQuestion(dropped)) != MsgAnswer::Cancel)
            break;
        table = port_.showPointTableWith(*table);
    }
    if (!table)
        return;
    PushUndo(state_, undo_label::kEditPoints);
    ReplacePoints(state_, *table);
    Repaint();
    Menu_Enable();
}

void FrameLogic::mnuBlkPara_Click()
{
    Raber_Reset();
    if (std::optional<BlockData> edited = port_.showBlockParams()) {
        PushUndo(state_, undo_label::kEditParams);
        state_.CurData = std::move(*edited);
    }
    Repaint();
    Menu_Enable();
}

void FrameLogic::mnuHelpHelp_Click()
{
    const std::filesystem::path manual = FindManual(programFolder_);
    if (manual.empty()) {
        // Where the program is installed with it; a program without a folder of its own (run from
        // the current folder) expects it there.
        std::error_code error;
        const std::filesystem::path folder = programFolder_.empty() ? std::filesystem::current_path(error)
                                                                    : programFolder_;
        port_.messageBox(MissingManualMessage(PathToUtf8((folder / PathFromUtf8(kManualName)).make_preferred())));
        return;
    }
    if (port_.openDocument(PathToUtf8(manual)))
        return;
    MessageBoxRequest failure;
    failure.text = "pdfファイルに関連づけられたアプリケーションが見つかりません";
    failure.title = "Corvel_T";
    failure.icon = MsgIcon::Warning;
    port_.messageBox(failure);
}

}  // namespace chokusho
