#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "Commands.h"
#include "DocumentState.h"
#include "FramePort.h"
#include "ModeTypes.h"
#include "MouseModes.h"
#include "Painting.h"
#include "RecentFiles.h"
#include "SectionCache.h"
#include "ViewTransform.h"
#include "ZoomScroll.h"

namespace chokusho {

class RecoveryKeeper;
struct LeftRecovery;

/** Caption of the main window for a block that has never been opened or saved. */
inline constexpr const char* kMainCaption = "直立消波ブロック設定";

/** ConfirmSave's answer; the values are the numbers the unsaved-changes question was known by. */
enum class SaveAnswer {
    Saved = 0,  // the block was saved
    GoOn = 1,   // nothing to save, or the user declined
    Stop = 2,   // the user cancelled the question or the save dialog
};

/**
 * The main window's logic: the view, the scroll bars and the display switches, the handlers of
 * every menu item and toolbar button, and the frame's housekeeping (prompts, enabled states,
 * repaint). The canvas's mouse modes are a machine of their own, modes(), which the frame owns.
 * The window forwards its events here and answers through FramePort.
 */
class FrameLogic : public ModeHost {
public:
    /** `programFolder`: the folder of the executable, where the manual is looked for after the current folder. */
    FrameLogic(DocumentState& state, FramePort& port, std::filesystem::path programFolder = {});
    ~FrameLogic() override;
    FrameLogic(const FrameLogic&) = delete;
    FrameLogic& operator=(const FrameLogic&) = delete;

    // --- state, readable by the window and the tests
    DocumentState& state() { return state_; }
    const ViewTransform& view() const { return view_; }
    ViewTransform& view() override { return view_; }
    const ScrollState& scroll() const { return scroll_; }
    const DisplaySwitches& display() const override { return display_; }
    /** The canvas's mouse modes; the window sends them the canvas's mouse events. */
    MouseModes& modes() { return modes_; }
    const MouseModes& modes() const { return modes_; }

    // --- start-up, layout and shutdown
    /** Start-up of the main window; `dataPath` is what the data-path file gave. */
    void Form_Load(const std::string& dataPath);
    /** The area between toolbar and status bar changed size; refits the view to all data. */
    void Form_Resize(int width, int height, bool minimized);
    /** Closing was asked for; true when the close must be cancelled. */
    [[nodiscard]] bool Form_QueryUnload();
    /** The window closes for good: the work kept for recovery goes, as nothing is lost. */
    void Form_Unload();

    // --- recent files
    /** The blocks last opened or saved; the window remembers them and lists them in the menu. */
    RecentFiles& recent() { return recent_; }
    const RecentFiles& recent() const { return recent_; }
    /**
     * Opens a block of 最近使ったファイル as OpenFile does; a file that is gone is taken off the
     * list with a message, before anything is asked.
     */
    void OpenRecent(const std::string& path);
    /** 一覧を消去: empties 最近使ったファイル. */
    void mnuFileRecentClear_Click();

    // --- recovery of unsaved work
    /** Keeps the unsaved work for recovery from now on; null stops that. */
    void AttachRecovery(RecoveryKeeper* keeper) { recovery_ = keeper; }
    /**
     * Makes the block of a recovery pair left by an ended instance the document: unsaved, under
     * the name and file it had, so that 上書き保存 writes it back there. Asks about unsaved
     * changes first, as 開く does.
     */
    void RestoreRecovered(const LeftRecovery& left);

    // --- housekeeping of the frame
    /**
     * Writes the prompt into status-bar panel 1; with none to show, the panel tells the section's
     * area instead (「断面積 23.920 m²」), or nothing without a closed outline.
     */
    void Disp_Message(Prompt prompt) override;
    /** Ends the current mouse mode with its rubber figure (MouseModes::Raber_Reset). */
    void Raber_Reset();
    /** Enabled states from the document; a mode that has nothing left to work on ends. */
    void Menu_Enable() override;
    /**
     * Rebuilds the picture from the document and shows it. A rubber band on screen is wiped by
     * that, so it is re-anchored as after scrolling: it starts again from its anchor's place in
     * the new picture and follows the pointer from there.
     */
    void Repaint() override;
    void ResetScrollBars() override;

    // --- file commands
    /** True when the document has changes that were not saved. */
    [[nodiscard]] bool IsModified() const;
    /** Asks whether unsaved changes are to be saved first. */
    [[nodiscard]] SaveAnswer ConfirmSave();
    /** Runs the save dialog; the chosen path, or "" when cancelled. */
    [[nodiscard]] std::string SaveAs();
    /** The file that saving to a path chosen in the save dialog writes. */
    std::string SaveTargetOf(const std::string& chosenPath) const;
    /**
     * Opens the block file at `path`, named on the command line or dropped on the window: as
     * 開く does after the picker, with the same question before and the same message when it
     * is no block file. Its folder becomes the data folder.
     */
    void OpenFile(const std::string& path);

    // --- scroll bars
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);

    // --- menu items and toolbar buttons
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    /** 上書き保存: the block to the file it came from, without the dialog (a new block: 保存). */
    void mnuFileOverwrite_Click();
    void mnuFileEnd_Click();
    void mnuFilePrint_Click();
    void mnuFileExport_Click();
    void mnuFileImport_Click();
    void mnuDispKaku_Click();
    void mnuDispShuku_Click();
    void mnuDispAll_Click();
    void mnuDispRedraw_Click();
    void mnuDispGrid_Click();
    void mnuDispPntNo_Click();
    /** 断面の塗り: shades the section's material under the segments, or stops shading it. */
    void mnuDispShade_Click();
    void mnuBlkPara_Click();
    void mnuPointHen_Click();
    void mnuPointDel_Click();
    void mnuPointMov_Click();
    /** 点追加: points where the user clicks. */
    void mnuPointAdd_Click();
    void mnuLineIn_Click();
    void mnuLineDel_Click();
    void mnuLineDelAll_Click();
    void mnuLineKind_Click();
    void mnuHelpHelp_Click();
    void mnuHelpVer_Click();
    /** The toolbar's "Undo". */
    void Undo_Click();
    /** The toolbar's "Redo": brings back what the last undo took back. */
    void Redo_Click();
    /** A command, from its menu item, button or key: its handler (Commands.h). */
    void Run(Command command);
    /** A toolbar click by its key; unknown keys do nothing. */
    void Toolbar1_ButtonClick(std::string_view key);

    // --- the wheel, the middle button and Escape
    /**
     * The wheel turned `notches` over canvas pixel (x, y), positive away from the user: one
     * zoom step each, in or out, about the point under the pointer, which stays under it.
     * `held`: the buttons held, for the rubber band that follows the pointer.
     */
    void Canvas_Wheel(int notches, int x, int y, MouseButtons held);
    /** The middle button dragged the picture by (dx, dy) pixels: the view follows it. */
    void Canvas_Pan(int dx, int dy);
    /** The Escape key: backs out of the current step of a mode (MouseModes::Escape). */
    void Escape_Key();

private:
    /** Writes the document to the chosen path and records it as saved; false (reported) on failure. */
    [[nodiscard]] bool SaveToPath(const std::string& chosenPath);
    /** A mode command: ends the mode before and enters `mode`. */
    void EnterMode(DispMode mode);
    /** Makes an opened block the document, with a fresh view and history. */
    void TakeOpened(BlockData opened, const PickedBlock& picked);
    /** Nothing is unsaved any more: the work kept for recovery goes. */
    void AfterSettled();
    /** After undo or redo replaced the document. */
    void AfterHistoryStep();
    /** After the view moved under the pointer: picture, scroll bars at rest, read-out. */
    void AfterViewMoved();
    /** The area of the document's section while panel 1 has no prompt to show. */
    void ShowSectionArea();

    DocumentState& state_;
    FramePort& port_;
    ViewTransform view_;
    ScrollState scroll_;
    DisplaySwitches display_;
    SectionCache section_;
    Prompt prompt_ = Prompt::None;
    std::filesystem::path programFolder_;
    RecoveryKeeper* recovery_ = nullptr;
    RecentFiles recent_;
    MouseModes modes_{state_, port_, *this};
};

}  // namespace chokusho
