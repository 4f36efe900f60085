#include <gtest/gtest.h>

#include "EditOperations.h"
#include "FakeFramePort.h"
#include "FrameLogic.h"

namespace chokusho {
namespace {

using test::FakeFramePort;
using Kind = RecordingCanvas::Kind;

/** Points spanning 0..20 m on both axes, joined by one segment. */
BlockData Square20()
{
    BlockData data;
    data.PointCount = 2;
    data.PointX[1] = 0;
    data.PointY[1] = 0;
    data.PointX[2] = 20;
    data.PointY[2] = 20;
    data.LineCount = 1;
    data.LineStart[1] = 1;
    data.LineEnd[1] = 2;
    return data;
}

class FrameLogicTest : public ::testing::Test {
protected:
    FrameLogicTest()
    {
        port.onScrollChanged = [this](ScrollBar bar, int value) {
            if (bar == ScrollBar::Horizontal)
                logic.HScroll1_Change(value);
            else
                logic.VScroll1_Change(value);
        };
    }

    /** Starts the window with `data` on a 600 x 400 canvas. */
    void Start(const BlockData& data = {})
    {
        state.CurData = data;
        logic.Form_Load("/blocks/");
        logic.Form_Resize(618, 419, false);
        port.picture.Forget();
        port.shows = 0;
    }

    DocumentState state;
    FakeFramePort port;
    FrameLogic logic{state, port};
};

TEST_F(FrameLogicTest, StartsIdleWithTheEmptyDocumentsStates)
{
    state.Undo.push(BlockData{}, "old");
    logic.Form_Load("/blocks/");

    EXPECT_EQ(logic.Disp_mode, -1);
    EXPECT_EQ(logic.Mouse_sw, -1);
    EXPECT_EQ(state.Undo.UndoCount(), 0);
    EXPECT_EQ(state.DataPath, "/blocks/");
    EXPECT_EQ(state.BlkName, "無題");
    EXPECT_EQ(state.SavedData, state.CurData);
    for (const char* item : {"Undo", "Line", "Line_Del", "Pnt_Del", "mnuPointDel", "mnuPointMov", "mnuLineIn",
                             "mnuLineDel", "mnuLineDelAll"})
        EXPECT_FALSE(port.enabled.at(item)) << item;
    EXPECT_TRUE(port.checked.at("mnuDispPntNo"));
    EXPECT_FALSE(port.checked.at("mnuDispGrid"));
    EXPECT_FALSE(port.checked.at("Grid"));
}

TEST_F(FrameLogicTest, MenuEnableFollowsTheDocumentAndEndsModesItCannotServe)
{
    Start();
    state.CurData.PointCount = 1;
    logic.Menu_Enable();
    for (const char* item : {"Line", "Pnt_Del", "mnuPointDel", "mnuPointMov", "mnuLineIn"})
        EXPECT_TRUE(port.enabled.at(item)) << item;
    EXPECT_FALSE(port.enabled.at("Line_Del"));

    struct Case {
        std::int16_t mode;
        std::int16_t points, lines;
        bool ends;
    };
    // clang-format off
    const Case cases[] = {
        {mode::kDeleteLines, 2, 0, true},  {mode::kDeleteLines, 2, 1, false}, {mode::kConnect, 0, 0, true},
        {mode::kDeletePoints, 0, 0, true}, {mode::kMovePoints, 0, 0, true},   {mode::kMovePoints, 1, 0, false},
        {mode::kLineKind, 0, 0, false},    {mode::kZoomIn, 0, 0, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        logic.Disp_mode = c.mode;
        logic.Mouse_sw = 0;
        port.status[1] = "prompt";
        port.cursor = CanvasCursor::Magnifier;
        state.CurData.PointCount = c.points;
        state.CurData.LineCount = c.lines;
        port.shows = 0;
        logic.Menu_Enable();
        EXPECT_EQ(logic.Disp_mode, c.ends ? -1 : c.mode) << c.mode;
        EXPECT_EQ(port.status[1], c.ends ? "" : "prompt") << c.mode;
        // Ending a mode here neither repaints nor changes the pointer.
        EXPECT_EQ(port.shows, 0);
        EXPECT_EQ(port.cursor, CanvasCursor::Magnifier);
    }
}

TEST_F(FrameLogicTest, RaberResetEndsAModeAndErasesItsBand)
{
    Start(Square20());
    logic.Raber_Reset();
    EXPECT_TRUE(port.picture.ops.empty()) << "no mode: nothing is repainted";
    EXPECT_EQ(port.shows, 0);

    logic.mnuDispKaku_Click();
    EXPECT_EQ(logic.Disp_mode, mode::kZoomIn);
    EXPECT_EQ(logic.Mouse_sw, 0);
    EXPECT_EQ(port.cursor, CanvasCursor::Magnifier);
    EXPECT_EQ(port.status[1], MessageText(4));

    logic.Mouse_sw = 1;
    logic.Mouse_xa = 10, logic.Mouse_ya = 20, logic.Mouse_xb = 110, logic.Mouse_yb = 120;
    state.SelPntCount = 2;
    port.picture.Forget();
    logic.Raber_Reset();
    const auto boxes = port.picture.Of(Kind::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].mode, PenMode::Xor);
    EXPECT_EQ(boxes[0].color, qb::kYellow);
    EXPECT_EQ(port.picture.Count(Kind::Clear), 1u);
    EXPECT_EQ(port.picture.mode, PenMode::Copy);
    EXPECT_EQ(logic.Disp_mode, -1);
    EXPECT_EQ(logic.Mouse_sw, -1);
    EXPECT_EQ(state.SelPntCount, 0);
    EXPECT_EQ(port.status[1], "");
    EXPECT_EQ(port.cursor, CanvasCursor::Arrow);
}

TEST_F(FrameLogicTest, ResizeLaysOutRefitsAndRepaints)
{
    Start(Square20());
    EXPECT_EQ(port.layout.canvas.width, 600);
    EXPECT_EQ(port.layout.canvas.height, 400);
    EXPECT_EQ(logic.view().Pic_width, 600);
    EXPECT_EQ(logic.view().Pic_height, 400);
    EXPECT_NEAR(logic.view().Dan_xmin, -8, 1e-9);
    EXPECT_NEAR(logic.view().Dan_xmax, 28, 1e-9);

    logic.mnuDispKaku_Click();
    logic.view().Set_Dan_scl(0, 3, 3);
    port.shows = 0;
    logic.Form_Resize(818, 519, true);
    EXPECT_EQ(port.shows, 0) << "a minimised window is not laid out";
    logic.Form_Resize(818, 519, false);
    EXPECT_EQ(logic.view().Pic_width, 800);
    EXPECT_NEAR(logic.view().Dan_xc, 10, 1e-9) << "a resize shows all data again";
    EXPECT_EQ(port.shows, 1);
}

TEST_F(FrameLogicTest, ScrollingMovesTheViewButResettingTheBarsDoesNot)
{
    Start(Square20());
    port.setScrollValue(ScrollBar::Horizontal, 52);
    EXPECT_NEAR(logic.view().Dan_xmin, -7.52, 1e-9);
    EXPECT_EQ(port.shows, 1);
    port.setScrollValue(ScrollBar::Vertical, 52);
    EXPECT_NEAR(logic.view().Dan_ymin, -2.48, 1e-9);

    logic.ResetScrollBars();
    EXPECT_EQ(port.hScroll, 50);
    EXPECT_EQ(port.vScroll, 50);
    EXPECT_NEAR(logic.view().Dan_xmin, -7.52, 1e-9);
    EXPECT_NEAR(logic.view().Dan_ymin, -2.48, 1e-9);
    EXPECT_EQ(logic.scroll().HScr_old, 50);

    // 全表示 refits and recentres the bars.
    port.setScrollValue(ScrollBar::Horizontal, 70);
    logic.mnuDispAll_Click();
    EXPECT_NEAR(logic.view().Dan_xmin, -8, 1e-9);
    EXPECT_EQ(port.hScroll, 50);
}

TEST_F(FrameLogicTest, ScrollingReanchorsARubberBand)
{
    Start(Square20());
    logic.mnuDispKaku_Click();
    logic.Mouse_sw = 1;
    logic.Mouse_kx = 10;
    logic.Mouse_ky = 10;
    logic.Mouse_xb = 400;
    port.setScrollValue(ScrollBar::Horizontal, 52);
    const CanvasPoint press = logic.view().KzToGz(10, 10);
    EXPECT_EQ(logic.Mouse_xa, press.gx);
    EXPECT_EQ(logic.Mouse_ya, press.gy);
    EXPECT_EQ(logic.Mouse_xb, press.gx);
    EXPECT_EQ(logic.Mouse_yb, press.gy);

    // Connecting points: the band starts again at the chain's start point.
    logic.Disp_mode = mode::kConnect;
    state.NewLine[0] = 2;
    port.setScrollValue(ScrollBar::Vertical, 55);
    const CanvasPoint start = logic.view().KzToGz(20, 20);
    EXPECT_EQ(logic.Mouse_xa, start.gx);
    EXPECT_EQ(logic.Mouse_ya, start.gy);
}

TEST_F(FrameLogicTest, GridMenuAndButtonStayEqual)
{
    Start();
    logic.mnuDispGrid_Click();
    EXPECT_TRUE(port.checked.at("mnuDispGrid"));
    EXPECT_TRUE(port.checked.at("Grid"));
    logic.Toolbar1_ButtonClick("Grid");
    EXPECT_FALSE(port.checked.at("mnuDispGrid"));
    EXPECT_FALSE(port.checked.at("Grid"));
    EXPECT_EQ(port.shows, 2);

    logic.mnuDispPntNo_Click();
    EXPECT_FALSE(port.checked.at("mnuDispPntNo"));
    EXPECT_FALSE(logic.display().pointNumbers);
}

TEST_F(FrameLogicTest, ToolbarKeysReachTheirHandlers)
{
    Start(Square20());
    logic.Toolbar1_ButtonClick("Shukusho");
    EXPECT_EQ(logic.Disp_mode, mode::kZoomOut);
    EXPECT_EQ(port.status[1], MessageText(6));
    logic.Toolbar1_ButtonClick("Redraw");
    EXPECT_EQ(logic.Disp_mode, -1) << "再表示 ends the mode";
    logic.Toolbar1_ButtonClick("Kakudai");
    logic.Toolbar1_ButtonClick("kakudai");  // keys compare exactly
    logic.Toolbar1_ButtonClick("Zenhyoji");
    EXPECT_EQ(logic.Disp_mode, -1);
    logic.mnuHelpVer_Click();
    EXPECT_EQ(port.aboutShown, 1);
    logic.mnuFileEnd_Click();
    EXPECT_EQ(port.closeRequests, 1);
}

TEST_F(FrameLogicTest, UndoRestoresAndDropsSelectionsThatNameAnotherDocument)
{
    Start(Square20());
    PushUndo(state, undo_label::kDeletePoints);
    EXPECT_TRUE(port.enabled.at("Undo"));
    state.CurData.PointCount = 0;
    state.CurData.LineCount = 0;

    logic.Disp_mode = mode::kZoomIn;
    logic.Mouse_sw = 1;
    state.SelPntCount = 1;
    state.SelLineCount = 1;
    logic.Toolbar1_ButtonClick("Undo");
    EXPECT_EQ(state.CurData, Square20());
    EXPECT_FALSE(port.enabled.at("Undo"));
    EXPECT_TRUE(port.enabled.at("Line_Del"));
    EXPECT_EQ(state.SelPntCount, 0);
    EXPECT_EQ(state.SelLineCount, 0);
    EXPECT_EQ(logic.Mouse_sw, 0);
    EXPECT_EQ(port.status[1], MessageText(4));
    EXPECT_GE(port.picture.Count(Kind::Clear), 1u);

    // With nothing to undo the button does nothing.
    port.shows = 0;
    logic.Undo_Click();
    EXPECT_EQ(port.shows, 0);
}

TEST(MessageText, EmptyForZeroAndUnknownNumbers)
{
    EXPECT_STREQ(MessageText(0), "");
    EXPECT_STREQ(MessageText(12), "");
    EXPECT_STREQ(MessageText(-1), "");
    EXPECT_STREQ(MessageText(2), "結線終了点の選択。(マウス右：結線開始点選択へ)");
}

}  // namespace
}  // namespace chokusho
