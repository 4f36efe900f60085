#include "FrameLogic.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "EditOperations.h"

namespace chokusho {

namespace {

/** The prompt with which each mode (0..6) waits for its first pick. */
constexpr std::array<int, 7> kFirstPrompt = {4, 6, 1, 3, 8, 9, 11};

std::int16_t ToInt16(int value) { return static_cast<std::int16_t>(std::clamp(value, -32768, 32767)); }

}  // namespace

const char* MessageText(int msgNo)
{
    switch (msgNo) {
    case 1: return "結線開始点の選択。(マウス右：選択終了)";
    case 2: return "結線終了点の選択。(マウス右：結線開始点選択へ)";
    case 3: return "削除線分の選択。同一線指定で解除(マウス右：削除)";
    case 4: return "拡大 左クリック１点拡大、左ドラッグ領域指定 (マウス右：拡大終了)";
    case 5: return "拡大領域2点目指定";
    case 6: return "縮小 左クリック１点縮小、左ドラッグ領域指定 (マウス右：縮小終了)";
    case 7: return "縮小領域2点目指定";
    case 8: return "削除点の選択。同一点指定で解除(マウス右：削除)";
    case 9:
        return "移動点の選択。左クリック→１点指定、左ドラッグ→領域指定 "
               "(マウス右：選択時→移動量指定、未選択→点移動終了)";
    case 10: return "移動点の選択。領域2点目指定";
    case 11: return "線種変更する線分の選択。同一線指定で解除(マウス右：線種変更)";
    default: return "";
    }
}

FrameLogic::FrameLogic(DocumentState& state, FramePort& port) : state_(state), port_(port)
{
    state_.MenuEnable = [this] { Menu_Enable(); };
    state_.SetUndoEnabled = [this](bool enabled) { port_.setEnabled("Undo", enabled); };
}

FrameLogic::~FrameLogic()
{
    state_.MenuEnable = nullptr;
    state_.SetUndoEnabled = nullptr;
}

void FrameLogic::Form_Load(const std::string& dataPath)
{
    Mouse_sw = -1;
    Disp_mode = mode::kNone;
    scroll_.HScr_old = kScrollRest;
    scroll_.VScr_old = kScrollRest;
    state_.Undo.clear();
    state_.SelLineCount = 0;
    state_.SelPntCount = 0;
    port_.setEnabled("Undo", false);
    state_.DataPath = dataPath;
    state_.BlkName = kUntitledName;
    Menu_Enable();
    state_.SavedData = state_.CurData;
    state_.MoveDX = 0;
    state_.MoveDY = 0;
    port_.setChecked("mnuDispGrid", display_.grid);
    port_.setChecked("Grid", display_.grid);
    port_.setChecked("mnuDispPntNo", display_.pointNumbers);
}

void FrameLogic::Form_Resize(int width, int height, bool minimized)
{
    if (minimized)
        return;
    const FrameLayout layout = LayoutFrame(width, height);
    port_.placeControls(layout);
    view_.Pic_left = 0;
    view_.Pic_top = 0;
    view_.Pic_width = ToInt16(layout.canvas.width);
    view_.Pic_height = ToInt16(layout.canvas.height);
    view_.Mk_Dan_xyminmax(state_.CurData);
    view_.Mk_Dan_scl();
    Repaint();
}

void FrameLogic::Disp_Message(int msgNo) { port_.setStatusText(1, MessageText(msgNo)); }

void FrameLogic::Raber_Reset()
{
    if (Disp_mode < 0 || Mouse_sw < 0)
        return;
    Mouse_sw = 0;
    if (Disp_mode == mode::kZoomIn || Disp_mode == mode::kZoomOut || Disp_mode == mode::kConnect)
        DrawRubberFigure();
    Mouse_sw = -1;
    Disp_mode = mode::kNone;
    state_.SelLineCount = 0;
    state_.SelPntCount = 0;
    Repaint();
    Disp_Message(0);
    port_.setCanvasCursor(CanvasCursor::Arrow);
}

void FrameLogic::Menu_Enable()
{
    const bool lines = state_.CurData.LineCount > 0;
    port_.setEnabled("Line_Del", lines);
    port_.setEnabled("mnuLineDel", lines);
    port_.setEnabled("mnuLineDelAll", lines);
    const bool points = state_.CurData.PointCount > 0;
    port_.setEnabled("Pnt_Del", points);
    port_.setEnabled("mnuPointDel", points);
    port_.setEnabled("Line", points);
    port_.setEnabled("mnuLineIn", points);
    port_.setEnabled("mnuPointMov", points);

    const bool noLinesLeft = state_.CurData.LineCount < 1 && Disp_mode == mode::kDeleteLines;
    const bool noPointsLeft = state_.CurData.PointCount < 1 &&
                              (Disp_mode == mode::kConnect || Disp_mode == mode::kDeletePoints ||
                               Disp_mode == mode::kMovePoints);
    if (noLinesLeft || noPointsLeft) {
        Mouse_sw = -1;
        Disp_mode = mode::kNone;
        Disp_Message(0);
    }
}

void FrameLogic::Repaint()
{
    Picture1_Paint(port_.canvas(), state_.CurData, view_, display_);
    port_.canvasChanged();
    ReanchorRubberBand();
}

void FrameLogic::ResetScrollBars()
{
    scroll_.HScr_lock = 1;
    scroll_.VScr_lock = 1;
    port_.setScrollValue(ScrollBar::Horizontal, kScrollRest);
    port_.setScrollValue(ScrollBar::Vertical, kScrollRest);
    scroll_.HScr_old = kScrollRest;
    scroll_.VScr_old = kScrollRest;
    scroll_.HScr_lock = 0;
    scroll_.VScr_lock = 0;
}

void FrameLogic::HScroll1_Change(int value)
{
    if (!chokusho::HScroll1_Change(view_, scroll_, value))
        return;
    Repaint();
}

void FrameLogic::VScroll1_Change(int value)
{
    if (!chokusho::VScroll1_Change(view_, scroll_, value))
        return;
    Repaint();
}

void FrameLogic::ReanchorRubberBand()
{
    if (Mouse_sw != 1)
        return;
    CanvasPoint anchor{Mouse_xa, Mouse_ya};
    if (Disp_mode == mode::kZoomIn || Disp_mode == mode::kZoomOut) {
        anchor = view_.KzToGz(Mouse_kx, Mouse_ky);
    } else if (Disp_mode == mode::kConnect) {
        const int start = state_.NewLine[0];
        if (start >= 1 && start <= state_.CurData.PointCount)
            anchor = view_.KzToGz(state_.CurData.PointX[start], state_.CurData.PointY[start]);
    }
    Mouse_xa = anchor.gx;
    Mouse_ya = anchor.gy;
    // Selecting points keeps its anchor where it was pressed. In every mode the free end joins
    // the anchor: the repaint took the figure off, and the next pointer move draws it afresh.
    Mouse_xb = Mouse_xa;
    Mouse_yb = Mouse_ya;
}

void FrameLogic::DrawRubberFigure()
{
    Canvas& canvas = port_.canvas();
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenMode(PenMode::Xor);
    if (Disp_mode == mode::kConnect)
        canvas.Line(Mouse_xa, Mouse_ya, Mouse_xb, Mouse_yb, qb::kYellow);
    else
        canvas.Box(Mouse_xa, Mouse_ya, Mouse_xb, Mouse_yb, qb::kYellow);
    canvas.SetPenMode(PenMode::Copy);
    port_.canvasChanged();
}

// --- file commands

void FrameLogic::mnuFileEnd_Click() { port_.closeWindow(); }

// --- display commands

void FrameLogic::mnuDispKaku_Click()
{
    Raber_Reset();
    port_.setCanvasCursor(CanvasCursor::Magnifier);
    Disp_mode = mode::kZoomIn;
    Mouse_sw = 0;
    Disp_Message(4);
}

void FrameLogic::mnuDispShuku_Click()
{
    Raber_Reset();
    port_.setCanvasCursor(CanvasCursor::Magnifier);
    Disp_mode = mode::kZoomOut;
    Mouse_sw = 0;
    Disp_Message(6);
}

void FrameLogic::mnuDispAll_Click()
{
    Raber_Reset();
    view_.Mk_Dan_xyminmax(state_.CurData);
    view_.Mk_Dan_scl();
    Repaint();
    ResetScrollBars();
}

void FrameLogic::mnuDispRedraw_Click()
{
    Raber_Reset();
    Repaint();
}

void FrameLogic::mnuDispGrid_Click()
{
    display_.grid = !display_.grid;
    port_.setChecked("mnuDispGrid", display_.grid);
    port_.setChecked("Grid", display_.grid);
    Repaint();
}

void FrameLogic::mnuDispPntNo_Click()
{
    display_.pointNumbers = !display_.pointNumbers;
    port_.setChecked("mnuDispPntNo", display_.pointNumbers);
    Repaint();
}

// --- help commands

void FrameLogic::mnuHelpVer_Click()
{
    Raber_Reset();
    port_.showAbout();
}

void FrameLogic::Undo_Click()
{
    if (!PopUndo(state_))
        return;
    // The restored document may number its points and segments differently, so no selection
    // survives it, and a mode half-way through a pick starts that pick again.
    state_.SelPntCount = 0;
    state_.SelLineCount = 0;
    if (Disp_mode >= 0 && Mouse_sw == 1) {
        Mouse_sw = 0;
        Disp_Message(kFirstPrompt[static_cast<std::size_t>(Disp_mode)]);
    }
    Repaint();
}

void FrameLogic::Toolbar1_ButtonClick(std::string_view key)
{
    using Handler = void (FrameLogic::*)();
    // clang-format off
    static constexpr std::pair<std::string_view, Handler> kButtons[] = {
        {"NewOpen", &FrameLogic::mnuFileNew_Click},     {"Open", &FrameLogic::mnuFileOpen_Click},
        {"Save", &FrameLogic::mnuFileSave_Click},       {"Kakudai", &FrameLogic::mnuDispKaku_Click},
        {"Shukusho", &FrameLogic::mnuDispShuku_Click},  {"Zenhyoji", &FrameLogic::mnuDispAll_Click},
        {"Redraw", &FrameLogic::mnuDispRedraw_Click},   {"Grid", &FrameLogic::mnuDispGrid_Click},
        {"Line", &FrameLogic::mnuLineIn_Click},         {"Line_Del", &FrameLogic::mnuLineDel_Click},
        {"Pnt_Del", &FrameLogic::mnuPointDel_Click},    {"Undo", &FrameLogic::Undo_Click},
        {"Help", &FrameLogic::mnuHelpHelp_Click},
    };
    // clang-format on
    for (const auto& [name, handler] : kButtons) {
        if (name == key) {
            (this->*handler)();
            return;
        }
    }
}

}  // namespace chokusho
