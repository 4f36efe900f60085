#include <filesystem>

#include "BlockFile.h"
#include "ChangeDetection.h"
#include "EditOperations.h"
#include "FileSystem.h"
#include "FrameLogic.h"

namespace chokusho {

namespace {

constexpr const char* kSaveQuestion = "データが更新されています。保存しますか?";
constexpr const char* kSaveQuestionTitle = "保存確認";
constexpr const char* kBlockFileFilter = "ブロックファイル (*.csv)";
constexpr const char* kNotABlockFile = "直立消波ブロックのデータ形式ではありません。\r\n処理を中止します。";

bool EndsWithCsv(const std::string& name)
{
    return name.size() >= 4 && EqualsIgnoringAsciiCase(std::string_view(name).substr(name.size() - 4), ".csv");
}

/** Where a save goes: the chosen path, with ".csv" added when the name has no such extension. */
struct SaveTarget {
    std::string path;
    std::string folder;   // DataPath: the folder with its trailing separator
    std::string blkName;  // the file name without ".csv"
};

SaveTarget TargetOf(std::string path)
{
    auto title = PathToUtf8(PathFromUtf8(path).filename());
    if (!EndsWithCsv(title)) {
        path += ".csv";
        title += ".csv";
    }
    SaveTarget target;
    target.path = path;
    target.folder = PathToUtf8(PathFromUtf8(path).parent_path());
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (target.folder.empty() || target.folder.back() != separator)
        target.folder += separator;
    target.blkName = title.substr(0, title.size() - 4);
    return target;
}

}  // namespace

bool FrameLogic::IsModified() const
{
    return chokusho::IsModified(state_.CurData, state_.SavedData);
}

std::string FrameLogic::SaveAs()
{
    return port_.saveFileDialog({state_.DataPath, kBlockFileFilter, state_.BlkName});
}

bool FrameLogic::SaveToPath(const std::string& chosenPath)
{
    const SaveTarget target = TargetOf(chosenPath);
    try {
        WriteBlockFile(state_.CurData, target.path);
    } catch (const FileWriteError& error) {
        // The block stays unsaved: nothing below runs, so the question comes again at the next close.
        port_.messageBox({"ファイル「" + target.path + "」に保存できませんでした。\r\n" + error.reason(), "Error",
                          MsgButtons::Ok, MsgIcon::Exclamation});
        return false;
    }
    state_.DataPath = target.folder;
    state_.BlkName = target.blkName;
    state_.SelLineCount = 0;
    state_.SelPntCount = 0;
    state_.Undo.clear();
    port_.setEnabled("Undo", false);
    port_.setCaption(std::string(kMainCaption) + " - " + state_.BlkName);
    state_.SavedData = state_.CurData;
    return true;
}

int FrameLogic::ConfirmSave()
{
    if (!IsModified())
        return 1;
    const MsgAnswer answer = port_.messageBox({kSaveQuestion, kSaveQuestionTitle, MsgButtons::YesNoCancel});
    if (answer == MsgAnswer::No)
        return 1;
    if (answer != MsgAnswer::Yes)
        return 2;
    const std::string path = SaveAs();
    if (path.empty() || !SaveToPath(path))
        return 2;
    return 0;
}

void FrameLogic::mnuFileNew_Click()
{
    Raber_Reset();
    if (ConfirmSave() == 2)
        return;
    ClearBlock(state_.CurData);
    state_.SelLineCount = 0;
    state_.SelPntCount = 0;
    state_.Undo.clear();
    port_.setEnabled("Undo", false);
    Menu_Enable();
    state_.SavedData = state_.CurData;
    Repaint();
    state_.BlkName = kUntitledName;
    port_.setCaption(kMainCaption);
}

void FrameLogic::mnuFileOpen_Click()
{
    Raber_Reset();
    if (ConfirmSave() == 2)
        return;
    const std::string name = port_.showPicker();
    if (name.empty())
        return;
    // Read into a scratch record, so that a file that is not a block file changes nothing.
    BlockData opened;
    if (!ReadBlockFile(opened, state_.DataPath, name)) {
        port_.messageBox({kNotABlockFile, "Error", MsgButtons::Ok, MsgIcon::Exclamation});
        return;
    }
    state_.BlkName = name;
    state_.CurData = std::move(opened);
    view_.Mk_Dan_xyminmax(state_.CurData);
    view_.Mk_Dan_scl();
    state_.SelLineCount = 0;
    state_.SelPntCount = 0;
    state_.Undo.clear();
    port_.setEnabled("Undo", false);
    port_.setCaption(std::string(kMainCaption) + " - " + state_.BlkName);
    Menu_Enable();
    Repaint();
    state_.SavedData = state_.CurData;
}

void FrameLogic::mnuFileSave_Click()
{
    Raber_Reset();
    const std::string path = SaveAs();
    if (path.empty())
        return;
    SaveToPath(path);
}

bool FrameLogic::Form_QueryUnload()
{
    return ConfirmSave() == 2;
}

}  // namespace chokusho
