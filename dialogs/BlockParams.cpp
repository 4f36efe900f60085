#include "BlockParams.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "BlockFile.h"
#include "Cp932.h"
#include "Numbers.h"

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

void BlockParams::ReadParams()
{
    BlockData& d = editData_;
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

}  // namespace chokusho
