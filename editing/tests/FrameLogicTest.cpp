#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

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

    EXPECT_EQ(logic.modes().mode(), DispMode::None);
    EXPECT_EQ(logic.modes().step(), MouseStep::Idle);
    EXPECT_EQ(state.Undo.UndoCount(), 0);
    EXPECT_EQ(state.DataPath, "/blocks/");
    EXPECT_EQ(state.BlkName, "無題");
    EXPECT_EQ(state.SavedData, state.CurData);
    for (const Command command : {Command::Undo, Command::Redo, Command::LineIn, Command::LineDel, Command::PointDel,
                                  Command::PointMov, Command::LineDelAll})
        EXPECT_FALSE(port.enabled.at(command)) << EntryOf(command).menuText;
    EXPECT_TRUE(port.checked.at(Command::DispPntNo));
    EXPECT_FALSE(port.checked.at(Command::DispGrid));
}

TEST_F(FrameLogicTest, MenuEnableFollowsTheDocumentAndEndsModesItCannotServe)
{
    Start();
    state.CurData.PointCount = 1;
    logic.Menu_Enable();
    for (const Command command : {Command::LineIn, Command::PointDel, Command::PointMov})
        EXPECT_TRUE(port.enabled.at(command)) << EntryOf(command).menuText;
    EXPECT_FALSE(port.enabled.at(Command::LineDel));

    struct Case {
        const char* what;
        void (FrameLogic::*enter)();
        DispMode mode;
        std::int16_t points, lines;
        bool ends;
    };
    // clang-format off
    const Case cases[] = {
        {"deleting segments, none left",     &FrameLogic::mnuLineDel_Click,   DispMode::DeleteLines,  2, 0, true},
        {"deleting segments, one left",      &FrameLogic::mnuLineDel_Click,   DispMode::DeleteLines,  2, 1, false},
        {"connecting, no point left",        &FrameLogic::mnuLineIn_Click,    DispMode::Connect,      0, 0, true},
        {"deleting points, none left",       &FrameLogic::mnuPointDel_Click,  DispMode::DeletePoints, 0, 0, true},
        {"moving points, none left",         &FrameLogic::mnuPointMov_Click,  DispMode::MovePoints,   0, 0, true},
        {"moving points, one left",          &FrameLogic::mnuPointMov_Click,  DispMode::MovePoints,   1, 0, false},
        {"changing line kinds needs no segment", &FrameLogic::mnuLineKind_Click, DispMode::LineKind,  0, 0, false},
        {"zooming needs nothing",            &FrameLogic::mnuDispKaku_Click,  DispMode::ZoomIn,       0, 0, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        state.CurData = Square20();
        logic.Menu_Enable();
        (logic.*c.enter)();
        ASSERT_EQ(logic.modes().mode(), c.mode) << c.what;
        port.status[StatusPane::Prompt] = "prompt";
        port.cursor = CanvasCursor::Magnifier;
        state.CurData.PointCount = c.points;
        state.CurData.LineCount = c.lines;
        port.shows = 0;
        logic.Menu_Enable();
        EXPECT_EQ(logic.modes().mode(), c.ends ? DispMode::None : c.mode) << c.what;
        EXPECT_EQ(port.status[StatusPane::Prompt], c.ends ? "" : "prompt") << c.what;
        // Ending a mode here neither repaints nor changes the pointer.
        EXPECT_EQ(port.shows, 0) << c.what;
        EXPECT_EQ(port.cursor, CanvasCursor::Magnifier) << c.what;
    }
}

TEST_F(FrameLogicTest, RaberResetEndsAModeAndErasesItsBand)
{
    Start(Square20());
    logic.Raber_Reset();
    EXPECT_TRUE(port.picture.ops.empty()) << "no mode: nothing is repainted";
    EXPECT_EQ(port.shows, 0);

    logic.mnuDispKaku_Click();
    EXPECT_EQ(logic.modes().mode(), DispMode::ZoomIn);
    EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick);
    EXPECT_EQ(port.cursor, CanvasCursor::Magnifier);
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::ZoomIn));

    // A rectangle dragged from (10, 20) to (110, 120) is on the picture.
    logic.modes().Picture1_MouseDown(MouseButton::Left, 10, 20);
    logic.modes().Picture1_MouseMove(MouseButton::Left, 110, 120);
    state.SelPntCount = 2;
    port.picture.Forget();
    logic.Raber_Reset();
    const auto boxes = port.picture.Of(Kind::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(std::tuple(boxes[0].x1, boxes[0].y1, boxes[0].x2, boxes[0].y2), std::tuple(10, 20, 110, 120));
    EXPECT_EQ(boxes[0].mode, PenMode::Xor);
    EXPECT_EQ(boxes[0].color, qb::kYellow);
    EXPECT_EQ(port.picture.Count(Kind::Clear), 1u);
    EXPECT_EQ(port.picture.mode, PenMode::Copy);
    EXPECT_EQ(logic.modes().mode(), DispMode::None);
    EXPECT_EQ(logic.modes().step(), MouseStep::Idle);
    EXPECT_EQ(state.SelPntCount, 0);
    EXPECT_EQ(port.status[StatusPane::Prompt], "");
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
    logic.view().Set_Dan_scl(ZoomStep::In, 3, 3);
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
    const CanvasPoint pressed = logic.view().KzToGz(10, 10);
    logic.modes().Picture1_MouseDown(MouseButton::Left, pressed.gx, pressed.gy);
    logic.modes().Picture1_MouseMove(MouseButton::Left, 400, 300);
    port.setScrollValue(ScrollBar::Horizontal, 52);
    const CanvasPoint press = logic.view().KzToGz(10, 10);
    EXPECT_NE(press, pressed) << "the view moved under the press";
    EXPECT_EQ(logic.modes().anchor(), press);
    EXPECT_EQ(logic.modes().freeEnd(), press);

    // Connecting points: the band starts again at the chain's start point.
    logic.mnuLineIn_Click();
    const CanvasPoint corner = logic.view().KzToGz(20, 20);  // point 3
    logic.modes().Picture1_MouseDown(MouseButton::Left, corner.gx, corner.gy);
    logic.modes().Picture1_MouseMove(MouseButtons(), 100, 100);
    port.setScrollValue(ScrollBar::Vertical, 55);
    EXPECT_EQ(logic.modes().anchor(), logic.view().KzToGz(20, 20));
    EXPECT_EQ(logic.modes().freeEnd(), logic.modes().anchor());
}

TEST_F(FrameLogicTest, GridMenuAndButtonStayEqual)
{
    Start();
    logic.mnuDispGrid_Click();
    EXPECT_TRUE(port.checked.at(Command::DispGrid));
    logic.Toolbar1_ButtonClick("Grid");
    EXPECT_FALSE(port.checked.at(Command::DispGrid));
    EXPECT_EQ(port.shows, 2);

    logic.mnuDispPntNo_Click();
    EXPECT_FALSE(port.checked.at(Command::DispPntNo));
    EXPECT_FALSE(logic.display().pointNumbers);
}

/** A closed 4 × 3 m rectangle: 12 m² of section. */
BlockData Rectangle4x3()
{
    BlockData data = Square20();
    data.PointCount = 4;
    const double xs[] = {0, 4, 4, 0}, ys[] = {0, 0, 3, 3};
    for (std::size_t n = 1; n <= 4; ++n) {
        data.PointX[n] = xs[n - 1];
        data.PointY[n] = ys[n - 1];
        data.LineStart[n] = static_cast<std::int16_t>(n);
        data.LineEnd[n] = static_cast<std::int16_t>(n % 4 + 1);
    }
    data.LineCount = 4;
    return data;
}

TEST_F(FrameLogicTest, SectionShadeIsPaintedOnlyWhileSwitchedOnAndChangesNothing)
{
    Start(Rectangle4x3());
    EXPECT_FALSE(port.checked.at(Command::DispShade));
    EXPECT_EQ(port.picture.Count(Kind::FillRings), 0u);
    for (const bool on : {true, false, true}) {
        port.picture.Forget();
        logic.Run(Command::DispShade);
        EXPECT_EQ(port.checked.at(Command::DispShade), on);
        EXPECT_EQ(port.picture.Count(Kind::FillRings), on ? 1u : 0u);
    }
    port.picture.Forget();
    logic.mnuDispRedraw_Click();
    EXPECT_EQ(port.picture.Count(Kind::FillRings), 1u) << "redrawn with the picture";
    EXPECT_EQ(state.CurData, Rectangle4x3());
    EXPECT_FALSE(logic.IsModified());
    EXPECT_EQ(state.Undo.UndoCount(), 0);
}

TEST_F(FrameLogicTest, TheStatusBarTellsTheAreaWhileItHasNoPromptToShow)
{
    const std::string area = "断面積 12.000 m²";
    Start(Rectangle4x3());
    EXPECT_EQ(port.status[StatusPane::Prompt], area);
    logic.Run(Command::LineIn);
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::ConnectStart));
    logic.mnuDispRedraw_Click();  // ends the mode
    EXPECT_EQ(port.status[StatusPane::Prompt], area);

    // After a change: a side taken away leaves no closed outline, and undo brings it back.
    BlockData open = Rectangle4x3();
    open.LineCount = 3;
    state.Undo.push(open, "");
    logic.Undo_Click();
    EXPECT_EQ(port.status[StatusPane::Prompt], "");
    logic.Redo_Click();
    EXPECT_EQ(port.status[StatusPane::Prompt], area);
}

TEST_F(FrameLogicTest, ToolbarKeysReachTheirHandlers)
{
    Start(Square20());
    logic.Toolbar1_ButtonClick("Shukusho");
    EXPECT_EQ(logic.modes().mode(), DispMode::ZoomOut);
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::ZoomOut));
    logic.Toolbar1_ButtonClick("Redraw");
    EXPECT_EQ(logic.modes().mode(), DispMode::None) << "再表示 ends the mode";
    logic.Toolbar1_ButtonClick("Kakudai");
    logic.Toolbar1_ButtonClick("kakudai");  // keys compare exactly
    logic.Toolbar1_ButtonClick("Zenhyoji");
    EXPECT_EQ(logic.modes().mode(), DispMode::None);
    logic.mnuHelpVer_Click();
    EXPECT_EQ(port.aboutShown, 1);
    logic.mnuFileEnd_Click();
    EXPECT_EQ(port.closeRequests, 1);
}

TEST(CommandTable, EveryControlNamesOneCommandThatTheWindowShows)
{
    std::set<std::string> names;
    std::set<Command> shown;
    for (const CommandEntry& entry : AllCommands()) {
        for (const char* name : {entry.menuItem, entry.button}) {
            if (name == nullptr)
                continue;
            EXPECT_TRUE(names.insert(name).second) << name << " names two commands";
            EXPECT_EQ(CommandNamed(name), entry.command) << name;
        }
        EXPECT_EQ(entry.icon != nullptr, entry.button != nullptr) << entry.menuText;
    }
    EXPECT_EQ(CommandNamed("kakudai"), std::nullopt) << "names compare exactly";
    for (const MenuBarEntry& menu : MenuBar()) {
        if (menu.command)
            shown.insert(*menu.command);
        for (const MenuSlot& slot : menu.places) {
            std::vector<MenuSlot> places{slot};
            places.insert(places.end(), slot.submenu.begin(), slot.submenu.end());
            for (const MenuSlot& place : places) {
                if (place.command) {
                    EXPECT_NE(EntryOf(*place.command).menuItem, nullptr);
                    shown.insert(*place.command);
                }
            }
        }
    }
    for (const std::optional<Command>& button : ToolbarLayout()) {
        if (button) {
            EXPECT_NE(EntryOf(*button).button, nullptr);
            shown.insert(*button);
        }
    }
    EXPECT_EQ(shown.size(), kCommandCount) << "every command has a menu item or a button";
}

TEST_F(FrameLogicTest, EachCommandReachesItsOwnHandler)
{
    Start(Square20());
    const std::pair<Command, DispMode> modes[] = {
        {Command::DispKaku, DispMode::ZoomIn},        {Command::DispShuku, DispMode::ZoomOut},
        {Command::LineIn, DispMode::Connect},         {Command::LineDel, DispMode::DeleteLines},
        {Command::PointDel, DispMode::DeletePoints},  {Command::PointMov, DispMode::MovePoints},
        {Command::LineKind, DispMode::LineKind},      {Command::PointAdd, DispMode::AddPoint},
    };
    for (const auto& [command, mode] : modes) {
        logic.Run(command);
        EXPECT_EQ(logic.modes().mode(), mode) << EntryOf(command).menuText;
    }
    // Printing and exporting go to the window and leave the mode alone.
    logic.Run(Command::FilePrint);
    logic.Run(Command::FileExport);
    EXPECT_EQ(std::tuple(port.printed, port.exported), std::tuple(1, 1));
    EXPECT_EQ(logic.modes().mode(), DispMode::AddPoint);
    logic.Run(Command::DispGrid);
    logic.Run(Command::DispPntNo);
    EXPECT_EQ(std::tuple(logic.display().grid, logic.display().pointNumbers), std::tuple(true, false));
    logic.Run(Command::HelpVer);
    logic.Run(Command::FileEnd);
    EXPECT_EQ(std::tuple(port.aboutShown, port.closeRequests), std::tuple(1, 1));
}

TEST_F(FrameLogicTest, UndoRestoresAndDropsSelectionsThatNameAnotherDocument)
{
    Start(Square20());
    PushUndo(state, undo_label::kDeletePoints);
    EXPECT_TRUE(port.enabled.at(Command::Undo));
    state.CurData.PointCount = 0;
    state.CurData.LineCount = 0;

    // A zoom rectangle is being dragged.
    logic.mnuDispKaku_Click();
    logic.modes().Picture1_MouseDown(MouseButton::Left, 10, 10);
    ASSERT_EQ(logic.modes().step(), MouseStep::RubberBand);
    state.SelPntCount = 1;
    state.SelLineCount = 1;
    logic.Toolbar1_ButtonClick("Undo");
    EXPECT_EQ(state.CurData, Square20());
    EXPECT_FALSE(port.enabled.at(Command::Undo));
    EXPECT_TRUE(port.enabled.at(Command::LineDel));
    EXPECT_EQ(state.SelPntCount, 0);
    EXPECT_EQ(state.SelLineCount, 0);
    EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick);
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::ZoomIn));
    EXPECT_GE(port.picture.Count(Kind::Clear), 1u);

    // With nothing to undo the button does nothing.
    port.shows = 0;
    logic.Undo_Click();
    EXPECT_EQ(port.shows, 0);
}

TEST(MessageText, EveryPromptKeepsItsNumberAndText)
{
    EXPECT_STREQ(MessageText(Prompt::None), "");
    EXPECT_STREQ(MessageText(Prompt::ConnectEnd), "結線終了点の選択。(マウス右：結線開始点選択へ)");
    EXPECT_EQ(static_cast<int>(Prompt::MovePoints), 9);
    EXPECT_STREQ(
        MessageText(Prompt::MovePoints),
        "移動点の選択。左クリック→１点指定、左ドラッグ→領域指定 (マウス右：選択時→移動量指定、未選択→点移動終了)");
    // The first prompt of each mode, by the modes' numbers 0..6.
    const Prompt first[] = {Prompt::ZoomIn,       Prompt::ZoomOut,    Prompt::ConnectStart, Prompt::DeleteLines,
                            Prompt::DeletePoints, Prompt::MovePoints, Prompt::LineKind};
    for (int mode = 0; mode <= 6; ++mode)
        EXPECT_EQ(FirstPrompt(static_cast<DispMode>(mode)), first[mode]) << mode;
    EXPECT_EQ(FirstPrompt(DispMode::None), Prompt::None);
}

}  // namespace
}  // namespace chokusho
