#pragma once

#include <string>
#include <string_view>

#include "Canvas.h"
#include "ZoomScroll.h"

namespace chokusho {

enum class CanvasCursor { Arrow, Magnifier };
enum class ScrollBar { Horizontal, Vertical };

enum class MsgButtons { Ok, OkCancel, YesNoCancel };
enum class MsgIcon { None, Exclamation, Warning };
enum class MsgAnswer { Ok, Cancel, Yes, No };

/** A modal message box; its first button (OK or Yes) is the default. */
struct MessageBoxSpec {
    std::string text;  // lines joined by "\r\n"
    std::string title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    bool alignRight = false;
};

/** The save-file dialog: asks before overwriting; cancelling gives "". */
struct SaveDialogSpec {
    std::string initialFolder;
    std::string filter;  // label with its pattern, e.g. "ブロックファイル (*.csv)"
    std::string fileName;
};

/**
 * What the main window's logic asks of the window system. Items are named by their control
 * names ("mnuLineDel") or toolbar keys ("Line_Del"); the window implements this with widgets,
 * the tests with a recording fake.
 */
class FramePort {
public:
    virtual ~FramePort() = default;

    /** The canvas's backing picture, into which all drawing goes. */
    virtual Canvas& canvas() = 0;
    /** Shows what was drawn into the backing picture. */
    virtual void canvasChanged() = 0;

    /** Status-bar panel 1 (prompts) or 2 (coordinates). */
    virtual void setStatusText(int panel, const std::string& text) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    /** Enables a menu item or toolbar button. */
    virtual void setEnabled(std::string_view item, bool enabled) = 0;
    /** Ticks a menu item or presses a toolbar button. */
    virtual void setChecked(std::string_view item, bool checked) = 0;
    virtual void setCanvasCursor(CanvasCursor cursor) = 0;
    /** Moves a scroll bar's thumb; the bar reports the change back as the user's would be. */
    virtual void setScrollValue(ScrollBar bar, int value) = 0;
    /** Places the canvas and the scroll bars. */
    virtual void placeControls(const FrameLayout& layout) = 0;

    /** Shows a message box modally; closing it by its frame answers Cancel (or OK when it has only OK). */
    virtual MsgAnswer messageBox(const MessageBoxSpec& spec) = 0;
    /** The chosen file's full path, or "" when the user cancelled. */
    virtual std::string saveFileDialog(const SaveDialogSpec& spec) = 0;
    /** Shows the block picker modally; the chosen block's name, or "" when cancelled. It may move DataPath. */
    virtual std::string showPicker() = 0;
    /** Shows the point-move dialog modally; it sets MoveDX, MoveDY and MoveOK. */
    virtual void showPointMoveDialog() = 0;
    /**
     * Shows the point table modally; on confirmation it snapshots and replaces the points and
     * true is returned. false: cancelled, and nothing changed.
     */
    virtual bool showPointTable() = 0;
    /** Shows the block parameters modally; on confirmation it snapshots and replaces the record. */
    virtual void showBlockParams() = 0;
    /** Opens a document with the desktop's application for it; false when none could be started. */
    virtual bool openDocument(const std::string& path) = 0;

    /** Shows the version box modally. */
    virtual void showAbout() = 0;
    /** Closes the main window, which asks Form_QueryUnload first. */
    virtual void closeWindow() = 0;
};

}  // namespace chokusho
