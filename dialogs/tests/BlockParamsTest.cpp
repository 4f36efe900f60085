#include "BlockParams.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "BlockFile.h"
#include "FakeGrid.h"
#include "Numbers.h"
#include "TestBlocks.h"

namespace chokusho {
namespace {

using test::FakeGrid;
using test::SampleBlock;
using Lines = std::vector<std::string>;

class FakeForm : public BlockParamsForm {
public:
    FakeForm() { gv.SetLeft(2940); }

    Grid& QelGV() override { return gv; }
    Grid& QelGV1() override { return gv1; }
    std::string Text1(int index) const override { return texts.at(static_cast<std::size_t>(index)); }
    void SetText1(int index, const std::string& text) override { texts.at(static_cast<std::size_t>(index)) = text; }
    int SelectedOption() const override { return option; }
    void SelectOption(int index) override { option = index; }
    void ApplyLayout(const ParamsLayout& layout) override { layouts.push_back(layout); }
    void ShowError(const std::string& text) override { errors.push_back("Error|" + text); }
    void SelectText1(int index) override { selectedBox = index; }
    void CloseForm(bool confirmed) override { closed = confirmed; }
    bool ShowSectionPanel(const SectionPanelContent& content) override
    {
        panels.push_back(content);
        return takeFigures;
    }

    FakeGrid gv, gv1;
    std::array<std::string, 8> texts;
    int option = -1;
    std::vector<ParamsLayout> layouts;
    Lines errors;
    int selectedBox = -1;
    std::optional<bool> closed;
    std::vector<SectionPanelContent> panels;
    bool takeFigures = false;
};

class BlockParamsTest : public ::testing::Test {
protected:
    void Load(const BlockData& data)
    {
        state.CurData = data;
        logic.Form_Load();
    }
    /** Replaces QelGV's rows with `rows` (tab-separated from column 0). */
    void TypeLayers(const Lines& rows)
    {
        for (int row = 1; row <= form.gv.DataRows(); ++row)
            form.gv.SetRowText(row, "\t\t\t");
        for (std::size_t i = 0; i < rows.size(); ++i)
            form.gv.SetRowText(static_cast<int>(i) + 1, rows[i]);
    }

    DocumentState state;
    FakeForm form;
    BlockParams logic{state, form};
};

TEST_F(BlockParamsTest, LoadShowsTheRecordInEitherCentroidMode)
{
    struct Case {
        const char* what;
        std::int16_t mode;
        int gvWidth, formWidth, buttonLeft;
        bool gxEditable;
    };
    // clang-format off
    const Case cases[] = {
        {"a centroid X per layer", 1, 3710, 8325, 6950, true},
        {"one centroid X",         0, 2760, 7375, 6000, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BlockData data = SampleBlock();
        data.GxMode = c.mode;
        Load(data);
        EXPECT_EQ(form.texts, (std::array<std::string, 8>{"消波A", "2.0t型", "4.000", "3.000", "2.000", "2.000",
                                                          "1.500", "10.000"}));
        EXPECT_EQ(form.option, c.mode);
        ASSERT_FALSE(form.layouts.empty());
        EXPECT_EQ(form.layouts.back().formWidth, c.formWidth);
        EXPECT_EQ(form.layouts.back().buttonLeft, c.buttonLeft);

        FakeGrid& gv = form.gv;
        EXPECT_EQ(gv.Rows(), 51);
        EXPECT_EQ(gv.Cols(), 4);
        EXPECT_EQ(gv.fixedCols, 1);
        EXPECT_EQ(gv.CellText(0, 0) + "|" + gv.CellText(0, 1) + "|" + gv.CellText(0, 2) + "|" + gv.CellText(0, 3),
                  "No.|高さ(m)|⊿Ｖ(m3)|重心X");
        EXPECT_EQ(gv.ColumnWidth(0) + gv.ColumnWidth(1) + gv.ColumnWidth(2) + gv.ColumnWidth(3), 500 + 3 * 950);
        EXPECT_EQ(gv.Width(), c.gvWidth);
        EXPECT_EQ(gv.editableColumns.at(3), c.gxEditable);
        EXPECT_EQ(gv.DataLines(), (Lines{"1\t1.500\t4.000\t1.900", "2\t1.500\t6.000\t2.100"}));

        FakeGrid& gv1 = form.gv1;
        EXPECT_EQ(gv1.Rows(), 51);
        EXPECT_EQ(gv1.Cols(), 1);
        EXPECT_EQ(gv1.fixedCols, 0);
        EXPECT_EQ(gv1.CellText(0, 0), "Ｖ(m3)");
        EXPECT_EQ(gv1.ColumnWidth(0), 950);
        EXPECT_FALSE(gv1.labelColumns.at(0));
        EXPECT_EQ(gv1.Width(), 1310);
        EXPECT_EQ(gv1.Left(), 2940 + c.gvWidth + 60);
        EXPECT_EQ(gv1.DataLines(), (Lines{"4.000", "10.000"}));

        for (int row = 1; row <= 50; ++row) {
            EXPECT_EQ(gv.rowColors.count(row), row % 2 == 0 ? 1u : 0u) << row;
            EXPECT_EQ(gv1.rowColors.count(row), row % 2 == 0 ? 1u : 0u) << row;
        }
        EXPECT_EQ(gv.rowColors.at(50), 0xD0FFFFu);
        EXPECT_EQ(gv1.rowColors.at(2), 0xFFFFD0u);
        EXPECT_TRUE(gv.drawing && gv1.drawing);
        EXPECT_FALSE(gv.writtenWhileDrawing || gv1.writtenWhileDrawing);
    }
}

TEST_F(BlockParamsTest, LayerTableEndsAtTheFirstRowWithoutHeightOrVolume)
{
    struct Case {
        const char* what;
        Lines rows;
        Lines layers;  // H DV Gx V
    };
    // clang-format off
    const Case cases[] = {
        {"running sums", {"1\t1\t2\t0.5", "2\t0.5\t3.25\t", "3\t2\t0.0001\t1"},
         {"1.000 2.000 0.500 2.000", "0.500 3.250 0.000 5.250", "2.000 0.000 1.000 5.250"}},
        {"empty height", {"1\t1\t2\t0", "2\t\t3\t0", "3\t1\t1\t0"}, {"1.000 2.000 0.000 2.000"}},
        {"empty volume", {"1\t1\t\t0", "2\t1\t1\t0"}, {}},
        {"height below 0.0001", {"1\t0.00009\t1\t0"}, {}},
        {"volume below 0.0001", {"1\t1\t0.00009\t0"}, {}},
        {"a negative height", {"1\t-1\t1\t0"}, {}},
        {"text reads 0", {"1\tabc\t1\t0"}, {}},
        {"height of exactly 0.0001 counts", {"1\t0.0001\t1\t0"}, {"0.000 1.000 0.000 1.000"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        Load(SampleBlock());
        TypeLayers(c.rows);
        logic.ReadLayerGrid();
        const BlockData& d = logic.EditData();
        Lines layers;
        for (std::size_t k = 0; k < static_cast<std::size_t>(d.LayerCount); ++k)
            layers.push_back(FormatGrid(d.LayerH[k]) + " " + FormatGrid(d.LayerDV[k]) + " " + FormatGrid(d.LayerGx[k]) +
                             " " + FormatGrid(d.LayerV[k]));
        EXPECT_EQ(layers, c.layers) << c.what;
    }
}

TEST_F(BlockParamsTest, OptionRefillsFromTheRecordAsLastReadAndRecalculationReadsEverything)
{
    Load(SampleBlock());
    form.gv.SetCellText(1, 1, "9");
    logic.Opt_sgxsw_Click(0);
    EXPECT_EQ(form.gv.CellText(1, 1), "1.500") << "typed values give way to the record";
    EXPECT_EQ(form.gv.Width(), 2760);
    EXPECT_EQ(form.layouts.back().formWidth, 7375);

    form.option = 0;
    form.texts[2] = "7";
    TypeLayers({"1\t1\t2\t0.5", "2\t1\t3\t0.5"});
    logic.Command1_Click();
    EXPECT_EQ(logic.EditData().B, 7);
    EXPECT_EQ(logic.EditData().GxMode, 0);
    EXPECT_EQ(form.gv1.DataLines(), (Lines{"2.000", "5.000"}));
    EXPECT_EQ(form.gv.Width(), 2760);
    EXPECT_EQ(form.texts[2], "7") << "the boxes are left as typed";

    form.gv.SetCellText(2, 2, "100");
    logic.Opt_sgxsw_Click(1);
    EXPECT_EQ(form.gv.DataLines(), (Lines{"1\t1.000\t2.000\t0.500", "2\t1.000\t3.000\t0.500"}));
    EXPECT_EQ(form.gv.editableColumns.at(3), true);
    EXPECT_TRUE(state.Undo.UndoCount() == 0 && state.CurData == SampleBlock()) << "nothing is confirmed yet";
}

TEST_F(BlockParamsTest, ConfirmationChecksTheLayerVolumesAgainstV)
{
    struct Case {
        const char* what;
        const char* v;
        Lines rows;
        bool accepted;
        int layers;
    };
    // clang-format off
    const Case cases[] = {
        {"the sum 0.0001 above V",              "10", {"1\t1\t4\t0", "2\t1\t6.0001\t0"}, true, 2},
        {"the sum 0.0001 below V",              "10", {"1\t1\t4\t0", "2\t1\t5.9999\t0"}, true, 2},
        {"V 0.0001 above the sum",              "10.0001", {"1\t1\t10\t0"}, true, 1},
        {"V 0.0001 below the sum",              "9.9999", {"1\t1\t10\t0"}, true, 1},
        {"the sum just over 0.0001 above V",    "10", {"1\t1\t4\t0", "2\t1\t6.00011\t0"}, false, 0},
        {"the sum just over 0.0001 below V",    "10", {"1\t1\t4\t0", "2\t1\t5.99989\t0"}, false, 0},
        {"the sum 0.1 short of V",              "1000", {"1\t1\t999.9\t0"}, false, 0},
        {"an empty layer table is not checked", "123", {}, true, 0},
        {"a first row without height: no table", "123", {"1\t0\t5\t0"}, true, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        state.Undo.clear();
        Load(SampleBlock());
        form.closed.reset();
        const std::size_t errorsBefore = form.errors.size();
        form.texts[7] = c.v;
        TypeLayers(c.rows);
        logic.CmdPara_Click(0);
        EXPECT_EQ(form.closed.has_value(), c.accepted);
        EXPECT_EQ(form.errors.size() == errorsBefore, c.accepted);
        // The dialog only answers; the command that showed it records the snapshot and takes EditData.
        EXPECT_EQ(state.Undo.UndoCount(), 0);
        EXPECT_EQ(state.CurData, SampleBlock());
        if (c.accepted) {
            EXPECT_TRUE(*form.closed);
            EXPECT_EQ(logic.EditData().LayerCount, c.layers);
        }
    }
    ASSERT_EQ(form.errors.size(), 3u);
    EXPECT_EQ(form.errors.back(),
              "Error|層別体積表の合計値が違います。\r\n\r\n体積 = 1000.000    層別体積合計 = 999.900");
}

TEST_F(BlockParamsTest, ConfirmationKeepsFiftyOneLayersAndEveryBox)
{
    BlockData data = SampleBlock();
    data.LayerCount = kMaxLayers;
    for (std::size_t k = 0; k < kMaxLayers; ++k) {
        data.LayerH[k] = 0.5;
        data.LayerDV[k] = static_cast<double>(k + 1);
        data.LayerGx[k] = 0.25;
        data.LayerV[k] = static_cast<double>((k + 1) * (k + 2)) / 2.0;
    }
    data.V = data.LayerV[kMaxLayers - 1];
    Load(data);
    EXPECT_EQ(form.gv.DataRows(), 51);
    EXPECT_EQ(form.gv1.DataRows(), 51);
    EXPECT_EQ(form.gv.CellText(51, 2), "51.000");

    form.texts = {"新名", "新種", "1", "2", "3", "4.5x", "abc", Format000(data.V)};
    form.option = 0;
    logic.CmdPara_Click(0);
    ASSERT_TRUE(form.closed.value_or(false));
    const BlockData& d = logic.EditData();
    EXPECT_EQ(d.LayerCount, 51);
    EXPECT_EQ(d.LayerDV[50], 51);
    EXPECT_EQ(d.LayerV[50], 1326);
    EXPECT_EQ(d.Name, "新名");
    EXPECT_EQ(d.Kind, "新種");
    EXPECT_EQ(std::vector<double>({d.B, d.H, d.L, d.Gx, d.Gy}), std::vector<double>({1, 2, 3, 4.5, 0}));
    EXPECT_EQ(d.GxMode, 0);
    EXPECT_EQ(test::PointsOf(d), test::PointsOf(data)) << "the points come along untouched";
}

TEST_F(BlockParamsTest, WhatTheFileCannotHoldIsRefusedAndSelected)
{
    struct Case {
        const char* what;
        int box;  // the box typed into, -1 for none
        std::string text;
        std::pair<int, int> layerCell;  // the layer cell typed into, (0, 0) for none
        std::string cellText;
        std::string error;  // "" when accepted
        bool alsoOnRecalculation;
    };
    const std::string longest(kMaxNameBytes, 'n');
    std::string fullWidth;
    for (std::size_t i = 0; i < kMaxNameBytes / 2; ++i)
        fullWidth += "名";
    // clang-format off
    const Case cases[] = {
        {"a comma in the name", 0, "北側,ケーソンA", {}, "", "Error|名称に半角のカンマ「,」は使えません。", false},
        {"a comma in the kind", 1, "A,B", {}, "", "Error|種別に半角のカンマ「,」は使えません。", false},
        {"a character cp932 lacks", 0, "𠮷野家𠮷", {}, "", "Error|名称に保存できない文字「𠮷」があります。", false},
        {"characters cp932 writes as others", 1, "〜−", {}, "", "", false},
        {"a full-width comma is text", 0, "北側，ケーソンA", {}, "", "", false},
        {"a name of 1000 bytes", 0, longest, {}, "", "", false},
        {"a name of 1001 bytes", 0, longest + "n", {}, "", "Error|名称が長すぎます（半角1000文字まで）。", false},
        {"500 full-width characters", 1, fullWidth, {}, "", "", false},
        {"501 full-width characters", 1, fullWidth + "名", {}, "", "Error|種別が長すぎます（半角1000文字まで）。", false},
        {"B too large for a real", 2, "1e400", {}, "", "Error|寸法 B の数値が大きすぎて扱えません。", true},
        {"V too large, led by a number", 7, "-1e400m3", {}, "", "Error|体積 V の数値が大きすぎて扱えません。", true},
        {"letters keep reading as 0", 6, "abc", {}, "", "", false},
        {"a full-width number too large", 3, "１Ｅ４００", {}, "", "Error|寸法 H の数値が大きすぎて扱えません。", true},
        {"a height too large", -1, "", {2, 1}, "1e999", "Error|No.2 の 高さ(m) の数値が大きすぎて扱えません。", true},
        {"a centroid X too large", -1, "", {1, 3}, "2e308", "Error|No.1 の 重心X の数値が大きすぎて扱えません。", true},
        {"below the table's end nothing is read", -1, "", {4, 2}, "1e999", "", false},
    };
    // clang-format on
    for (const Case& c : cases) {
        Load(SampleBlock());
        form.closed.reset();
        form.errors.clear();
        form.selectedBox = -1;
        form.gv.selectedCell = {-1, -1};
        form.texts[7] = "10";
        if (c.box >= 0)
            form.texts.at(static_cast<std::size_t>(c.box)) = c.text;
        if (c.layerCell.first > 0)
            form.gv.SetCellText(c.layerCell.first, c.layerCell.second, c.cellText);
        const std::string typedCell = form.gv.CellText(2, 1);

        logic.Command1_Click();
        EXPECT_EQ(form.errors.size(), c.alsoOnRecalculation ? 1u : 0u) << c.what << ": 累計体積再計算";
        if (c.alsoOnRecalculation) {
            EXPECT_EQ(form.gv.CellText(2, 1), typedCell) << c.what << ": the grid keeps what was typed";
        }
        form.errors.clear();

        logic.CmdPara_Click(0);
        if (c.error.empty()) {
            EXPECT_TRUE(form.errors.empty()) << c.what << ": " << form.errors.front();
            EXPECT_TRUE(form.closed.value_or(false)) << c.what;
            continue;
        }
        EXPECT_EQ(form.errors, Lines{c.error}) << c.what;
        EXPECT_FALSE(form.closed.has_value()) << c.what << ": the dialog stays open";
        if (c.box >= 0) {
            EXPECT_EQ(form.selectedBox, c.box) << c.what;
        } else {
            EXPECT_EQ(form.gv.selectedCell, c.layerCell) << c.what;
        }
        EXPECT_EQ(state.CurData, SampleBlock()) << c.what;
    }
}

TEST_F(BlockParamsTest, CancelChangesNothing)
{
    Load(SampleBlock());
    form.texts[0] = "changed";
    logic.CmdPara_Click(1);
    EXPECT_EQ(form.closed, std::optional<bool>(false));
    EXPECT_EQ(state.CurData, SampleBlock());
    EXPECT_EQ(state.Undo.UndoCount(), 0);
}

TEST_F(BlockParamsTest, FiguresAreReformattedOnLeavingOnlyWhenNumericAsAWhole)
{
    // clang-format off
    const struct {
        const char* what;
        const char* typed;
        const char* shown;
    } cases[] = {
        {"a decimal",                       "1.5", "1.500"},
        {"blanks around a negative",        " -2 ", "-2.000"},
        {"a sign and no digit before the point", "+.5", "0.500"},
        {"no digit after the point",        "5.", "5.000"},
        {"an exponent",                     "1e2", "100.000"},
        {"four decimals rounded",           "1.2345", "1.235"},
        {"empty",                           "", ""},
        {"letters",                         "abc", "abc"},
        {"letters after a number",          "12abc", "12abc"},
        {"two points",                      "1.2.3", "1.2.3"},
        {"a blank between digits",          "1 2", "1 2"},
        {"a sign alone",                    "-", "-"},
        {"a point alone",                   ".", "."},
        {"an exponent's letter alone",      "1e", "1e"},
        {"too large for a real",            "1e999", "1e999"},
        {"full-width digits",               "１２", "12.000"},
        {"an input method's minus and point", "－１．２", "-1.200"},
    };
    // clang-format on
    Load(SampleBlock());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        form.texts[4] = c.typed;
        form.texts[1] = c.typed;
        logic.Text1_LostFocus(4);
        logic.Text1_LostFocus(1);
        EXPECT_EQ(form.texts[4], c.shown);
        EXPECT_EQ(form.texts[1], c.typed) << "the kind is text";
    }
}

TEST_F(BlockParamsTest, TheTwoGridsScrollTogether)
{
    Load(SampleBlock());
    form.gv.SetRowPosition(7);
    EXPECT_EQ(form.gv1.RowPosition(), 7);
    form.gv1.SetRowPosition(3);
    EXPECT_EQ(form.gv.RowPosition(), 3);

    form.gv1.maxRowPosition = 10;
    form.gv.SetRowPosition(12);
    EXPECT_EQ(form.gv1.RowPosition(), 10);
    EXPECT_EQ(form.gv.RowPosition(), 12) << "a follower that stops short does not pull the leader back";
}

/**
 * A 4 × 3 m rectangle 2 m long (A 12 m², Ｖ 24 m³, centroid (2, 1.5)) with a dotted diagonal,
 * which bounds nothing; its layers' tops at 1 and 3 m slice 8 and 16 m³.
 */
BlockData Rectangle4x3()
{
    return test::BlockBuilder()
        .named("矩形", "試験")
        .size(4, 3, 2, 24)
        .centroid(2, 1.5)
        .centroidPerLayer()
        .layer(1, 8, 2)
        .layer(3, 16, 2)
        .rectangle(4, 3)
        .segment(1, 3, kDottedLine);
}

/** The panel's lines as "label|entered|computed", a "!" after those shown apart. */
Lines PanelLines(const SectionPanelContent& content)
{
    Lines lines;
    for (const SectionFigureRow& row : content.figures)
        lines.push_back(row.label + "|" + row.entered + "|" + row.computed + (row.differs ? "!" : ""));
    return lines;
}

TEST_F(BlockParamsTest, SectionPanelShowsTheBoxesAndRowsAsTheyStandBesideTheSection)
{
    Load(Rectangle4x3());
    // What is typed counts, not the record: a Ｖ off by more than 1 %, a centroid within 1 cm, a
    // row's ⊿Ｖ and centroid off, and a third row with a height but no volume yet.
    form.texts[7] = "25";
    form.texts[6] = "1.505";
    TypeLayers({"1\t1\t8.5\t2", "2\t2.5\t12\t2.2", "3\t3\t\t"});
    logic.CmdSection_Click();
    ASSERT_EQ(form.panels.size(), 1u);
    const SectionPanelContent& panel = form.panels[0];
    EXPECT_TRUE(panel.canTake);
    EXPECT_EQ(PanelLines(panel), (Lines{
                                     "断面積 A (m2)||12.000",
                                     "体積 Ｖ (m3)|25.000|24.000!",
                                     "重心 X (m)|2.000|2.000",
                                     "重心 Y (m)|1.505|1.500",
                                     "No.1 ⊿Ｖ|8.500|8.000!",
                                     "No.1 重心X|2.000|2.000",
                                     "No.2 ⊿Ｖ|12.000|12.000",
                                     "No.2 重心X|2.200|2.000!",
                                     "No.3 ⊿Ｖ||4.000",
                                     "No.3 重心X||2.000",
                                 }));
    EXPECT_FALSE(panel.problems.empty());
    EXPECT_EQ(form.texts[7], "25") << "closing the panel puts nothing in";
    EXPECT_EQ(form.gv.CellText(3, 2), "");
    EXPECT_EQ(state.CurData, Rectangle4x3());
}

TEST_F(BlockParamsTest, TakingTheSectionFillsTheBoxesAndRowsForRegistering)
{
    struct Case {
        const char* what;
        const char* length;
        Lines typedRows;
        const char* v;  // Text1(7) afterwards
        Lines rows;     // QelGV afterwards
        Lines running;  // QelGV1 afterwards
    };
    // clang-format off
    const Case cases[] = {
        {"the heights stay", "2", {"1\t1\t1\t0", "2\t2.5\t\t", "3\t3\t1\t0"}, "24.000",
         {"1\t1\t8.000\t2.000", "2\t2.5\t12.000\t2.000", "3\t3\t4.000\t2.000"},
         {"8.000", "20.000", "24.000"}},
        {"an empty table gets a row a metre", "2", {}, "24.000",
         {"1\t1.000\t8.000\t2.000", "2\t2.000\t8.000\t2.000", "3\t3.000\t8.000\t2.000"},
         {"8.000", "16.000", "24.000"}},
        {"without Ｌ only the centroids", "0", {"1\t1\t5\t0", "2\t3\t5\t0"}, "24.000",
         {"1\t1\t5\t2.000", "2\t3\t5\t2.000"}, {"8.000", "24.000"}},
        {"without Ｌ an empty table stays empty", "0", {}, "24.000", {}, {"8.000", "24.000"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Load(Rectangle4x3());
        form.texts[4] = c.length;
        form.texts[5] = "0";
        form.texts[6] = "0";
        TypeLayers(c.typedRows);
        form.takeFigures = true;
        logic.CmdSection_Click();
        EXPECT_EQ(form.texts[5], "2.000");
        EXPECT_EQ(form.texts[6], "1.500");
        EXPECT_EQ(form.texts[7], c.v);
        EXPECT_EQ(form.gv.DataLines(), c.rows);
        EXPECT_EQ(form.gv1.DataLines(), c.running);
        EXPECT_EQ(state.CurData, Rectangle4x3()) << "nothing is confirmed yet";
        if (c.length == std::string("2")) {
            logic.CmdPara_Click(0);
            EXPECT_EQ(form.closed, std::optional<bool>(true)) << "the layers add up to Ｖ";
            EXPECT_TRUE(form.errors.empty());
        }
    }
}

TEST_F(BlockParamsTest, WithoutLengthOrOutlineTheSectionSaysWhatIsMissing)
{
    Load(Rectangle4x3());
    form.texts[4] = "0";
    logic.CmdSection_Click();
    ASSERT_EQ(form.panels.size(), 1u);
    const Lines withoutLength = PanelLines(form.panels[0]);
    EXPECT_EQ(withoutLength.at(0), "断面積 A (m2)||12.000");
    EXPECT_EQ(withoutLength.at(1), "体積 Ｖ (m3)|24.000|");
    EXPECT_EQ(withoutLength.at(4), "No.1 ⊿Ｖ|8.000|");
    EXPECT_EQ(withoutLength.at(5), "No.1 重心X|2.000|2.000");
    const std::string told = form.panels[0].problems.empty() ? "" : form.panels[0].problems.front();
    EXPECT_NE(told.find("Ｌ"), std::string::npos) << told;

    // A side taken away leaves no closed outline: nothing to take.
    BlockData open = Rectangle4x3();
    open.LineCount = 3;
    Load(open);
    form.takeFigures = true;
    logic.CmdSection_Click();
    ASSERT_EQ(form.panels.size(), 2u);
    EXPECT_FALSE(form.panels[1].canTake);
    EXPECT_EQ(form.panels[1].figures.at(1).computed, "");
    EXPECT_FALSE(form.panels[1].problems.empty());
    EXPECT_EQ(form.texts[5], "2.000") << "the boxes keep what they held";
    EXPECT_EQ(form.gv.DataLines(), (Lines{"1\t1.000\t8.000\t2.000", "2\t3.000\t16.000\t2.000"}));

    // A figure too large to read is named first, as for 累計体積再計算.
    form.texts[7] = "1e999";
    logic.CmdSection_Click();
    EXPECT_EQ(form.panels.size(), 2u);
    EXPECT_EQ(form.selectedBox, 7);
}

}  // namespace
}  // namespace chokusho
