#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TestBlocks.h"
#include "EditOperations.h"
#include "FakeFramePort.h"
#include "FrameLogic.h"

namespace chokusho {
namespace {

using test::FakeFramePort;
using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;
using Handler = void (FrameLogic::*)();

/** Corners 1..4 of a 20 m square and its centre 5; segment 1 is 1-2 (solid), 2 is 2-3 (dotted). */
BlockData Sample()
{
    BlockData data;
    const double xs[] = {0, 20, 20, 0, 10};
    const double ys[] = {0, 0, 20, 20, 10};
    data.PointCount = 5;
    for (int n = 1; n <= 5; ++n) {
        data.PointX[n] = xs[n - 1];
        data.PointY[n] = ys[n - 1];
    }
    data.LineCount = 2;
    data.LineStart[1] = 1, data.LineEnd[1] = 2;
    data.LineStart[2] = 2, data.LineEnd[2] = 3, data.LineKind[2] = kDottedLine;
    return data;
}

struct Pixel {
    int x, y;
};

class MouseModesTest : public ::testing::Test {
protected:
    MouseModesTest()
    {
        port.onScrollChanged = [this](ScrollBar bar, int value) {
            bar == ScrollBar::Horizontal ? logic.HScroll1_Change(value) : logic.VScroll1_Change(value);
        };
    }

    void Start(const BlockData& data = Sample())
    {
        state.CurData = data;
        logic.Form_Load("/blocks/");
        logic.Form_Resize(618, 419, false);
        Forget();
    }
    void Forget()
    {
        port.picture.Forget();
        port.shows = 0;
    }
    Pixel At(int n) const
    {
        const auto [x, y] = logic.view().KzToGz(state.CurData.PointX[n], state.CurData.PointY[n]);
        return {x, y};
    }

    // Every event is followed by the checks that must hold whatever the event was.
    // Buttons are numbered as the canvas events number them: 1 left, 2 right, 4 middle.
    void Down(int button, Pixel p)
    {
        logic.modes().Picture1_MouseDown(static_cast<MouseButton>(button), p.x, p.y), Check();
    }
    void Move(int buttons, Pixel p) { logic.modes().Picture1_MouseMove(MouseButtons(buttons), p.x, p.y), Check(); }
    void Up(int button, Pixel p)
    {
        logic.modes().Picture1_MouseUp(static_cast<MouseButton>(button), p.x, p.y), Check();
    }
    void Click(Pixel p) { Down(1, p), Up(1, p); }
    void Drag(Pixel from, Pixel to) { Down(1, from), Move(1, to), Up(1, to); }
    void Check()
    {
        EXPECT_TRUE(test::Sound(state.CurData));
        for (int i = 0; i < state.SelPntCount; ++i)
            EXPECT_TRUE(state.SelPnt[i] >= 1 && state.SelPnt[i] <= state.CurData.PointCount) << state.SelPnt[i];
        for (int i = 0; i < state.SelLineCount; ++i)
            EXPECT_TRUE(state.SelLine[i] >= 1 && state.SelLine[i] <= state.CurData.LineCount) << state.SelLine[i];
    }
    /** The XOR figures left on the picture since it was last rebuilt, as "Line x1,y1 x2,y2". */
    std::vector<std::string> XorLeft() const
    {
        std::map<std::string, int> times;
        for (const Op& op : port.picture.ops) {
            if (op.kind == Kind::Clear)
                times.clear();
            if ((op.kind == Kind::Line || op.kind == Kind::Box) && op.mode == PenMode::Xor)
                ++times[Figure(op.kind, {op.x1, op.y1}, {op.x2, op.y2})];
        }
        std::vector<std::string> left;
        for (const auto& [figure, n] : times)
            if (n % 2 == 1)
                left.push_back(figure);
        return left;
    }
    static std::string Figure(Kind kind, Pixel a, Pixel b)
    {
        return std::string(kind == Kind::Box ? "Box " : "Line ") + std::to_string(a.x) + "," + std::to_string(a.y) +
               " " + std::to_string(b.x) + "," + std::to_string(b.y);
    }
    std::vector<int> SelectedPoints() const { return {state.SelPnt.begin(), state.SelPnt.begin() + state.SelPntCount}; }
    std::vector<int> SelectedLines() const
    {
        return {state.SelLine.begin(), state.SelLine.begin() + state.SelLineCount};
    }

    DocumentState state;
    FakeFramePort port;
    FrameLogic logic{state, port};
};

TEST_F(MouseModesTest, EnteringAModeClearsItsSelectionAndWaitsForTheFirstPick)
{
    struct Case {
        const char* what;
        Handler enter;
        DispMode mode;
        Prompt prompt;
        bool clearsPoints, clearsLines;
    };
    // clang-format off
    const Case cases[] = {
        {"結線",          &FrameLogic::mnuLineIn_Click,   DispMode::Connect,      Prompt::ConnectStart, false, false},
        {"線分 › 削除",   &FrameLogic::mnuLineDel_Click,  DispMode::DeleteLines,  Prompt::DeleteLines,  false, true},
        {"点 › 削除",     &FrameLogic::mnuPointDel_Click, DispMode::DeletePoints, Prompt::DeletePoints, true,  false},
        {"点 › 移動",     &FrameLogic::mnuPointMov_Click, DispMode::MovePoints,   Prompt::MovePoints,   true,  false},
        {"線種変更",      &FrameLogic::mnuLineKind_Click, DispMode::LineKind,     Prompt::LineKind,     false, true},
    };
    // clang-format on
    Start();
    for (const Case& c : cases) {
        logic.Raber_Reset();
        state.SelPntCount = 2;
        state.SelLineCount = 2;
        (logic.*c.enter)();
        EXPECT_EQ(logic.modes().mode(), c.mode) << c.what;
        EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick) << c.what;
        EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(c.prompt)) << c.what;
        EXPECT_EQ(state.SelPntCount, c.clearsPoints ? 0 : 2) << c.what;
        EXPECT_EQ(state.SelLineCount, c.clearsLines ? 0 : 2) << c.what;
    }
}

TEST_F(MouseModesTest, TwentyPixelsMakeADragAndAnyReleaseCompletesIt)
{
    struct Case {
        const char* what;
        Handler enter;
        Pixel to;
        int releaseButton;
        bool rectangle;
    };
    // clang-format off
    const Case cases[] = {
        {"zoom in, 20 pixels: a rectangle",          &FrameLogic::mnuDispKaku_Click,  {112, 116}, 1, true},
        {"zoom in, 19 pixels: a click",              &FrameLogic::mnuDispKaku_Click,  {112, 115}, 1, false},
        {"zoom out, released by the right button",   &FrameLogic::mnuDispShuku_Click, {112, 116}, 2, true},
        {"zoom out, released by the middle button",  &FrameLogic::mnuDispShuku_Click, {100, 119}, 4, false},
        {"zoom out, flat: no rectangle, no step",    &FrameLogic::mnuDispShuku_Click, {140, 100}, 1, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        Start();
        (logic.*c.enter)();
        const DispMode zoomMode = logic.modes().mode();
        const bool in = zoomMode == DispMode::ZoomIn;
        ViewTransform expected = logic.view();
        const auto [kx, ky] = expected.GzToKz(c.to.x, c.to.y);
        const double d = std::hypot(c.to.x - 100, c.to.y - 100);
        if (c.rectangle)
            in ? Kakudai_disp(expected, 100, 100, c.to.x, c.to.y) : Shukusho_disp(expected, 100, 100, c.to.x, c.to.y);
        else if (d < 20)
            expected.Set_Dan_scl(in ? ZoomStep::In : ZoomStep::Out, kx, ky);
        port.hScroll = 60;

        Down(1, {100, 100});
        EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(in ? Prompt::ZoomInCorner : Prompt::ZoomOutCorner)) << c.what;
        Move(1, c.to);
        Up(c.releaseButton, c.to);
        EXPECT_EQ(logic.view().Dan_scl, expected.Dan_scl) << c.what;
        EXPECT_EQ(logic.view().Dan_xmin, expected.Dan_xmin) << c.what;
        EXPECT_EQ(logic.view().Dan_ymax, expected.Dan_ymax) << c.what;
        EXPECT_TRUE(XorLeft().empty()) << c.what << ": no rectangle stays behind";
        EXPECT_EQ(port.hScroll, c.rectangle || d < 20 ? 50 : 60) << c.what << ": a zoom recentres the bars";
        EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick) << c.what;
        EXPECT_EQ(logic.modes().mode(), zoomMode) << c.what;
        EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(in ? Prompt::ZoomIn : Prompt::ZoomOut)) << c.what;
    }
}

TEST_F(MouseModesTest, ConnectingPointsChainsSegmentsFromPointToPoint)
{
    Start();
    logic.mnuLineIn_Click();
    Click(At(1));
    EXPECT_EQ(logic.modes().step(), MouseStep::RubberBand);
    EXPECT_EQ(state.NewLine[0], 1);
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::ConnectEnd));
    EXPECT_EQ(logic.modes().anchor().gx, At(1).x);
    Forget();
    Move(0, {300, 200});  // the line follows whatever the buttons
    EXPECT_EQ(port.picture.Count(Kind::Line), 1u);
    EXPECT_EQ(XorLeft(), std::vector{Figure(Kind::Line, At(1), {300, 200})});

    // Near point 3: the end snaps to it and a new solid segment 1-3 is drawn.
    Down(1, {At(3).x + 4, At(3).y - 3});
    EXPECT_TRUE(XorLeft().empty()) << ::testing::PrintToString(XorLeft());
    EXPECT_EQ(port.picture.Of(Kind::Line).back(),
              (Op{Kind::Line, At(1).x, At(1).y, At(3).x, At(3).y, qb::kWhite, PenStyle::Solid, PenMode::Copy, {}}));
    EXPECT_EQ(state.CurData.LineCount, 3);
    EXPECT_EQ(std::tuple(state.CurData.LineStart[3], state.CurData.LineEnd[3], state.CurData.LineKind[3]),
              std::tuple(1, 3, 0));
    EXPECT_EQ(state.Undo.UndoText(0), "線追加");
    EXPECT_EQ(std::tuple(state.NewLine[0], logic.modes().anchor().gx, logic.modes().step()),
              std::tuple(3, At(3).x, MouseStep::RubberBand));

    // The same point again joins nothing and takes no snapshot.
    Down(1, At(3));
    EXPECT_EQ(state.Undo.UndoCount(), 1);
    EXPECT_EQ(state.CurData.LineCount, 3);

    // An existing pair (3-2, dotted) is snapshotted but neither added nor drawn over.
    Move(0, {250, 250});
    const auto lines = port.picture.Count(Kind::Line);
    Down(1, At(2));
    EXPECT_EQ(state.Undo.UndoCount(), 2);
    EXPECT_EQ(state.CurData.LineCount, 3);
    EXPECT_EQ(state.CurData.LineKind[2], kDottedLine);
    EXPECT_EQ(port.picture.Count(Kind::Line), lines + 1) << "only the rubber line is erased";
    EXPECT_EQ(state.NewLine[0], 2);

    // Right: first the step is dropped, then the mode ends.
    Move(0, {250, 250});
    Down(2, {250, 250});
    EXPECT_TRUE(XorLeft().empty());
    EXPECT_EQ(std::tuple(logic.modes().step(), logic.modes().mode()),
              std::tuple(MouseStep::FirstPick, DispMode::Connect));
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::ConnectStart));
    port.cursor = CanvasCursor::Magnifier;
    Down(2, {250, 250});
    EXPECT_EQ(std::tuple(logic.modes().step(), logic.modes().mode()), std::tuple(MouseStep::Idle, DispMode::None));
    EXPECT_EQ(port.status[StatusPane::Prompt], "");
    EXPECT_EQ(port.cursor, CanvasCursor::Arrow);
}

TEST_F(MouseModesTest, AFullSegmentTableRefusesBeforeTheSnapshotAndTheChainStays)
{
    BlockData data = Sample();
    data.LineCount = kMaxLines;
    for (int k = 1; k <= kMaxLines; ++k)
        data.LineStart[k] = 1, data.LineEnd[k] = 2;
    Start(data);
    logic.mnuLineIn_Click();
    Click(At(4));
    Move(0, {300, 200});
    Down(1, At(3));
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(port.messages[0].text, "線分は200本までしか登録できません。");
    EXPECT_EQ(port.messages[0].title, "Error");
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(state.Undo.UndoCount(), 0);
    EXPECT_EQ(state.CurData.LineCount, kMaxLines);
    EXPECT_EQ(std::tuple(state.NewLine[0], logic.modes().step(), logic.modes().anchor().gx),
              std::tuple(4, MouseStep::RubberBand, At(4).x));
    EXPECT_TRUE(XorLeft().empty());
    EXPECT_EQ(port.picture.Of(Kind::Line).back().mode, PenMode::Xor) << "no segment is drawn";
    Move(0, {310, 210});
    EXPECT_EQ(XorLeft(), std::vector{Figure(Kind::Line, At(4), {310, 210})}) << "the band starts again at the start";
}

TEST_F(MouseModesTest, AFullSegmentTableStillLetsTheChainPassAlongAJoinedPair)
{
    BlockData data = Sample();
    data.LineCount = kMaxLines;
    for (int k = 3; k <= kMaxLines; ++k)
        data.LineStart[k] = 1, data.LineEnd[k] = 5;
    Start(data);
    logic.mnuLineIn_Click();
    Click(At(2));
    Down(1, At(1));  // 1-2 is segment 1: nothing to add, nothing to refuse
    EXPECT_TRUE(port.messages.empty());
    EXPECT_EQ(state.CurData.LineCount, kMaxLines);
    EXPECT_EQ(std::tuple(state.NewLine[0], logic.modes().step()), std::tuple(1, MouseStep::RubberBand))
        << "the chain goes on from point 1";
    Down(1, At(3));  // 1-3 is new: refused
    EXPECT_EQ(port.messages.size(), 1u);
}

TEST_F(MouseModesTest, ARepaintUnderABandStartsItAgainFromItsAnchor)
{
    struct Case {
        const char* what;
        Handler enter;
        int buttons;  // held while the band follows
    };
    // clang-format off
    const Case modes[] = {
        {"connecting", &FrameLogic::mnuLineIn_Click, 0},
        {"zooming in", &FrameLogic::mnuDispKaku_Click, 1},
        {"selecting points to move", &FrameLogic::mnuPointMov_Click, 1},
    };
    // clang-format on
    // clang-format off
    const std::pair<const char*, std::function<void(FrameLogic&)>> repaints[] = {
        {"grid", [](FrameLogic& l) { l.mnuDispGrid_Click(); }},
        {"point numbers", [](FrameLogic& l) { l.mnuDispPntNo_Click(); }},
        {"resize", [](FrameLogic& l) { l.Form_Resize(500, 380, false); }},
    };
    // clang-format on
    for (const Case& m : modes) {
        for (const auto& [why, repaint] : repaints) {
            Start();
            (logic.*m.enter)();
            Down(1, At(5));
            Move(m.buttons, {At(5).x + 60, At(5).y + 40});
            repaint(logic);
            // The picture was rebuilt under the band: nothing of it is on screen any more.
            Forget();
            const Pixel to{At(5).x + 30, At(5).y + 25};
            Move(m.buttons, to);
            const Pixel anchor = logic.modes().mode() == DispMode::MovePoints
                                     ? Pixel{logic.modes().anchor().gx, logic.modes().anchor().gy}
                                     : At(5);
            const Kind kind = logic.modes().mode() == DispMode::Connect ? Kind::Line : Kind::Box;
            EXPECT_EQ(XorLeft(), std::vector{Figure(kind, anchor, to)}) << m.what << ", " << why;
            EXPECT_EQ(port.picture.Count(kind), 1u) << m.what << ", " << why << ": no stray erase";
        }
    }
}

TEST_F(MouseModesTest, APickSelectsAndASecondPickReleases)
{
    struct Case {
        const char* what;
        Handler enter;
        double x, y;  // where the pick lands, in metres
        bool line;
        int number;
        int a, b;  // the segment's ends
    };
    // clang-format off
    const Case cases[] = {
        {"deleting segments: the nearest segment",       &FrameLogic::mnuLineDel_Click,  10,   0.5, true,  1, 1, 2},
        {"changing line kinds: a dotted one marked solid", &FrameLogic::mnuLineKind_Click, 19,  10,   true,  2, 2, 3},
        {"deleting points: the nearest point",           &FrameLogic::mnuPointDel_Click, 10.5, 9.5, false, 5, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        Start();
        (logic.*c.enter)();
        const auto [x, y] = logic.view().KzToGz(c.x, c.y);
        for (const bool selecting : {true, false}) {
            Forget();
            Click({x, y});
            EXPECT_EQ(c.line ? SelectedLines() : SelectedPoints(),
                      selecting ? std::vector<int>{c.number} : std::vector<int>{})
                << c.what << (selecting ? ", selecting" : ", releasing");
            EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick);
            if (c.line) {
                EXPECT_EQ(port.picture.Of(Kind::Line), (std::vector<Op>{{Kind::Line,
                                                                         At(c.a).x,
                                                                         At(c.a).y,
                                                                         At(c.b).x,
                                                                         At(c.b).y,
                                                                         selecting ? qb::kYellow : qb::kWhite,
                                                                         PenStyle::Solid,
                                                                         PenMode::Copy,
                                                                         {}}}));
            } else {
                const auto marks = port.picture.Of(Kind::PSet);
                ASSERT_EQ(marks.size(), 5u);
                EXPECT_EQ(marks[0].color, selecting ? qb::kYellow : qb::kLightMagenta);
                EXPECT_EQ(port.picture.Of(Kind::Print).at(0).color, selecting ? qb::kYellow : qb::kWhite);
            }
        }
    }
    // Releasing one of several keeps the others in the order they were picked.
    for (const int n : {3, 1, 2, 1})
        Click(At(n));
    EXPECT_EQ(SelectedPoints(), (std::vector<int>{3, 2}));
}

TEST_F(MouseModesTest, RightPressAppliesTheSelectionAfterAskingAndTheModeStays)
{
    struct Case {
        const char* what;
        Handler enter;
        double x, y;
        MsgAnswer answer;
        const char* question;
        const char* label;  // nullptr: no snapshot
        int points, lines, kind2;
    };
    const char* removePoints = "選択中の点を削除しますか？\r\n結線されている線分も削除します。";
    // clang-format off
    const Case cases[] = {
        {"segment deleted", &FrameLogic::mnuLineDel_Click, 10, 0, MsgAnswer::Ok, "選択中の線分を削除しますか？", "線削除", 5, 1, 0},
        {"segment kept", &FrameLogic::mnuLineDel_Click, 10, 0, MsgAnswer::Cancel, "選択中の線分を削除しますか？", nullptr, 5, 2, 1},
        {"point deleted with its segments", &FrameLogic::mnuPointDel_Click, 20, 0, MsgAnswer::Ok, removePoints, "点削除", 4, 0, 0},
        {"point kept", &FrameLogic::mnuPointDel_Click, 20, 0, MsgAnswer::Cancel, removePoints, nullptr, 5, 2, 1},
        {"line kind changed", &FrameLogic::mnuLineKind_Click, 20, 10, MsgAnswer::Ok, "選択中線分の線種を変更しますか？", "線種変更", 5, 2, 0},
        {"line kind kept", &FrameLogic::mnuLineKind_Click, 20, 10, MsgAnswer::Cancel, "選択中線分の線種を変更しますか？", nullptr, 5, 2, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        Start();
        (logic.*c.enter)();
        const DispMode mode = logic.modes().mode();
        const std::string prompt = port.status[StatusPane::Prompt];
        const auto [x, y] = logic.view().KzToGz(c.x, c.y);
        Click({x, y});
        port.answers = {c.answer};
        Forget();
        Down(2, {x, y});
        ASSERT_EQ(port.messages.size(), 1u);
        EXPECT_EQ(port.messages[0].text, c.question);
        EXPECT_EQ(port.messages[0].title, "確認");
        EXPECT_EQ(port.messages[0].buttons, MsgButtons::OkCancel);
        EXPECT_EQ(port.messages[0].icon, MsgIcon::None);
        EXPECT_EQ(state.Undo.UndoCount(), c.label ? 1 : 0);
        if (c.label) {
            EXPECT_EQ(state.Undo.UndoText(0), c.label);
        }
        EXPECT_EQ(std::tuple(state.CurData.PointCount, state.CurData.LineCount, state.CurData.LineKind[2]),
                  std::tuple(c.points, c.lines, c.kind2))
            << c.what;
        EXPECT_EQ(state.SelPntCount + state.SelLineCount, 0);
        EXPECT_EQ(port.picture.Count(Kind::Clear), 1u) << "the marks go with a repaint";
        EXPECT_EQ(std::tuple(logic.modes().mode(), logic.modes().step()), std::tuple(mode, MouseStep::FirstPick));
        EXPECT_EQ(port.status[StatusPane::Prompt], prompt);
        port.messages.clear();
    }
}

TEST_F(MouseModesTest, RightPressWithNothingToApplyEndsTheMode)
{
    // clang-format off
    const std::pair<Handler, bool> cases[] = {
        // the mode, and whether the pointer becomes the arrow
        {&FrameLogic::mnuDispKaku_Click, true},  {&FrameLogic::mnuDispShuku_Click, true},
        {&FrameLogic::mnuLineIn_Click, true},    {&FrameLogic::mnuLineDel_Click, false},
        {&FrameLogic::mnuPointDel_Click, false}, {&FrameLogic::mnuPointMov_Click, false},
        {&FrameLogic::mnuLineKind_Click, false},
    };
    // clang-format on
    for (const auto& [enter, arrow] : cases) {
        Start();
        (logic.*enter)();
        port.cursor = CanvasCursor::Magnifier;
        Forget();
        Down(2, {300, 200});
        EXPECT_EQ(std::tuple(logic.modes().mode(), logic.modes().step()), std::tuple(DispMode::None, MouseStep::Idle));
        EXPECT_EQ(port.status[StatusPane::Prompt], "");
        EXPECT_EQ(port.cursor, arrow ? CanvasCursor::Arrow : CanvasCursor::Magnifier);
        EXPECT_TRUE(port.messages.empty());
        EXPECT_EQ(port.shows, 0) << "no repaint";
        // With no mode a press is ignored.
        Down(1, At(1));
        EXPECT_EQ(std::tuple(logic.modes().step(), state.SelPntCount, port.shows), std::tuple(MouseStep::Idle, 0, 0));
    }
}

TEST_F(MouseModesTest, MovingPointsAsksForTheAmountsAndMovesOnlyOnOk)
{
    Start();
    logic.mnuPointMov_Click();
    Click(At(5));
    Click(At(3));
    port.pointMoveDialog = [this] {
        EXPECT_FALSE(state.MoveOK);
        state.MoveDX = 1.5, state.MoveDY = -2, state.MoveOK = true;
    };
    Down(2, {10, 10});
    EXPECT_EQ(std::tuple(state.CurData.PointX[5], state.CurData.PointY[5], state.CurData.PointX[3]),
              std::tuple(11.5, 8.0, 21.5));
    EXPECT_EQ(state.Undo.UndoText(0), "点移動");
    EXPECT_EQ(std::tuple(state.SelPntCount, logic.modes().mode(), logic.modes().step()),
              std::tuple(0, DispMode::MovePoints, MouseStep::FirstPick));

    // An answer left over from an earlier opening moves nothing.
    Click(At(5));
    port.pointMoveDialog = nullptr;
    Down(2, {10, 10});
    EXPECT_EQ(state.CurData.PointX[5], 11.5);
    EXPECT_EQ(state.Undo.UndoCount(), 1);
    EXPECT_EQ(state.SelPntCount, 0);
}

TEST_F(MouseModesTest, AreaSelectionsAddUpAndAClickReleasesOnePoint)
{
    BlockData row;
    row.PointCount = 4;
    for (int n = 1; n <= 4; ++n)
        row.PointX[n] = 5.0 * (n - 1);
    Start(row);
    logic.mnuPointMov_Click();
    const auto px = [this](double x, double y) {
        const auto [gx, gy] = logic.view().KzToGz(x, y);
        return Pixel{gx, gy};
    };
    Down(1, px(-1, -0.5));
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::MovePointsCorner));
    Move(1, px(11, 0.5));
    Up(1, px(11.5, 0.7));  // released a little beyond the last move: the drawn rectangle is erased
    EXPECT_EQ(SelectedPoints(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(XorLeft().empty());
    Forget();
    Drag(px(16, 0.5), px(4, -0.5));
    EXPECT_EQ(SelectedPoints(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(port.picture.Count(Kind::PSet), 4u * 5u) << "every selected point is marked again";
    EXPECT_TRUE(XorLeft().empty());
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::MovePoints));

    // A press and release closer than 20 pixels is a click, even after a small drag.
    Down(1, At(3));
    Move(1, {At(3).x + 5, At(3).y + 5});
    Up(1, {At(3).x + 5, At(3).y + 5});
    EXPECT_EQ(SelectedPoints(), (std::vector<int>{1, 2, 4}));
    EXPECT_TRUE(XorLeft().empty());
    EXPECT_EQ(port.picture.Of(Kind::PSet).back().color, qb::kLightMagenta);
}

TEST_F(MouseModesTest, ARightPressDuringADragDropsTheRectangle)
{
    const std::pair<Handler, Prompt> cases[] = {{&FrameLogic::mnuDispKaku_Click, Prompt::ZoomIn},
                                                {&FrameLogic::mnuDispShuku_Click, Prompt::ZoomOut},
                                                {&FrameLogic::mnuPointMov_Click, Prompt::MovePoints}};
    for (const auto& [enter, prompt] : cases) {
        Start();
        (logic.*enter)();
        Down(1, {100, 100});
        Move(1, {300, 250});
        Move(0, {320, 260});  // without the button the rectangle stays where it was drawn
        Down(2, {320, 260});
        EXPECT_TRUE(XorLeft().empty());
        EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick);
        EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(prompt));
        const ViewTransform before = logic.view();
        Forget();
        Up(1, {300, 250});
        EXPECT_TRUE(port.picture.ops.empty());
        EXPECT_EQ(logic.view().Dan_scl, before.Dan_scl);
        EXPECT_EQ(state.SelPntCount, 0);
    }
}

TEST_F(MouseModesTest, ScrollingDuringADragAnchorsTheRectangleAtItsModelPoint)
{
    Start();
    logic.mnuDispKaku_Click();
    Down(1, At(5));
    Move(1, {At(5).x + 60, At(5).y + 40});
    port.setScrollValue(ScrollBar::Horizontal, 52);
    EXPECT_EQ(logic.modes().anchor().gx, At(5).x);  // the view moved under the press point
    Forget();
    Move(1, {400, 300});
    EXPECT_EQ(XorLeft(), std::vector{Figure(Kind::Box, At(5), {400, 300})});
    EXPECT_EQ(port.picture.Count(Kind::Box), 1u);
}

TEST_F(MouseModesTest, ModesEndWhenWhatTheyWorkOnIsGone)
{
    const Handler cases[] = {&FrameLogic::mnuLineIn_Click, &FrameLogic::mnuLineDel_Click,
                             &FrameLogic::mnuPointDel_Click, &FrameLogic::mnuPointMov_Click};
    for (const Handler enter : cases) {
        Start();
        (logic.*enter)();
        const auto middle = [this](int a, int b) { return Pixel{(At(a).x + At(b).x) / 2, (At(a).y + At(b).y) / 2}; };
        if (logic.modes().mode() == DispMode::DeletePoints) {
            for (int n = 1; n <= 5; ++n)
                Click(At(n));
            Down(2, {0, 0});  // answered OK
        } else if (logic.modes().mode() == DispMode::DeleteLines) {
            Click(middle(1, 2));
            Click(middle(2, 3));
            Down(2, {0, 0});
        } else {
            Click(At(1));
            state.Undo.push(BlockData{}, "点削除");
            logic.Undo_Click();
        }
        EXPECT_TRUE(state.CurData.LineCount == 0 || state.CurData.PointCount == 0);
        EXPECT_EQ(std::tuple(logic.modes().mode(), logic.modes().step()), std::tuple(DispMode::None, MouseStep::Idle));
        EXPECT_EQ(port.status[StatusPane::Prompt], "");
    }
}

TEST_F(MouseModesTest, EveryMoveShowsThePointerInMetres)
{
    struct Case {
        const char* what;
        double xmin, ymax, scl;
        Pixel at;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        {"two decimals, rounded",            12.345, -3.1,   1, {0, 0}, "X = 12.35  Y = -3.10"},
        {"a pixel is half a metre",          0,      0,      2, {5, 9}, "X = 2.50  Y = -4.50"},
        {"negative values",                  -1,     1,      4, {2, 6}, "X = -0.50  Y = -0.50"},
        {"far coordinates in a short form",  1e308,  -1e300, 1, {0, 0}, "X = 1.00E+308  Y = -1.00E+300"},
    };
    // clang-format on
    Start();
    for (const Case& c : cases) {
        logic.view().Dan_xmin = c.xmin, logic.view().Dan_ymax = c.ymax, logic.view().Dan_scl = c.scl;
        Forget();
        Move(1, c.at);
        EXPECT_EQ(port.status[StatusPane::Readout], c.text) << c.what;
        EXPECT_TRUE(port.picture.ops.empty());
    }
}

TEST_F(MouseModesTest, PicksThatFindNothingAreIgnored)
{
    BlockData noLines = Sample();
    noLines.LineCount = 0;
    noLines.LineStart.fill(0), noLines.LineEnd.fill(0), noLines.LineKind.fill(0);
    // clang-format off
    const std::pair<Handler, BlockData> cases[] = {
        {&FrameLogic::mnuLineKind_Click, noLines}, {&FrameLogic::mnuLineDel_Click, noLines},
        {&FrameLogic::mnuLineIn_Click, {}},        {&FrameLogic::mnuPointDel_Click, {}},
        {&FrameLogic::mnuPointMov_Click, {}},
    };
    // clang-format on
    for (const auto& [enter, data] : cases) {
        Start(data);
        (logic.*enter)();
        Forget();
        Click({300, 200});
        Click({300, 200});
        EXPECT_EQ(state.SelPntCount + state.SelLineCount, 0);
        EXPECT_EQ(std::tuple(state.NewLine[0], state.NewLine[1], logic.modes().step()),
                  std::tuple(0, 0, MouseStep::FirstPick));
        EXPECT_EQ(port.picture.MarkCount(), 0u);
    }

    // An end point beyond reach of every point leaves the step waiting, band and all.
    BlockData far;
    far.PointCount = 2;
    far.PointX[2] = 5000;
    Start(far);
    logic.mnuLineIn_Click();
    Click(At(1));
    Move(0, {300, 100});
    Down(1, {300, 100});
    EXPECT_EQ(std::tuple(state.NewLine[0], logic.modes().step(), state.Undo.UndoCount()),
              std::tuple(1, MouseStep::RubberBand, 0));
    EXPECT_EQ(XorLeft(), std::vector{Figure(Kind::Line, At(1), {300, 100})});
}

TEST_F(MouseModesTest, UndoDropsSelectionsThatNameTheOldNumbering)
{
    Start();
    PushUndo(state, "点削除");
    state.SelPnt[0] = 1, state.SelPntCount = 1;
    DeletePoints(state);  // the centre is point 4 now
    state.SelPntCount = 0;
    logic.mnuPointDel_Click();
    Click(At(4));
    ASSERT_EQ(SelectedPoints(), std::vector<int>{4});
    logic.Undo_Click();
    EXPECT_EQ(state.SelPntCount, 0);
    Down(2, {0, 0});
    EXPECT_TRUE(port.messages.empty());
    EXPECT_EQ(state.CurData, Sample()) << "the restored point 4 was never picked";

    // A chain half-way through starts again at its first pick.
    logic.mnuLineIn_Click();
    Click(At(1));
    PushUndo(state, "線追加");
    logic.Undo_Click();
    EXPECT_EQ(logic.modes().step(), MouseStep::FirstPick);
    EXPECT_EQ(port.status[StatusPane::Prompt], MessageText(Prompt::ConnectStart));
    Click(At(2));
    EXPECT_EQ(std::tuple(state.NewLine[0], logic.modes().step()), std::tuple(2, MouseStep::RubberBand));
}

}  // namespace
}  // namespace chokusho
