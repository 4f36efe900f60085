#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

#include "DocumentState.h"
#include "DrawingCommands.h"
#include "FrameLogic.h"
#include "MainWindowPort.h"
#include "ProgramFiles.h"

class QAction;
class QScrollBar;
class QToolBar;

namespace chokusho {

class CanvasWidget;
class StatusPanel;

/**
 * The main window: the frame in which every block is drawn and edited. It builds the menus,
 * the toolbar and the keys from the command table (Commands.h), the canvas with its two scroll
 * bars and the status bar, and forwards every command and event to its FrameLogic, which
 * answers through the window's MainWindowPort.
 */
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    /** The program's folder (beside the executable) and the user's configuration folder. */
    static ProgramFolders DefaultFolders();

    explicit frmMain(DocumentState& state, QWidget* parent = nullptr);
    /** `folders` says where CVDTPATH and SYSVER.DAT are read and written. */
    frmMain(DocumentState& state, ProgramFolders folders, QWidget* parent = nullptr);
    ~frmMain() override;

    FrameLogic& logic() { return logic_; }
    FramePort& port() { return port_; }
    CanvasWidget& canvasWidget() { return *canvas_; }
    const ProgramFolders& folders() const { return folders_; }
    /** A menu, menu item or toolbar button by its control name or key; null when there is none. */
    QAction* item(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    /** The keys of the commands, named in the toolbar's tooltips, and Escape. */
    void buildShortcuts();
    void buildStatusBar();
    void buildFrameArea();
    /** The action of a command's menu item or toolbar button, filed under `name`. */
    QAction* addCommandAction(Command command, const char* name, const char* text);
    void frameAreaResized();

    DocumentState& state_;
    ProgramFolders folders_;
    QHash<QString, QAction*> items_;
    MainWindowControls controls_;
    QToolBar* toolbar_ = nullptr;
    QWidget* frameArea_ = nullptr;
    CanvasWidget* canvas_ = nullptr;
    /** Where a drag of the middle button was last seen; none while no such drag is on. */
    std::optional<QPoint> panFrom_;
    DrawingCommands drawing_{*this, state_};
    MainWindowPort port_{*this, state_, folders_, drawing_};
    FrameLogic logic_;  // last: it may use every control as soon as it exists
};

}  // namespace chokusho
