#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

#include "DocumentState.h"
#include "Drawing.h"
#include "DrawingOutput.h"
#include "FrameLogic.h"
#include "FramePort.h"
#include "ProgramFiles.h"

class QAction;
class QScrollBar;
class QToolBar;

namespace chokusho {

class CanvasWidget;
class StatusPanel;

/**
 * The main window: the frame in which every block is drawn and edited. It builds the menus,
 * the toolbar, the canvas with its two scroll bars and the status bar, forwards every command
 * and event to its FrameLogic, and carries out what the logic asks through FramePort.
 */
class frmMain : public QMainWindow, public FramePort {
    Q_OBJECT

public:
    /** The program's folder (beside the executable) and the user's configuration folder. */
    static ProgramFolders DefaultFolders();

    explicit frmMain(DocumentState& state, QWidget* parent = nullptr);
    /** `folders` says where CVDTPATH and SYSVER.DAT are read and written. */
    frmMain(DocumentState& state, ProgramFolders folders, QWidget* parent = nullptr);
    ~frmMain() override;

    FrameLogic& logic() { return logic_; }
    CanvasWidget& canvasWidget() { return *canvas_; }
    const ProgramFolders& folders() const { return folders_; }
    /** A menu item or toolbar button by its control name or key; null when there is none. */
    QAction* item(const QString& name) const;

    using QMainWindow::setEnabled;

    // FramePort
    Canvas& canvas() override;
    void canvasChanged() override;
    void setStatusText(int panel, const std::string& text) override;
    void setCaption(const std::string& caption) override;
    void setEnabled(std::string_view item, bool enabled) override;
    void setChecked(std::string_view item, bool checked) override;
    void setCanvasCursor(CanvasCursor cursor) override;
    void setScrollValue(ScrollBar bar, int value) override;
    void placeControls(const FrameLayout& layout) override;
    MsgAnswer messageBox(const MessageBoxRequest& spec) override;
    void showAbout() override;
    void closeWindow() override;
    // The block picker and the save dialog (frmMainFiles.cpp)
    std::string saveFileDialog(const SaveDialogRequest& spec) override;
    PickedBlock showPicker() override;
    // The point-move dialog (frmMainModes.cpp)
    void showPointMoveDialog() override;
    // The point table, block parameters and manual (frmMainDialogs.cpp)
    std::optional<BlockData> showPointTable() override;
    std::optional<BlockData> showPointTableWith(const BlockData& start) override;
    std::optional<BlockData> showBlockParams() override;
    bool openDocument(const std::string& path) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    using Handler = void (FrameLogic::*)();

    void buildMenus();
    void buildToolbar();
    /** The keys of the commands, named in the toolbar's tooltips, and Escape. */
    void buildShortcuts();
    void buildStatusBar();
    void buildFrameArea();
    /** Makes the action of a menu item or button and files it under `name`. */
    QAction* addItem(const QString& name, const QString& text, bool checkable);
    /**
     * Calls `handler` when the action is triggered. A checkable action's tick belongs to the
     * logic: the click's own toggle is undone before the handler runs and sets it.
     */
    void connectItem(QAction* action, std::function<void()> handler);
    void frameAreaResized();
    // Print and export of the block's drawing (frmMainPrint.cpp)
    void buildDrawingItems();
    Drawing drawingOf(const DrawingOptions& options) const;
    void printDrawing();
    void exportDrawing();

    DocumentState& state_;
    ProgramFolders folders_;
    QHash<QString, QAction*> items_;
    QToolBar* toolbar_ = nullptr;
    QWidget* frameArea_ = nullptr;
    CanvasWidget* canvas_ = nullptr;
    QScrollBar* hScroll_ = nullptr;
    QScrollBar* vScroll_ = nullptr;
    StatusPanel* statusPanel1_ = nullptr;
    StatusPanel* statusPanel2_ = nullptr;
    /** Where a drag of the middle button was last seen; none while no such drag is on. */
    std::optional<QPoint> panFrom_;
    // What the last print or export chose, offered again the next time; first a scale that
    // engineers measure, 1:50.
    DrawingOptions drawingOptions_{.scale = 50};
    ExportFormat exportFormat_ = ExportFormat::Pdf;
    int exportDpi_ = kDefaultPngDpi;
    FrameLogic logic_;  // last: it may use every control as soon as it exists
};

}  // namespace chokusho
