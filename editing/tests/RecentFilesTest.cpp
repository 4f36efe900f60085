#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BlockFile.h"
#include "EditOperations.h"
#include "FakeFramePort.h"
#include "FrameLogic.h"
#include "RecentFiles.h"
#include "TestBlocks.h"
#include "TestFiles.h"

namespace chokusho {
namespace {

using test::BlockBuilder;
using test::FakeFramePort;
using test::TempFolder;
using Paths = std::vector<std::string>;

TEST(RecentFilesTest, TheNewestComesFirstOnceAndEightAreKept)
{
    RecentFiles recent;
    int changes = 0;
    recent.changed = [&changes] { ++changes; };
    for (const char* path : {"/a", "/b", "/c", "/b"})
        recent.Add(path);
    EXPECT_EQ(recent.paths(), (Paths{"/b", "/c", "/a"}));
    for (int i = 1; i <= 9; ++i)
        recent.Add("/" + std::to_string(i));
    EXPECT_EQ(recent.paths(), (Paths{"/9", "/8", "/7", "/6", "/5", "/4", "/3", "/2"}));
    recent.Remove("/5");
    recent.Remove("/not listed");
    EXPECT_EQ(recent.paths().size(), 7u);
    EXPECT_EQ(changes, 4 + 9 + 1);
    recent.Clear();
    EXPECT_TRUE(recent.paths().empty());

    // A remembered list is taken as far as it makes sense.
    recent.Set({"/x", "", "/y", "/x", "/1", "/2", "/3", "/4", "/5", "/6", "/7"});
    EXPECT_EQ(recent.paths(), (Paths{"/x", "/y", "/1", "/2", "/3", "/4", "/5", "/6"}));
}

TEST(RecentFilesTest, AnEntryShowsItsNumberNameAndFolder)
{
    // Paths as the program holds them: UTF-8 text with the system's separators.
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string folder = std::string("data") + separator + "護岸";
    EXPECT_EQ(RecentFileText(0, folder + separator + "A.csv"), "&1 A.csv  (" + folder + ")");
#ifndef _WIN32
    // A name copied from a Japanese Windows disk, cp932 bytes, shows as it read there. Windows
    // itself names every file in Unicode.
    EXPECT_EQ(RecentFileText(7, folder + separator + "\x8C\xEC\x8A\xDD.csv"), "&8 護岸.csv  (" + folder + ")");
#endif
}

TEST(RecentFilesTest, ThePickerStartsInTheNewestFilesFolderWhenTheRememberedOneIsGone)
{
    const TempFolder temp;
    const std::string here = temp.dataPath();
    const std::string gone = here + "gone" + static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string inHere = here + "x.csv";
    const std::string inGone = gone + "y.csv";
    const struct {
        std::string dataPath;
        Paths recent;
        std::string start;
    } cases[] = {
        {here, {inGone}, here},
        {gone, {inGone, inHere}, here},
        {gone, {inGone}, gone},
        {gone, {}, gone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PickerStartFolder(c.dataPath, c.recent), c.start) << c.dataPath;
}

class RecentFilesLogicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        logic.Form_Load(folder.dataPath());
        logic.Form_Resize(618, 419, false);
        WriteBlockFile(BlockBuilder().named("一").point(1, 1), folder.dataPath() + "one.csv");
        WriteBlockFile(BlockBuilder().named("二").point(2, 2), folder.dataPath() + "two.csv");
    }

    TempFolder folder;
    DocumentState state;
    FakeFramePort port;
    FrameLogic logic{state, port};
};

TEST_F(RecentFilesLogicTest, OpeningAndSavingPutTheFileFirst)
{
    logic.OpenFile(folder.dataPath() + "one.csv");
    port.picker = [] { return std::string("two"); };
    port.pickedFile = "two.csv";
    logic.mnuFileOpen_Click();
    EXPECT_EQ(logic.recent().paths(), (Paths{folder.dataPath() + "two.csv", folder.dataPath() + "one.csv"}));

    port.savePaths = {folder.dataPath() + "three"};
    logic.mnuFileSave_Click();
    logic.mnuFileOverwrite_Click();
    EXPECT_EQ(logic.recent().paths(), (Paths{folder.dataPath() + "three.csv", folder.dataPath() + "two.csv",
                                             folder.dataPath() + "one.csv"}));
}

TEST_F(RecentFilesLogicTest, ARecentFileOpensAfterTheQuestionAndAGoneOneLeavesTheList)
{
    logic.OpenFile(folder.dataPath() + "two.csv");
    logic.OpenFile(folder.dataPath() + "one.csv");
    PushUndo(state, undo_label::kAddPoint);
    state.CurData.Name = "changed";

    port.answers = {MsgAnswer::Cancel};
    logic.OpenRecent(folder.dataPath() + "two.csv");
    EXPECT_EQ(state.CurData.Name, "changed") << "cancelling the question keeps the work";

    port.answers = {MsgAnswer::No};
    logic.OpenRecent(folder.dataPath() + "two.csv");
    EXPECT_EQ(state.CurData.Name, "二");
    EXPECT_EQ(logic.recent().paths().front(), folder.dataPath() + "two.csv");

    std::filesystem::remove(folder.path() / "one.csv");
    port.messages.clear();
    PushUndo(state, undo_label::kAddPoint);
    state.CurData.Name = "changed again";
    logic.OpenRecent(folder.dataPath() + "one.csv");
    ASSERT_EQ(port.messages.size(), 1u) << "no question about the work, only the message";
    EXPECT_EQ(port.messages[0].title, kErrorTitle);
    EXPECT_EQ(logic.recent().paths(), Paths{folder.dataPath() + "two.csv"});
    EXPECT_EQ(state.CurData.Name, "changed again");
}

}  // namespace
}  // namespace chokusho
