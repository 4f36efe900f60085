#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CalTool.h"
#include "EditOperations.h"
#include "TestBlocks.h"

namespace chokusho {
namespace {

using test::Point;
using test::PointsOf;
using test::Section;
using test::Segment;
using test::SegmentsOf;
using test::Sound;

/** A document on the heap (its undo stack is large) that records the notifications it sends. */
struct Doc {
    std::unique_ptr<DocumentState> state = std::make_unique<DocumentState>();
    std::vector<std::string> events;

    explicit Doc(const BlockData& data)
    {
        state->CurData = data;
        state->MenuEnable = [this] { events.push_back("menu"); };
        state->SetUndoEnabled = [this](bool on) { events.push_back(on ? "undo on" : "undo off"); };
    }
    void selectPoints(const std::vector<int>& pts)
    {
        state->SelPntCount = static_cast<std::int16_t>(pts.size());
        for (std::size_t i = 0; i < pts.size(); ++i)
            state->SelPnt[i] = static_cast<std::int16_t>(pts[i]);
    }
    void selectLines(const std::vector<int>& lines)
    {
        state->SelLineCount = static_cast<std::int16_t>(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            state->SelLine[i] = static_cast<std::int16_t>(lines[i]);
    }
};

const std::vector<std::string> kMenuOnce{"menu"};

TEST(FootOnLineTest, FootAndWhereItFalls)
{
    struct Case {
        const char* what;
        double x1, y1, x2, y2, px, py, fx, fy;
        int flag;
    };
    // clang-format off
    const Case cases[] = {
        {"inside",                                     0, 0, 10, 0,  3, 5,  3, 0, 0},
        {"before the start",                           0, 0, 10, 0, -2, 1, -2, 0, 1},
        {"beyond the end",                             0, 0, 10, 0, 12, 1, 12, 0, 1},
        {"level with an end counts as on the segment", 0, 0, 10, 0, 10, 3, 10, 0, 0},
        {"oblique",                                    0, 0,  4, 4,  4, 0,  2, 2, 0},
        {"the same line traced backwards",             4, 4,  0, 0,  4, 0,  2, 2, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double fx = 99, fy = 99;
        EXPECT_EQ(FootOnLine(c.x1, c.y1, c.x2, c.y2, c.px, c.py, fx, fy), c.flag);
        EXPECT_DOUBLE_EQ(fx, c.fx);
        EXPECT_DOUBLE_EQ(fy, c.fy);
    }
    double fx = 99, fy = 98;
    EXPECT_EQ(FootOnLine(1, 1, 1, 1, 5, 5, fx, fy), -1);
    EXPECT_EQ(fx, 99);
    EXPECT_EQ(fy, 98);
}

TEST(FindPointTest, NearestWithinToleranceHighestOnTie)
{
    BlockData d = Section({{0, 0}, {2, 0}, {5, 5}, {5, 5}, {10, 0}, {2, 1}}, {});
    d.PointX[7] = 20;  // a deleted point's coordinates stay behind
    d.PointY[7] = 20;
    struct Case {
        const char* name;
        double x, y, tol;
        int expected;
    };
    // clang-format off
    const Case cases[] = {
        {"tie at equal distance goes to the higher", 1, 0, 1.5, 2},
        {"coincident points give the higher", 5, 5, 0.1, 4},
        {"later nearer point wins", 2, 0.9, 2, 6},
        {"later farther point does not displace", 0.1, 0, 3, 1},
        {"exactly at tolerance is found", 10, 3, 3, 5},
        {"just beyond tolerance", 10, 3.001, 3, -1},
        {"slot above PointCount is not a point", 20, 20, 1, -1},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(FindPoint(d, c.x, c.y, c.tol), c.expected) << c.name;
}

TEST(PointsInRectTest, InclusiveBoundsAscending)
{
    BlockData d = Section({{0, 0}, {2, 0}, {2, 2}, {5, 5}}, {});
    d.PointX[5] = 1;  // stale slot inside every rectangle below
    d.PointY[5] = 1;
    struct Case {
        const char* what;
        double xmin, ymin, xmax, ymax;
        std::vector<std::int16_t> expected;
    };
    // clang-format off
    const Case cases[] = {
        {"points on the edges count",      0,   0,  2,  2, {1, 2, 3}},
        {"one point inside",               0.5, -1, 2,  1, {2}},
        {"a rectangle of no width",        2,   0,  2,  2, {2, 3}},
        {"every point",                    -1,  -1, 10, 10, {1, 2, 3, 4}},
        {"corners given the wrong way round", 2, 2, 0,  0, {}},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(PointsInRect(d, c.xmin, c.ymin, c.xmax, c.ymax), c.expected) << c.what;
}

TEST(FindLineTest, NearestSegmentLowestOnTie)
{
    // 1: y=0 from x 0..10, 2: y=2 from x 0..10, 3: zero length at (20,5), 4: (30,0)-(40,10)
    const BlockData d = Section({{0, 0}, {10, 0}, {0, 2}, {10, 2}, {20, 5}, {20, 5}, {30, 0}, {40, 10}},
                                {{1, 2, 0}, {3, 4, 0}, {5, 6, 0}, {7, 8, 0}});
    struct Case {
        const char* name;
        double x, y, tol;
        int expected;
    };
    // clang-format off
    const Case cases[] = {
        {"tie between 1 and 2 goes to the lower", 5, 1, 2, 1},
        {"nearer later segment wins", 5, 1.5, 2, 2},
        {"beyond the end measured to the nearer end", 13, 0, 3.5, 1},
        {"beyond the end, end out of reach", 13, 0, 2.9, -1},
        {"on the line beyond an oblique end, end out of reach", 41.5, 11.5, 2, -1},
        {"on the line beyond an oblique end, end in reach", 41.5, 11.5, 2.2, 4},
        {"zero-length segment by distance to its point", 20, 6, 1.5, 3},
        {"zero-length segment out of reach", 20, 7, 1.5, -1},
        {"exactly at tolerance is not found", 5, -1, 1, -1},
        {"just within tolerance", 5, -1, 1.0001, 1},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(FindLine(d, c.x, c.y, c.tol), c.expected) << c.name;
}

TEST(FindLineTest, QuickRejectionKeepsSegmentsPassingBetweenFarEnds)
{
    // Segment 2 and 3 have both ends outside the search square, on opposite sides.
    const BlockData d = Section({{1.8, -0.2}, {1.8, 0.2}, {-100, 0.5}, {100, 0.5}, {-5, 3}, {3, -5}},
                                {{1, 2, 0}, {3, 4, 0}, {5, 6, 0}});
    EXPECT_EQ(FindLine(d, 0, 0, 2), 2);
    EXPECT_EQ(FindLine(d, 0, -1.5, 2), 3);  // diagonal x+y=-2 lies 0.354 away
}

TEST(FindLineTest, EmptyOrBrokenTablesFindNothing)
{
    BlockData d = Section({{5, 5}, {6, 6}}, {});
    EXPECT_EQ(FindLine(d, 5, 5, 1), -1);
    d.LineCount = -1;
    EXPECT_EQ(FindLine(d, 5, 5, 1), -1);

    // Ends naming slot 0, a slot above PointCount, or beyond the table are skipped.
    d = Section({{5, 5}, {6, 6}}, {{0, 0, 0}, {1, 0, 0}, {3, 3, 0}, {1, 150, 0}, {-4, 2, 0}});
    d.PointX[3] = 30;
    d.PointY[3] = 30;
    EXPECT_EQ(FindLine(d, 0, 0, 1), -1);
    EXPECT_EQ(FindLine(d, 30, 30, 1), -1);
    EXPECT_EQ(FindLine(d, 5, 5, 0.5), -1);
}

TEST(AddLineTest, ResultsAndTable)
{
    const BlockData base = Section({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{1, 2, 1}, {2, 3, 0}});
    struct Case {
        const char* what;
        int s, e;
        AddLineResult expected;
    };
    // clang-format off
    const Case cases[] = {
        {"a new pair",                          3, 4, AddLineResult::Added},
        {"a new pair, the higher point first",  4, 1, AddLineResult::Added},
        {"a dotted segment there already",      1, 2, AddLineResult::AlreadyPresent},
        {"the same, its ends reversed",         2, 1, AddLineResult::AlreadyPresent},
        {"a solid one there, its ends reversed", 3, 2, AddLineResult::AlreadyPresent},
        {"a point joined to itself",            2, 2, AddLineResult::InvalidPoints},
        {"point 0",                             0, 1, AddLineResult::InvalidPoints},
        {"a point past the table",              1, 5, AddLineResult::InvalidPoints},
        {"a negative point",                   -1, 2, AddLineResult::InvalidPoints},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Doc doc(base);
        doc.state->NewLine = {static_cast<std::int16_t>(c.s), static_cast<std::int16_t>(c.e)};
        EXPECT_EQ(AddLine(*doc.state), c.expected);
        const BlockData& d = doc.state->CurData;
        EXPECT_TRUE(Sound(d));
        EXPECT_TRUE(doc.events.empty());
        if (c.expected == AddLineResult::Added) {
            std::vector<Segment> segs = SegmentsOf(base);
            segs.push_back({c.s, c.e, kSolidLine});
            EXPECT_EQ(SegmentsOf(d), segs);
        } else {
            EXPECT_EQ(d, base);
        }
    }
}

TEST(AddLineTest, TableHoldsTwoHundred)
{
    std::vector<Point> pts;
    for (int i = 0; i < kMaxPoints; ++i)
        pts.push_back({static_cast<double>(i), 0});
    std::vector<Segment> segs;
    for (int i = 1; i < kMaxLines; ++i)  // 199 distinct pairs
        segs.push_back({(i - 1) % kMaxPoints + 1, (i + (i - 1) / kMaxPoints) % kMaxPoints + 1, 0});
    Doc doc(Section(pts, segs));
    DocumentState& s = *doc.state;
    ASSERT_TRUE(Sound(s.CurData));

    s.NewLine = {1, 50};
    EXPECT_EQ(AddLine(s), AddLineResult::Added);
    EXPECT_EQ(s.CurData.LineCount, kMaxLines);
    EXPECT_TRUE(Sound(s.CurData));

    const BlockData full = s.CurData;
    s.NewLine = {1, 60};
    EXPECT_EQ(AddLine(s), AddLineResult::TableFull);
    s.NewLine = {50, 1};
    EXPECT_EQ(AddLine(s), AddLineResult::AlreadyPresent);
    EXPECT_EQ(s.CurData, full);
}

TEST(DeleteLinesTest, RemovesSelectedAndRenumbers)
{
    const BlockData base = Section({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{1, 2, 0}, {2, 3, 1}, {3, 4, 0}, {4, 1, 0}});
    struct Case {
        const char* what;
        std::vector<int> selection;
        std::vector<Segment> expected;
    };
    // clang-format off
    const Case cases[] = {
        {"two apart",                          {1, 3}, {{2, 3, 1}, {4, 1, 0}}},
        {"two apart, selected the other way",  {3, 1}, {{2, 3, 1}, {4, 1, 0}}},
        {"the last",                           {4}, {{1, 2, 0}, {2, 3, 1}, {3, 4, 0}}},
        {"one selected twice",                 {2, 2}, {{1, 2, 0}, {3, 4, 0}, {4, 1, 0}}},
        {"all",                                {1, 2, 3, 4}, {}},
        {"none",                               {}, SegmentsOf(base)},
        {"only numbers that name no segment",  {0, 5, -3, 200}, SegmentsOf(base)},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Doc doc(base);
        doc.selectLines(c.selection);
        DeleteLines(*doc.state);
        EXPECT_EQ(SegmentsOf(doc.state->CurData), c.expected);
        EXPECT_TRUE(Sound(doc.state->CurData));
        EXPECT_EQ(doc.events, kMenuOnce);
    }
}

TEST(DeletePointsTest, RemovesPointsWithTheirSegmentsAndRenumbers)
{
    const BlockData base = Section({{10, 1}, {20, 2}, {30, 3}, {40, 4}}, {{1, 2, 0}, {2, 3, 0}, {3, 4, 1}, {4, 1, 1}});
    struct Case {
        const char* what;
        std::vector<int> selection;
        std::vector<Point> points;
        std::vector<Segment> segs;
    };
    // clang-format off
    const Case cases[] = {
        {"one inside the table",               {2}, {{10, 1}, {30, 3}, {40, 4}}, {{2, 3, 1}, {3, 1, 1}}},
        {"two neighbours",                     {2, 3}, {{10, 1}, {40, 4}}, {{2, 1, 1}}},
        {"two neighbours, selected downwards", {3, 2}, {{10, 1}, {40, 4}}, {{2, 1, 1}}},
        {"the last",                           {4}, {{10, 1}, {20, 2}, {30, 3}}, {{1, 2, 0}, {2, 3, 0}}},
        {"all",                                {1, 2, 3, 4}, {}, {}},
        {"all, selected downwards",            {4, 3, 2, 1}, {}, {}},
        {"none",                               {}, PointsOf(base), SegmentsOf(base)},
        {"only numbers that name no point",    {0, 5, -1}, PointsOf(base), SegmentsOf(base)},
        // A repeated entry names whichever point took the number, or nothing at the end.
        {"one selected twice",                 {2, 2}, {{10, 1}, {40, 4}}, {{2, 1, 1}}},
        {"the last selected twice",            {4, 4}, {{10, 1}, {20, 2}, {30, 3}}, {{1, 2, 0}, {2, 3, 0}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Doc doc(base);
        doc.selectPoints(c.selection);
        DeletePoints(*doc.state);
        EXPECT_EQ(PointsOf(doc.state->CurData), c.points);
        EXPECT_EQ(SegmentsOf(doc.state->CurData), c.segs);
        EXPECT_TRUE(Sound(doc.state->CurData));
        EXPECT_EQ(doc.events, kMenuOnce);
    }
}

TEST(DeletePointsTest, FullTablesStayInBounds)
{
    std::vector<Point> pts;
    for (int i = 0; i < kMaxPoints; ++i)
        pts.push_back({static_cast<double>(i), static_cast<double>(i)});
    std::vector<Segment> segs;
    for (int i = 1; i <= kMaxLines; ++i)
        segs.push_back({(i - 1) % kMaxPoints + 1, i % kMaxPoints + 1, i % 2});
    Doc doc(Section(pts, segs));
    doc.selectPoints({kMaxPoints, 1, kMaxPoints - 2});
    DeletePoints(*doc.state);
    const BlockData& d = doc.state->CurData;
    EXPECT_EQ(d.PointCount, kMaxPoints - 3);
    EXPECT_EQ(d.LineCount, kMaxLines - 10);  // four segments per point; 100 and 1 share two
    EXPECT_EQ(d.PointX[1], 1);
    EXPECT_TRUE(Sound(d));
}

TEST(MovePointsTest, MovesOnlySelectedPoints)
{
    Doc doc(Section({{0, 0}, {1, 1}, {2, 2}}, {{1, 2, 0}}));
    doc.selectPoints({3, 1, 0, 7});
    doc.state->MoveDX = 1.5;
    doc.state->MoveDY = -2;
    MovePoints(*doc.state);
    EXPECT_EQ(PointsOf(doc.state->CurData), (std::vector<Point>{{1.5, -2}, {1, 1}, {3.5, 0}}));
    EXPECT_EQ(doc.state->CurData.PointX[0], 0);
    EXPECT_EQ(doc.state->CurData.PointX[7], 0);
    EXPECT_TRUE(Sound(doc.state->CurData));
    EXPECT_EQ(doc.events, kMenuOnce);
}

TEST(ToggleLineKindTest, FlipsSelectedAndTwiceRestores)
{
    const BlockData base = Section({{0, 0}, {1, 0}, {1, 1}}, {{1, 2, 0}, {2, 3, 1}, {3, 1, 0}});
    Doc doc(base);
    doc.selectLines({1, 2, 0, 4});
    ToggleLineKind(*doc.state);
    EXPECT_EQ(SegmentsOf(doc.state->CurData), (std::vector<Segment>{{1, 2, 1}, {2, 3, 0}, {3, 1, 0}}));
    EXPECT_EQ(doc.state->CurData.LineKind[4], 0);
    EXPECT_TRUE(Sound(doc.state->CurData));
    ToggleLineKind(*doc.state);
    EXPECT_EQ(doc.state->CurData, base);
    EXPECT_EQ(doc.events, (std::vector<std::string>{"menu", "menu"}));
}

TEST(SelectionLookupTest, OnlyCountedEntriesAreSearched)
{
    Doc doc(BlockData{});
    doc.selectPoints({5, 3, 5, 7});
    doc.state->SelPntCount = 3;
    doc.selectLines({9, 4});
    doc.state->SelLine[2] = 8;
    EXPECT_EQ(FindSelPnt(*doc.state, 5), 0);
    EXPECT_EQ(FindSelPnt(*doc.state, 3), 1);
    EXPECT_EQ(FindSelPnt(*doc.state, 7), -1);
    EXPECT_EQ(FindSelLine(*doc.state, 4), 1);
    EXPECT_EQ(FindSelLine(*doc.state, 8), -1);
    doc.state->SelLineCount = 300;  // a corrupt count must not read past the list
    EXPECT_EQ(FindSelLine(*doc.state, 12345), -1);
}

TEST(DocumentInvariantsTest, ReportsEachBrokenRule)
{
    const BlockData good = Section({{0, 0}, {1, 0}, {1, 1}}, {{1, 2, 0}, {2, 3, 1}});
    ASSERT_TRUE(Sound(good));

    using Edit = std::function<void(BlockData&)>;
    // clang-format off
    const std::pair<const char*, Edit> allowed[] = {
        {"layer above LayerCount", [](BlockData& d) { d.LayerH[5] = 2; }},
        {"full counts", [](BlockData& d) { d.LayerCount = kMaxLayers; }},
    };
    // clang-format on
    for (const auto& [name, edit] : allowed) {
        BlockData d = good;
        edit(d);
        EXPECT_TRUE(Sound(d)) << name;
    }

    // clang-format off
    const std::pair<const char*, Edit> broken[] = {
        {"PointCount above capacity", [](BlockData& d) { d.PointCount = kMaxPoints + 1; }},
        {"PointCount negative", [](BlockData& d) { d.PointCount = -1; }},
        {"LineCount above capacity", [](BlockData& d) { d.LineCount = kMaxLines + 1; }},
        {"LineCount negative", [](BlockData& d) { d.LineCount = -1; }},
        {"LayerCount above capacity", [](BlockData& d) { d.LayerCount = kMaxLayers + 1; }},
        {"LayerCount negative", [](BlockData& d) { d.LayerCount = -1; }},
        {"segment start 0", [](BlockData& d) { d.LineStart[1] = 0; }},
        {"segment end above PointCount", [](BlockData& d) { d.LineEnd[2] = 4; }},
        {"segment end negative", [](BlockData& d) { d.LineEnd[1] = -2; }},
        {"point slot 0 X", [](BlockData& d) { d.PointX[0] = 1; }},
        {"point slot 0 Y", [](BlockData& d) { d.PointY[0] = 1; }},
        {"segment slot 0 start", [](BlockData& d) { d.LineStart[0] = 1; }},
        {"segment slot 0 end", [](BlockData& d) { d.LineEnd[0] = 1; }},
        {"segment slot 0 kind", [](BlockData& d) { d.LineKind[0] = 1; }},
        {"start above LineCount", [](BlockData& d) { d.LineStart[3] = 1; }},
        {"kind above LineCount", [](BlockData& d) { d.LineKind[3] = 1; }},
        {"point above PointCount", [](BlockData& d) { d.PointY[4] = 7; }},
        {"point in the last slot", [](BlockData& d) { d.PointX[kMaxPoints] = 1; }},
        {"end in the last slot", [](BlockData& d) { d.LineEnd[kMaxLines] = 2; }},
        {"points removed under segments", [](BlockData& d) { d.PointCount = 1; }},
    };
    // clang-format on
    for (const auto& [name, edit] : broken) {
        BlockData d = good;
        edit(d);
        EXPECT_FALSE(Sound(d)) << name;
    }
}

}  // namespace
}  // namespace chokusho
