#pragma once

#include <cstdint>

#include "DocumentState.h"
#include "FramePort.h"
#include "ModeTypes.h"
#include "Painting.h"
#include "ViewTransform.h"

namespace chokusho {

/**
 * What the mouse modes need of the frame that owns them: its view and display switches, and its
 * housekeeping after a step (repaint, prompts, enabled states, scroll bars at rest).
 */
class ModeHost {
public:
    virtual ~ModeHost() = default;
    virtual ViewTransform& view() = 0;
    virtual const DisplaySwitches& display() const = 0;
    virtual void Repaint() = 0;
    virtual void Disp_Message(Prompt prompt) = 0;
    virtual void Menu_Enable() = 0;
    virtual void ResetScrollBars() = 0;
};

/**
 * Where a click at model point `at` adds a point: at the read-out's precision, as the read-out
 * shows it (0.01 m), or at the nearest 1-metre grid crossing when `snapToGrid`.
 */
ModelPoint PointToAdd(ModelPoint at, bool snapToGrid);

/** The refusal when the point table is full. */
inline constexpr const char* kPointsFull = "構成点は100点までしか登録できません。";

/**
 * The canvas's mouse-mode machine: eight modes (Disp_mode) in which the left button picks a
 * point, a segment or a rectangle's corner and the right button steps back, confirms or ends
 * the mode, each step (Mouse_sw) with its prompt. Rubber figures follow the pointer in yellow
 * XOR, so drawing one again erases it. The frame owns the machine and lends it, as its ModeHost,
 * its view, its display switches and its housekeeping (repaint, prompts, enabled states).
 */
class MouseModes {
public:
    MouseModes(DocumentState& state, FramePort& port, ModeHost& frame);
    MouseModes(const MouseModes&) = delete;
    MouseModes& operator=(const MouseModes&) = delete;

    // --- the state, as the frame, the window and the tests read it
    DispMode mode() const { return Disp_mode; }
    MouseStep step() const { return Mouse_sw; }
    /** True while a mode is active (it waits for a pick or follows the pointer). */
    bool active() const { return Disp_mode != DispMode::None && Mouse_sw != MouseStep::Idle; }
    /** Mouse_xa, Mouse_ya: where the rubber figure is anchored. */
    CanvasPoint anchor() const { return {Mouse_xa, Mouse_ya}; }
    /** Mouse_xb, Mouse_yb: the rubber figure's free end as last drawn. */
    CanvasPoint freeEnd() const { return {Mouse_xb, Mouse_yb}; }
    /** Mouse_kx, Mouse_ky: the model point of the press (or of a one-click zoom). */
    ModelPoint pressPoint() const { return {Mouse_kx, Mouse_ky}; }

    // --- entering and ending a mode
    /**
     * A mode command, after the frame has ended the mode before (Raber_Reset): clears the
     * selection the mode works on, waits for its first pick and shows its prompt; the zoom modes
     * show the magnifier.
     */
    void Enter(DispMode mode);
    /**
     * Raber_Reset: ends the current mode with its rubber figure, empties both selections, repaints
     * and clears the prompt. Nothing at all while no mode is active.
     */
    void Raber_Reset();
    /** Ends the mode at once, figure and all left as they are (no repaint), and clears the prompt. */
    void End();
    /** Ends the mode (no repaint) when the document no longer holds what the mode works on. */
    void EndWhenNothingLeft();
    /** After an undo: numbers may have changed, so a step half done starts again. */
    void RestartStep();
    /**
     * After a repaint, which wiped a rubber figure on screen: it starts again from its anchor, in
     * the zoom modes and while connecting at the anchor's model point's new place, as drawn by
     * the next pointer move. Selecting points keeps its anchor where it was pressed.
     */
    void Reanchor();

    // --- canvas events, positions in whole pixels
    /** `shift`: the Shift key is held, which puts a point added by click on the 1 m lattice. */
    void Picture1_MouseDown(MouseButton button, int x, int y, bool shift = false);
    void Picture1_MouseMove(MouseButtons buttons, int x, int y);
    /** Completes a drag in the zoom modes and while selecting points to move; the button is not examined. */
    void Picture1_MouseUp(MouseButton button, int x, int y);
    /** Adds the points inside the rectangle to the selection and marks every selected point. */
    void Pnt_AreaSel(int x1, int y1, int x2, int y2);
    /**
     * The Escape key backs out of the current step without acting: a rubber band or a selection
     * goes and the mode waits for its first pick again; at the first pick with nothing selected
     * the mode ends, as a right click ends it. It never asks a question or opens a dialog.
     */
    void Escape();

private:
    /** The nearest point or segment to a canvas position; -1 when there is none. */
    int PickPoint(int x, int y) const;
    int PickLine(int x, int y) const;
    /** The rubber figure in yellow XOR (drawing it again erases it). */
    void DrawRubberFigure();
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
    /** Adding points: a point where the canvas was clicked. */
    void AddPointAt(std::int16_t x, std::int16_t y);
    void TogglePointAt(int x, int y);
    void DrawSegmentHighlight(int line, PaletteColor color);

    DocumentState& state_;
    FramePort& port_;
    ModeHost& frame_;

    DispMode Disp_mode = DispMode::None;
    MouseStep Mouse_sw = MouseStep::Idle;
    std::int16_t Mouse_xa = 0, Mouse_ya = 0, Mouse_xb = 0, Mouse_yb = 0;
    double Mouse_kx = 0, Mouse_ky = 0;
    /** Shift held at the press being handled. */
    bool shiftHeld_ = false;
};

}  // namespace chokusho
