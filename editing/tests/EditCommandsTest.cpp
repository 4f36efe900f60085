#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TestBlocks.h"
#include "EditOperations.h"
#include "FakeFramePort.h"
#include "FileSystem.h"
#include "FrameLogic.h"

namespace chokusho {
namespace {

using test::FakeFramePort;
using Points = std::vector<std::pair<double, double>>;
using Segments = std::vector<std::string>;

/** Points 1 (0,0), 2 (5,0), 3 (5,5); segment 1 joins 1-2 solid, segment 2 joins 2-3 dotted. */
BlockData ThreePoints()
{
    BlockData data;
    data.PointCount = 3;
    data.PointX[2] = 5;
    data.PointX[3] = 5, data.PointY[3] = 5;
    data.LineCount = 2;
    data.LineStart[1] = 1, data.LineEnd[1] = 2, data.LineKind[1] = kSolidLine;
    data.LineStart[2] = 2, data.LineEnd[2] = 3, data.LineKind[2] = kDottedLine;
    return data;
}

/** `data` with `points` in place of its own. */
BlockData WithPoints(BlockData data, const Points& points)
{
    data.PointCount = static_cast<std::int16_t>(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        data.PointX[i + 1] = points[i].first;
        data.PointY[i + 1] = points[i].second;
    }
    return data;
}

Segments SegmentsOf(const BlockData& data)
{
    Segments out;
    for (int k = 1; k <= data.LineCount; ++k)
        out.push_back(std::to_string(data.LineStart[k]) + "-" + std::to_string(data.LineEnd[k]) + ":" +
                      std::to_string(data.LineKind[k]));
    return out;
}

/** A fresh folder of its own, removed with what it holds. */
struct Folder {
    Folder()
    {
        static int made = 0;
        path = std::filesystem::temp_directory_path() /
               ("chokusho-edit-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                std::to_string(++made));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path putManual() const
    {
        const std::filesystem::path file = path / PathFromUtf8("直消操作説明.pdf");
        std::ofstream(file) << "%PDF-1.4\n";
        return file;
    }
    std::filesystem::path path;
};

class EditCommandsTest : public ::testing::Test {
protected:
    void Start(const BlockData& data)
    {
        state.CurData = data;
        logic.Form_Load("/blocks/");
        logic.Form_Resize(618, 419, false);
        port.shows = 0;
    }
    /** The point table, confirmed with `points` in its rows each time it is shown. */
    void ConfirmTableWith(const Points& points)
    {
        port.pointTable = [this, points] { return std::optional<BlockData>(WithPoints(state.CurData, points)); };
    }
    /** The point table, answered in turn: confirmed with the next points, or cancelled (nullopt). */
    void AnswerTablesWith(std::vector<std::optional<Points>> tables)
    {
        port.pointTable = [this, tables = std::move(tables), next = std::size_t{0}]() mutable {
            const std::optional<Points> points = next < tables.size() ? tables[next++] : std::nullopt;
            return points ? std::optional<BlockData>(WithPoints(state.CurData, *points)) : std::nullopt;
        };
    }
    void ExpectSound() { EXPECT_TRUE(test::Sound(state.CurData)); }

    DocumentState state;
    FakeFramePort port;
    FrameLogic logic{state, port};
};

TEST_F(EditCommandsTest, SegmentsFollowTheirPointsThroughThePointTable)
{
    struct Case {
        const char* what;
        Points points;
        Segments segments;
    };
    // clang-format off
    const Case cases[] = {
        {"unchanged", {{0, 0}, {5, 0}, {5, 5}}, {"1-2:0", "2-3:1"}},
        {"point 1 deleted", {{5, 0}, {5, 5}}, {"1-2:1"}},
        {"point 1 edited", {{0, 1}, {5, 0}, {5, 5}}, {"2-3:1"}},
        {"point 2's X moved", {{0, 0}, {5.001, 0}, {5, 5}}, {}},
        {"point 2's row cleared ends the list: 2-3 loses both ends", {{0, 0}}, {}},
        {"renumbered", {{5, 5}, {5, 0}, {0, 0}}, {"3-2:0", "2-1:1"}},
        {"a point added", {{0, 0}, {5, 0}, {5, 5}, {9, 9}}, {"1-2:0", "2-3:1"}},
        {"point 3 moved onto point 1's place", {{0, 0}, {5, 0}, {0, 0}}, {"1-2:0"}},
        {"point 2 moved onto point 3's place, point 3 deleted", {{0, 0}, {5, 5}}, {}},
        {"coinciding points: the lower number", {{5, 0}, {0, 0}, {5, 0}, {5, 5}}, {"2-1:0", "1-4:1"}},
        {"closer than 0.0001 is the same point", {{0.00009, 0}, {5, 0}, {5, 5}}, {"1-2:0", "2-3:1"}},
        {"0.0001 away is another point", {{0.0001, 0}, {5, 0}, {5, 5}}, {"2-3:1"}},
        {"all points deleted", {}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        // What is dropped is counted before, a segment once however many of its ends are gone.
        const int dropped = 2 - static_cast<int>(c.segments.size());
        EXPECT_EQ(DroppedSegmentCount(ThreePoints(), WithPoints(ThreePoints(), c.points)), dropped) << c.what;

        Start(ThreePoints());
        logic.mnuLineDel_Click();
        state.SelLineCount = 1, state.SelLine[1] = 2;
        ConfirmTableWith(c.points);
        const std::size_t asked = port.messages.size();
        logic.mnuPointHen_Click();

        EXPECT_EQ(SegmentsOf(state.CurData), c.segments) << c.what;
        ASSERT_EQ(port.messages.size() - asked, dropped > 0 ? 1u : 0u) << c.what << ": asked only when any is dropped";
        if (dropped > 0) {
            EXPECT_NE(port.messages.back().text.find("線分 " + std::to_string(dropped) + " 本"), std::string::npos)
                << c.what;
        }
        EXPECT_EQ(logic.modes().mode(), DispMode::None) << c.what;
        EXPECT_EQ(state.SelLineCount, 0) << c.what;
        EXPECT_GT(port.shows, 0) << c.what;
        EXPECT_EQ(port.enabled.at(Command::LineDelAll), !c.segments.empty()) << c.what;
        ExpectSound();
        EXPECT_EQ(state.Undo.UndoText(0), "点編集") << c.what;

        logic.Undo_Click();
        EXPECT_EQ(state.CurData, ThreePoints()) << c.what << ": one undo brings points and segments back";
    }
}

TEST_F(EditCommandsTest, APointWithMoreDecimalsThanTheTableShowsKeepsItsSegments)
{
    BlockData data = ThreePoints();
    data.PointX[2] = 5.00004;
    Start(data);
    ConfirmTableWith({{0, 0}, {5, 0}, {5, 5}});
    logic.mnuPointHen_Click();
    EXPECT_EQ(SegmentsOf(state.CurData), (Segments{"1-2:0", "2-3:1"}));
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(EditCommandsTest, ACancelledPointTableChangesNothing)
{
    BlockData data = ThreePoints();
    data.LineKind[5] = 1;  // leftovers above the count are not swept either
    Start(data);
    int shown = 0;
    port.pointTable = [&shown] {
        ++shown;
        return std::optional<BlockData>();
    };
    logic.mnuPointHen_Click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(state.CurData, data);
    EXPECT_EQ(state.Undo.UndoCount(), 0);
    EXPECT_EQ(port.shows, 0);
}

TEST_F(EditCommandsTest, GoingBackShowsTheTableAgainWithWhatWasTyped)
{
    Start(ThreePoints());
    // Point 2 typed wrong, then put right beside a new point 4 in the table shown again.
    AnswerTablesWith({Points{{0, 0}, {5.5, 0}, {5, 5}}, Points{{0, 0}, {5, 0}, {5, 5}, {1, 1}}});
    port.answers = {MsgAnswer::Cancel};
    logic.mnuPointHen_Click();

    ASSERT_EQ(port.messages.size(), 1u) << "the second table drops nothing: no second question";
    EXPECT_EQ(port.messages[0].text,
              "座標を変更または削除した点につながる線分 2 本が削除されます。\r\n"
              "続けますか？（キャンセルで構成点編集の表に戻ります）");
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::OkCancel);
    ASSERT_EQ(port.pointTableShown.size(), 2u);
    EXPECT_FALSE(port.pointTableShown[0].has_value()) << "first over the document's points";
    EXPECT_EQ(port.pointTableShown[1], WithPoints(ThreePoints(), {{0, 0}, {5.5, 0}, {5, 5}})) << "then over the typed";
    EXPECT_EQ(SegmentsOf(state.CurData), (Segments{"1-2:0", "2-3:1"}));
    EXPECT_EQ(state.CurData.PointCount, 4);
    EXPECT_EQ(state.Undo.UndoCount(), 1);
}

TEST_F(EditCommandsTest, CancellingTheTableShownAgainChangesNothing)
{
    Start(ThreePoints());
    AnswerTablesWith({Points{{0, 0}, {5.5, 0}, {5, 5}}, std::nullopt});
    port.answers = {MsgAnswer::Cancel};
    logic.mnuPointHen_Click();

    EXPECT_EQ(port.pointTableShown.size(), 2u);
    EXPECT_EQ(state.CurData, ThreePoints());
    EXPECT_EQ(state.Undo.UndoCount(), 0);
    EXPECT_EQ(port.shows, 0);
}

TEST_F(EditCommandsTest, DeletingAllSegmentsAsksAndUndoBringsThemBack)
{
    Start(ThreePoints());
    logic.mnuLineDel_Click();
    state.SelLineCount = 1, state.SelLine[1] = 1;
    port.status[StatusPane::Prompt] = "prompt";
    logic.mnuLineDelAll_Click();

    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(port.messages[0].text, "登録線分を全て消去します。よろしいですか？");
    EXPECT_EQ(port.messages[0].title, "確認");
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(state.CurData.LineCount, 0);
    for (int k = 0; k <= kMaxLines; ++k)
        ASSERT_TRUE(state.CurData.LineStart[k] == 0 && state.CurData.LineEnd[k] == 0) << k;
    EXPECT_EQ(state.CurData.PointCount, 3);
    EXPECT_EQ(state.Undo.UndoText(0), "線分一括削除");
    EXPECT_EQ(logic.modes().mode(), DispMode::None);
    EXPECT_EQ(logic.modes().step(), MouseStep::Idle);
    EXPECT_EQ(state.SelLineCount, 0);
    EXPECT_EQ(port.status[StatusPane::Prompt], "");
    EXPECT_FALSE(port.enabled.at(Command::LineDelAll));
    ExpectSound();

    logic.Undo_Click();
    EXPECT_EQ(state.CurData, ThreePoints());
    EXPECT_EQ(state.SelLineCount, 0);
    ExpectSound();
}

TEST_F(EditCommandsTest, CancellingDeleteAllKeepsEverySegment)
{
    Start(ThreePoints());
    port.answers = {MsgAnswer::Cancel};
    logic.mnuLineDelAll_Click();
    EXPECT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(state.CurData, ThreePoints());
    EXPECT_EQ(state.Undo.UndoCount(), 0);
}

TEST_F(EditCommandsTest, BlockParametersMayChangeTheRecord)
{
    Start(ThreePoints());
    port.blockParams = [this] {
        BlockData edited = state.CurData;
        edited.LineCount = 0;
        edited.LineStart.fill(0);
        edited.LineEnd.fill(0);
        edited.LineKind.fill(0);
        return std::optional<BlockData>(edited);
    };
    logic.mnuBlkPara_Click();
    EXPECT_EQ(port.shows, 1);
    EXPECT_FALSE(port.enabled.at(Command::LineDelAll));
    ExpectSound();
    // The command records the state before the change, labelled for the block parameters.
    ASSERT_EQ(state.Undo.UndoCount(), 1);
    EXPECT_EQ(state.Undo.UndoText(0), "諸条件修正");
    EXPECT_EQ(state.Undo.UndoData(0), ThreePoints());

    port.blockParams = [] { return std::optional<BlockData>(); };
    logic.mnuBlkPara_Click();
    EXPECT_EQ(state.Undo.UndoCount(), 1) << "a cancelled dialog records nothing";
}

TEST_F(EditCommandsTest, AnImportReplacesPointsAndSegmentsInOneStepAndKeepsTheRest)
{
    BlockData block = WithPoints(ThreePoints(), {{0, 0}, {5, 0}, {5, 5}});
    block.Name = "北側";
    block.B = 6;
    block.LayerCount = 1;
    block.LayerH[0] = 5;
    Start(block);
    state.SelPnt[1] = 3;
    state.SelPntCount = 1;

    BlockData imported;
    imported = WithPoints(imported, {{0, 0}, {2, 0}});
    imported.LineCount = 2;
    imported.LineStart[1] = 1, imported.LineEnd[1] = 2, imported.LineKind[1] = kDottedLine;
    imported.LineStart[2] = 2, imported.LineEnd[2] = 7;  // to no point: not taken
    imported.B = 99;
    port.imported = imported;
    logic.Run(Command::FileImport);

    EXPECT_EQ(state.CurData.Name, "北側");
    EXPECT_EQ(state.CurData.B, 6);
    EXPECT_EQ(state.CurData.LayerH[0], 5);
    EXPECT_EQ(state.CurData.PointCount, 2);
    EXPECT_EQ(state.CurData.PointX[3], 0) << "no point stays above the count";
    EXPECT_EQ(SegmentsOf(state.CurData), Segments({"1-2:1"}));
    EXPECT_EQ(state.SelPntCount, 0);
    ExpectSound();
    ASSERT_EQ(state.Undo.UndoCount(), 1);
    EXPECT_EQ(state.Undo.UndoText(0), "DXF読込");
    EXPECT_EQ(state.Undo.UndoData(0), block);

    port.imported.reset();
    logic.Run(Command::FileImport);
    EXPECT_EQ(state.Undo.UndoCount(), 1) << "a cancelled import records nothing";
}

TEST_F(EditCommandsTest, HelpOpensTheManualOrSaysNoApplicationWasFound)
{
    enum class Says { Nothing, NoApplication, Missing };
    struct Case {
        const char* what;
        bool inCurrent, inProgram, opens;
        const char* opened;  // "current", "program" or ""
        Says says;
    };
    // clang-format off
    const Case cases[] = {
        {"in the program folder", false, true, true, "program", Says::Nothing},
        {"the current folder comes first", true, true, true, "current", Says::Nothing},
        {"in neither folder", false, false, true, "", Says::Missing},
        {"no application for it", false, true, false, "program", Says::NoApplication},
    };
    // clang-format on
    const std::filesystem::path home = std::filesystem::current_path();
    for (const Case& c : cases) {
        Folder current, program;
        const std::filesystem::path inCurrent = current.putManual();
        if (!c.inCurrent)
            std::filesystem::remove(inCurrent);
        const std::filesystem::path inProgram = program.putManual();
        if (!c.inProgram)
            std::filesystem::remove(inProgram);
        DocumentState helpState;
        FakeFramePort helpPort;
        FrameLogic help{helpState, helpPort, program.path};
        help.Form_Load("/blocks/");
        help.mnuDispKaku_Click();
        helpPort.documentOpens = c.opens;
        std::filesystem::current_path(current.path);
        help.mnuHelpHelp_Click();
        std::filesystem::current_path(home);

        const std::string expected = std::string(c.opened) == "current"   ? PathToUtf8(inCurrent)
                                     : std::string(c.opened) == "program" ? PathToUtf8(inProgram)
                                                                          : std::string();
        EXPECT_EQ(helpPort.openedDocuments, expected.empty() ? std::vector<std::string>{} : std::vector{expected})
            << c.what;
        ASSERT_EQ(helpPort.messages.size(), c.says == Says::Nothing ? 0u : 1u) << c.what;
        if (c.says != Says::Nothing) {
            // A missing manual is named where the program expects it, beside the program.
            EXPECT_EQ(helpPort.messages[0].text,
                      c.says == Says::Missing
                          ? "操作説明書「" + PathToUtf8(std::filesystem::path(inProgram).make_preferred()) +
                                "」が見つかりません。"
                          : std::string("pdfファイルに関連づけられたアプリケーションが見つかりません"))
                << c.what;
            EXPECT_EQ(helpPort.messages[0].title, "Corvel_T");
            EXPECT_EQ(helpPort.messages[0].icon, MsgIcon::Warning);
            EXPECT_EQ(helpPort.messages[0].buttons, MsgButtons::Ok);
        }
        EXPECT_EQ(help.modes().mode(), DispMode::ZoomIn) << "help leaves the mode alone";
    }
}

}  // namespace
}  // namespace chokusho
