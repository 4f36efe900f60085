#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "BlockData.h"
#include "DocumentState.h"

namespace chokusho {

/**
 * The block shape picker FrmBlkShoSel, without its widgets: through it a block file is opened.
 * The user browses folders, sees every block file of the current folder as one line of its main
 * figures, sees the selected block's section in a small preview (PickerPreview.h) and chooses one.
 *
 * The widget layer owns the folder tree, the list box, the preview and the buttons, and forwards
 * their events here:
 *
 *   load          Load(), after the tree has selected DataPath's drive and folder (or the
 *                 program's folder, when DataPath cannot be shown)
 *   folder chosen DirChange(path)
 *   row clicked   ListClick(row)
 *   選   択       Select(); close with acceptance only when it returns true
 *   取   消       Cancel(); close
 *
 * After Load and DirChange it refills the list from Lines(), sets the current row to
 * SelectedIndex(), shows Label3() and repaints the preview; after a ListClick that returns true
 * it shows Label3() and repaints the preview. BlkNm() is the result once the dialog has closed.
 */

inline constexpr const char* kPickerCaption = "直立消波ブロック - 形状選択";
inline constexpr const char* kPickerSelectCaption = "選   択";
inline constexpr const char* kPickerCancelCaption = "取   消";

/** Label1, the heading over the list: its columns line up with BlockListLine's, 87 cp932 bytes. */
inline constexpr const char* kPickerHeading =
    " 名  称               種 別                Ｂ      Ｈ      Ｌ        Ｖ      Gx      Gy";

/**
 * `text` followed by blanks up to `width` cp932 bytes, the unit in which the list's columns
 * line up in its fixed-pitch font. Longer text is kept whole: a cut could split a character.
 */
std::string PadText(std::string_view text, std::size_t width);

/** `value` in the "0.000" format, blanks in front up to `width`; longer text is kept whole. */
std::string PadNumber(double value, std::size_t width);

/**
 * The list line of a block: name, kind, Ｂ, Ｈ, Ｌ, Ｖ, Gx, Gy under kPickerHeading's columns.
 * Characters whose width on screen the cp932 count cannot tell (bytes that did not decode,
 * control and private-use characters) show as "?", so that every line's columns stay in line.
 */
std::string BlockListLine(const BlockData& record);

/** The block files of one folder, in the order a Windows user sees them: line n describes file n. */
struct BlockFileList {
    std::vector<std::string> FileNames;  // base names: the file name without ".csv"
    std::vector<std::string> Files;      // the file names as on disk, extension included
    std::vector<std::string> Lines;      // BlockListLine of each file
    /** "name.csv: reason" for each block file left out for a reason other than its content. */
    std::vector<std::string> Problems;
};

/**
 * Lists every block file of the folder `dataPath`: each regular file whose name ends in ".csv"
 * in any letter case, ordered as Windows orders names (NaturalLess), read into `scratch` (the
 * document's PreviewData). Files whose content is no block file are left out without a word, and
 * so are names with an empty base; files that cannot be read, or whose name or kind is too long,
 * are left out with a line in Problems. A folder that is missing or cannot be read gives an empty
 * list; nothing is thrown.
 */
BlockFileList FillFileList(const std::string& dataPath, BlockData& scratch);

class BlockPicker {
public:
    /** The picker works on the document's DataPath, which a folder change moves for good. */
    explicit BlockPicker(DocumentState& state) : state_(state) {}

    /** Empties Label3 and lists the document's current DataPath. */
    void Load();

    /**
     * Moves the document's DataPath to `path` (with the platform's separator appended unless it
     * ends in one; an empty path stays empty) and lists it; the move stays even if the picker is
     * then cancelled.
     */
    void DirChange(const std::string& path);

    /**
     * Selects line `index` and reads its file into ShownData. On success Label3 becomes its name
     * and true is returned: the preview is to be repainted. When the file no longer reads, the
     * line stays selected and ShownData and Label3 keep what they held. An index outside the list
     * changes nothing.
     */
    bool ListClick(int index);

    /** Chooses the selected line's file as BlkNm and FileName; false, and nothing happens, with no line selected. */
    bool Select();

    /** Leaves BlkNm empty: nothing was chosen. */
    void Cancel()
    {
        blkNm_.clear();
        fileName_.clear();
    }

    const std::string& DataPath() const { return state_.DataPath; }
    const std::vector<std::string>& FileNames() const { return list_.FileNames; }
    const std::vector<std::string>& Files() const { return list_.Files; }
    const std::vector<std::string>& Lines() const { return list_.Lines; }
    /** The selected line, -1 when none is. */
    int SelectedIndex() const { return selected_; }
    /**
     * What the user should know of the folder's files: the first block file that is not listed,
     * or the file last clicked that no longer reads, and why; empty when there is nothing to tell.
     */
    const std::string& Status() const { return status_; }
    const std::vector<std::string>& Problems() const { return list_.Problems; }
    /** The base name of the block shown in the preview, as shown (DisplayFileName); empty while none is. */
    const std::string& Label3() const { return label3_; }
    /** The block drawn in the preview; an empty record while none is. */
    const BlockData& ShownData() const { return shownData_; }
    /** The chosen block's base name; empty until Select, and after Cancel. */
    const std::string& BlkNm() const { return blkNm_; }
    /** The chosen block's file name with its extension, exactly as listed; empty with BlkNm. */
    const std::string& FileName() const { return fileName_; }

private:
    /** Lists DataPath afresh and selects its first line, as a click would. */
    void Refill();
    /** The status of the folder as listed: its first problem, and how many more there are. */
    std::string FolderStatus() const;

    DocumentState& state_;
    BlockFileList list_;
    int selected_ = -1;
    std::string label3_;
    std::string status_;
    BlockData shownData_;
    std::string blkNm_;
    std::string fileName_;
};

}  // namespace chokusho
