#pragma once

#include <QList>
#include <array>
#include <utility>

#include "DocumentState.h"
#include "FramePort.h"
#include "ProgramFiles.h"

class QAction;
class QMainWindow;
class QScrollBar;

namespace chokusho {

class CanvasWidget;
class DrawingCommands;
class StatusPanel;

/** The controls of the main window that its logic drives, each command with its actions. */
struct MainWindowControls {
    CanvasWidget* canvas = nullptr;
    QScrollBar* hScroll = nullptr;
    QScrollBar* vScroll = nullptr;
    StatusPanel* prompt = nullptr;
    StatusPanel* readout = nullptr;
    /** Each command's menu item and toolbar button, by its Command's number. */
    std::array<QList<QAction*>, kCommandCount> actions;
};

/**
 * What the main window's logic asks of the window system, carried out with the main window's
 * controls and the program's dialogs. The window makes it before its controls and attaches them
 * once they are built; the logic uses it only after that.
 */
class MainWindowPort : public FramePort {
public:
    MainWindowPort(QMainWindow& window, DocumentState& state, const ProgramFolders& folders, DrawingCommands& drawing);

    void attach(MainWindowControls controls) { controls_ = std::move(controls); }

    Canvas& canvas() override;
    void canvasChanged() override;
    void setStatusText(StatusPane pane, const std::string& text) override;
    void setCaption(const std::string& caption) override;
    void setCommandEnabled(Command command, bool enabled) override;
    void setCommandChecked(Command command, bool checked) override;
    void setCanvasCursor(CanvasCursor cursor) override;
    void setScrollValue(ScrollBar bar, int value) override;
    void placeControls(const FrameLayout& layout) override;
    MsgAnswer messageBox(const MessageBoxRequest& request) override;
    std::string saveFileDialog(const SaveDialogRequest& request) override;
    PickedBlock showPicker() override;
    void showPointMoveDialog() override;
    std::optional<BlockData> showPointTable() override;
    std::optional<BlockData> showPointTableWith(const BlockData& start) override;
    std::optional<BlockData> showBlockParams() override;
    bool openDocument(const std::string& path) override;
    void printDrawing() override;
    void exportDrawing() override;
    std::optional<BlockData> importDxf() override;
    void showAbout() override;
    void closeWindow() override;

private:
    QMainWindow& window_;
    DocumentState& state_;
    const ProgramFolders& folders_;
    DrawingCommands& drawing_;
    MainWindowControls controls_;
};

}  // namespace chokusho
