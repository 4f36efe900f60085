#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "BlockData.h"
#include "Canvas.h"
#include "Commands.h"
#include "ZoomScroll.h"

namespace chokusho {

enum class CanvasCursor { Arrow, Magnifier };
/** The status bar's two panels: the prompt of the mode, and the coordinates under the pointer. */
enum class StatusPane { Prompt, Readout };
enum class ScrollBar { Horizontal, Vertical };

enum class MsgButtons { Ok, OkCancel, YesNoCancel };
enum class MsgIcon { None, Exclamation, Warning };
enum class MsgAnswer { Ok, Cancel, Yes, No };

/** A modal message box; its first button (OK or Yes) is the default. */
struct MessageBoxRequest {
    std::string text;  // lines joined by "\r\n"
    std::string title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    bool alignRight = false;
};

/** The titles of the program's message boxes: failures, confirmations, the unsaved-changes question. */
inline constexpr const char* kErrorTitle = "Error";
inline constexpr const char* kConfirmTitle = "確認";
inline constexpr const char* kSaveConfirmTitle = "保存確認";

/** A failure: OK alone, with the warning icon, under "Error". */
inline MessageBoxRequest ErrorMessage(std::string text)
{
    return {std::move(text), kErrorTitle, MsgButtons::Ok, MsgIcon::Exclamation};
}

/** A question: OK and Cancel, without an icon, under "確認". */
inline MessageBoxRequest Confirmation(std::string text)
{
    return {std::move(text), kConfirmTitle, MsgButtons::OkCancel, MsgIcon::None};
}

/** The save-file dialog; cancelling gives "". */
struct SaveDialogRequest {
    std::string initialFolder;
    std::string filter;  // label with its pattern, e.g. "ブロックファイル (*.csv)"
    std::string fileName;
    /**
     * The file that a path chosen in the dialog will write (".csv" may be added, a proposed name
     * may stand for the file the block came from). The dialog asks before replacing that file
     * when it exists, and "いいえ" returns to the dialog. Unset: the chosen path itself.
     */
    std::function<std::string(const std::string& chosenPath)> targetOf;
};

/** What the block picker chose: the block's name and its file as listed in DataPath. */
struct PickedBlock {
    std::string BlkNm;     // the file name without its extension; empty when cancelled
    std::string FileName;  // the file name with its extension, bytes as on disk
};

/**
 * What the main window's logic asks of the window system. Menu items and toolbar buttons are
 * named by their Command (Commands.h); the window implements this with widgets, the tests with
 * a recording fake.
 */
class FramePort {
public:
    virtual ~FramePort() = default;

    /** The canvas's backing picture, into which all drawing goes. */
    virtual Canvas& canvas() = 0;
    /** Shows what was drawn into the backing picture. */
    virtual void canvasChanged() = 0;

    virtual void setStatusText(StatusPane pane, const std::string& text) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    /** Enables a command's menu item and toolbar button. */
    virtual void setCommandEnabled(Command command, bool enabled) = 0;
    /** Ticks a command's menu item and presses its toolbar button. */
    virtual void setCommandChecked(Command command, bool checked) = 0;
    virtual void setCanvasCursor(CanvasCursor cursor) = 0;
    /** Moves a scroll bar's thumb; the bar reports the change back as the user's would be. */
    virtual void setScrollValue(ScrollBar bar, int value) = 0;
    /** Places the canvas and the scroll bars. */
    virtual void placeControls(const FrameLayout& layout) = 0;

    /** Shows a message box modally; closing it by its frame answers Cancel (or OK when it has only OK). */
    virtual MsgAnswer messageBox(const MessageBoxRequest& request) = 0;
    /** The chosen file's full path, or "" when the user cancelled. */
    [[nodiscard]] virtual std::string saveFileDialog(const SaveDialogRequest& request) = 0;
    /** Shows the block picker modally; what it chose (empty names when cancelled). It may move DataPath. */
    [[nodiscard]] virtual PickedBlock showPicker() = 0;
    /** Shows the point-move dialog modally; it sets MoveDX, MoveDY and MoveOK. */
    virtual void showPointMoveDialog() = 0;
    /**
     * Shows the point table modally over the document's points. On confirmation, a copy of the
     * document whose points are those of the table; nullopt when cancelled. The dialog itself
     * changes nothing: the caller records the undo snapshot and takes the points.
     */
    [[nodiscard]] virtual std::optional<BlockData> showPointTable() = 0;
    /**
     * Shows the point table again, over `start`'s points instead of the document's: what the user
     * had confirmed before choosing to go back to the table. Answers as showPointTable(). A port
     * that has no table to show answers as if cancelled.
     */
    [[nodiscard]] virtual std::optional<BlockData> showPointTableWith([[maybe_unused]] const BlockData& start)
    {
        return std::nullopt;
    }
    /**
     * Shows the block parameters modally. On confirmation, the edited record (the document with
     * its names, figures and layers as confirmed); nullopt when cancelled. The caller records
     * the undo snapshot and takes the record.
     */
    [[nodiscard]] virtual std::optional<BlockData> showBlockParams() = 0;
    /** Opens a document with the desktop's application for it; false when none could be started. */
    [[nodiscard]] virtual bool openDocument(const std::string& path) = 0;

    /** Prints the block's drawing through the print preview. */
    virtual void printDrawing() = 0;
    /** Exports the block's drawing to a file the user chooses. */
    virtual void exportDrawing() = 0;
    /**
     * Asks for a DXF file and shows what importing it would make; the block of the points and
     * segments the user chose to import, or nullopt when they did not.
     */
    [[nodiscard]] virtual std::optional<BlockData> importDxf() = 0;
    /** Shows the version box modally. */
    virtual void showAbout() = 0;
    /** Closes the main window, which asks Form_QueryUnload first. */
    virtual void closeWindow() = 0;
};

}  // namespace chokusho
