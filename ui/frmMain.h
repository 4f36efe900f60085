#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "DocumentState.h"
#include "DrawingCommands.h"
#include "FrameLogic.h"
#include "MainWindowPort.h"
#include "ProgramFiles.h"

class QAction;
class QMenu;
class QScrollBar;
class QToolBar;

namespace chokusho {

class CanvasWidget;
class StatusPanel;
struct RecoveryServices;

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

    /**
     * Keeps the unsaved work in a recovery pair of `folder` from now on, under a lock that tells
     * other instances this one is running. The program passes the user's data folder.
     */
    void startRecovery(const QString& folder);
    /** What keeps the unsaved work; null before startRecovery. */
    RecoveryServices* recovery() { return recovery_.get(); }
    /**
     * Offers the work that ended instances left, in the dialog 前回の作業を復元, and restores the
     * block chosen there; shows nothing when there is none.
     */
    void offerRecovery();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    /** Fills a drop-down menu with its places from the command table. */
    void fillMenu(QMenu& menu, std::span<const MenuSlot> places);
    void buildToolbar();
    /** The settings file in the configuration folder: the recent files. */
    QString settingsFile() const;
    /** Takes 最近使ったファイル from the settings, and keeps them there from now on. */
    void loadRecentFiles();
    void saveRecentFiles() const;
    /** The entries of 最近使ったファイル before its own places, one a recent file. */
    void rebuildRecentMenu();
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
    QMenu* recentMenu_ = nullptr;
    QWidget* frameArea_ = nullptr;
    CanvasWidget* canvas_ = nullptr;
    /** Where a drag of the middle button was last seen; none while no such drag is on. */
    std::optional<QPoint> panFrom_;
    DrawingCommands drawing_{*this, state_};
    MainWindowPort port_{*this, state_, folders_, drawing_};
    FrameLogic logic_;  // it may use every control as soon as it exists
    std::unique_ptr<RecoveryServices> recovery_;
};

}  // namespace chokusho
