#include "frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <utility>

#include "CanvasWidget.h"
#include "FileSystem.h"
#include "Icons.h"
#include "QtText.h"
#include "RecentFiles.h"
#include "RecoveryDialog.h"
#include "RecoveryServices.h"
#include "ScreenFit.h"
#include "StatusPanel.h"

namespace chokusho {

namespace {

/** The area between toolbar and status bar; it reports its size to the frame. */
class FrameArea : public QWidget {
public:
    FrameArea(std::function<void()> resized, QWidget* parent) : QWidget(parent), resized_(std::move(resized)) {}

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        resized_();
    }

private:
    std::function<void()> resized_;
};

/** Text shown after a mode's button's name: how to back out of the mode. */
constexpr const char* kEscapeTip = "\nEsc：選択中のものや作業中の線を取り消す";

/** A Qt mouse button as the canvas's mouse modes know it. */
MouseButton ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return MouseButton::None;
    }
}

MouseButtons ButtonsOf(Qt::MouseButtons buttons)
{
    int mask = 0;
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (buttons & button)
            mask |= static_cast<int>(ButtonOf(button));
    }
    return MouseButtons(mask);
}

}  // namespace

ProgramFolders frmMain::DefaultFolders()
{
    return LocateProgramFolders(PathFromUtf8(QCoreApplication::applicationDirPath().toStdString()),
                                PathFromUtf8(
                                    QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString()));
}

frmMain::frmMain(DocumentState& state, QWidget* parent) : frmMain(state, DefaultFolders(), parent) {}

frmMain::frmMain(DocumentState& state, ProgramFolders folders, QWidget* parent)
    : QMainWindow(parent), state_(state), folders_(std::move(folders)), logic_(state, port_, folders_.filesFolder())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Utf8(kMainCaption));
    setWindowIcon(ProgramIcon());

    buildMenus();
    buildToolbar();
    buildShortcuts();
    buildStatusBar();
    buildFrameArea();
    port_.attach(controls_);
    // A block file dropped on the window opens as 開く would open it.
    setAcceptDrops(true);

    setMinimumSize(kMinWindowWidth, kMinWindowHeight);
    // The client size counts toolbar, frame area and status bar; the menu bar comes on top.
    ResizeOnScreen(*this, QSize(kInitialClientWidth, kInitialClientHeight + menuBar()->sizeHint().height()));

    logic_.Form_Load(LoadDataPath(folders_));
    loadRecentFiles();
}

frmMain::~frmMain()
{
    logic_.AttachRecovery(nullptr);
    logic_.recent().changed = nullptr;
    // The logic goes before the widgets: nothing may reach it from them any more.
    for (QAction* action : std::as_const(items_))
        action->disconnect(this);
    delete frameArea_;
    frameArea_ = nullptr;
}

QAction* frmMain::addCommandAction(Command command, const char* name, const char* text)
{
    const CommandEntry& entry = EntryOf(command);
    auto* action = new QAction(Utf8(text), this);
    action->setObjectName(Utf8(name));
    action->setCheckable(entry.checkable);
    items_.insert(Utf8(name), action);
    controls_.actions[static_cast<std::size_t>(command)].append(action);
    // A checkable action's tick belongs to the logic: the click's own toggle is undone before
    // the handler runs and sets it.
    connect(action, &QAction::triggered, this, [this, action, command](bool checked) {
        if (action->isCheckable())
            action->setChecked(!checked);
        logic_.Run(command);
    });
    return action;
}

void frmMain::buildMenus()
{
    for (const MenuBarEntry& entry : MenuBar()) {
        if (entry.command) {
            menuBar()->addAction(addCommandAction(*entry.command, entry.name, entry.title));
            continue;
        }
        QMenu* menu = menuBar()->addMenu(Utf8(entry.title));
        menu->setObjectName(Utf8(entry.name));
        menu->menuAction()->setObjectName(Utf8(entry.name));
        items_.insert(Utf8(entry.name), menu->menuAction());
        fillMenu(*menu, entry.places);
    }
}

void frmMain::fillMenu(QMenu& menu, std::span<const MenuSlot> places)
{
    for (const MenuSlot& slot : places) {
        if (slot.submenuName != nullptr) {
            recentMenu_ = menu.addMenu(Utf8(slot.submenuTitle));
            recentMenu_->setObjectName(Utf8(slot.submenuName));
            recentMenu_->menuAction()->setObjectName(Utf8(slot.submenuName));
            items_.insert(Utf8(slot.submenuName), recentMenu_->menuAction());
            fillMenu(*recentMenu_, slot.submenu);
            continue;
        }
        if (!slot.command) {
            QAction* separator = menu.addSeparator();
            separator->setObjectName(Utf8(slot.separatorName));
            continue;
        }
        const CommandEntry& command = EntryOf(*slot.command);
        menu.addAction(addCommandAction(command.command, command.menuItem, command.menuText));
    }
}

QString frmMain::settingsFile() const
{
    return Utf8(PathToUtf8(folders_.config / "chokusho.ini"));
}

void frmMain::loadRecentFiles()
{
    QSettings settings(settingsFile(), QSettings::IniFormat);
    std::vector<std::string> paths;
    const int count = settings.beginReadArray(QStringLiteral("RecentFiles"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        paths.push_back(settings.value(QStringLiteral("path")).toByteArray().toStdString());
    }
    settings.endArray();
    logic_.recent().Set(paths);
    logic_.recent().changed = [this] {
        saveRecentFiles();
        rebuildRecentMenu();
    };
    rebuildRecentMenu();
}

void frmMain::saveRecentFiles() const
{
    QDir().mkpath(Utf8(PathToUtf8(folders_.config)));
    QSettings settings(settingsFile(), QSettings::IniFormat);
    const std::vector<std::string>& paths = logic_.recent().paths();
    settings.remove(QStringLiteral("RecentFiles"));
    settings.beginWriteArray(QStringLiteral("RecentFiles"), static_cast<int>(paths.size()));
    for (std::size_t i = 0; i < paths.size(); ++i) {
        settings.setArrayIndex(static_cast<int>(i));
        // Bytes, as the file system gave them: a name need not be UTF-8.
        settings.setValue(QStringLiteral("path"), QByteArray::fromStdString(paths[i]));
    }
    settings.endArray();
}

void frmMain::rebuildRecentMenu()
{
    if (recentMenu_ == nullptr)
        return;
    for (QAction* action : recentMenu_->actions()) {
        if (action->property("recentFile").isValid())
            delete action;
    }
    const std::vector<std::string>& paths = logic_.recent().paths();
    QAction* first = recentMenu_->actions().value(0);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        auto* action = new QAction(Utf8(RecentFileText(i, paths[i])), recentMenu_);
        action->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        action->setProperty("recentFile", QByteArray::fromStdString(paths[i]));
        connect(action, &QAction::triggered, this, [this, path = paths[i]] { logic_.OpenRecent(path); });
        recentMenu_->insertAction(first, action);
    }
    if (first != nullptr)
        first->setVisible(!paths.empty());
    controls_.actions[static_cast<std::size_t>(Command::FileRecentClear)].value(0)->setEnabled(!paths.empty());
}

void frmMain::buildToolbar()
{
    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);  // the toolbar cannot be hidden
    toolbar_->toggleViewAction()->setVisible(false);

    for (const std::optional<Command>& slot : ToolbarLayout()) {
        if (!slot) {
            toolbar_->addSeparator();
            continue;
        }
        const CommandEntry& entry = EntryOf(*slot);
        QAction* action = addCommandAction(entry.command, entry.button, entry.buttonText);
        action->setIcon(UiIcon(Utf8(entry.icon)));
        toolbar_->addAction(action);
    }
}

void frmMain::buildShortcuts()
{
    for (const CommandEntry& entry : AllCommands()) {
        QList<QKeySequence> keys;
        for (const char* key : entry.keys) {
            if (key != nullptr)
                keys << QKeySequence(Utf8(key), QKeySequence::PortableText);
        }
        // The keys go to the menu item where there is one, else to the button.
        QAction* menuItem = entry.menuItem != nullptr ? items_.value(Utf8(entry.menuItem)) : nullptr;
        QAction* button = entry.button != nullptr ? items_.value(Utf8(entry.button)) : nullptr;
        if (QAction* target = menuItem != nullptr ? menuItem : button)
            target->setShortcuts(keys);
        if (button == nullptr)
            continue;
        // The tooltip names the first key, as the menu does; a mode's says how to back out.
        QString tip = Utf8(entry.buttonText);
        if (!keys.isEmpty())
            tip += QStringLiteral(" (") + keys.first().toString(QKeySequence::NativeText) + QLatin1Char(')');
        if (entry.startsMode)
            tip += Utf8(kEscapeTip);
        button->setToolTip(tip);
    }
    // Escape backs out of the current step of a mode.
    auto* escape = new QAction(this);
    escape->setObjectName(QStringLiteral("EscapeKey"));
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(escape, &QAction::triggered, this, [this] { logic_.Escape_Key(); });
    addAction(escape);
}

void frmMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);

    // The read-out takes what its text needs and the prompts the rest; a prompt wider than that
    // is drawn a little smaller, so that every prompt reads whole at the window's starting size.
    controls_.prompt = new StatusPanel(bar);
    controls_.prompt->setObjectName(QStringLiteral("StatusBar1_Panel1"));
    controls_.prompt->setMinimumWidth(1);  // a long prompt never widens the window
    bar->addWidget(controls_.prompt, 1);

    controls_.readout = new StatusPanel(bar);
    controls_.readout->setObjectName(QStringLiteral("StatusBar1_Panel2"));
    controls_.readout->setFixedWidth(controls_.readout->naturalWidth());
    bar->addPermanentWidget(controls_.readout);
}

void frmMain::buildFrameArea()
{
    frameArea_ = new FrameArea([this] { frameAreaResized(); }, this);
    frameArea_->setObjectName(QStringLiteral("FrameArea"));
    setCentralWidget(frameArea_);

    // No layout manager: the logic places the three controls through placeControls.
    canvas_ = new CanvasWidget(frameArea_);
    controls_.canvas = canvas_;
    // The middle button drags the view; the others go to the mouse modes.
    connect(canvas_, &CanvasWidget::mousePressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
                if (button == Qt::MiddleButton) {
                    panFrom_ = QPoint(x, y);
                    return;
                }
                logic_.modes().Picture1_MouseDown(ButtonOf(button), x, y, modifiers.testFlag(Qt::ShiftModifier));
            });
    connect(canvas_, &CanvasWidget::mouseMoved, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers, int x, int y) {
                if (buttons.testFlag(Qt::MiddleButton) && panFrom_) {
                    logic_.Canvas_Pan(x - panFrom_->x(), y - panFrom_->y());
                    panFrom_ = QPoint(x, y);
                    buttons.setFlag(Qt::MiddleButton, false);
                }
                logic_.modes().Picture1_MouseMove(ButtonsOf(buttons), x, y);
            });
    connect(canvas_, &CanvasWidget::mouseReleased, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
                if (button == Qt::MiddleButton) {
                    panFrom_.reset();
                    return;
                }
                logic_.modes().Picture1_MouseUp(ButtonOf(button), x, y);
            });
    connect(canvas_, &CanvasWidget::zoomSteps, this, [this](int steps, Qt::MouseButtons buttons, int x, int y) {
        buttons.setFlag(Qt::MiddleButton, false);
        logic_.Canvas_Wheel(steps, x, y, ButtonsOf(buttons));
    });

    const auto addScrollBar = [this](Qt::Orientation orientation, const char* name, int small, int large,
                                     void (FrameLogic::*changed)(int)) {
        auto* bar = new QScrollBar(orientation, frameArea_);
        bar->setObjectName(Utf8(name));
        bar->setRange(kScrollMin, kScrollMax);
        bar->setSingleStep(small);
        bar->setPageStep(large);
        bar->setValue(kScrollRest);
        bar->setTracking(false);  // a dragged thumb is processed once, when it is let go
        connect(bar, &QScrollBar::valueChanged, this, [this, changed](int value) { (logic_.*changed)(value); });
        return bar;
    };
    controls_.hScroll = addScrollBar(Qt::Horizontal, "HScroll1", kHScrollSmall, kHScrollLarge,
                                     &FrameLogic::HScroll1_Change);
    controls_.vScroll = addScrollBar(Qt::Vertical, "VScroll1", kVScrollSmall, kVScrollLarge,
                                     &FrameLogic::VScroll1_Change);
}

void frmMain::frameAreaResized() { logic_.Form_Resize(frameArea_->width(), frameArea_->height(), isMinimized()); }

QAction* frmMain::item(const QString& name) const { return items_.value(name, nullptr); }

namespace {

/** The one local block file (by its extension) that a drag carries; empty for anything else. */
QString DroppedBlockFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().first();
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedBlockFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event)
{
    const QString path = DroppedBlockFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drag's source waits until the drop returns: the question and the reading come after.
    QMetaObject::invokeMethod(
        this, [this, path] { logic_.OpenFile(ToUtf8(QDir::toNativeSeparators(path))); }, Qt::QueuedConnection);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (logic_.Form_QueryUnload()) {
        event->ignore();
        return;
    }
    SaveDataPath(state_.DataPath, folders_);
    logic_.Form_Unload();
    event->accept();
}

void frmMain::startRecovery(const QString& folder)
{
    logic_.AttachRecovery(nullptr);
    recovery_ = std::make_unique<RecoveryServices>(state_, port_, folder);
    logic_.AttachRecovery(&recovery_->keeper);
}

void frmMain::offerRecovery()
{
    if (!recovery_)
        return;
    std::vector<LeftRecovery> left = recovery_->keeper.LeftBehind();
    if (left.empty())
        return;
    RecoveryDialog dialog(
        std::move(left), [this](const std::string& name) { return recovery_->keeper.Discard(name); }, this);
    if (dialog.exec() == QDialog::Accepted && dialog.chosen())
        logic_.RestoreRecovered(*dialog.chosen());
}

}  // namespace chokusho
