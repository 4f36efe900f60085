#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

#include "EditOperations.h"
#include "FrameLogic.h"
#include "Numbers.h"

namespace chokusho {

namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;

/** How far a pick may lie from the nearest point or segment: in practice, anywhere. */
constexpr double kPickReach = 999.0;

/** Shorter presses-to-releases than this many pixels are clicks, not drags. */
constexpr double kDragPixels = 20.0;

/** The prompt with which each mode (0..6) waits for its first pick. */
constexpr std::array<int, 7> kFirstPrompt = {4, 6, 1, 3, 8, 9, 11};

std::int16_t ToInt16(int value) { return static_cast<std::int16_t>(std::clamp(value, -32768, 32767)); }

/** The modes whose step is a rectangle dragged from the press. */
bool IsAreaMode(int dispMode)
{
    return dispMode == mode::kZoomIn || dispMode == mode::kZoomOut || dispMode == mode::kMovePoints;
}

int FirstPrompt(int dispMode)
{
    return dispMode >= 0 && dispMode < static_cast<int>(kFirstPrompt.size())
               ? kFirstPrompt[static_cast<std::size_t>(dispMode)]
               : 0;
}

/** Appends `value` to a selection unless it is full; false when it did not fit. */
template <std::size_t N>
bool AppendSelection(std::array<std::int16_t, N>& entries, std::int16_t& count, int value)
{
    const int used = std::clamp<int>(count, 0, static_cast<int>(N));
    if (used >= static_cast<int>(N))
        return false;
    entries[static_cast<std::size_t>(used)] = static_cast<std::int16_t>(value);
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

MessageBoxRequest Confirmation(std::string text)
{
    return {std::move(text), "確認", MsgButtons::OkCancel, MsgIcon::None, false};
}

}  // namespace

// --- entering a mode

void FrameLogic::mnuLineIn_Click()
{
    Raber_Reset();
    Disp_mode = mode::kConnect;
    Mouse_sw = 0;
    Disp_Message(1);
}

void FrameLogic::mnuLineDel_Click()
{
    Raber_Reset();
    state_.SelLineCount = 0;
    Disp_mode = mode::kDeleteLines;
    Mouse_sw = 0;
    Disp_Message(3);
}

void FrameLogic::mnuPointDel_Click()
{
    Raber_Reset();
    state_.SelPntCount = 0;
    Disp_mode = mode::kDeletePoints;
    Mouse_sw = 0;
    Disp_Message(8);
}

void FrameLogic::mnuPointMov_Click()
{
    Raber_Reset();
    state_.SelPntCount = 0;
    Disp_mode = mode::kMovePoints;
    Mouse_sw = 0;
    Disp_Message(9);
}

void FrameLogic::mnuLineKind_Click()
{
    Raber_Reset();
    state_.SelLineCount = 0;
    Disp_mode = mode::kLineKind;
    Mouse_sw = 0;
    Disp_Message(11);
}

// --- canvas events

void FrameLogic::Picture1_MouseDown(int button, int x, int y)
{
    if (Mouse_sw < 0) {
        if (Disp_mode < 0)
            return;
        Mouse_sw = 0;
    }
    const std::int16_t px = ToInt16(x);
    const std::int16_t py = ToInt16(y);
    if (button == kLeftButton) {
        if (Mouse_sw == 1)
            SecondPick(px, py);
        else
            FirstPick(px, py);
    } else if (button == kRightButton) {
        if (Mouse_sw == 1) {
            // The step is abandoned; the mode waits for its first pick again.
            Mouse_sw = 0;
            if (IsAreaMode(Disp_mode) || Disp_mode == mode::kConnect) {
                XorRubberFigure();
                Disp_Message(FirstPrompt(Disp_mode));
            }
        } else {
            FinishSelection();
        }
    }
}

void FrameLogic::Picture1_MouseMove(int buttons, int x, int y)
{
    const auto [kx, ky] = view_.GzToKz(x, y);
    port_.setStatusText(2, "X = " + FormatReadout(kx) + "  Y = " + FormatReadout(ky));

    if (Mouse_sw != 1)
        return;
    const std::int16_t px = ToInt16(x);
    const std::int16_t py = ToInt16(y);
    if (px == Mouse_xb && py == Mouse_yb)
        return;
    // A rectangle follows only a left drag. Its free end is kept where it was last drawn even
    // when the pointer moves on without it, so that erasing always hits what is on screen.
    const bool follows = Disp_mode == mode::kConnect || (IsAreaMode(Disp_mode) && buttons == 1);
    if (!follows)
        return;
    XorRubberFigure();
    Mouse_xb = px;
    Mouse_yb = py;
    XorRubberFigure();
}

void FrameLogic::Picture1_MouseUp(int, int x, int y)
{
    if (Mouse_sw != 1 || !IsAreaMode(Disp_mode))
        return;
    const std::int16_t ux = ToInt16(x);
    const std::int16_t uy = ToInt16(y);
    const double dx = Mouse_xa - ux;
    const double dy = Mouse_ya - uy;
    const bool drag = std::sqrt(dy * dy + dx * dx) >= kDragPixels;

    if (Disp_mode == mode::kMovePoints) {
        // No repaint follows a selection, so the rectangle is taken off before marking points.
        XorRubberFigure();
        Mouse_xb = ux;
        Mouse_yb = uy;
        if (drag)
            Pnt_AreaSel(Mouse_xa, Mouse_ya, Mouse_xb, Mouse_yb);
        else
            TogglePointAt(ux, uy);
    } else if (drag) {
        const ZoomResult result = Disp_mode == mode::kZoomIn ? Kakudai_disp(view_, Mouse_xa, Mouse_ya, ux, uy)
                                                             : Shukusho_disp(view_, Mouse_xa, Mouse_ya, ux, uy);
        // Without a repaint the rectangle would stay on the picture.
        if (result == ZoomResult::Nothing)
            XorRubberFigure();
        Mouse_xb = ux;
        Mouse_yb = uy;
        if (result == ZoomResult::Refitted)
            ResetScrollBars();
        if (result != ZoomResult::Nothing)
            Repaint();
    } else {
        Mouse_xb = ux;
        Mouse_yb = uy;
        const ModelPoint click = view_.GzToKz(ux, uy);
        Mouse_kx = click.kx;
        Mouse_ky = click.ky;
        view_.Set_Dan_scl(Disp_mode, Mouse_kx, Mouse_ky);
        Repaint();
        ResetScrollBars();
    }
    Mouse_sw = 0;
    Disp_Message(FirstPrompt(Disp_mode));
}

void FrameLogic::Pnt_AreaSel(int x1, int y1, int x2, int y2)
{
    if (!(view_.Dan_scl > 0))
        return;
    const auto [xa, ya] = view_.GzToKz(x1, y1);
    const auto [xb, yb] = view_.GzToKz(x2, y2);
    const auto found = PointsInRect(state_.CurData, std::min(xa, xb), std::min(ya, yb), std::max(xa, xb),
                                    std::max(ya, yb));
    for (const std::int16_t n : found) {
        if (FindSelPnt(state_, n) < 0)
            AppendSelection(state_.SelPnt, state_.SelPntCount, n);
    }
    Canvas& canvas = port_.canvas();
    const int selected = std::clamp<int>(state_.SelPntCount, 0, static_cast<int>(state_.SelPnt.size()));
    for (int i = 0; i < selected; ++i)
        Pnt_disp(canvas, state_.CurData, view_, display_, state_.SelPnt[static_cast<std::size_t>(i)], qb::kYellow,
                 qb::kYellow);
    port_.canvasChanged();
}

// --- the steps of the modes

void FrameLogic::FirstPick(std::int16_t x, std::int16_t y)
{
    switch (Disp_mode) {
    case mode::kZoomIn:
    case mode::kZoomOut:
    case mode::kMovePoints:
        Disp_Message(Disp_mode == mode::kZoomIn ? 5 : Disp_mode == mode::kZoomOut ? 7 : 10);
        {
            const ModelPoint press = view_.GzToKz(x, y);
            Mouse_kx = press.kx;
            Mouse_ky = press.ky;
        }
        Mouse_xa = x;
        Mouse_ya = y;
        break;
    case mode::kConnect: {
        // Without a point to start from there is no segment to draw; the press is ignored.
        const int start = PickPoint(x, y);
        if (start < 0)
            return;
        state_.NewLine[0] = static_cast<std::int16_t>(start);
        {
            const CanvasPoint anchor = view_.KzToGz(state_.CurData.PointX[static_cast<std::size_t>(start)],
                                                    state_.CurData.PointY[static_cast<std::size_t>(start)]);
            Mouse_xa = anchor.gx;
            Mouse_ya = anchor.gy;
        }
        Disp_Message(2);
        break;
    }
    case mode::kDeleteLines:
        Disp_Message(3);
        ToggleSegmentAt(x, y);
        break;
    case mode::kLineKind:
        Disp_Message(11);
        ToggleSegmentAt(x, y);
        break;
    case mode::kDeletePoints: TogglePointAt(x, y); break;
    default: return;
    }
    Mouse_xb = Mouse_xa;
    Mouse_yb = Mouse_ya;
    const bool picksOnly = Disp_mode == mode::kDeleteLines || Disp_mode == mode::kDeletePoints ||
                           Disp_mode == mode::kLineKind;
    Mouse_sw = picksOnly ? 0 : 1;
}

void FrameLogic::SecondPick(std::int16_t x, std::int16_t y)
{
    if (Disp_mode == mode::kConnect) {
        ConnectTo(x, y);
        return;
    }
    // A rectangle's second corner comes with the release; a press here means the release was
    // lost (the window lost the pointer mid-drag), so the step is dropped with its rectangle.
    if (IsAreaMode(Disp_mode)) {
        XorRubberFigure();
        Disp_Message(FirstPrompt(Disp_mode));
    }
    Mouse_xb = x;
    Mouse_yb = y;
    Mouse_sw = 0;
}

void FrameLogic::ConnectTo(std::int16_t x, std::int16_t y)
{
    const int end = PickPoint(x, y);
    if (end < 0)
        return;
    XorRubberFigure();
    Mouse_sw = 0;
    state_.NewLine[1] = static_cast<std::int16_t>(end);
    const CanvasPoint endPoint = view_.KzToGz(state_.CurData.PointX[static_cast<std::size_t>(end)],
                                              state_.CurData.PointY[static_cast<std::size_t>(end)]);
    Mouse_xb = endPoint.gx;
    Mouse_yb = endPoint.gy;

    if (state_.NewLine[0] != state_.NewLine[1]) {
        // A full table refuses only a new pair; joining a joined pair adds nothing anyway.
        if (state_.CurData.LineCount >= kMaxLines &&
            FindJoiningLine(state_.CurData, state_.NewLine[0], state_.NewLine[1]) < 0) {
            // Refused before the snapshot, so Undo does not offer a change that never happened;
            // the chain waits at its start point for the user to go on elsewhere or stop.
            port_.messageBox(
                {"線分は200本までしか登録できません。", "Error", MsgButtons::Ok, MsgIcon::Exclamation, false});
            Mouse_xb = Mouse_xa;
            Mouse_yb = Mouse_ya;
            Mouse_sw = 1;
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
    Mouse_sw = 1;
    Menu_Enable();
}

void FrameLogic::FinishSelection()
{
    bool lines = false;
    switch (Disp_mode) {
    case mode::kZoomIn:
    case mode::kZoomOut:
    case mode::kConnect:
        EndMode();
        port_.setCanvasCursor(CanvasCursor::Arrow);
        return;
    case mode::kDeleteLines:
    case mode::kLineKind: {
        if (state_.SelLineCount < 1) {
            EndMode();
            return;
        }
        const bool remove = Disp_mode == mode::kDeleteLines;
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
    case mode::kDeletePoints:
        if (state_.SelPntCount < 1) {
            EndMode();
            return;
        }
        if (port_.messageBox(Confirmation("選択中の点を削除しますか？\r\n結線されている線分も削除します。")) ==
            MsgAnswer::Ok) {
            PushUndo(state_, undo_label::kDeletePoints);
            DeletePoints(state_);
        }
        break;
    case mode::kMovePoints:
        if (state_.SelPntCount < 1) {
            EndMode();
            return;
        }
        // A dialog that never reached its own start must not move anything with an old answer.
        state_.MoveOK = 0;
        port_.showPointMoveDialog();
        if (state_.MoveOK == 1) {
            PushUndo(state_, undo_label::kMovePoints);
            MovePoints(state_);
        }
        break;
    default: return;
    }
    if (lines)
        state_.SelLineCount = 0;
    else
        state_.SelPntCount = 0;
    Repaint();
    Menu_Enable();
}

// --- helpers

void FrameLogic::EndMode()
{
    Mouse_sw = -1;
    Disp_mode = mode::kNone;
    Disp_Message(0);
}

int FrameLogic::PickPoint(int x, int y) const
{
    const auto [kx, ky] = view_.GzToKz(x, y);
    return FindPoint(state_.CurData, kx, ky, kPickReach);
}

int FrameLogic::PickLine(int x, int y) const
{
    const auto [kx, ky] = view_.GzToKz(x, y);
    return FindLine(state_.CurData, kx, ky, kPickReach);
}

void FrameLogic::XorRubberFigure()
{
    // A figure shrunk to its anchor is never drawn: a press puts none on screen, and the
    // anchor pixel is shared by every figure drawn from it.
    if (Mouse_xa == Mouse_xb && Mouse_ya == Mouse_yb)
        return;
    DrawRubberFigure();
}

void FrameLogic::ToggleSegmentAt(int x, int y)
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

void FrameLogic::TogglePointAt(int x, int y)
{
    const int point = PickPoint(x, y);
    if (point < 0)
        return;
    Canvas& canvas = port_.canvas();
    const int pos = FindSelPnt(state_, point);
    if (pos < 0) {
        if (AppendSelection(state_.SelPnt, state_.SelPntCount, point))
            Pnt_disp(canvas, state_.CurData, view_, display_, point, qb::kYellow, qb::kYellow);
    } else {
        Pnt_disp(canvas, state_.CurData, view_, display_, point, qb::kLightMagenta, qb::kWhite);
        RemoveSelection(state_.SelPnt, state_.SelPntCount, pos);
    }
    port_.canvasChanged();
}

void FrameLogic::DrawSegmentHighlight(int line, int color)
{
    if (line < 1 || line > kMaxLines)
        return;
    const BlockData& data = state_.CurData;
    const int a = data.LineStart[static_cast<std::size_t>(line)];
    const int b = data.LineEnd[static_cast<std::size_t>(line)];
    const int points = std::clamp<int>(data.PointCount, 0, kMaxPoints);
    if (a < 1 || a > points || b < 1 || b > points)
        return;
    const auto [xa, ya] = view_.KzToGz(data.PointX[static_cast<std::size_t>(a)],
                                       data.PointY[static_cast<std::size_t>(a)]);
    const auto [xb, yb] = view_.KzToGz(data.PointX[static_cast<std::size_t>(b)],
                                       data.PointY[static_cast<std::size_t>(b)]);
    Canvas& canvas = port_.canvas();
    // A dotted segment is marked solid too: the mark must show over its gaps.
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenMode(PenMode::Copy);
    canvas.Line(xa, ya, xb, yb, color);
    port_.canvasChanged();
}

}  // namespace chokusho
