#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "TestFiles.h"
#include "BlockFile.h"
#include "EditOperations.h"
#include "FakeFramePort.h"
#include "FrameLogic.h"

namespace chokusho {
namespace {

using test::FakeFramePort;
using test::TempFolder;

BlockData Triangle()
{
    BlockData data;
    data.Name = "三角";
    data.PointCount = 3;
    data.PointX = {0, 0, 4, 4};
    data.PointY = {0, 0, 0, 3};
    data.LineCount = 2;
    data.LineStart = {0, 1, 2};
    data.LineEnd = {0, 2, 3};
    return data;
}

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        logic.Form_Load(folder.dataPath());
        logic.Form_Resize(618, 419, false);
    }

    /** Changes the document as an edit would, with its undo snapshot. */
    void Edit()
    {
        PushUndo(state, undo_label::kAddLine);
        state.CurData.Name = "edited";
    }

    std::string Saved(const std::string& name) const { return folder.read(name); }

    TempFolder folder;
    DocumentState state;
    FakeFramePort port;
    FrameLogic logic{state, port};
};

TEST_F(FileCommandsTest, NewAsksOnlyWhenThereAreUnsavedChanges)
{
    state.CurData = Triangle();
    state.SavedData = state.CurData;
    logic.mnuFileNew_Click();
    EXPECT_TRUE(port.messages.empty());
    EXPECT_EQ(state.CurData, BlockData{});
    EXPECT_EQ(port.caption, kMainCaption);
    EXPECT_EQ(state.BlkName, "無題");

    // No discards the change; Cancel, and Yes with a cancelled save dialog, keep it.
    for (MsgAnswer answer : {MsgAnswer::Cancel, MsgAnswer::Yes, MsgAnswer::No}) {
        Edit();
        port.answers = {answer};
        logic.mnuFileNew_Click();
        ASSERT_EQ(port.messages.size(), 1u);
        EXPECT_EQ(port.messages[0].text, "データが更新されています。保存しますか?");
        EXPECT_EQ(port.messages[0].title, "保存確認");
        EXPECT_EQ(port.messages[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(state.CurData.Name, answer == MsgAnswer::No ? "" : "edited");
        EXPECT_EQ(state.Undo.UndoCount(), answer == MsgAnswer::No ? 0 : 1);
        port.messages.clear();
        state.Undo.clear();
    }
}

TEST_F(FileCommandsTest, YesSavesBeforeGoingOn)
{
    Edit();
    port.answers = {MsgAnswer::Yes};
    port.savePaths = {folder.dataPath() + "kept.csv"};
    logic.mnuFileNew_Click();
    ASSERT_EQ(port.saveDialogs.size(), 1u);
    EXPECT_EQ(port.saveDialogs[0].initialFolder, folder.dataPath());
    EXPECT_EQ(port.saveDialogs[0].filter, "ブロックファイル (*.csv)");
    EXPECT_EQ(port.saveDialogs[0].fileName, "無題");
    BlockData written;
    ASSERT_TRUE(ReadBlockFile(written, folder.dataPath(), "kept"));
    EXPECT_EQ(written.Name, "edited");
    EXPECT_EQ(state.CurData, BlockData{});
}

TEST_F(FileCommandsTest, OpenReadsThroughThePickerAndAFailureChangesNothing)
{
    WriteBlockFile(Triangle(), folder.dataPath() + "tri.csv");
    folder.write("junk.csv", "not a block file\r\n");
    port.picker = [] { return std::string("tri"); };
    logic.mnuFileOpen_Click();
    EXPECT_EQ(state.CurData, Triangle());
    EXPECT_EQ(state.SavedData, Triangle());
    EXPECT_EQ(state.BlkName, "tri");
    EXPECT_EQ(port.caption, "直立消波ブロック設定 - tri");
    EXPECT_TRUE(port.enabled.at(Command::LineDel));
    EXPECT_NEAR(logic.view().Dan_xc, 2, 1e-9) << "the view fits the opened block";

    Edit();
    const ViewTransform view = logic.view();
    port.answers = {MsgAnswer::No};
    port.picker = [] { return std::string("junk"); };
    logic.mnuFileOpen_Click();
    ASSERT_EQ(port.messages.size(), 2u);
    EXPECT_EQ(port.messages[1].text, "直立消波ブロックのデータ形式ではありません。\r\n処理を中止します。");
    EXPECT_EQ(port.messages[1].title, "Error");
    EXPECT_EQ(port.messages[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(state.CurData.Name, "edited");
    EXPECT_EQ(state.BlkName, "tri");
    EXPECT_EQ(state.Undo.UndoCount(), 1);
    EXPECT_EQ(port.caption, "直立消波ブロック設定 - tri");
    EXPECT_EQ(logic.view().Dan_xmin, view.Dan_xmin);

    // A cancelled picker after No changes nothing either.
    port.answers = {MsgAnswer::No};
    port.picker = [] { return std::string(); };
    logic.mnuFileOpen_Click();
    EXPECT_EQ(state.CurData.Name, "edited");
}

TEST_F(FileCommandsTest, SaveNamesTheBlockAfterTheChosenFile)
{
    state.CurData = Triangle();
    PushUndo(state, undo_label::kAddLine);
    const struct {
        std::string chosen, file, blkName;
    } cases[] = {
        {"a.csv", "a.csv", "a"},
        {"b.CSV", "b.CSV", "b"},
        {"no extension", "no extension.csv", "no extension"},
        {"dotted.name", "dotted.name.csv", "dotted.name"},
    };
    for (const auto& c : cases) {
        port.savePaths = {folder.dataPath() + c.chosen};
        logic.mnuFileSave_Click();
        EXPECT_EQ(Saved(c.file), FormatBlockFile(Triangle())) << c.chosen;
        EXPECT_EQ(state.BlkName, c.blkName);
        EXPECT_EQ(port.caption, "直立消波ブロック設定 - " + c.blkName);
        EXPECT_EQ(state.DataPath, folder.dataPath());
        EXPECT_EQ(state.Undo.UndoCount(), 0);
        EXPECT_FALSE(port.enabled.at(Command::Undo));
    }
    // Cancelling the dialog saves nothing.
    port.savePaths.clear();
    state.CurData.Name = "changed";
    logic.mnuFileSave_Click();
    EXPECT_TRUE(logic.IsModified());
}

TEST_F(FileCommandsTest, TheDialogIsToldWhichFileAChosenNameWrites)
{
    WriteBlockFile(Triangle(), folder.dataPath() + "x.csv");
    state.CurData = Triangle();
    port.savePaths.clear();
    logic.mnuFileSave_Click();
    ASSERT_EQ(port.saveDialogs.size(), 1u);
    const SaveDialogRequest& dialog = port.saveDialogs[0];
    ASSERT_TRUE(dialog.targetOf);
    const std::pair<const char*, const char*> cases[] = {
        {"No.3", "No.3.csv"}, {"a.b", "a.b.csv"}, {"x.CSV", "x.CSV"}, {"y.csv", "y.csv"}, {"無題.csv", "無題.csv"},
    };
    for (const auto& [typed, written] : cases)
        EXPECT_EQ(dialog.targetOf(folder.dataPath() + typed), folder.dataPath() + written) << typed;
}

TEST_F(FileCommandsTest, SavingBackReachesTheVeryFileTheBlockCameFrom)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps every file name in Unicode and without regard to letter case";
#endif
    if (!folder.caseSensitive())
        GTEST_SKIP() << "here \"same.csv\" and \"same.CSV\" are one file";
    const std::string cp932Name = "\x8C\xEC\x8A\xDD";  // 護岸, as a Windows disk holds it
    struct Case {
        const char* what;
        std::string file;       // as on disk
        std::string neighbour;  // another file that the dialog's text of the name would reach
        std::string proposed;   // what the dialog shows
    };
    // clang-format off
    const Case cases[] = {
        {"an extension in capitals beside a lower-case one", "same.CSV", "same.csv", "same"},
        {"a name that is not UTF-8", cp932Name + ".csv", "護岸.csv", "護岸"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BlockData neighbour = Triangle();
        neighbour.Name = "neighbour";
        WriteBlockFile(Triangle(), folder.dataPath() + c.file);
        WriteBlockFile(neighbour, folder.dataPath() + c.neighbour);
        port.picker = [&c] { return c.file.substr(0, c.file.size() - 4); };
        port.pickedFile = c.file;
        logic.mnuFileOpen_Click();
        ASSERT_EQ(state.CurData, Triangle());
        EXPECT_EQ(port.caption, "直立消波ブロック設定 - " + c.proposed);

        Edit();
        port.savePaths = {folder.dataPath() + c.proposed + ".csv"};  // the proposal accepted
        port.saveDialogs.clear();
        logic.mnuFileSave_Click();
        ASSERT_EQ(port.saveDialogs.size(), 1u);
        EXPECT_EQ(port.saveDialogs[0].fileName, c.proposed);
        EXPECT_EQ(port.saveDialogs[0].targetOf(folder.dataPath() + c.proposed + ".csv"), folder.dataPath() + c.file);
        BlockData saved, other;
        ASSERT_TRUE(ReadBlockFileNamed(saved, folder.dataPath(), c.file));
        EXPECT_EQ(saved.Name, "edited");
        ASSERT_TRUE(ReadBlockFileNamed(other, folder.dataPath(), c.neighbour));
        EXPECT_EQ(other, neighbour) << "the other file is left alone";
        EXPECT_EQ(state.BlkFile, c.file);
        EXPECT_EQ(port.caption, "直立消波ブロック設定 - " + c.proposed);

        // Another name typed in the dialog is that name.
        port.savePaths = {folder.dataPath() + "other"};
        logic.mnuFileSave_Click();
        EXPECT_EQ(Saved("other.csv"), FormatBlockFile(state.CurData));
        EXPECT_EQ(state.BlkFile, "other.csv");
    }
}

TEST_F(FileCommandsTest, AFailedWriteIsReportedAndTheBlockStaysUnsaved)
{
    std::filesystem::create_directory(folder.path() / "taken.csv");
    Edit();
    const BlockData saved = state.SavedData;
    port.savePaths = {folder.dataPath() + "taken.csv"};
    logic.mnuFileSave_Click();
    ASSERT_EQ(port.messages.size(), 1u);
    EXPECT_EQ(port.messages[0].title, "Error");
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_NE(port.messages[0].text.find("taken.csv"), std::string::npos);
    EXPECT_EQ(state.SavedData, saved);
    EXPECT_EQ(state.BlkName, "無題");
    EXPECT_EQ(state.Undo.UndoCount(), 1);
    EXPECT_TRUE(port.caption.empty());

    // Saving from the question fails the same way, and the command that asked does not go on.
    port.answers = {MsgAnswer::Yes};
    port.savePaths = {folder.dataPath() + "missing/x.csv"};
    EXPECT_TRUE(logic.Form_QueryUnload());
    EXPECT_EQ(port.messages.size(), 3u);
    EXPECT_EQ(state.CurData.Name, "edited");
}

TEST_F(FileCommandsTest, EveryStoredChangeCountsAsUnsaved)
{
    state.CurData = Triangle();
    state.SavedData = state.CurData;
    EXPECT_FALSE(logic.Form_QueryUnload());
    EXPECT_TRUE(port.messages.empty());

    state.CurData.LineKind[1] = kDottedLine;
    port.answers = {MsgAnswer::Cancel};
    EXPECT_TRUE(logic.Form_QueryUnload()) << "a change of line kind alone is asked about";
    port.answers = {MsgAnswer::No};
    EXPECT_FALSE(logic.Form_QueryUnload());
}

}  // namespace
}  // namespace chokusho
