#include "BlockParams.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include "BlockFile.h"
#include "Cp932.h"
#include "Numbers.h"
#include "SectionProperties.h"

namespace chokusho {

namespace {

/** The heading and 50 layers; a record with 51 makes the grids grow by a row. */
constexpr int kLayerGridRows = 51;
constexpr int kNoColumnWidth = 500;
constexpr int kValueColumnWidth = 950;
/** QelGV1 beyond its one column: the scroll bar and the frame; and the gap between the grids. */
constexpr int kVolumeGridMargin = 360;
constexpr int kGridGap = 60;

/** QelGV's width: in mode 0 its centroid X column lies beyond the right edge, out of reach. */
constexpr int kLayerGridWidthPerLayerGx = 3710;
constexpr int kLayerGridWidthCommonGx = 2760;

/** Heights and volumes below this end the layer table. */
constexpr double kLayerMinimum = 0.0001;
/**
 * V and the layer volumes may differ by this much. The comparison allows a relative 1e-9
 * besides, far below anything typed yet above the error of decimal fractions held in binary,
 * so that a difference typed as exactly 0.0001 passes on either side.
 */
constexpr double kVolumeTolerance = 0.0001;

bool VolumesDisagree(double v, double total)
{
    const double slack = 1e-9 * std::max({1.0, std::fabs(v), std::fabs(total)});
    return std::fabs(v - total) > kVolumeTolerance + slack;
}

/** A typed number; `blank` for a box or cell with nothing in it but blanks. */
double ReadNumber(const std::string& typed, double blank)
{
    const std::string text = TypedNumber(typed);
    return text.empty() ? blank : ReadReal(text).value_or(0);
}

/** Names of the boxes as the user finds them: the group's caption and the letter beside the box. */
constexpr const char* kBoxNames[8] = {"名称", "種別", "寸法 B", "寸法 H", "寸法 L", "重心 X", "重心 Y", "体積 V"};
constexpr const char* kLayerColumnNames[4] = {"No.", "高さ(m)", "⊿Ｖ(m3)", "重心X"};

/** A text that holds a number too large for a real; an empty text or one without a number is fine. */
bool Overflows(const std::string& text) { return !ReadTypedReal(text); }

std::string TooLargeMessage(const std::string& field) { return field + " の数値が大きすぎて扱えません。"; }

void TintEverySecondRow(Grid& grid, std::uint32_t bgr)
{
    for (int row = 2; row < kLayerGridRows; row += 2)
        grid.SetRowBackColor(row, bgr);
}

}  // namespace

ParamsLayout LayoutOfMode(int mode) { return mode == 1 ? ParamsLayout{8325, 6950} : ParamsLayout{7375, 6000}; }

BlockParams::BlockParams(DocumentState& state, BlockParamsForm& form) : state_(state), form_(form)
{
    form_.QelGV().RowPositionChanged = [this](int position) { syncRows(form_.QelGV1(), position); };
    form_.QelGV1().RowPositionChanged = [this](int position) { syncRows(form_.QelGV(), position); };
}

BlockParams::~BlockParams()
{
    form_.QelGV().RowPositionChanged = nullptr;
    form_.QelGV1().RowPositionChanged = nullptr;
}

void BlockParams::syncRows(Grid& to, int position)
{
    // The follower's own event must not send the leader back: near the end of the rows the
    // follower may stop short of `position`.
    if (syncing_)
        return;
    syncing_ = true;
    to.SetRowPosition(position);
    syncing_ = false;
}

void BlockParams::Form_Load()
{
    editData_ = state_.CurData;
    ShowParams();
}

void BlockParams::ShowParams()
{
    const BlockData& d = editData_;
    form_.SetText1(0, d.Name);
    form_.SetText1(1, d.Kind);
    const double figures[] = {d.B, d.H, d.L, d.Gx, d.Gy, d.V};
    for (int i = 0; i < 6; ++i)
        form_.SetText1(i + 2, Format000(figures[i]));
    const int mode = CentroidModeOf(d) == CentroidMode::Common ? 0 : 1;
    form_.SelectOption(mode);
    Opt_sgxsw_Click(mode);
}

void BlockParams::ReadParams() { readParamsInto(editData_); }

void BlockParams::readParamsInto(BlockData& d) const
{
    d.Name = form_.Text1(0);
    d.Kind = form_.Text1(1);
    double* figures[] = {&d.B, &d.H, &d.L, &d.Gx, &d.Gy, &d.V};
    for (int i = 0; i < 6; ++i)
        *figures[i] = ReadTypedReal(form_.Text1(i + 2)).value_or(0);
    d.GxMode = form_.SelectedOption() == 0 ? 0 : 1;
}

void BlockParams::FillLayerGrids(int mode)
{
    const BlockData& d = editData_;
    Grid& gv = form_.QelGV();
    gv.SetDrawEnabled(false);
    gv.ClearGrid();
    gv.SetRows(kLayerGridRows);
    gv.SetCols(4);
    gv.SetFixedRowCount(1);
    gv.SetFixedColCount(1);
    gv.SetCellText(0, 0, "No.");
    gv.SetCellText(0, 1, "高さ(m)");
    gv.SetCellText(0, 2, "⊿Ｖ(m3)");
    gv.SetCellText(0, 3, "重心X");
    gv.SetGridStyle(GridStyle::AllCells);
    gv.SetRowHeight(250);
    gv.SetColumnWidth(0, kNoColumnWidth);
    for (int col = 1; col <= 3; ++col)
        gv.SetColumnWidth(col, kValueColumnWidth);
    gv.ConfigureColumn(true, 0);
    gv.SetWidth(mode == 1 ? kLayerGridWidthPerLayerGx : kLayerGridWidthCommonGx);
    gv.SetColumnEditable(3, mode == 1);
    const int layers = std::clamp<int>(d.LayerCount, 0, kMaxLayers);
    for (int i = 0; i < layers; ++i) {
        const auto k = static_cast<std::size_t>(i);
        gv.SetRowText(i + 1, FormatInteger(i + 1) + "\t" + FormatGrid(d.LayerH[k]) + "\t" + FormatGrid(d.LayerDV[k]) +
                                 "\t" + FormatGrid(d.LayerGx[k]));
    }
    TintEverySecondRow(gv, kLayerRowTint);
    gv.SetDrawEnabled(true);

    Grid& gv1 = form_.QelGV1();
    gv1.SetDrawEnabled(false);
    gv1.ClearGrid();
    gv1.SetRows(kLayerGridRows);
    gv1.SetCols(1);
    gv1.SetFixedRowCount(1);
    gv1.SetFixedColCount(0);
    gv1.SetCellText(0, 0, "Ｖ(m3)");
    gv1.SetGridStyle(GridStyle::AllCells);
    gv1.SetRowHeight(250);
    gv1.SetColumnWidth(0, kValueColumnWidth);
    gv1.ConfigureColumn(false, 0);
    // The running volume is worked out from QelGV, never typed.
    gv1.SetColumnEditable(0, false);
    gv1.SetWidth(kValueColumnWidth + kVolumeGridMargin);
    gv1.SetLeft(gv.Left() + gv.Width() + kGridGap);
    for (int i = 0; i < layers; ++i)
        gv1.SetRowText(i + 1, FormatGrid(d.LayerV[i]));
    TintEverySecondRow(gv1, kVolumeRowTint);
    gv1.SetDrawEnabled(true);
}

void BlockParams::ReadLayerGrid()
{
    BlockData& d = editData_;
    Grid& gv = form_.QelGV();
    gv.SetDrawEnabled(false);
    d.LayerCount = 0;
    const int rows = std::min(gv.DataRows(), kMaxLayers);
    for (int row = 1; row <= rows; ++row) {
        const double h = ReadNumber(gv.CellText(row, 1), -1);
        const double dv = ReadNumber(gv.CellText(row, 2), -1);
        const double gx = ReadNumber(gv.CellText(row, 3), 0);
        if (h < kLayerMinimum || dv < kLayerMinimum)
            break;
        const auto k = static_cast<std::size_t>(d.LayerCount);
        d.LayerH[k] = h;
        d.LayerDV[k] = dv;
        d.LayerGx[k] = gx;
        d.LayerV[k] = k == 0 ? dv : d.LayerV[k - 1] + dv;
        ++d.LayerCount;
    }
    gv.SetDrawEnabled(true);
}

bool BlockParams::CheckTyped(bool names)
{
    const auto refuseBox = [this](int index, const std::string& message) {
        form_.ShowError(message);
        form_.SelectText1(index);
        return false;
    };
    if (names) {
        for (int i = 0; i < 2; ++i) {
            const std::string text = form_.Text1(i);
            // The block file separates its values by commas: the name would be cut at the first.
            if (text.find(',') != std::string::npos)
                return refuseBox(i, std::string(kBoxNames[i]) + "に半角のカンマ「,」は使えません。");
            // cp932 has no code for it: the file would hold "?" in its place.
            if (const std::string problem = UnsavableTextProblem(kBoxNames[i], text); !problem.empty())
                return refuseBox(i, problem);
            if (Cp932Width(text) > kMaxNameBytes)
                return refuseBox(i, std::string(kBoxNames[i]) + "が長すぎます（半角" + FormatInteger(kMaxNameBytes) +
                                        "文字まで）。");
        }
    }
    for (int i = 2; i < 8; ++i) {
        if (Overflows(form_.Text1(i)))
            return refuseBox(i, TooLargeMessage(kBoxNames[i]));
    }
    Grid& gv = form_.QelGV();
    const int rows = std::min(gv.DataRows(), kMaxLayers);
    for (int row = 1; row <= rows; ++row) {
        for (int col = 1; col <= 3; ++col) {
            if (!Overflows(gv.CellText(row, col)))
                continue;
            form_.ShowError(TooLargeMessage("No." + FormatInteger(row) + " の " + kLayerColumnNames[col]));
            gv.SelectCell(row, col);
            return false;
        }
        // The rows below the first without height or volume are not read.
        if (ReadNumber(gv.CellText(row, 1), -1) < kLayerMinimum || ReadNumber(gv.CellText(row, 2), -1) < kLayerMinimum)
            break;
    }
    return true;
}

void BlockParams::Opt_sgxsw_Click(int index)
{
    form_.ApplyLayout(LayoutOfMode(index));
    FillLayerGrids(index);
}

void BlockParams::Command1_Click()
{
    if (!CheckTyped(false))
        return;
    ReadParams();
    ReadLayerGrid();
    FillLayerGrids(editData_.GxMode);
}

void BlockParams::Text1_LostFocus(int index)
{
    if (index < 2 || index > 7)
        return;
    const std::string text = form_.Text1(index);
    const std::string shown = ReformatWholeNumber(text);
    if (shown != text)
        form_.SetText1(index, shown);
}

void BlockParams::CmdPara_Click(int index)
{
    if (index != 0) {
        form_.CloseForm(false);
        return;
    }
    if (!CheckTyped(true))
        return;
    ReadParams();
    ReadLayerGrid();
    const BlockData& d = editData_;
    if (d.LayerCount >= 1) {
        const double total = d.LayerV[d.LayerCount - 1];
        if (VolumesDisagree(d.V, total)) {
            form_.ShowError("層別体積表の合計値が違います。\r\n\r\n体積 = " + Format000(d.V) +
                                         "    層別体積合計 = " + Format000(total));
            return;
        }
    }
    // The caller records the undo snapshot and takes EditData.
    form_.CloseForm(true);
}

namespace {

/** What a box or cell holds, in the "0.000" form; empty when it holds nothing. */
std::string EnteredFigure(const std::string& typed)
{
    return TypedNumber(typed).empty() ? std::string() : Format000(ReadNumber(typed, 0));
}

std::string RowName(std::size_t k) { return "No." + FormatInteger(static_cast<int>(k) + 1); }

}  // namespace

struct BlockParams::TypedSection {
    std::vector<double> tops;
    bool proposed = false;
    SectionResult result;
    SectionEntry entry;
};

BlockParams::TypedSection BlockParams::typedSection() const
{
    BlockData d = editData_;
    readParamsInto(d);
    // Rows with a height count although their volume is still to be worked out: their height
    // is what the section is sliced at.
    Grid& gv = form_.QelGV();
    TypedSection section;
    d.LayerCount = 0;
    const int rows = std::min(gv.DataRows(), kMaxLayers);
    for (int row = 1; row <= rows; ++row) {
        const double h = ReadNumber(gv.CellText(row, 1), -1);
        if (h < kLayerMinimum)
            break;
        const auto k = static_cast<std::size_t>(d.LayerCount);
        section.tops.push_back(h);
        d.LayerH[k] = h;
        d.LayerDV[k] = ReadNumber(gv.CellText(row, 2), 0);
        d.LayerGx[k] = ReadNumber(gv.CellText(row, 3), 0);
        ++d.LayerCount;
    }
    if (section.tops.empty()) {
        section.proposed = true;
        section.tops = ProposeLayerTops(d);
    }
    section.result = ComputeSection(d, section.tops);
    section.entry = EntryFigures(section.result);
    return section;
}

SectionPanelContent BlockParams::SectionFigures()
{
    const TypedSection section = typedSection();
    const auto& [tops, proposed, result, entry] = section;

    SectionPanelContent content;
    content.canTake = result.area > 0;
    const auto computed = [&content](std::optional<double> value) {
        return content.canTake && value ? Format000(*value) : std::string();
    };
    // A blank box or cell is no figure to differ from.
    const auto add = [&content](std::string label, std::string entered, std::string figure, bool differs) {
        const bool shownApart = differs && !entered.empty() && !figure.empty();
        content.figures.push_back({std::move(label), std::move(entered), std::move(figure), shownApart});
    };
    add("断面積 A (m2)", "", computed(result.area), false);
    add("体積 Ｖ (m3)", EnteredFigure(form_.Text1(7)), computed(entry.V), result.volumeDiffers);
    add("重心 X (m)", EnteredFigure(form_.Text1(5)), computed(entry.Gx), result.centroidXDiffers);
    add("重心 Y (m)", EnteredFigure(form_.Text1(6)), computed(entry.Gy), result.centroidYDiffers);
    Grid& gv = form_.QelGV();
    for (std::size_t k = 0; k < tops.size() && k < result.layers.size(); ++k) {
        const int row = static_cast<int>(k) + 1;
        const SectionLayer& layer = result.layers[k];
        const std::optional<double> dv = k < entry.layerDV.size() ? std::optional(entry.layerDV[k]) : std::nullopt;
        add(RowName(k) + " ⊿Ｖ", proposed ? "" : EnteredFigure(gv.CellText(row, 2)), computed(dv), layer.volumeDiffers);
        add(RowName(k) + " 重心X", proposed ? "" : EnteredFigure(gv.CellText(row, 3)), computed(entry.layerGx[k]),
            layer.centroidDiffers);
    }
    for (const SectionProblem& problem : result.problems)
        content.problems.push_back(problem.text);
    if (proposed && content.canTake && entry.V && !tops.empty())
        content.problems.push_back(
            "層別体積表が空なので、提案する層の高さで計算しています。「計算値を入れる」でその行を作ります。");
    return content;
}

void BlockParams::TakeSectionFigures()
{
    const TypedSection section = typedSection();
    const auto& [tops, proposed, result, entry] = section;
    if (!(result.area > 0))
        return;
    form_.SetText1(5, Format000(entry.Gx));
    form_.SetText1(6, Format000(entry.Gy));
    if (entry.V)
        form_.SetText1(7, Format000(*entry.V));
    // Without Ｌ there are no volumes, and rows without one would end the table on 登  録.
    if (proposed && !entry.V)
        return;

    Grid& gv = form_.QelGV();
    Grid& gv1 = form_.QelGV1();
    gv.SetDrawEnabled(false);
    gv1.SetDrawEnabled(false);
    double running = 0;
    for (std::size_t k = 0; k < tops.size() && k < entry.layerGx.size(); ++k) {
        const int row = static_cast<int>(k) + 1;
        if (proposed) {
            gv.SetCellText(row, 0, FormatInteger(row));
            gv.SetCellText(row, 1, FormatGrid(tops[k]));
        }
        if (entry.V) {
            gv.SetCellText(row, 2, FormatGrid(entry.layerDV[k]));
            running = std::round((running + entry.layerDV[k]) * 1000.0) / 1000.0;
            gv1.SetCellText(row, 0, FormatGrid(running));
        }
        gv.SetCellText(row, 3, FormatGrid(entry.layerGx[k]));
    }
    gv.SetDrawEnabled(true);
    gv1.SetDrawEnabled(true);
}

void BlockParams::CmdSection_Click()
{
    // As 累計体積再計算: a figure too large to read is named before anything is computed.
    if (!CheckTyped(false))
        return;
    if (form_.ShowSectionPanel(SectionFigures()))
        TakeSectionFigures();
}

}  // namespace chokusho
