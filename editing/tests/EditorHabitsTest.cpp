// What users of any drawing program reach for: redo, the wheel and the middle button, Escape,
// points added by click, 上書き保存 and opening a file named from outside.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "BlockFile.h"
#include "EditOperations.h"
#include "FakeFramePort.h"
#include "FrameLogic.h"
#include "Numbers.h"
#include "TestBlocks.h"
#include "TestFiles.h"

namespace chokusho {
namespace {

using test::FakeFramePort;
using test::TempFolder;

class EditorHabitsTest : public ::testing::Test {
protected:
    EditorHabitsTest()
    {
        port.onScrollChanged = [this](ScrollBar bar, int value) {
            bar == ScrollBar::Horizontal ? logic.HScroll1_Change(value) : logic.VScroll1_Change(value);
        };
    }

    void Start(const BlockData& data)
    {
        state.CurData = data;
        state.SavedData = data;
        logic.Form_Load(folder.dataPath());
        logic.Form_Resize(618, 419, false);
    }
    void Down(MouseButton button, CanvasPoint p, bool shift = false)
    {
        logic.modes().Picture1_MouseDown(button, p.gx, p.gy, shift);
        EXPECT_TRUE(test::Sound(state.CurData));
    }
    CanvasPoint At(double kx, double ky) const { return logic.view().KzToGz(kx, ky); }

    TempFolder folder;
    DocumentState state;
    FakeFramePort port;
    FrameLogic logic{state, port};
};

BlockData Square() { return test::Section({{0, 0}, {20, 0}, {20, 20}, {0, 20}}, {{1, 2}, {2, 3}, {3, 4}}); }

TEST_F(EditorHabitsTest, RedoTakesBackAnUndoAndANewChangeForgetsIt)
{
    Start(Square());
    const BlockData before = state.CurData;
    logic.mnuLineDelAll_Click();  // OK is the fake's answer
    const BlockData after = state.CurData;
    ASSERT_NE(before, after);
    EXPECT_FALSE(port.enabled[Command::Redo]);

    logic.Undo_Click();
    EXPECT_EQ(state.CurData, before);
    EXPECT_TRUE(port.enabled[Command::Redo]);
    logic.Redo_Click();
    EXPECT_EQ(state.CurData, after);
    EXPECT_FALSE(port.enabled[Command::Redo]);
    EXPECT_TRUE(port.enabled[Command::Undo]);

    logic.Undo_Click();
    logic.mnuPointAdd_Click();
    Down(MouseButton::Left, At(5, 5));
    EXPECT_EQ(state.Redo.UndoCount(), 0);
    EXPECT_FALSE(port.enabled[Command::Redo]);
    logic.Redo_Click();  // nothing to redo: nothing changes
    EXPECT_EQ(state.CurData.PointCount, 5);

    // New forgets both ways.
    logic.Undo_Click();
    ASSERT_TRUE(port.enabled[Command::Redo]);
    state.SavedData = state.CurData;
    logic.mnuFileNew_Click();
    EXPECT_EQ(state.Undo.UndoCount() + state.Redo.UndoCount(), 0);
    EXPECT_FALSE(port.enabled[Command::Undo]);
    EXPECT_FALSE(port.enabled[Command::Redo]);
}

TEST_F(EditorHabitsTest, TheWheelZoomsAboutThePointerAndTheBarsRestAtTheNewView)
{
    Start(Square());
    const CanvasPoint pointer{123, 77};
    logic.HScroll1_Change(60);  // the bar is away from rest
    const ModelPoint under = logic.view().GzToKz(pointer.gx, pointer.gy);
    const double scale = logic.view().Dan_scl;
    logic.Canvas_Wheel(2, pointer.gx, pointer.gy, MouseButtons());
    EXPECT_NEAR(logic.view().Dan_scl, scale * 1.25 * 1.25, 1e-9);
    const ModelPoint still = logic.view().GzToKz(pointer.gx, pointer.gy);
    EXPECT_NEAR(still.kx, under.kx, 1e-9);
    EXPECT_NEAR(still.ky, under.ky, 1e-9);
    EXPECT_EQ(port.hScroll, kScrollRest);
    EXPECT_EQ(port.vScroll, kScrollRest);
    EXPECT_EQ(port.status[StatusPane::Readout], "X = " + FormatReadout(under.kx) + "  Y = " + FormatReadout(under.ky));

    logic.Canvas_Wheel(-3, pointer.gx, pointer.gy, MouseButtons());
    EXPECT_NEAR(logic.view().Dan_scl, scale * 1.25 * 1.25 * 0.75 * 0.75 * 0.75, 1e-9);

    // The middle button drags the picture: the point under the pointer moves with it.
    const ModelPoint grabbed = logic.view().GzToKz(200, 200);
    logic.Canvas_Pan(30, -12);
    const ModelPoint moved = logic.view().GzToKz(230, 188);
    EXPECT_NEAR(moved.kx, grabbed.kx, 1e-9);
    EXPECT_NEAR(moved.ky, grabbed.ky, 1e-9);
}

TEST_F(EditorHabitsTest, ABandInProgressIsReanchoredByTheWheel)
{
    Start(Square());
    logic.mnuLineIn_Click();
    Down(MouseButton::Left, At(20, 0));
    ASSERT_EQ(logic.modes().step(), MouseStep::RubberBand);
    logic.Canvas_Wheel(1, 300, 200, MouseButtons());
    // The band starts again at point 2's new place and follows the pointer.
    EXPECT_EQ(logic.modes().anchor(), At(20, 0));
    EXPECT_EQ(logic.modes().freeEnd(), (CanvasPoint{300, 200}));
    EXPECT_EQ(logic.modes().step(), MouseStep::RubberBand);
}

TEST_F(EditorHabitsTest, EscapeBacksOutOfTheStepWithoutActingOrAsking)
{
    Start(Square());
    // Connecting: Escape drops the band, then a second Escape ends the mode.
    logic.mnuLineIn_Click();
    Down(MouseButton::Left, At(0, 0));
    logic.Escape_Key();
    EXPECT_EQ(logic.modes().mode(), DispMode::Connect);
    EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick);
    logic.Escape_Key();
    EXPECT_EQ(logic.modes().mode(), DispMode::None);

    // Picking segments or points: Escape drops the selection without its question, then ends
    // the mode; moving points never opens its dialog.
    const struct {
        const char* what;
        void (FrameLogic::*command)();
        DispMode mode;
        CanvasPoint pick;
    } selecting[] = {
        {"deleting segments", &FrameLogic::mnuLineDel_Click, DispMode::DeleteLines, At(10, 0)},
        {"changing line kinds", &FrameLogic::mnuLineKind_Click, DispMode::LineKind, At(10, 0)},
        {"deleting points", &FrameLogic::mnuPointDel_Click, DispMode::DeletePoints, At(0, 0)},
        {"moving points", &FrameLogic::mnuPointMov_Click, DispMode::MovePoints, At(0, 0)},
    };
    int moveDialogs = 0;
    port.pointMoveDialog = [&moveDialogs] { ++moveDialogs; };
    for (const auto& c : selecting) {
        SCOPED_TRACE(c.what);
        (logic.*c.command)();
        Down(MouseButton::Left, c.pick);
        logic.modes().Picture1_MouseUp(MouseButton::Left, c.pick.gx, c.pick.gy);
        ASSERT_EQ(state.SelLineCount + state.SelPntCount, 1);
        const int shows = port.shows;
        logic.Escape_Key();
        EXPECT_EQ(state.SelLineCount + state.SelPntCount, 0);
        EXPECT_GT(port.shows, shows) << "the marks of the selection go";
        EXPECT_EQ(logic.modes().mode(), c.mode);
        EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick);
        EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(FirstPrompt(c.mode)));
        logic.Escape_Key();
        EXPECT_EQ(logic.modes().mode(), DispMode::None);
    }
    EXPECT_TRUE(port.messages.empty());
    EXPECT_EQ(moveDialogs, 0);
    EXPECT_EQ(state.CurData, Square());
    EXPECT_EQ(state.Undo.UndoCount(), 0);

    // Zooming: Escape abandons a rectangle being dragged.
    logic.mnuDispKaku_Click();
    Down(MouseButton::Left, {100, 100});
    logic.modes().Picture1_MouseMove(MouseButtons(MouseButton::Left), 150, 150);
    logic.Escape_Key();
    EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick);
    EXPECT_EQ(logic.modes().mode(), DispMode::ZoomIn);

    // Without a mode, Escape does nothing.
    logic.Raber_Reset();
    const BlockData before = state.CurData;
    logic.Escape_Key();
    EXPECT_EQ(state.CurData, before);
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(EditorHabitsTest, PointsAddedByClickLandAsTheReadOutShowsThemOneSnapshotEach)
{
    Start(Square());
    logic.mnuPointAdd_Click();
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::AddPoint));
    const CanvasPoint p{101, 203};
    const ModelPoint at = logic.view().GzToKz(p.gx, p.gy);
    Down(MouseButton::Left, p);
    ASSERT_EQ(state.CurData.PointCount, 5);
    EXPECT_EQ(FormatReadout(state.CurData.PointX[5]), FormatReadout(at.kx));
    EXPECT_DOUBLE_EQ(state.CurData.PointX[5], std::round(at.kx * 100) / 100);
    EXPECT_DOUBLE_EQ(state.CurData.PointY[5], std::round(at.ky * 100) / 100);
    EXPECT_EQ(state.Undo.UndoCount(), 1);
    EXPECT_EQ(state.Undo.UndoText(0), undo_label::kAddPoint);

    // Shift puts the point on the nearest crossing of the 1 m lattice, whether the grid is
    // drawn or not.
    for (const bool grid : {false, true}) {
        SCOPED_TRACE(grid ? "grid drawn" : "grid not drawn");
        if (grid) {
            logic.mnuDispGrid_Click();
            logic.mnuPointAdd_Click();
        }
        Down(MouseButton::Left, At(7.4, 12.6), true);
        const int n = state.CurData.PointCount;
        EXPECT_EQ(state.CurData.PointX[n], 7.0);
        EXPECT_EQ(state.CurData.PointY[n], 13.0);
    }
    EXPECT_EQ(state.CurData.PointCount, 7);
    EXPECT_EQ(state.Undo.UndoCount(), 3);

    // A right click leaves the mode.
    Down(MouseButton::Right, {0, 0});
    EXPECT_EQ(logic.modes().mode(), DispMode::None);
}

TEST_F(EditorHabitsTest, TheHundredAndFirstPointIsRefusedWithoutASnapshot)
{
    test::BlockBuilder full;
    for (int n = 0; n < kMaxPoints; ++n)
        full.point(n % 10, n / 10);
    Start(full);
    logic.mnuPointAdd_Click();
    Down(MouseButton::Left, {50, 50});
    EXPECT_EQ(state.CurData.PointCount, kMaxPoints);
    EXPECT_EQ(state.Undo.UndoCount(), 0);
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(port.messages[0].text, kPointsFull);
    EXPECT_EQ(logic.modes().mode(), DispMode::AddPoint);
}

TEST(PointToAdd, ReadOutPrecisionOrTheGrid)
{
    EXPECT_EQ(PointToAdd({1.234, -5.678}, false), (ModelPoint{1.23, -5.68}));
    EXPECT_EQ(PointToAdd({1.5, -2.5}, true), (ModelPoint{2, -3}));
    EXPECT_EQ(PointToAdd({-0.004, 0.4}, false).kx, 0.0);
    // Far out the read-out shows three figures, and so does the point.
    EXPECT_EQ(PointToAdd({1.23456e15, 0}, false).kx, 1.23e15);
}

TEST_F(EditorHabitsTest, OverwriteSavesToTheBlocksOwnFileWithoutTheDialog)
{
    Start(Square());
    // A new block has no file: the dialog comes.
    port.savePaths = {""};
    logic.mnuFileOverwrite_Click();
    EXPECT_EQ(port.saveDialogs.size(), 1u);

    port.savePaths = {folder.dataPath() + "護岸.csv"};
    logic.mnuFileSave_Click();
    state.CurData.Name = "変更";
    logic.mnuFileOverwrite_Click();
    EXPECT_EQ(port.saveDialogs.size(), 2u);
    BlockData written;
    ASSERT_TRUE(ReadBlockFile(written, folder.dataPath(), "護岸"));
    EXPECT_EQ(written.Name, "変更");
    EXPECT_EQ(state.SavedData, state.CurData);
}

TEST_F(EditorHabitsTest, OverwriteKeepsToTheBlocksFolderWhereverThePickerLookedSince)
{
    Start(BlockData{});
    TempFolder elsewhere;
    folder.write("A.csv", FormatBlockFile(Square()));
    elsewhere.write("A.csv", "another block of the same name");
    port.picker = [] { return std::string("A"); };
    port.pickedFile = "A.csv";
    logic.mnuFileOpen_Click();
    ASSERT_EQ(state.BlkFile, "A.csv");

    // The picker is opened again, goes to another folder and is cancelled: DataPath moves.
    port.picker = [&] {
        state.DataPath = elsewhere.dataPath();
        return std::string();
    };
    logic.mnuFileOpen_Click();
    ASSERT_EQ(state.DataPath, elsewhere.dataPath());

    state.CurData.Name = "変更";
    logic.mnuFileOverwrite_Click();
    EXPECT_TRUE(port.saveDialogs.empty());
    EXPECT_EQ(elsewhere.read("A.csv"), "another block of the same name");
    BlockData written;
    ASSERT_TRUE(ReadBlockFile(written, folder.dataPath(), "A"));
    EXPECT_EQ(written.Name, "変更");
}

TEST_F(EditorHabitsTest, AFileNamedFromOutsideOpensAsOpenWould)
{
    Start(BlockData{});
    TempFolder other;
    other.write("外.csv", FormatBlockFile(Square()));
    other.write("not.csv", "abc");

    logic.OpenFile(other.dataPath() + "外.csv");
    EXPECT_EQ(state.CurData, Square());
    EXPECT_EQ(state.DataPath, other.dataPath());
    EXPECT_EQ(state.BlkName, "外");
    EXPECT_EQ(state.BlkFile, "外.csv");
    EXPECT_EQ(port.caption, std::string(kMainCaption) + " - 外");

    // What is no block file changes nothing but says so; unsaved changes are asked about first.
    PushUndo(state, undo_label::kAddLine);
    state.CurData.Name = "changed";
    port.answers = {MsgAnswer::No, MsgAnswer::Ok};
    logic.OpenFile(other.dataPath() + "not.csv");
    ASSERT_EQ(port.messages.size(), 2u);
    EXPECT_EQ(port.messages[0].text, "データが更新されています。保存しますか?");
    EXPECT_EQ(port.messages[1].text, "直立消波ブロックのデータ形式ではありません。\r\n処理を中止します。");
    EXPECT_EQ(state.CurData.Name, "changed");
    EXPECT_EQ(state.DataPath, other.dataPath());
    // A file that cannot be read is not called damaged: its path and the reason are given.
    const struct {
        std::string path;
        const char* reason;
    } unreadable[] = {
        {other.dataPath() + "missing.csv", "ファイルが見つかりません。"},
        {other.dataPath(), "フォルダーです。"},
#ifndef _WIN32
        {"/dev/null", "通常のファイルではありません。"},
#endif
    };
    for (const auto& c : unreadable) {
        port.messages.clear();
        port.answers = {MsgAnswer::No};
        logic.OpenFile(c.path);
        ASSERT_EQ(port.messages.size(), 2u) << c.path;
        EXPECT_EQ(port.messages[1].title, "Error");
        EXPECT_NE(port.messages[1].text.find(c.reason), std::string::npos) << port.messages[1].text;
        EXPECT_EQ(state.CurData.Name, "changed");
    }
    EXPECT_EQ(port.messages[1].text.find("データ形式"), std::string::npos);
}

}  // namespace
}  // namespace chokusho
