#include <filesystem>

#include "BlockFile.h"
#include "ChangeDetection.h"
#include "EditOperations.h"
#include "FileMessages.h"
#include "FileNames.h"
#include "FileSystem.h"
#include "FrameLogic.h"
#include "Recovery.h"

namespace chokusho {

namespace {

constexpr const char* kSaveQuestion = "データが更新されています。保存しますか?";
constexpr const char* kBlockFileFilter = "ブロックファイル (*.csv)";

bool EndsWithCsv(const std::string& name)
{
    return name.size() >= 4 && EqualsIgnoringAsciiCase(std::string_view(name).substr(name.size() - 4), ".csv");
}

/** Where a save goes: the file written, the folder that becomes DataPath, and the new names. */
struct SaveTarget {
    std::string path;
    std::string folder;   // DataPath: the folder with its trailing separator
    std::string blkName;  // the file name without its extension
    std::string blkFile;  // the file name with it
};

std::string WithSeparator(std::string folder)
{
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (folder.empty() || folder.back() != separator)
        folder += separator;
    return folder;
}

/** Two spellings of one path, compared as absolute, normalised paths. */
bool SamePath(const std::string& a, const std::string& b)
{
    std::error_code error;
    const auto x = std::filesystem::absolute(PathFromUtf8(a), error).lexically_normal();
    const auto y = std::filesystem::absolute(PathFromUtf8(b), error).lexically_normal();
    return x == y;
}

/**
 * The file a path chosen in the save dialog writes. A name without the ".csv" extension gets it.
 * Accepting the name the dialog proposed, in the block's own folder, saves back to the file the
 * block came from: its name may not be UTF-8 (the dialog shows it as best it can) or may end in
 * ".CSV", and the dialog's text of it would name another file.
 */
SaveTarget TargetOf(std::string path, const DocumentState& state)
{
    auto title = PathToUtf8(PathFromUtf8(path).filename());
    if (!EndsWithCsv(title)) {
        path += ".csv";
        title += ".csv";
    }
    SaveTarget target;
    target.folder = WithSeparator(PathToUtf8(PathFromUtf8(path).parent_path()));
    const bool proposed = !state.BlkFile.empty() &&
                          SamePath(path, state.DataPath + DisplayFileName(state.BlkName) + ".csv");
    if (proposed)
        title = state.BlkFile;
    target.path = target.folder + title;
    target.blkName = title.substr(0, title.size() - 4);
    target.blkFile = title;
    return target;
}

/** The window's caption for a block known by `blkName`. */
std::string CaptionOf(const std::string& blkName)
{
    return std::string(kMainCaption) + " - " + DisplayFileName(blkName);
}

}  // namespace

bool FrameLogic::IsModified() const { return chokusho::IsModified(state_.CurData, state_.SavedData); }

std::string FrameLogic::SaveAs()
{
    SaveDialogRequest dialog{state_.DataPath, kBlockFileFilter, DisplayFileName(state_.BlkName), {}};
    dialog.targetOf = [this](const std::string& chosen) { return TargetOf(chosen, state_).path; };
    return port_.saveFileDialog(dialog);
}

std::string FrameLogic::SaveTargetOf(const std::string& chosenPath) const { return TargetOf(chosenPath, state_).path; }

bool FrameLogic::SaveToPath(const std::string& chosenPath)
{
    const SaveTarget target = TargetOf(chosenPath, state_);
    try {
        WriteBlockFile(state_.CurData, target.path);
    } catch (const FileWriteError& error) {
        // The block stays unsaved: nothing below runs, so the question comes again at the next close.
        port_.messageBox(FailedWriteMessage(target.path, error.reason()));
        return false;
    }
    state_.DataPath = target.folder;
    state_.BlkName = target.blkName;
    state_.ClearSelections();
    ClearHistory(state_);
    state_.BlkFile = target.blkFile;
    state_.BlkFolder = target.folder;
    port_.setCaption(CaptionOf(state_.BlkName));
    state_.SavedData = state_.CurData;
    AfterSettled();
    recent_.Add(target.path);
    return true;
}

SaveAnswer FrameLogic::ConfirmSave()
{
    if (!IsModified())
        return SaveAnswer::GoOn;
    const MsgAnswer answer = port_.messageBox({kSaveQuestion, kSaveConfirmTitle, MsgButtons::YesNoCancel});
    if (answer == MsgAnswer::No)
        return SaveAnswer::GoOn;
    if (answer != MsgAnswer::Yes)
        return SaveAnswer::Stop;
    const std::string path = SaveAs();
    if (path.empty() || !SaveToPath(path))
        return SaveAnswer::Stop;
    return SaveAnswer::Saved;
}

void FrameLogic::mnuFileNew_Click()
{
    Raber_Reset();
    if (ConfirmSave() == SaveAnswer::Stop)
        return;
    ClearBlock(state_.CurData);
    state_.ClearSelections();
    ClearHistory(state_);
    Menu_Enable();
    state_.SavedData = state_.CurData;
    Repaint();
    state_.BlkName = kUntitledName;
    state_.BlkFile.clear();
    state_.BlkFolder.clear();
    port_.setCaption(kMainCaption);
    AfterSettled();
}

void FrameLogic::mnuFileOpen_Click()
{
    Raber_Reset();
    if (ConfirmSave() == SaveAnswer::Stop)
        return;
    // A remembered folder that is gone gives way to the newest recent file's.
    state_.DataPath = PickerStartFolder(state_.DataPath, recent_.paths());
    const PickedBlock picked = port_.showPicker();
    if (picked.BlkNm.empty())
        return;
    // Read into a scratch record, so that a file that is not a block file changes nothing. The
    // file read is the one the picker listed, even beside one whose name differs only in case.
    BlockData opened;
    const BlockReadResult read = picked.FileName.empty() ? ReadBlockFile(opened, state_.DataPath, picked.BlkNm)
                                                         : ReadBlockFileNamed(opened, state_.DataPath, picked.FileName);
    if (!read) {
        const std::string file = picked.FileName.empty() ? picked.BlkNm + ".csv" : picked.FileName;
        port_.messageBox(FailedReadMessage(state_.DataPath + file, read));
        return;
    }
    TakeOpened(std::move(opened), picked);
}

void FrameLogic::OpenFile(const std::string& path)
{
    Raber_Reset();
    if (ConfirmSave() == SaveAnswer::Stop)
        return;
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(PathFromUtf8(path), error).lexically_normal();
    const std::string folder = WithSeparator(PathToUtf8(file.parent_path()));
    const std::string fileName = PathToUtf8(file.filename());
    BlockData opened;
    const BlockReadResult read = ReadBlockFileNamed(opened, folder, fileName);
    if (!read) {
        port_.messageBox(FailedReadMessage(folder + fileName, read));
        return;
    }
    // Its folder is where the picker and the save dialog look next, as after choosing it there.
    state_.DataPath = folder;
    TakeOpened(std::move(opened), {PathToUtf8(file.stem()), fileName});
}

void FrameLogic::TakeOpened(BlockData opened, const PickedBlock& picked)
{
    state_.BlkName = picked.BlkNm;
    state_.BlkFile = picked.FileName;
    state_.BlkFolder = state_.DataPath;
    state_.CurData = std::move(opened);
    view_.FitAll(state_.CurData);
    state_.ClearSelections();
    ClearHistory(state_);
    port_.setCaption(CaptionOf(state_.BlkName));
    Menu_Enable();
    Repaint();
    state_.SavedData = state_.CurData;
    AfterSettled();
    recent_.Add(state_.BlkFolder + (picked.FileName.empty() ? picked.BlkNm + ".csv" : picked.FileName));
}

void FrameLogic::mnuFileSave_Click()
{
    Raber_Reset();
    const std::string path = SaveAs();
    if (path.empty())
        return;
    // A failed write has been reported and leaves the block unsaved; nothing more is to be done.
    static_cast<void>(SaveToPath(path));
}

void FrameLogic::mnuFileOverwrite_Click()
{
    // A block that has no file yet gets one through the save dialog.
    if (state_.BlkFile.empty() || state_.BlkFolder.empty()) {
        mnuFileSave_Click();
        return;
    }
    Raber_Reset();
    // The block's own folder, wherever the picker has looked since.
    static_cast<void>(SaveToPath(state_.BlkFolder + state_.BlkFile));
}

bool FrameLogic::Form_QueryUnload() { return ConfirmSave() == SaveAnswer::Stop; }

void FrameLogic::Form_Unload() { AfterSettled(); }

void FrameLogic::OpenRecent(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(PathFromUtf8(path), error)) {
        recent_.Remove(path);
        port_.messageBox(ErrorMessage("ファイル「" + DisplayFileName(path) +
                                      "」が見つかりません。\r\n最近使ったファイルの一覧から外しました。"));
        return;
    }
    OpenFile(path);
}

void FrameLogic::mnuFileRecentClear_Click() { recent_.Clear(); }

void FrameLogic::AfterSettled()
{
    if (recovery_)
        recovery_->Settled();
}

void FrameLogic::RestoreRecovered(const LeftRecovery& left)
{
    Raber_Reset();
    if (ConfirmSave() == SaveAnswer::Stop)
        return;
    const RecoveryInfo& info = left.content.info;
    state_.CurData = left.content.record;
    // Unsaved whatever it holds: the file on disk is not what the user was working on.
    ClearBlock(state_.SavedData);
    state_.BlkName = info.blkFile.empty() || info.blkName.empty() ? kUntitledName : info.blkName;
    state_.BlkFile = info.blkFile;
    state_.BlkFolder = info.blkFile.empty() ? std::string() : info.blkFolder;
    if (!info.dataPath.empty())
        state_.DataPath = info.dataPath;
    view_.FitAll(state_.CurData);
    state_.ClearSelections();
    ClearHistory(state_);
    port_.setCaption((state_.BlkFile.empty() ? std::string(kMainCaption) : CaptionOf(state_.BlkName)) + " *");
    Menu_Enable();
    Repaint();
    if (recovery_)
        recovery_->TakeOver(left.name);
}

}  // namespace chokusho
