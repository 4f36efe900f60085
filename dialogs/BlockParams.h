#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "BlockData.h"
#include "DocumentState.h"
#include "Grid.h"
#include "Numbers.h"

namespace chokusho {

inline constexpr const char* kBlockParamsCaption = "ブロック諸元";

/** Colours of every second data row (0xBBGGRR): pale yellow in QelGV, pale cyan in QelGV1. */
inline constexpr std::uint32_t kLayerRowTint = 0xD0FFFF;
inline constexpr std::uint32_t kVolumeRowTint = 0xFFFFD0;

/** What changes with the centroid option: the dialog's width and the two buttons' left edge. */
struct ParamsLayout {
    int formWidth;   // twips
    int buttonLeft;  // twips
};

/** Mode 1 (a centroid X per layer) shows QelGV's third value column and needs more room. */
ParamsLayout LayoutOfMode(int mode);

/** One line of the section panel: a figure as the dialog holds it beside the section's. */
struct SectionFigureRow {
    std::string label;     // "体積 Ｖ (m3)", "No.2 ⊿Ｖ", …
    std::string entered;   // in the "0.000" form; empty when its box or cell is blank, or it has none
    std::string computed;  // in the "0.000" form; empty when the section gives none (no Ｌ: no volumes)
    bool differs = false;  // entered and computed differ by more than the notices allow
};

/** What 断面から計算 shows: the figures side by side and the problems in words. */
struct SectionPanelContent {
    std::vector<SectionFigureRow> figures;
    std::vector<std::string> problems;
    /** Whether the section has an area, so that 計算値を入れる has figures to put in. */
    bool canTake = false;
};

/** The controls of FrmEditInf as the logic sees them; the widget layer implements it. */
class BlockParamsForm {
public:
    virtual ~BlockParamsForm() = default;

    virtual Grid& QelGV() = 0;
    virtual Grid& QelGV1() = 0;
    /** Text1(0) name, (1) kind, (2..7) B, H, L, Gx, Gy, V. */
    virtual std::string Text1(int index) const = 0;
    virtual void SetText1(int index, const std::string& text) = 0;
    /** The checked option of Opt_sgxsw: 0 or 1. */
    virtual int SelectedOption() const = 0;
    /** Checks option `index` without raising its click: the logic does what the click does. */
    virtual void SelectOption(int index) = 0;
    virtual void ApplyLayout(const ParamsLayout& layout) = 0;
    /** An error box under "Error": OK only, no icon, the text aligned right; "\r\n" separates lines. */
    virtual void ShowError(const std::string& text) = 0;
    /** Puts the keyboard focus in Text1(index) with its whole text selected, for the user to correct. */
    virtual void SelectText1(int index) = 0;
    /** Closes the dialog; `confirmed` after 登  録. */
    virtual void CloseForm(bool confirmed) = 0;
    /** Shows the section panel over the dialog until it is closed; true when 計算値を入れる closed it. */
    virtual bool ShowSectionPanel(const SectionPanelContent& content) = 0;
};

/**
 * The block parameters FrmEditInf, without its widgets: name, kind, dimensions, centroid and
 * volume in text boxes, the layer table in QelGV (height, ⊿V, centroid X) with the running
 * volume beside it in QelGV1. The dialog edits a copy (EditData) and replaces CurData only on
 * confirmation, after the layer volumes were found to add up to V.
 *
 *   load                    Form_Load()
 *   Opt_sgxsw(i) clicked    Opt_sgxsw_Click(i)
 *   累計体積再計算          Command1_Click()
 *   Text1(i) left           Text1_LostFocus(i)
 *   登  録 / ｷｬﾝｾﾙ          CmdPara_Click(0) / CmdPara_Click(1)
 *   断面から計算            CmdSection_Click()
 *
 * The two grids scroll together: the logic joins their RowPositionChanged events.
 */
class BlockParams {
public:
    BlockParams(DocumentState& state, BlockParamsForm& form);
    ~BlockParams();
    BlockParams(const BlockParams&) = delete;
    BlockParams& operator=(const BlockParams&) = delete;

    void Form_Load();
    void Opt_sgxsw_Click(int index);
    void Command1_Click();
    void Text1_LostFocus(int index);
    void CmdPara_Click(int index);
    /**
     * 断面から計算: the section of the block as the boxes and rows hold it now, shown beside
     * them; when the user takes the computed figures, they go into the boxes and rows (the
     * heights stay; an empty table gets the proposed rows), to be confirmed with 登  録.
     */
    void CmdSection_Click();

    /**
     * The section panel's content for what the boxes and rows hold now: Ｖ, Gx, Gy and each
     * row's ⊿Ｖ and centroid X, entered beside computed, for the rows with a height up to the
     * first without (an empty table: the proposed rows), and the problems in words.
     */
    SectionPanelContent SectionFigures();
    /** Puts the section's figures into the boxes and rows as CmdSection_Click does on taking them. */
    void TakeSectionFigures();
    /** Writes EditData into the text boxes, then selects its centroid option as a click would. */
    void ShowParams();
    /** Reads the text boxes and the option into EditData. */
    void ReadParams();
    /** Fills QelGV and QelGV1 from EditData's layers; `mode` 1 opens the centroid X column. */
    void FillLayerGrids(int mode);
    /** Reads QelGV's rows into EditData's layers up to the first without height or volume. */
    void ReadLayerGrid();
    /**
     * Whether what is typed can be stored: numbers a real can hold in the boxes and in the rows
     * ReadLayerGrid reads, and, with `names`, a name and kind the block file can hold (no
     * half-width comma, no character cp932 has no code for, at most kMaxNameBytes bytes). The
     * first problem is shown and its box or cell selected; false then, and nothing is to be read.
     */
    bool CheckTyped(bool names);

    const BlockData& EditData() const { return editData_; }

private:
    void syncRows(Grid& to, int position);
    void readParamsInto(BlockData& d) const;
    struct TypedSection;
    /**
     * The section of the record as the boxes and the rows with a height (up to the first
     * without) hold it, sliced at those heights or, for an empty table, at the proposed ones.
     */
    TypedSection typedSection() const;

    DocumentState& state_;
    BlockParamsForm& form_;
    BlockData editData_;
    bool syncing_ = false;
};

}  // namespace chokusho
