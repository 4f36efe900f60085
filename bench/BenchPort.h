#pragma once

#include <optional>

#include "FramePort.h"
#include "ImageCanvas.h"

namespace chokusho::bench {

/**
 * The main window as far as the drawing needs it: the real Qt canvas, laid out as the frame
 * says, and nothing else. Showing a finished picture ends its painting, as the window's paint
 * does; dialogs answer as if cancelled.
 */
class BenchPort : public FramePort {
public:
    ImageCanvas& imageCanvas() { return canvas_; }

    Canvas& canvas() override { return canvas_; }
    void canvasChanged() override { canvas_.image(); }
    void setStatusText(StatusPane, const std::string&) override {}
    void setCaption(const std::string&) override {}
    void setCommandEnabled(Command, bool) override {}
    void setCommandChecked(Command, bool) override {}
    void setCanvasCursor(CanvasCursor) override {}
    void setScrollValue(ScrollBar, int) override {}
    void placeControls(const FrameLayout& layout) override
    {
        canvas_.resize(QSize(layout.canvas.width, layout.canvas.height), 1.0);
    }
    MsgAnswer messageBox(const MessageBoxRequest&) override { return MsgAnswer::Cancel; }
    std::string saveFileDialog(const SaveDialogRequest&) override { return {}; }
    PickedBlock showPicker() override { return {}; }
    void showPointMoveDialog() override {}
    std::optional<BlockData> showPointTable() override { return std::nullopt; }
    std::optional<BlockData> showBlockParams() override { return std::nullopt; }
    std::optional<BlockData> importDxf() override { return std::nullopt; }
    bool openDocument(const std::string&) override { return false; }
    void printDrawing() override {}
    void exportDrawing() override {}
    void showAbout() override {}
    void closeWindow() override {}

private:
    ImageCanvas canvas_;
};

}  // namespace chokusho::bench
