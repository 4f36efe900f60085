#include "MouseModes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

#include "EditOperations.h"
#include "Numbers.h"
#include "Painting.h"
#include "ZoomScroll.h"

namespace chokusho {

namespace {

/** How far a pick may lie from the nearest point or segment: in practice, anywhere. */
constexpr double kPickReach = 999.0;

/** Shorter presses-to-releases than this many pixels are clicks, not drags. */
constexpr double kDragPixels = 20.0;


/** The modes whose step is a rectangle dragged from the press. */
bool IsAreaMode(DispMode mode)
{
    return mode == DispMode::ZoomIn || mode == DispMode::ZoomOut || mode == DispMode::MovePoints;
}

/** Appends `value` to a selection unless it is full; false when it did not fit. */
template <std::size_t N>
bool AppendSelection(std::array<std::int16_t, N>& entries, std::int16_t& count, int value)
{
    const int used = std::clamp<int>(count, 0, static_cast<int>(N));
    if (used >= static_cast<int>(N))
        return false;
    entries[used] = static_cast<std::int16_t>(value);
    count = static_cast<std::int16_t>(used + 1);
    return true;
}

/** Removes entry `pos`; the later entries move down so that the selection keeps its order. */
template <std::size_t N>
void RemoveSelection(std::array<std::int16_t, N>& entries, std::int16_t& count, int pos)
{
    const int used = std::clamp<int>(count, 0, static_cast<int>(N));
    if (pos < 0 || pos >= used)
        return;
    std::copy(entries.begin() + pos + 1, entries.begin() + used, entries.begin() + pos);
    count = static_cast<std::int16_t>(used - 1);
}


}  // namespace

ModelPoint PointToAdd(ModelPoint at, bool snapToGrid)
{
    if (snapToGrid)
        return {std::round(at.kx), std::round(at.ky)};
    const auto shown = [](double value) { return ReadReal(FormatReadout(value)).value_or(value); };
    return {shown(at.kx), shown(at.ky)};
}

MouseModes::MouseModes(DocumentState& state, FramePort& port, ModeHost& frame)
    : state_(state), port_(port), frame_(frame)
{
}

// --- entering and ending a mode

void MouseModes::Enter(DispMode mode)
{
    switch (mode) {
    case DispMode::DeleteLines:
    case DispMode::LineKind: state_.SelLineCount = 0; break;
    case DispMode::DeletePoints:
    case DispMode::MovePoints: state_.SelPntCount = 0; break;
    case DispMode::ZoomIn:
    case DispMode::ZoomOut: port_.setCanvasCursor(CanvasCursor::Magnifier); break;
    case DispMode::Connect:
    case DispMode::AddPoint:
    case DispMode::None: break;
    }
    Disp_mode = mode;
    Mouse_sw = mode == DispMode::None ? MouseStep::Idle : MouseStep::FirstPick;
    frame_.Disp_Message(FirstPrompt(mode));
}

void MouseModes::Raber_Reset()
{
    if (!active())
        return;
    Mouse_sw = MouseStep::FirstPick;
    if (Disp_mode == DispMode::ZoomIn || Disp_mode == DispMode::ZoomOut || Disp_mode == DispMode::Connect)
        DrawRubberFigure();
    Mouse_sw = MouseStep::Idle;
    Disp_mode = DispMode::None;
    state_.ClearSelections();
    frame_.Repaint();
    frame_.Disp_Message(Prompt::None);
    port_.setCanvasCursor(CanvasCursor::Arrow);
}

void MouseModes::EndWhenNothingLeft()
{
    const BlockData& data = state_.CurData;
    const bool noLinesLeft = data.LineCount < 1 && Disp_mode == DispMode::DeleteLines;
    const bool noPointsLeft = data.PointCount < 1 &&
                              (Disp_mode == DispMode::Connect || Disp_mode == DispMode::DeletePoints ||
                               Disp_mode == DispMode::MovePoints);
    if (noLinesLeft || noPointsLeft)
        End();
}

void MouseModes::RestartStep()
{
    if (Disp_mode == DispMode::None || Mouse_sw != MouseStep::RubberBand)
        return;
    Mouse_sw = MouseStep::FirstPick;
    frame_.Disp_Message(FirstPrompt(Disp_mode));
}

void MouseModes::Reanchor()
{
    if (Mouse_sw != MouseStep::RubberBand)
        return;
    const ViewTransform& view = frame_.view();
    CanvasPoint anchor{Mouse_xa, Mouse_ya};
    if (Disp_mode == DispMode::ZoomIn || Disp_mode == DispMode::ZoomOut) {
        anchor = view.KzToGz(Mouse_kx, Mouse_ky);
    } else if (Disp_mode == DispMode::Connect) {
        const int start = state_.NewLine[0];
        if (start >= 1 && start <= state_.CurData.PointCount)
            anchor = view.KzToGz(state_.CurData.PointX[start],
                                 state_.CurData.PointY[start]);
    }
    Mouse_xa = Mouse_xb = anchor.gx;
    Mouse_ya = Mouse_yb = anchor.gy;
}

// --- canvas events

void MouseModes::Escape()
{
    if (Disp_mode == DispMode::None)
        return;
    // A band follows the pointer: it goes, as with a right click.
    if (Mouse_sw == MouseStep::RubberBand) {
        Picture1_MouseDown(MouseButton::Right, Mouse_xb, Mouse_yb);
        return;
    }
    // A selection goes without the question a right click would ask about it.
    const bool picksLines = Disp_mode == DispMode::DeleteLines || Disp_mode == DispMode::LineKind;
    const bool picksPoints = Disp_mode == DispMode::DeletePoints || Disp_mode == DispMode::MovePoints;
    if ((picksLines && state_.SelLineCount > 0) || (picksPoints && state_.SelPntCount > 0)) {
        if (picksLines)
            state_.SelLineCount = 0;
        else
            state_.SelPntCount = 0;
        Mouse_sw = MouseStep::FirstPick;
        frame_.Repaint();
        frame_.Disp_Message(FirstPrompt(Disp_mode));
        return;
    }
    // Nothing is half done: the mode ends, as a right click ends it.
    End();
    port_.setCanvasCursor(CanvasCursor::Arrow);
}

void MouseModes::Picture1_MouseDown(MouseButton button, int x, int y, bool shift)
{
    shiftHeld_ = shift;
    if (Mouse_sw == MouseStep::Idle) {
        if (Disp_mode == DispMode::None)
            return;
        Mouse_sw = MouseStep::FirstPick;
    }
    const std::int16_t px = ClampToInt16(x);
    const std::int16_t py = ClampToInt16(y);
    if (button == MouseButton::Left) {
        if (Mouse_sw == MouseStep::RubberBand)
            SecondPick(px, py);
        else
            FirstPick(px, py);
    } else if (button == MouseButton::Right) {
        if (Mouse_sw == MouseStep::RubberBand) {
            // The step is abandoned; the mode waits for its first pick again.
            Mouse_sw = MouseStep::FirstPick;
            if (IsAreaMode(Disp_mode) || Disp_mode == DispMode::Connect) {
                XorRubberFigure();
                frame_.Disp_Message(FirstPrompt(Disp_mode));
            }
        } else {
            FinishSelection();
        }
    }
}

void MouseModes::Picture1_MouseMove(MouseButtons buttons, int x, int y)
{
    const auto [kx, ky] = frame_.view().GzToKz(x, y);
    port_.setStatusText(StatusPane::Readout, "X = " + FormatReadout(kx) + "  Y = " + FormatReadout(ky));

    if (Mouse_sw != MouseStep::RubberBand)
        return;
    const std::int16_t px = ClampToInt16(x);
    const std::int16_t py = ClampToInt16(y);
    if (px == Mouse_xb && py == Mouse_yb)
        return;
    // A rectangle follows only a left drag. Its free end is kept where it was last drawn even
    // when the pointer moves on without it, so that erasing always hits what is on screen.
    const bool follows = Disp_mode == DispMode::Connect ||
                         (IsAreaMode(Disp_mode) && buttons.holdsOnly(MouseButton::Left));
    if (!follows)
        return;
    XorRubberFigure();
    Mouse_xb = px;
    Mouse_yb = py;
    XorRubberFigure();
}

void MouseModes::Picture1_MouseUp(MouseButton, int x, int y)
{
    if (Mouse_sw != MouseStep::RubberBand || !IsAreaMode(Disp_mode))
        return;
    ViewTransform& view = frame_.view();
    const std::int16_t ux = ClampToInt16(x);
    const std::int16_t uy = ClampToInt16(y);
    const double dx = Mouse_xa - ux;
    const double dy = Mouse_ya - uy;
    const bool drag = std::sqrt(dy * dy + dx * dx) >= kDragPixels;

    if (Disp_mode == DispMode::MovePoints) {
        // No repaint follows a selection, so the rectangle is taken off before marking points.
        XorRubberFigure();
        Mouse_xb = ux;
        Mouse_yb = uy;
        if (drag)
            Pnt_AreaSel(Mouse_xa, Mouse_ya, Mouse_xb, Mouse_yb);
        else
            TogglePointAt(ux, uy);
    } else if (drag) {
        const ZoomResult result = Disp_mode == DispMode::ZoomIn ? Kakudai_disp(view, Mouse_xa, Mouse_ya, ux, uy)
                                                                : Shukusho_disp(view, Mouse_xa, Mouse_ya, ux, uy);
        // Without a repaint the rectangle would stay on the picture.
        if (result == ZoomResult::Nothing)
            XorRubberFigure();
        Mouse_xb = ux;
        Mouse_yb = uy;
        if (result == ZoomResult::Refitted)
            frame_.ResetScrollBars();
        if (result != ZoomResult::Nothing)
            frame_.Repaint();
    } else {
        Mouse_xb = ux;
        Mouse_yb = uy;
        const ModelPoint click = view.GzToKz(ux, uy);
        Mouse_kx = click.kx;
        Mouse_ky = click.ky;
        view.Set_Dan_scl(Disp_mode == DispMode::ZoomIn ? ZoomStep::In : ZoomStep::Out, Mouse_kx, Mouse_ky);
        frame_.Repaint();
        frame_.ResetScrollBars();
    }
    Mouse_sw = MouseStep::FirstPick;
    frame_.Disp_Message(FirstPrompt(Disp_mode));
}

void MouseModes::Pnt_AreaSel(int x1, int y1, int x2, int y2)
{
    const ViewTransform& view = frame_.view();
    if (!(view.Dan_scl > 0))
        return;
    const auto [xa, ya] = view.GzToKz(x1, y1);
    const auto [xb, yb] = view.GzToKz(x2, y2);
    const auto found = PointsInRect(state_.CurData, std::min(xa, xb), std::min(ya, yb), std::max(xa, xb),
                                    std::max(ya, yb));
    for (const std::int16_t n : found) {
        if (FindSelPnt(state_, n) < 0)
            AppendSelection(state_.SelPnt, state_.SelPntCount, n);
    }
    Canvas& canvas = port_.canvas();
    const int selected = std::clamp<int>(state_.SelPntCount, 0, static_cast<int>(state_.SelPnt.size()));
    for (int i = 0; i < selected; ++i)
        Pnt_disp(canvas, state_.CurData, view, frame_.display(), state_.SelPnt[i],
                 qb::kYellow, qb::kYellow);
    port_.canvasChanged();
}

// --- the steps of the modes

void MouseModes::FirstPick(std::int16_t x, std::int16_t y)
{
    switch (Disp_mode) {
    case DispMode::ZoomIn:
    case DispMode::ZoomOut:
    case DispMode::MovePoints: {
        frame_.Disp_Message(Disp_mode == DispMode::ZoomIn    ? Prompt::ZoomInCorner
                            : Disp_mode == DispMode::ZoomOut ? Prompt::ZoomOutCorner
                                                             : Prompt::MovePointsCorner);
        const ModelPoint press = frame_.view().GzToKz(x, y);
        Mouse_kx = press.kx;
        Mouse_ky = press.ky;
        Mouse_xa = x;
        Mouse_ya = y;
        break;
    }
    case DispMode::Connect: {
        // Without a point to start from there is no segment to draw; the press is ignored.
        const int start = PickPoint(x, y);
        if (start < 0)
            return;
        state_.NewLine[0] = static_cast<std::int16_t>(start);
        const CanvasPoint anchor = frame_.view().KzToGz(state_.CurData.PointX[start],
                                                        state_.CurData.PointY[start]);
        Mouse_xa = anchor.gx;
        Mouse_ya = anchor.gy;
        frame_.Disp_Message(Prompt::ConnectEnd);
        break;
    }
    case DispMode::DeleteLines:
        frame_.Disp_Message(Prompt::DeleteLines);
        ToggleSegmentAt(x, y);
        break;
    case DispMode::LineKind:
        frame_.Disp_Message(Prompt::LineKind);
        ToggleSegmentAt(x, y);
        break;
    case DispMode::DeletePoints: TogglePointAt(x, y); break;
    case DispMode::AddPoint: AddPointAt(x, y); break;
    case DispMode::None: return;
    }
    Mouse_xb = Mouse_xa;
    Mouse_yb = Mouse_ya;
    const bool picksOnly = Disp_mode == DispMode::DeleteLines || Disp_mode == DispMode::DeletePoints ||
                           Disp_mode == DispMode::LineKind || Disp_mode == DispMode::AddPoint;
    Mouse_sw = picksOnly ? MouseStep::FirstPick : MouseStep::RubberBand;
}

void MouseModes::SecondPick(std::int16_t x, std::int16_t y)
{
    if (Disp_mode == DispMode::Connect) {
        ConnectTo(x, y);
        return;
    }
    // A rectangle's second corner comes with the release; a press here means the release was
    // lost (the window lost the pointer mid-drag), so the step is dropped with its rectangle.
    if (IsAreaMode(Disp_mode)) {
        XorRubberFigure();
        frame_.Disp_Message(FirstPrompt(Disp_mode));
    }
    Mouse_xb = x;
    Mouse_yb = y;
    Mouse_sw = MouseStep::FirstPick;
}

void MouseModes::ConnectTo(std::int16_t x, std::int16_t y)
{
    const int end = PickPoint(x, y);
    if (end < 0)
        return;
    XorRubberFigure();
    Mouse_sw = MouseStep::FirstPick;
    state_.NewLine[1] = static_cast<std::int16_t>(end);
    const CanvasPoint endPoint = frame_.view().KzToGz(state_.CurData.PointX[end],
                                                      state_.CurData.PointY[end]);
    Mouse_xb = endPoint.gx;
    Mouse_yb = endPoint.gy;

    if (state_.NewLine[0] != state_.NewLine[1]) {
        // A full table refuses only a new pair; joining a joined pair adds nothing anyway.
        if (state_.CurData.LineCount >= kMaxLines &&
            FindJoiningLine(state_.CurData, state_.NewLine[0], state_.NewLine[1]) < 0) {
            // Refused before the snapshot, so Undo does not offer a change that never happened;
            // the chain waits at its start point for the user to go on elsewhere or stop.
            port_.messageBox(
                ErrorMessage("線分は200本までしか登録できません。"));
            Mouse_xb = Mouse_xa;
            Mouse_yb = Mouse_ya;
            Mouse_sw = MouseStep::RubberBand;
            return;
        }
        PushUndo(state_, undo_label::kAddLine);
        // A pair that is already joined keeps its own look (it may be dotted).
        if (AddLine(state_) == AddLineResult::Added) {
            Canvas& canvas = port_.canvas();
            canvas.SetPenStyle(PenStyle::Solid);
            canvas.SetPenMode(PenMode::Copy);
            canvas.Line(Mouse_xa, Mouse_ya, Mouse_xb, Mouse_yb, qb::kWhite);
            port_.canvasChanged();
        }
    }
    state_.NewLine[0] = state_.NewLine[1];
    Mouse_xa = Mouse_xb;
    Mouse_ya = Mouse_yb;
    Mouse_sw = MouseStep::RubberBand;
    frame_.Menu_Enable();
}

void MouseModes::FinishSelection()
{
    bool lines = false;
    switch (Disp_mode) {
    case DispMode::ZoomIn:
    case DispMode::ZoomOut:
    case DispMode::Connect:
    case DispMode::AddPoint:
        End();
        port_.setCanvasCursor(CanvasCursor::Arrow);
        return;
    case DispMode::DeleteLines:
    case DispMode::LineKind: {
        if (state_.SelLineCount < 1) {
            End();
            return;
        }
        const bool remove = Disp_mode == DispMode::DeleteLines;
        const MsgAnswer answer = port_.messageBox(
            Confirmation(remove ? "選択中の線分を削除しますか？" : "選択中線分の線種を変更しますか？"));
        if (answer == MsgAnswer::Ok) {
            PushUndo(state_, remove ? undo_label::kDeleteLines : undo_label::kToggleLineKind);
            if (remove)
                DeleteLines(state_);
            else
                ToggleLineKind(state_);
        }
        lines = true;
        break;
    }
    case DispMode::DeletePoints:
        if (state_.SelPntCount < 1) {
            End();
            return;
        }
        if (port_.messageBox(Confirmation("選択中の点を削除しますか？\r\n結線されている線分も削除します。")) ==
            MsgAnswer::Ok) {
            PushUndo(state_, undo_label::kDeletePoints);
            DeletePoints(state_);
        }
        break;
    case DispMode::MovePoints:
        if (state_.SelPntCount < 1) {
            End();
            return;
        }
        // A dialog that never reached its own start must not move anything with an old answer.
        state_.MoveOK = false;
        port_.showPointMoveDialog();
        if (state_.MoveOK) {
            PushUndo(state_, undo_label::kMovePoints);
            MovePoints(state_);
        }
        break;
    case DispMode::None: return;
    }
    if (lines)
        state_.SelLineCount = 0;
    else
        state_.SelPntCount = 0;
    frame_.Repaint();
    frame_.Menu_Enable();
}

void MouseModes::AddPointAt(std::int16_t x, std::int16_t y)
{
    // Refused before the snapshot, as a full segment table refuses a segment.
    if (state_.CurData.PointCount >= kMaxPoints) {
        port_.messageBox(ErrorMessage(kPointsFull));
        return;
    }
    // The lattice is there to snap to whether the grid is drawn or not.
    const ModelPoint at = PointToAdd(frame_.view().GzToKz(x, y), shiftHeld_);
    if (!std::isfinite(at.kx) || !std::isfinite(at.ky))
        return;
    PushUndo(state_, undo_label::kAddPoint);
    if (!AddPoint(state_, at.kx, at.ky))
        return;
    frame_.Repaint();
    frame_.Menu_Enable();
}

// --- helpers

void MouseModes::End()
{
    Mouse_sw = MouseStep::Idle;
    Disp_mode = DispMode::None;
    frame_.Disp_Message(Prompt::None);
}

int MouseModes::PickPoint(int x, int y) const
{
    const auto [kx, ky] = frame_.view().GzToKz(x, y);
    return FindPoint(state_.CurData, kx, ky, kPickReach);
}

int MouseModes::PickLine(int x, int y) const
{
    const auto [kx, ky] = frame_.view().GzToKz(x, y);
    return FindLine(state_.CurData, kx, ky, kPickReach);
}

void MouseModes::DrawRubberFigure()
{
    Canvas& canvas = port_.canvas();
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenMode(PenMode::Xor);
    if (Disp_mode == DispMode::Connect)
        canvas.Line(Mouse_xa, Mouse_ya, Mouse_xb, Mouse_yb, qb::kYellow);
    else
        canvas.Box(Mouse_xa, Mouse_ya, Mouse_xb, Mouse_yb, qb::kYellow);
    canvas.SetPenMode(PenMode::Copy);
    port_.canvasChanged();
}

void MouseModes::XorRubberFigure()
{
    // A figure shrunk to its anchor is never drawn: a press puts none on screen, and the
    // anchor pixel is shared by every figure drawn from it.
    if (Mouse_xa == Mouse_xb && Mouse_ya == Mouse_yb)
        return;
    DrawRubberFigure();
}

void MouseModes::ToggleSegmentAt(int x, int y)
{
    const int line = PickLine(x, y);
    if (line < 0)
        return;
    const int pos = FindSelLine(state_, line);
    if (pos < 0) {
        if (AppendSelection(state_.SelLine, state_.SelLineCount, line))
            DrawSegmentHighlight(line, qb::kYellow);
    } else {
        DrawSegmentHighlight(line, qb::kWhite);
        RemoveSelection(state_.SelLine, state_.SelLineCount, pos);
    }
}

void MouseModes::TogglePointAt(int x, int y)
{
    const int point = PickPoint(x, y);
    if (point < 0)
        return;
    Canvas& canvas = port_.canvas();
    const int pos = FindSelPnt(state_, point);
    if (pos < 0) {
        if (AppendSelection(state_.SelPnt, state_.SelPntCount, point))
            Pnt_disp(canvas, state_.CurData, frame_.view(), frame_.display(), point, qb::kYellow, qb::kYellow);
    } else {
        Pnt_disp(canvas, state_.CurData, frame_.view(), frame_.display(), point, qb::kLightMagenta, qb::kWhite);
        RemoveSelection(state_.SelPnt, state_.SelPntCount, pos);
    }
    port_.canvasChanged();
}

void MouseModes::DrawSegmentHighlight(int line, PaletteColor color)
{
    if (line < 1 || line > kMaxLines)
        return;
    const BlockData& data = state_.CurData;
    const int a = data.LineStart[line];
    const int b = data.LineEnd[line];
    const int points = std::clamp<int>(data.PointCount, 0, kMaxPoints);
    if (a < 1 || a > points || b < 1 || b > points)
        return;
    const ViewTransform& view = frame_.view();
    const CanvasPoint from = view.KzToGz(data.PointX[a],
                                         data.PointY[a]);
    const CanvasPoint to = view.KzToGz(data.PointX[b],
                                       data.PointY[b]);
    Canvas& canvas = port_.canvas();
    // A dotted segment is marked solid too: the mark must show over its gaps.
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenMode(PenMode::Copy);
    canvas.Line(from.gx, from.gy, to.gx, to.gy, color);
    port_.canvasChanged();
}

}  // namespace chokusho
