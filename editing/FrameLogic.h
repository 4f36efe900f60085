#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "DocumentState.h"
#include "FramePort.h"
#include "Painting.h"
#include "ViewTransform.h"
#include "ZoomScroll.h"

namespace chokusho {

/** Caption of the main window for a block that has never been opened or saved. */
inline constexpr const char* kMainCaption = "直立消波ブロック設定";

/** Values of Disp_mode: the current mouse mode of the canvas. */
namespace mode {
inline constexpr std::int16_t kNone = -1;
inline constexpr std::int16_t kZoomIn = 0;
inline constexpr std::int16_t kZoomOut = 1;
inline constexpr std::int16_t kConnect = 2;
inline constexpr std::int16_t kDeleteLines = 3;
inline constexpr std::int16_t kDeletePoints = 4;
inline constexpr std::int16_t kMovePoints = 5;
inline constexpr std::int16_t kLineKind = 6;
}  // namespace mode

/** The status prompt of message number `msgNo`; empty for 0 and unknown numbers. */
const char* MessageText(int msgNo);

/**
 * The main window's logic: view, scroll and mouse-mode state, and the handlers of every menu
 * item and toolbar button. The window forwards its events here and implements FramePort.
 */
class FrameLogic {
public:
    FrameLogic(DocumentState& state, FramePort& port);
    ~FrameLogic();
    FrameLogic(const FrameLogic&) = delete;
    FrameLogic& operator=(const FrameLogic&) = delete;

    // --- state, readable by the window and the tests
    DocumentState& state() { return state_; }
    const ViewTransform& view() const { return view_; }
    ViewTransform& view() { return view_; }
    const ScrollState& scroll() const { return scroll_; }
    const DisplaySwitches& display() const { return display_; }

    std::int16_t Disp_mode = mode::kNone;
    std::int16_t Mouse_sw = -1;
    std::int16_t Mouse_xa = 0, Mouse_ya = 0, Mouse_xb = 0, Mouse_yb = 0;
    double Mouse_kx = 0, Mouse_ky = 0;

    // --- start-up, layout and shutdown
    /** Start-up of the main window; `dataPath` is what the data-path file gave. */
    void Form_Load(const std::string& dataPath);
    /** The area between toolbar and status bar changed size; refits the view to all data. */
    void Form_Resize(int width, int height, bool minimized);
    /** Closing was asked for; true when the close must be cancelled. */
    [[nodiscard]] bool Form_QueryUnload();

    // --- housekeeping of the frame
    void Disp_Message(int msgNo);
    void Raber_Reset();
    void Menu_Enable();
    /**
     * Rebuilds the picture from the document and shows it. A rubber band on screen is wiped by
     * that, so it is re-anchored as after scrolling: it starts again from its anchor's place in
     * the new picture and follows the pointer from there.
     */
    void Repaint();
    void ResetScrollBars();

    // --- file commands
    /** True when the document has changes that were not saved. */
    [[nodiscard]] bool IsModified() const;
    /** Asks whether unsaved changes are saved: 0 saved, 1 go on, 2 stop. */
    [[nodiscard]] int ConfirmSave();
    /** Runs the save dialog; the chosen path, or "" when cancelled. */
    [[nodiscard]] std::string SaveAs();
    /** The file that saving to a path chosen in the save dialog writes. */
    std::string SaveTargetOf(const std::string& chosenPath) const;

    // --- canvas mouse events, positions rounded to whole pixels
    /** button: 1 left, 2 right, others ignored. */
    void Picture1_MouseDown(int button, int x, int y);
    /** buttons: the mask of held buttons, 1 = left. */
    void Picture1_MouseMove(int buttons, int x, int y);
    void Picture1_MouseUp(int button, int x, int y);
    /** Adds the points inside the rectangle to the selection and marks every selected point. */
    void Pnt_AreaSel(int x1, int y1, int x2, int y2);

    /** The folder of the executable, where the manual is looked for after the current folder. */
    std::filesystem::path ProgramFolder;

    // --- scroll bars
    void HScroll1_Change(int value);
    void VScroll1_Change(int value);

    // --- menu items and toolbar buttons
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileEnd_Click();
    void mnuDispKaku_Click();
    void mnuDispShuku_Click();
    void mnuDispAll_Click();
    void mnuDispRedraw_Click();
    void mnuDispGrid_Click();
    void mnuDispPntNo_Click();
    void mnuBlkPara_Click();
    void mnuPointHen_Click();
    void mnuPointDel_Click();
    void mnuPointMov_Click();
    void mnuLineIn_Click();
    void mnuLineDel_Click();
    void mnuLineDelAll_Click();
    void mnuLineKind_Click();
    void mnuHelpHelp_Click();
    void mnuHelpVer_Click();
    /** The toolbar's "Undo". */
    void Undo_Click();
    /** A toolbar click by its key; unknown keys do nothing. */
    void Toolbar1_ButtonClick(std::string_view key);

    /** The rubber figure of the current mode, drawn in yellow XOR (drawing it again erases it). */
    void DrawRubberFigure();

private:
    /** Writes the document to the chosen path and records it as saved; false (reported) on failure. */
    [[nodiscard]] bool SaveToPath(const std::string& chosenPath);
    /** After a scroll the model moved under a rubber band: anchor it where its model point now is. */
    void ReanchorRubberBand();

    // --- mouse modes (MouseModes.cpp)
    /** The nearest point or segment to a canvas position; -1 when there is none. */
    int PickPoint(int x, int y) const;
    int PickLine(int x, int y) const;
    /** The rubber figure in XOR, unless it has shrunk to its anchor (then nothing is on screen). */
    void XorRubberFigure();
    /** A left press that starts a step, or picks in the modes without steps. */
    void FirstPick(std::int16_t x, std::int16_t y);
    /** A left press while a rubber figure follows the pointer. */
    void SecondPick(std::int16_t x, std::int16_t y);
    /** A right press while waiting for a pick: applies the selection or ends the mode. */
    void FinishSelection();
    /** Connecting points: the end point of a segment was picked. */
    void ConnectTo(std::int16_t x, std::int16_t y);
    void ToggleSegmentAt(int x, int y);
    void TogglePointAt(int x, int y);
    void DrawSegmentHighlight(int line, int color);
    /** Ends the mode without repainting. */
    void EndMode();

    DocumentState& state_;
    FramePort& port_;
    ViewTransform view_;
    ScrollState scroll_;
    DisplaySwitches display_;
};

}  // namespace chokusho
