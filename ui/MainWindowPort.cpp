#include "MainWindowPort.h"

#include <QAction>
#include <QDesktopServices>
#include <QMainWindow>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>

#include "CanvasWidget.h"
#include "DrawingCommands.h"
#include "DxfImportDialog.h"
#include "FileDialogs.h"
#include "FrmBlkShoSel.h"
#include "FrmEditInf.h"
#include "FrmEditPnt.h"
#include "FrmEditPntMov.h"
#include "MagnifierCursor.h"
#include "MessageBox.h"
#include "QtText.h"
#include "StatusPanel.h"
#include "frmAbout.h"

namespace chokusho {

namespace {

const QList<QAction*>& ActionsOf(const MainWindowControls& controls, Command command)
{
    return controls.actions[static_cast<std::size_t>(command)];
}

}  // namespace

MainWindowPort::MainWindowPort(QMainWindow& window, DocumentState& state, const ProgramFolders& folders,
                               DrawingCommands& drawing)
    : window_(window), state_(state), folders_(folders), drawing_(drawing)
{
}

Canvas& MainWindowPort::canvas() { return controls_.canvas->canvas(); }

void MainWindowPort::canvasChanged() { controls_.canvas->update(); }

void MainWindowPort::setStatusText(StatusPane pane, const std::string& text)
{
    StatusPanel* panel = pane == StatusPane::Prompt ? controls_.prompt : controls_.readout;
    panel->setPanelText(Utf8(text));
    // The read-out is as wide as its text; the prompt takes the rest.
    if (pane == StatusPane::Readout)
        panel->setFixedWidth(panel->naturalWidth());
}

void MainWindowPort::setCaption(const std::string& caption) { window_.setWindowTitle(Utf8(caption)); }

void MainWindowPort::setCommandEnabled(Command command, bool enabled)
{
    for (QAction* action : ActionsOf(controls_, command))
        action->setEnabled(enabled);
}

void MainWindowPort::setCommandChecked(Command command, bool checked)
{
    for (QAction* action : ActionsOf(controls_, command))
        action->setChecked(checked);
}

void MainWindowPort::setCanvasCursor(CanvasCursor cursor)
{
    CanvasWidget* canvas = controls_.canvas;
    if (cursor == CanvasCursor::Magnifier)
        canvas->setCursor(MagnifierCursor(canvas->devicePixelRatioF()));
    else
        canvas->setCursor(Qt::ArrowCursor);
}

void MainWindowPort::setScrollValue(ScrollBar bar, int value)
{
    (bar == ScrollBar::Horizontal ? controls_.hScroll : controls_.vScroll)->setValue(value);
}

void MainWindowPort::placeControls(const FrameLayout& layout)
{
    const auto place = [](QWidget* widget, const ControlRect& r) {
        widget->setGeometry(r.left, r.top, std::max(r.width, 0), std::max(r.height, 0));
    };
    place(controls_.canvas, layout.canvas);
    place(controls_.hScroll, layout.hScroll);
    place(controls_.vScroll, layout.vScroll);
    // A widget not yet shown gets its resize event only when shown; the logic draws now.
    controls_.canvas->syncPictureSize();
}

MsgAnswer MainWindowPort::messageBox(const MessageBoxRequest& request) { return ShowMessageBox(&window_, request); }

std::string MainWindowPort::saveFileDialog(const SaveDialogRequest& request)
{
    SaveFileDialog dialog(&window_, QStringLiteral("名前を付けて保存"), Utf8(request.initialFolder),
                          Utf8(request.filter), request.targetOf);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (!request.fileName.empty())
        dialog.selectFile(Utf8(request.fileName));
    return dialog.run();
}

PickedBlock MainWindowPort::showPicker()
{
    FrmBlkShoSel picker(state_, folders_.filesFolder(), &window_);
    picker.exec();
    if (picker.result() != QDialog::Accepted)
        return {};
    return {picker.BlkNm(), picker.FileName()};
}

void MainWindowPort::showPointMoveDialog()
{
    // The dialog centres itself over the window when it opens.
    FrmEditPntMov dialog(state_, &window_);
    dialog.exec();
}

std::optional<BlockData> MainWindowPort::showPointTable() { return showPointTableWith(state_.CurData); }

std::optional<BlockData> MainWindowPort::showPointTableWith(const BlockData& start)
{
    FrmEditPnt dialog(state_, start, &window_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Confirmed();
}

std::optional<BlockData> MainWindowPort::showBlockParams()
{
    FrmEditInf dialog(state_, &window_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Confirmed();
}

bool MainWindowPort::openDocument(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(Utf8(path)));
}

void MainWindowPort::printDrawing() { drawing_.print(); }

void MainWindowPort::exportDrawing() { drawing_.exportToFile(); }

std::optional<BlockData> MainWindowPort::importDxf() { return ImportDxfFile(&window_, state_.DataPath); }

void MainWindowPort::showAbout()
{
    frmAbout about(folders_.filesFolder(), &window_);
    about.exec();
}

void MainWindowPort::closeWindow() { window_.close(); }

}  // namespace chokusho
