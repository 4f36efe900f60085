#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "BlockData.h"
#include "UndoStack.h"

namespace chokusho {

/** Name of a block that has never been opened or saved. */
inline constexpr const char* kUntitledName = "無題";

/**
 * The program-wide document state: the block being edited, its saved copy, the picker's
 * scratch record, the undo stack, the selections, the data folder and the block name.
 * The program creates one and passes it by reference; every test creates a fresh one.
 */
struct DocumentState {
    BlockData CurData;
    BlockData SavedData;
    BlockData PreviewData;

    UndoStack Undo;
    /** What undo took back, newest at 0, for redo; any new change empties it. */
    UndoStack Redo;

    std::string DataPath;  // folder of block files, ending in the platform's separator
    std::string BlkName;   // block name without folder and extension
    /**
     * The file the block was opened from or last saved to, with its extension, in DataPath:
     * the name's bytes as the file system gave them, so that saving back reaches that very file
     * even when the name is not UTF-8 or its extension is spelled ".CSV". Empty for a new block.
     */
    std::string BlkFile;
    /**
     * The folder of BlkFile, with its trailing separator: where 上書き保存 writes. DataPath
     * moves with every folder the picker visits, even when it is cancelled; this does not.
     */
    std::string BlkFolder;

    std::array<std::int16_t, kMaxPoints + 1> SelPnt{};
    std::int16_t SelPntCount = 0;
    std::array<std::int16_t, kMaxLines + 1> SelLine{};
    std::int16_t SelLineCount = 0;
    /** Empties both selections: after a change that may renumber what they name. */
    void ClearSelections()
    {
        SelPntCount = 0;
        SelLineCount = 0;
    }

    std::array<std::int16_t, 2> NewLine{};

    double MoveDX = 0;
    double MoveDY = 0;
    bool MoveOK = false;

    /** Asks the main window to refresh its enabled states; does nothing until a window attaches. */
    std::function<void()> MenuEnable;
    /** Switches the "Undo" toolbar button; does nothing until a window attaches. */
    std::function<void(bool enabled)> SetUndoEnabled;
    /** Switches the "Redo" toolbar button; does nothing until a window attaches. */
    std::function<void(bool enabled)> SetRedoEnabled;
    /**
     * Told of every change that the history records (an undo snapshot, an undo, a redo), so that
     * the work can be kept for recovery; does nothing until a window attaches.
     */
    std::function<void()> DocumentChanged;

    void notifyMenuEnable() const
    {
        if (MenuEnable)
            MenuEnable();
    }
    void notifyUndoEnabled(bool enabled) const
    {
        if (SetUndoEnabled)
            SetUndoEnabled(enabled);
    }
    void notifyRedoEnabled(bool enabled) const
    {
        if (SetRedoEnabled)
            SetRedoEnabled(enabled);
    }
    void notifyChanged() const
    {
        if (DocumentChanged)
            DocumentChanged();
    }
};

}  // namespace chokusho
