#pragma once

#include <QSize>

class QDialog;
class QWidget;

namespace chokusho {

/**
 * The first sizes of the windows and dialogs, kept within the screen they appear on. A size the
 * program was drawn with stays whenever it fits; a laptop at 200 % (800 x 500 logical pixels)
 * or a small screen gets no window whose edges or buttons lie beyond the screen.
 */

/**
 * The room for the client area of `window` on the screen it appears on: that screen's available
 * area (without task bars) less what the window's frame takes. A dialog appears on its parent's
 * screen.
 */
QSize RoomOnScreen(const QWidget& window);

/**
 * Gives a resizable `window` its first size: `wanted` where it fits the room, else the room.
 * A minimum size beyond the room comes down to the room.
 */
void ResizeOnScreen(QWidget& window, QSize wanted);

/**
 * Keeps `window`, which Qt sizes itself as it shows it, within the room of its screen: as it is
 * shown, its size comes down to the room, and its minimum size, which its layout would raise as
 * its contents change, is set within the room for good.
 */
void KeepOnScreenWhenShown(QWidget& window);

/**
 * Fixes `dialog` at `design`, the size its controls were placed for, when that fits the room.
 * Otherwise its controls go on a page of that size in a scroll area, and the dialog takes the
 * room and may be made larger up to the design. Called again with another design (a dialog
 * whose layout changes), the page or the dialog takes the new size.
 */
void FixSizeOnScreen(QDialog& dialog, QSize design);

/** How a page made by PutOnScrollPage is sized. */
enum class PageSize {
    Fixed,  ///< the page keeps the size it was made with
    Grows,  ///< the page takes the whole scroll area, never less than the size it was made with
};

/**
 * Moves every control of `window` (the widgets it holds, and its layout, if any) onto a page in a
 * scroll area that fills the window, and returns the page; the controls keep their places on it.
 * A window that already has such a page keeps it, and only its size is set. The scroll bars show
 * only while the window is smaller than `size`.
 */
QWidget* PutOnScrollPage(QWidget& window, QSize size, PageSize sizing);

}  // namespace chokusho
