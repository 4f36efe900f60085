#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "FramePort.h"
#include "RecordingCanvas.h"

namespace chokusho::test {

/** A main window that records what the logic asks of it. */
class FakeFramePort : public FramePort {
public:
    RecordingCanvas picture;
    int shows = 0;  // canvasChanged calls
    std::map<StatusPane, std::string> status;
    std::string caption;
    std::map<Command, bool> enabled;
    std::map<Command, bool> checked;
    CanvasCursor cursor = CanvasCursor::Arrow;
    int hScroll = kScrollRest, vScroll = kScrollRest;
    FrameLayout layout;
    int aboutShown = 0;
    int printed = 0;
    int exported = 0;
    int closeRequests = 0;
    /** Called as the real bar does when its value changes. */
    std::function<void(ScrollBar, int)> onScrollChanged;

    /** Message boxes shown, and the answers the user gives in turn (OK when none is left). */
    std::vector<MessageBoxRequest> messages;
    std::deque<MsgAnswer> answers;
    /** Save dialogs shown, and the paths the user chooses in turn ("" = cancel when none is left). */
    std::vector<SaveDialogRequest> saveDialogs;
    std::deque<std::string> savePaths;
    /** What the picker does when shown (it may move DataPath); returns the chosen name. */
    std::function<std::string()> picker;
    /** The file name the picker reports with its choice; empty: none, and the name is looked up. */
    std::string pickedFile;
    int pickerShown = 0;
    /** What the point-move dialog does when shown. */
    std::function<void()> pointMoveDialog;
    /** What the point table (each time) and the block parameters confirm; nullopt (or unset) is a cancel. */
    std::function<std::optional<BlockData>()> pointTable, blockParams;
    /** The points the point table was shown over, each time: nullopt for the document's own. */
    std::vector<std::optional<BlockData>> pointTableShown;
    /** What the DXF import brings; nullopt: the user cancelled it. */
    std::optional<BlockData> imported;
    std::vector<std::string> openedDocuments;
    bool documentOpens = true;

    Canvas& canvas() override { return picture; }
    void canvasChanged() override { ++shows; }
    void setStatusText(StatusPane pane, const std::string& text) override { status[pane] = text; }
    void setCaption(const std::string& text) override { caption = text; }
    void setCommandEnabled(Command command, bool on) override { enabled[command] = on; }
    void setCommandChecked(Command command, bool on) override { checked[command] = on; }
    void setCanvasCursor(CanvasCursor shape) override { cursor = shape; }
    void setScrollValue(ScrollBar bar, int value) override;
    void placeControls(const FrameLayout& placed) override { layout = placed; }
    MsgAnswer messageBox(const MessageBoxRequest& request) override;
    std::string saveFileDialog(const SaveDialogRequest& request) override;
    PickedBlock showPicker() override;
    void showPointMoveDialog() override { run(pointMoveDialog); }
    std::optional<BlockData> showPointTable() override { return answerPointTable(std::nullopt); }
    std::optional<BlockData> showPointTableWith(const BlockData& start) override { return answerPointTable(start); }
    std::optional<BlockData> showBlockParams() override { return blockParams ? blockParams() : std::nullopt; }
    std::optional<BlockData> importDxf() override { return imported; }
    bool openDocument(const std::string& path) override;
    void printDrawing() override { ++printed; }
    void exportDrawing() override { ++exported; }
    void showAbout() override { ++aboutShown; }
    void closeWindow() override { ++closeRequests; }

private:
    std::optional<BlockData> answerPointTable(std::optional<BlockData> start);
    static void run(const std::function<void()>& dialog)
    {
        if (dialog)
            dialog();
    }
};

}  // namespace chokusho::test
