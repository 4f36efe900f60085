#include "FrameLogic.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "EditOperations.h"
#include "Numbers.h"
#include "Recovery.h"

namespace chokusho {

FrameLogic::FrameLogic(DocumentState& state, FramePort& port, std::filesystem::path programFolder)
    : state_(state), port_(port), programFolder_(std::move(programFolder))
{
    state_.MenuEnable = [this] { Menu_Enable(); };
    state_.SetUndoEnabled = [this](bool enabled) { port_.setCommandEnabled(Command::Undo, enabled); };
    state_.SetRedoEnabled = [this](bool enabled) { port_.setCommandEnabled(Command::Redo, enabled); };
    state_.DocumentChanged = [this] {
        if (recovery_)
            recovery_->Changed();
    };
}

FrameLogic::~FrameLogic()
{
    state_.MenuEnable = nullptr;
    state_.SetUndoEnabled = nullptr;
    state_.SetRedoEnabled = nullptr;
    state_.DocumentChanged = nullptr;
}

void FrameLogic::Form_Load(const std::string& dataPath)
{
    scroll_.HScr_old = kScrollRest;
    scroll_.VScr_old = kScrollRest;
    state_.Undo.clear();
    state_.Redo.clear();
    state_.ClearSelections();
    port_.setCommandEnabled(Command::Undo, false);
    port_.setCommandEnabled(Command::Redo, false);
    state_.DataPath = dataPath;
    state_.BlkName = kUntitledName;
    Menu_Enable();
    state_.SavedData = state_.CurData;
    state_.MoveDX = 0;
    state_.MoveDY = 0;
    port_.setCommandChecked(Command::DispGrid, display_.grid);
    port_.setCommandChecked(Command::DispPntNo, display_.pointNumbers);
    port_.setCommandChecked(Command::DispShade, display_.sectionShade);
}

void FrameLogic::Form_Resize(int width, int height, bool minimized)
{
    if (minimized)
        return;
    const FrameLayout layout = LayoutFrame(width, height);
    port_.placeControls(layout);
    view_.Pic_left = 0;
    view_.Pic_top = 0;
    view_.Pic_width = ClampToInt16(layout.canvas.width);
    view_.Pic_height = ClampToInt16(layout.canvas.height);
    view_.FitAll(state_.CurData);
    Repaint();
}

void FrameLogic::Disp_Message(Prompt prompt)
{
    prompt_ = prompt;
    if (prompt == Prompt::None)
        ShowSectionArea();
    else
        port_.setStatusText(StatusPane::Prompt, MessageText(prompt));
}

void FrameLogic::ShowSectionArea()
{
    // Work that cannot be kept for recovery outweighs the area, until a write works again.
    if (recovery_ != nullptr && !recovery_->failureNote().empty()) {
        port_.setStatusText(StatusPane::Prompt, recovery_->failureNote());
        return;
    }
    const SectionResult& section = section_.Of(state_.CurData);
    port_.setStatusText(StatusPane::Prompt, section.area > 0 ? "断面積 " + Format000(section.area) + " m²" : "");
}

void FrameLogic::Raber_Reset() { modes_.Raber_Reset(); }

void FrameLogic::Menu_Enable()
{
    const bool lines = state_.CurData.LineCount > 0;
    const bool points = state_.CurData.PointCount > 0;
    for (const CommandEntry& entry : AllCommands()) {
        if (entry.enable == EnableRule::WithLines || entry.enable == EnableRule::WithPoints)
            port_.setCommandEnabled(entry.command, entry.enable == EnableRule::WithLines ? lines : points);
    }

    modes_.EndWhenNothingLeft();
}

void FrameLogic::Repaint()
{
    // The section is worked out only while it is shaded, and then only when the outline changed.
    if (display_.sectionShade)
        Picture1_Paint(port_.canvas(), state_.CurData, view_, display_, section_.Of(state_.CurData).region);
    else
        Picture1_Paint(port_.canvas(), state_.CurData, view_, display_);
    port_.canvasChanged();
    modes_.Reanchor();
    // Every change of the document ends in a repaint: the area follows it.
    if (prompt_ == Prompt::None)
        ShowSectionArea();
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

// --- file commands

void FrameLogic::mnuFileEnd_Click() { port_.closeWindow(); }

// Printing and exporting read the block and change nothing, the mode included.
void FrameLogic::mnuFilePrint_Click() { port_.printDrawing(); }

void FrameLogic::mnuFileExport_Click() { port_.exportDrawing(); }

void FrameLogic::mnuFileImport_Click()
{
    Raber_Reset();
    if (std::optional<BlockData> imported = port_.importDxf()) {
        PushUndo(state_, undo_label::kImportDxf);
        ReplaceGeometry(state_, *imported);
        view_.FitAll(state_.CurData);
    }
    Repaint();
    Menu_Enable();
}

// --- display commands

void FrameLogic::mnuDispKaku_Click() { EnterMode(DispMode::ZoomIn); }

void FrameLogic::mnuDispShuku_Click() { EnterMode(DispMode::ZoomOut); }

void FrameLogic::mnuDispAll_Click()
{
    Raber_Reset();
    view_.FitAll(state_.CurData);
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
    port_.setCommandChecked(Command::DispGrid, display_.grid);
    Repaint();
}

void FrameLogic::mnuDispPntNo_Click()
{
    display_.pointNumbers = !display_.pointNumbers;
    port_.setCommandChecked(Command::DispPntNo, display_.pointNumbers);
    Repaint();
}

void FrameLogic::mnuDispShade_Click()
{
    display_.sectionShade = !display_.sectionShade;
    port_.setCommandChecked(Command::DispShade, display_.sectionShade);
    Repaint();
}

// --- mode commands

void FrameLogic::EnterMode(DispMode mode)
{
    Raber_Reset();
    modes_.Enter(mode);
}

void FrameLogic::mnuLineIn_Click() { EnterMode(DispMode::Connect); }
void FrameLogic::mnuLineDel_Click() { EnterMode(DispMode::DeleteLines); }
void FrameLogic::mnuPointDel_Click() { EnterMode(DispMode::DeletePoints); }
void FrameLogic::mnuPointMov_Click() { EnterMode(DispMode::MovePoints); }
void FrameLogic::mnuLineKind_Click() { EnterMode(DispMode::LineKind); }
void FrameLogic::mnuPointAdd_Click() { EnterMode(DispMode::AddPoint); }

// --- help commands

void FrameLogic::mnuHelpVer_Click()
{
    Raber_Reset();
    port_.showAbout();
}

void FrameLogic::Undo_Click()
{
    if (PopUndo(state_))
        AfterHistoryStep();
}

void FrameLogic::Redo_Click()
{
    if (PopRedo(state_))
        AfterHistoryStep();
}

void FrameLogic::AfterHistoryStep()
{
    // The restored document may number its points and segments differently, so no selection
    // survives it, and a mode half-way through a pick starts that pick again.
    state_.ClearSelections();
    modes_.RestartStep();
    Repaint();
}

// --- the wheel, the middle button and Escape

void FrameLogic::Canvas_Wheel(int notches, int x, int y, MouseButtons held)
{
    bool moved = false;
    for (int i = 0; i < std::abs(notches); ++i)
        moved = view_.ZoomAbout(notches > 0 ? ZoomStep::In : ZoomStep::Out, x, y) || moved;
    if (!moved)
        return;
    AfterViewMoved();
    // The read-out and a rubber band follow the pointer into the new view.
    modes_.Picture1_MouseMove(held, x, y);
}

void FrameLogic::Canvas_Pan(int dx, int dy)
{
    if (!(view_.Dan_scl > 0) || (dx == 0 && dy == 0))
        return;
    if (view_.ShiftWindow(-dx / view_.Dan_scl, dy / view_.Dan_scl))
        AfterViewMoved();
}

void FrameLogic::AfterViewMoved()
{
    // As after a zoom step: the bars rest at the new view, from which they scroll again.
    Repaint();
    ResetScrollBars();
}

void FrameLogic::Escape_Key() { modes_.Escape(); }

void FrameLogic::Run(Command command)
{
    switch (command) {
    case Command::FileNew: mnuFileNew_Click(); break;
    case Command::FileOpen: mnuFileOpen_Click(); break;
    case Command::FileOverwrite: mnuFileOverwrite_Click(); break;
    case Command::FileSave: mnuFileSave_Click(); break;
    case Command::FilePrint: mnuFilePrint_Click(); break;
    case Command::FileExport: mnuFileExport_Click(); break;
    case Command::FileImport: mnuFileImport_Click(); break;
    case Command::FileRecentClear: mnuFileRecentClear_Click(); break;
    case Command::FileEnd: mnuFileEnd_Click(); break;
    case Command::DispKaku: mnuDispKaku_Click(); break;
    case Command::DispShuku: mnuDispShuku_Click(); break;
    case Command::DispAll: mnuDispAll_Click(); break;
    case Command::DispRedraw: mnuDispRedraw_Click(); break;
    case Command::DispGrid: mnuDispGrid_Click(); break;
    case Command::DispPntNo: mnuDispPntNo_Click(); break;
    case Command::DispShade: mnuDispShade_Click(); break;
    case Command::BlkPara: mnuBlkPara_Click(); break;
    case Command::PointHen: mnuPointHen_Click(); break;
    case Command::PointDel: mnuPointDel_Click(); break;
    case Command::PointMov: mnuPointMov_Click(); break;
    case Command::PointAdd: mnuPointAdd_Click(); break;
    case Command::LineIn: mnuLineIn_Click(); break;
    case Command::LineDel: mnuLineDel_Click(); break;
    case Command::LineDelAll: mnuLineDelAll_Click(); break;
    case Command::LineKind: mnuLineKind_Click(); break;
    case Command::HelpHelp: mnuHelpHelp_Click(); break;
    case Command::HelpVer: mnuHelpVer_Click(); break;
    case Command::Undo: Undo_Click(); break;
    case Command::Redo: Redo_Click(); break;
    }
}

void FrameLogic::Toolbar1_ButtonClick(std::string_view key)
{
    if (const std::optional<Command> command = CommandNamed(key))
        Run(*command);
}

}  // namespace chokusho
