#include "frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <utility>

#include "CanvasWidget.h"
#include "FileSystem.h"
#include "Icons.h"
#include "MessageBox.h"
#include "MagnifierCursor.h"
#include "StatusPanel.h"
#include "QtText.h"
#include "ScreenFit.h"
#include "frmAbout.h"

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

/** One entry of a drop-down menu: an item, or a separator when `name` is empty or ends in "Sep". */
struct MenuEntry {
    const char* name;
    const char* text;  // UTF-8
    void (FrameLogic::*handler)();
    bool checkable;
};

struct ToolbarEntry {
    const char* key;   // null for a separator
    const char* text;  // UTF-8, shown as the tooltip
    const char* icon;
    bool checkable;
};

// clang-format off
constexpr ToolbarEntry kToolbar[] = {
    {"NewOpen", "新規", "new.svg", false},
    {"Open", "開く", "open.svg", false},
    {"Save", "保存", "save.svg", false},
    {nullptr, nullptr, nullptr, false},
    {"Kakudai", "拡大", "zoom-in.svg", false},
    {"Shukusho", "縮小", "zoom-out.svg", false},
    {"Zenhyoji", "全表示", "show-all.svg", false},
    {"Redraw", "再表示", "redraw.svg", false},
    {"Grid", "グリッド", "grid.svg", true},
    {nullptr, nullptr, nullptr, false},
    {"Line", "結線", "connect.svg", false},
    {"Line_Del", "線削除", "delete-line.svg", false},
    {"Pnt_Del", "点削除", "delete-point.svg", false},
    {"Pnt_Add", "点追加", "add-point.svg", false},
    {nullptr, nullptr, nullptr, false},
    {"Undo", "元に戻す", "undo.svg", false},
    {"Redo", "やり直し", "redo.svg", false},
    {"Help", "ヘルプ", "help.svg", false},
};
// clang-format on

/**
 * The keys of the commands, as every current desktop program has them; the access keys of the
 * menus stay as they were. A toolbar button whose command is a menu item's shares its keys.
 */
struct Shortcut {
    const char* item;
    std::initializer_list<const char*> keys;
    const char* button;  // the toolbar button of the same command, or null
};
const Shortcut kShortcuts[] = {
    {"mnuFileNew", {"Ctrl+N"}, "NewOpen"},
    {"mnuFileOpen", {"Ctrl+O"}, "Open"},
    {"mnuFileOverwrite", {"Ctrl+S"}, nullptr},
    {"mnuFileSave", {"Ctrl+Shift+S"}, "Save"},
    {"mnuFileEnd", {"Ctrl+Q"}, nullptr},
    {"mnuDispRedraw", {"F5"}, "Redraw"},
    {"mnuHelpHelp", {"F1"}, "Help"},
    {"Undo", {"Ctrl+Z"}, nullptr},
    {"Redo", {"Ctrl+Y", "Ctrl+Shift+Z"}, nullptr},
};

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
    : QMainWindow(parent), state_(state), folders_(std::move(folders)), logic_(state, *this, folders_.filesFolder())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Utf8(kMainCaption));
    setWindowIcon(ProgramIcon());

    buildMenus();
    buildToolbar();
    buildShortcuts();
    buildStatusBar();
    buildFrameArea();
    // A block file dropped on the window opens as 開く would open it.
    setAcceptDrops(true);

    setMinimumSize(kMinWindowWidth, kMinWindowHeight);
    // The client size counts toolbar, frame area and status bar; the menu bar comes on top.
    ResizeOnScreen(*this, QSize(kInitialClientWidth, kInitialClientHeight + menuBar()->sizeHint().height()));

    logic_.Form_Load(LoadDataPath(folders_));
}

frmMain::~frmMain()
{
    // The logic goes before the widgets: nothing may reach it from them any more.
    for (QAction* action : std::as_const(items_))
        action->disconnect(this);
    delete frameArea_;
    frameArea_ = nullptr;
}

QAction* frmMain::addItem(const QString& name, const QString& text, bool checkable)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setCheckable(checkable);
    items_.insert(name, action);
    return action;
}

void frmMain::connectItem(QAction* action, std::function<void()> handler)
{
    connect(action, &QAction::triggered, this, [action, handler = std::move(handler)](bool checked) {
        if (action->isCheckable())
            action->setChecked(!checked);
        handler();
    });
}

void frmMain::buildMenus()
{
    const auto addMenu = [this](const char* name, const char* title, std::initializer_list<MenuEntry> entries) {
        QMenu* menu = menuBar()->addMenu(Utf8(title));
        menu->setObjectName(Utf8(name));
        menu->menuAction()->setObjectName(Utf8(name));
        items_.insert(Utf8(name), menu->menuAction());
        for (const MenuEntry& entry : entries) {
            if (entry.handler == nullptr) {
                QAction* separator = menu->addSeparator();
                if (entry.name != nullptr)
                    separator->setObjectName(Utf8(entry.name));
                continue;
            }
            QAction* action = addItem(Utf8(entry.name), Utf8(entry.text), entry.checkable);
            connectItem(action, [this, handler = entry.handler] { (logic_.*handler)(); });
            menu->addAction(action);
        }
    };

    addMenu("mnuFile", "ﾌｧｲﾙ(&F)",
            {
                {"mnuFileNew", "新規(&N)", &FrameLogic::mnuFileNew_Click, false},
                {"mnuFileOpen", "開く(&O)...", &FrameLogic::mnuFileOpen_Click, false},
                {"mnuFileOverwrite", "上書き保存(&W)", &FrameLogic::mnuFileOverwrite_Click, false},
                {"mnuFileSave", "保存(&S)...", &FrameLogic::mnuFileSave_Click, false},
                {"mnuFileSep", nullptr, nullptr, false},
                {"mnuFileEnd", "終了(&X)", &FrameLogic::mnuFileEnd_Click, false},
            });
    buildDrawingItems();
    addMenu("mnuDisp", "表示(&V)",
            {
                {"mnuDispKaku", "拡大", &FrameLogic::mnuDispKaku_Click, false},
                {"mnuDispShuku", "縮小", &FrameLogic::mnuDispShuku_Click, false},
                {"mnuDispAll", "全表示", &FrameLogic::mnuDispAll_Click, false},
                {"mnuDispRedraw", "再表示", &FrameLogic::mnuDispRedraw_Click, false},
                {"mnuDispSep", nullptr, nullptr, false},
                {"mnuDispGrid", "グリッド", &FrameLogic::mnuDispGrid_Click, true},
                {"mnuDispPntNo", "点名表示", &FrameLogic::mnuDispPntNo_Click, true},
            });

    // ブロック諸元 is a command of the menu bar itself.
    QAction* blockParameters = addItem(QStringLiteral("mnuBlkPara"), QStringLiteral("ブロック諸元(&B)..."), false);
    connectItem(blockParameters, [this] { logic_.mnuBlkPara_Click(); });
    menuBar()->addAction(blockParameters);

    addMenu("mnuPoint", "点(&P)",
            {
                {"mnuPointHen", "編集...", &FrameLogic::mnuPointHen_Click, false},
                {"mnuPointDel", "削除", &FrameLogic::mnuPointDel_Click, false},
                {"mnuPointMov", "移動", &FrameLogic::mnuPointMov_Click, false},
                {"mnuPointAdd", "点追加", &FrameLogic::mnuPointAdd_Click, false},
            });
    addMenu("mnuLine", "線分(&L)",
            {
                {"mnuLineIn", "結線", &FrameLogic::mnuLineIn_Click, false},
                {"mnuLineDel", "削除", &FrameLogic::mnuLineDel_Click, false},
                {"mnuLineDelAll", "一括削除", &FrameLogic::mnuLineDelAll_Click, false},
                {"mnuLineKind", "線種変更", &FrameLogic::mnuLineKind_Click, false},
            });
    addMenu("mnuHelp", "ヘルプ(&H)",
            {
                {"mnuHelpHelp", "ヘルプ（&M）...", &FrameLogic::mnuHelpHelp_Click, false},
                {"mnuHelpSep", nullptr, nullptr, false},
                {"mnuHelpVer", "バージョン情報（&A）...", &FrameLogic::mnuHelpVer_Click, false},
            });
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

    for (const ToolbarEntry& entry : kToolbar) {
        if (entry.key == nullptr) {
            toolbar_->addSeparator();
            continue;
        }
        const QString key = Utf8(entry.key);
        QAction* action = addItem(key, Utf8(entry.text), entry.checkable);
        action->setToolTip(Utf8(entry.text));
        action->setIcon(UiIcon(Utf8(entry.icon)));
        connectItem(action, [this, keyText = std::string(entry.key)] { logic_.Toolbar1_ButtonClick(keyText); });
        toolbar_->addAction(action);
    }
}

void frmMain::buildShortcuts()
{
    for (const Shortcut& shortcut : kShortcuts) {
        QAction* action = items_.value(Utf8(shortcut.item));
        if (action == nullptr)
            continue;
        QList<QKeySequence> keys;
        for (const char* key : shortcut.keys)
            keys << QKeySequence(Utf8(key), QKeySequence::PortableText);
        action->setShortcuts(keys);
        // The tooltip names the first key, as the menu does.
        QAction* button = shortcut.button != nullptr ? items_.value(Utf8(shortcut.button)) : action;
        if (button != nullptr && toolbar_->actions().contains(button))
            button->setToolTip(button->text() + QStringLiteral(" (") + keys.first().toString(QKeySequence::NativeText) +
                               QLatin1Char(')'));
    }
    // The buttons that start a mode say how to back out of it.
    for (const char* key : {"Kakudai", "Shukusho", "Line", "Line_Del", "Pnt_Del", "Pnt_Add"}) {
        if (QAction* button = items_.value(Utf8(key)))
            button->setToolTip(button->toolTip() + QStringLiteral("\nEsc：選択中のものや作業中の線を取り消す"));
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
    statusPanel1_ = new StatusPanel(bar);
    statusPanel1_->setObjectName(QStringLiteral("StatusBar1_Panel1"));
    statusPanel1_->setMinimumWidth(1);  // a long prompt never widens the window
    bar->addWidget(statusPanel1_, 1);

    statusPanel2_ = new StatusPanel(bar);
    statusPanel2_->setObjectName(QStringLiteral("StatusBar1_Panel2"));
    statusPanel2_->setFixedWidth(statusPanel2_->naturalWidth());
    bar->addPermanentWidget(statusPanel2_);
}

void frmMain::buildFrameArea()
{
    frameArea_ = new FrameArea([this] { frameAreaResized(); }, this);
    frameArea_->setObjectName(QStringLiteral("FrameArea"));
    setCentralWidget(frameArea_);

    // No layout manager: the logic places the three controls through placeControls.
    canvas_ = new CanvasWidget(frameArea_);
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

    hScroll_ = new QScrollBar(Qt::Horizontal, frameArea_);
    hScroll_->setObjectName(QStringLiteral("HScroll1"));
    hScroll_->setRange(kScrollMin, kScrollMax);
    hScroll_->setSingleStep(kHScrollSmall);
    hScroll_->setPageStep(kHScrollLarge);
    hScroll_->setValue(kScrollRest);
    hScroll_->setTracking(false);  // a dragged thumb is processed once, when it is let go
    connect(hScroll_, &QScrollBar::valueChanged, this, [this](int value) { logic_.HScroll1_Change(value); });

    vScroll_ = new QScrollBar(Qt::Vertical, frameArea_);
    vScroll_->setObjectName(QStringLiteral("VScroll1"));
    vScroll_->setRange(kScrollMin, kScrollMax);
    vScroll_->setSingleStep(kVScrollSmall);
    vScroll_->setPageStep(kVScrollLarge);
    vScroll_->setValue(kScrollRest);
    vScroll_->setTracking(false);
    connect(vScroll_, &QScrollBar::valueChanged, this, [this](int value) { logic_.VScroll1_Change(value); });
}

void frmMain::frameAreaResized() { logic_.Form_Resize(frameArea_->width(), frameArea_->height(), isMinimized()); }

QAction* frmMain::item(const QString& name) const { return items_.value(name, nullptr); }

// --- FramePort

Canvas& frmMain::canvas() { return canvas_->canvas(); }

void frmMain::canvasChanged() { canvas_->update(); }

void frmMain::setStatusText(int panel, const std::string& text)
{
    StatusPanel* label = panel == 2 ? statusPanel2_ : panel == 1 ? statusPanel1_ : nullptr;
    if (label == nullptr)
        return;
    label->setPanelText(Utf8(text));
    if (label == statusPanel2_)
        label->setFixedWidth(label->naturalWidth());
}

void frmMain::setCaption(const std::string& caption) { setWindowTitle(Utf8(caption)); }

void frmMain::setEnabled(std::string_view name, bool enabled)
{
    if (QAction* action = item(Utf8(name)))
        action->setEnabled(enabled);
    else
        qWarning("frmMain::setEnabled: no item %.*s", static_cast<int>(name.size()), name.data());
}

void frmMain::setChecked(std::string_view name, bool checked)
{
    if (QAction* action = item(Utf8(name)))
        action->setChecked(checked);
    else
        qWarning("frmMain::setChecked: no item %.*s", static_cast<int>(name.size()), name.data());
}

void frmMain::setCanvasCursor(CanvasCursor cursor)
{
    if (cursor == CanvasCursor::Magnifier)
        canvas_->setCursor(MagnifierCursor(canvas_->devicePixelRatioF()));
    else
        canvas_->setCursor(Qt::ArrowCursor);
}

void frmMain::setScrollValue(ScrollBar bar, int value)
{
    (bar == ScrollBar::Horizontal ? hScroll_ : vScroll_)->setValue(value);
}

void frmMain::placeControls(const FrameLayout& layout)
{
    const auto place = [](QWidget* widget, const ControlRect& r) {
        widget->setGeometry(r.left, r.top, std::max(r.width, 0), std::max(r.height, 0));
    };
    place(canvas_, layout.canvas);
    place(hScroll_, layout.hScroll);
    place(vScroll_, layout.vScroll);
    // A widget not yet shown gets its resize event only when shown; the logic draws now.
    canvas_->syncPictureSize();
}

MsgAnswer frmMain::messageBox(const MessageBoxRequest& spec) { return ShowMessageBox(this, spec); }

void frmMain::showAbout()
{
    frmAbout about(folders_.filesFolder(), this);
    about.exec();
}

void frmMain::closeWindow() { close(); }

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
    event->accept();
}

}  // namespace chokusho
