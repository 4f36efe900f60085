#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "BlockFile.h"
#include "EditOperations.h"
#include "FakeFramePort.h"
#include "FileSystem.h"
#include "FrameLogic.h"
#include "Recovery.h"
#include "RecoveryFolder.h"
#include "TestBlocks.h"
#include "TestFiles.h"

namespace chokusho {
namespace {

using test::BlockBuilder;
using test::FakeFramePort;
using test::TempFolder;

/** A clock whose time the test moves, with the alarm the keeper set. */
class FakeClock : public RecoveryClock {
public:
    std::int64_t now = 0;
    std::optional<std::int64_t> alarm;

    std::int64_t nowMs() override { return now; }
    std::string localTime() override
    {
        const auto seconds = now / 1000;
        char text[64];
        std::snprintf(text, sizeof text, "2026-12-08 %02lld:%02lld:%02lld", static_cast<long long>(9 + seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
        return text;
    }
    void wakeAfter(std::int64_t ms) override { alarm = now + ms; }
};

/** Pairs in memory, with the instances still running and a switch that makes writes fail. */
class MemoryStore : public RecoveryStore {
public:
    struct Pair {
        BlockData record;
        RecoveryInfo info;
    };
    std::map<std::string, Pair> pairs;
    std::set<std::string> held;
    std::set<std::string> unreadable;
    std::vector<std::int64_t> writeTimes;
    const FakeClock* clock = nullptr;
    bool failing = false;

    void write(const std::string& name, const BlockData& record, const RecoveryInfo& info) override
    {
        if (failing)
            throw FileWriteError(name, "ディスクがいっぱいです。");
        pairs[name] = {record, info};
        writeTimes.push_back(clock->now);
    }
    bool remove(const std::string& name) override
    {
        pairs.erase(name);
        return true;
    }
    std::vector<std::string> names() override
    {
        std::vector<std::string> names;
        for (const auto& [name, pair] : pairs)
            names.push_back(name);
        return names;
    }
    RecoveryRead read(const std::string& name) override
    {
        if (unreadable.count(name) != 0)
            return {false, "読めません", {}, {}};
        return {true, "", pairs.at(name).record, pairs.at(name).info};
    }
    bool isHeld(const std::string& name) override { return held.count(name) != 0; }
};

class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store.clock = &clock;
        logic.Form_Load(folder.dataPath());
        logic.Form_Resize(618, 419, false);
        logic.AttachRecovery(&keeper);
    }

    /** An edit as the commands make it: the snapshot, then the change. */
    void Edit(double b = 1)
    {
        PushUndo(state, undo_label::kEditParams);
        state.CurData.B += b;
    }

    /** Lets `ms` milliseconds pass, ringing the keeper's alarm when it is due. */
    void Pass(std::int64_t ms)
    {
        const std::int64_t end = clock.now + ms;
        while (clock.alarm && *clock.alarm <= end) {
            clock.now = *clock.alarm;
            clock.alarm.reset();
            keeper.Due();
        }
        clock.now = end;
    }

    bool Kept() const { return store.pairs.count("me") != 0; }

    TempFolder folder;
    DocumentState state;
    FakeFramePort port;
    FrameLogic logic{state, port};
    FakeClock clock;
    MemoryStore store;
    RecoveryKeeper keeper{state, store, clock, port, "me", 4242};
};

TEST_F(RecoveryTest, AChangeIsWrittenAfterAPauseWithWhereTheBlockBelongs)
{
    WriteBlockFile(BlockBuilder().named("堤体").point(0, 0), folder.dataPath() + "tei.csv");
    logic.OpenFile(folder.dataPath() + "tei.csv");
    Pass(60000);
    EXPECT_TRUE(store.writeTimes.empty()) << "nothing is unsaved";

    Pass(5000);
    Edit();
    Edit(3);
    Pass(1999);
    EXPECT_FALSE(Kept());
    Pass(1);
    ASSERT_TRUE(Kept());
    const MemoryStore::Pair& kept = store.pairs.at("me");
    EXPECT_EQ(kept.record, state.CurData);
    EXPECT_EQ(kept.info.blkName, "tei");
    EXPECT_EQ(kept.info.blkFile, "tei.csv");
    EXPECT_EQ(kept.info.blkFolder, folder.dataPath());
    EXPECT_EQ(kept.info.undoCount, 2);
    EXPECT_EQ(kept.info.changed, "2026-12-08 09:01:05");
    EXPECT_EQ(kept.info.pid, 4242);
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(RecoveryTest, ABurstOfEditsIsWrittenAtMostOncePerIntervalAndEachEditWithinIt)
{
    // An edit every 700 ms for two minutes, then quiet; undo and redo count as edits.
    std::vector<std::int64_t> editTimes;
    for (int i = 0; i < 172; ++i) {
        if (i % 10 == 9)
            logic.Undo_Click();
        else if (i % 10 == 0 && i > 0)
            logic.Redo_Click();
        else
            Edit(i);
        editTimes.push_back(clock.now);
        Pass(700);
    }
    Pass(60000);
    ASSERT_GE(store.writeTimes.size(), 4u);
    for (std::size_t i = 1; i < store.writeTimes.size(); ++i)
        EXPECT_GE(store.writeTimes[i] - store.writeTimes[i - 1], 30000) << "write " << i;
    for (const std::int64_t edit : editTimes) {
        const auto next = std::find_if(store.writeTimes.begin(), store.writeTimes.end(),
                                       [edit](std::int64_t write) { return write >= edit; });
        ASSERT_NE(next, store.writeTimes.end()) << "the edit at " << edit << " ms is never written";
        EXPECT_LE(*next - edit, 30000) << "the edit at " << edit << " ms";
    }
    EXPECT_EQ(store.pairs.at("me").record, state.CurData);
}

TEST_F(RecoveryTest, WhatLeavesNothingUnsavedRemovesThePair)
{
    WriteBlockFile(BlockBuilder().named("other").point(5, 5), folder.dataPath() + "other.csv");
    const struct {
        const char* what;
        std::function<void()> act;
        bool removed;
    } cases[] = {
        {"上書き保存", [&] { port.savePaths = {folder.dataPath() + "saved.csv"}; logic.mnuFileOverwrite_Click(); }, true},
        {"新規, not saving", [&] { port.answers = {MsgAnswer::No}; logic.mnuFileNew_Click(); }, true},
        {"開く, not saving", [&] { port.answers = {MsgAnswer::No}; logic.OpenFile(folder.dataPath() + "other.csv"); }, true},
        {"a normal exit", [&] { logic.Form_Unload(); }, true},
        {"undo back to the saved block", [&] { logic.Undo_Click(); Pass(30000); }, true},
        {"新規, cancelled", [&] { port.answers = {MsgAnswer::Cancel}; logic.mnuFileNew_Click(); }, false},
        {"a save that fails", [&] { port.savePaths = {folder.dataPath() + "no/such/folder.csv"}; logic.mnuFileSave_Click(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Edit();
        Pass(30000);
        ASSERT_TRUE(Kept());
        c.act();
        EXPECT_EQ(Kept(), !c.removed);
        EXPECT_EQ(keeper.pending(), false);
        state.SavedData = state.CurData;
        keeper.Settled();
        ClearHistory(state);
    }
}

TEST_F(RecoveryTest, OnlyPairsOfEndedInstancesAreOfferedNewestFirst)
{
    store.pairs["me"] = {};
    store.pairs["running"] = {};
    store.held.insert("running");
    store.pairs["older"].info.changed = "2026-12-01 10:00:00";
    store.pairs["newer"].info.changed = "2026-12-07 10:00:00";
    store.pairs["broken"] = {};
    store.unreadable.insert("broken");

    std::vector<std::string> offered;
    for (const LeftRecovery& left : keeper.LeftBehind())
        offered.push_back(left.name + (left.content.ok ? "" : " (" + left.content.problem + ")"));
    EXPECT_EQ(offered, (std::vector<std::string>{"newer", "older", "broken (読めません)"}));
    EXPECT_EQ(store.pairs.size(), 5u) << "offering removes nothing";
}

TEST_F(RecoveryTest, AFailedWriteIsToldOnceInTheStatusBarAndNeverInADialog)
{
    store.failing = true;
    Edit();
    Pass(30000);
    EXPECT_EQ(port.status[StatusPane::Prompt], RecoveryFailureText("ディスクがいっぱいです。"));
    // The section's area, shown where nothing else is, waits until the work is kept again.
    logic.Run(Command::DispRedraw);
    EXPECT_EQ(port.status[StatusPane::Prompt], RecoveryFailureText("ディスクがいっぱいです。"));
    port.status.clear();
    Edit();
    Pass(30000);
    EXPECT_EQ(port.status.count(StatusPane::Prompt), 0u);

    // Once writing works again, the next failure is told again.
    store.failing = false;
    Edit();
    Pass(30000);
    EXPECT_TRUE(Kept());
    store.failing = true;
    Edit();
    Pass(30000);
    EXPECT_EQ(port.status[StatusPane::Prompt], RecoveryFailureText("ディスクがいっぱいです。"));
    EXPECT_TRUE(port.messages.empty());
}

TEST_F(RecoveryTest, ARestoredBlockIsUnsavedUnderItsOwnFileAndTakesThePairOver)
{
    LeftRecovery left{"chokusho-77-20261207101010", {true, "", BlockBuilder().named("堤体").point(1.25, 2), {}}};
    left.content.info = {"tei", "tei.csv", folder.dataPath(), folder.dataPath(), 3, "2026-12-07 10:10:10", 77};
    store.pairs[left.name] = {left.content.record, left.content.info};

    logic.RestoreRecovered(left);
    EXPECT_EQ(state.CurData, left.content.record);
    EXPECT_TRUE(logic.IsModified());
    EXPECT_EQ(port.caption, "直立消波ブロック設定 - tei *");
    EXPECT_EQ(store.pairs.count(left.name), 0u) << "the left pair goes once this instance holds the work";
    ASSERT_TRUE(Kept());
    EXPECT_EQ(store.pairs.at("me").record, left.content.record);

    // 上書き保存 writes it back to the file it came from, and the question before New is asked.
    logic.mnuFileOverwrite_Click();
    BlockData written;
    ASSERT_TRUE(ReadBlockFile(written, folder.dataPath(), "tei"));
    EXPECT_EQ(written, left.content.record);
    EXPECT_FALSE(Kept());
}

TEST_F(RecoveryTest, ARestoreThatCannotBeWrittenKeepsTheLeftPair)
{
    LeftRecovery left{"left", {true, "", BlockBuilder().point(1, 2), {}}};
    store.pairs[left.name] = {};
    store.failing = true;
    logic.RestoreRecovered(left);
    EXPECT_EQ(state.CurData, left.content.record);
    EXPECT_EQ(store.pairs.count("left"), 1u);
}

/** A folder of pairs as the program keeps them; no other instance runs. */
class Folder : public RecoveryFolder {
public:
    using RecoveryFolder::RecoveryFolder;
    bool isHeld(const std::string&) override { return false; }
};

TEST(RecoveryFolderTest, APairBringsBackTheExactRecordAndWhereItBelongs)
{
    const TempFolder temp;
    Folder folder(temp.path() / "recovery");
    struct Case {
        const char* what;
        BlockData record;
        std::string file;
    };
    BlockData thirds = BlockBuilder().named("三分").point(0.1 + 0.2, 1.0 / 3).point(1e-9, -2.0005).segment(1, 2);
    thirds.LayerCount = 1;
    thirds.LayerH[0] = 2.0 / 3;
    thirds.V = 1e300;
    // clang-format off
    const Case cases[] = {
        {"figures the block file rounds", thirds, "三分.csv"},
        {"a name cp932 lacks", BlockBuilder().named("𠮷野家", "〜型").point(1, 1), "yoshi.csv"},
        {"a file name that is not UTF-8", BlockBuilder().named("護岸").point(2, 2), "\x8C\xEC\x8A\xDD%\n.csv"},
        {"a new block", BlockBuilder().point(3, 3), ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RecoveryInfo info{"name", c.file, "/data/ブロック/", "/data/", 12, "2026-12-08 09:30:00", 31337};
        folder.write("chokusho-1-2", c.record, info);
        const RecoveryRead read = folder.read("chokusho-1-2");
        ASSERT_TRUE(read.ok) << read.problem;
        EXPECT_EQ(read.record, c.record);
        EXPECT_EQ(read.info.blkFile, c.file);
        EXPECT_EQ(read.info.blkFolder, info.blkFolder);
        EXPECT_EQ(read.info.dataPath, info.dataPath);
        EXPECT_EQ(read.info.undoCount, 12);
        EXPECT_EQ(read.info.changed, info.changed);
        EXPECT_EQ(read.info.pid, 31337);
        // The block file beside it is one the picker opens.
        BlockData opened;
        EXPECT_TRUE(ReadBlockFile(opened, PathToUtf8(folder.folder()) + "/", "chokusho-1-2"));
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"chokusho-1-2"});
    EXPECT_TRUE(folder.remove("chokusho-1-2"));
    EXPECT_TRUE(folder.names().empty());
}

TEST(RecoveryFolderTest, InTheBackgroundAPairIsTheRecordAsItWasAndAFailureComesWithTheNextWrite)
{
    const TempFolder temp;
    {
        Folder folder(temp.path() / "recovery", RecoveryFolder::Writes::InBackground);
        BlockData record = BlockBuilder().named("背景").point(1, 2).point(3, 4).segment(1, 2);
        const BlockData written = record;
        folder.write("chokusho-1-3", record, {});
        record.PointX[1] = 99;  // edited on while the pair is put on disk
        EXPECT_FALSE(folder.finishWrite());
        EXPECT_EQ(folder.read("chokusho-1-3").record, written);
        folder.write("chokusho-1-3", record, {});
        EXPECT_TRUE(folder.remove("chokusho-1-3")) << "the write under way is waited for, not left to bring it back";
        EXPECT_TRUE(folder.names().empty());
    }
    // A folder where a file stands: the write fails on its thread and is told by the next one.
    std::ofstream(temp.path() / "blocked") << "a file";
    Folder blocked(temp.path() / "blocked", RecoveryFolder::Writes::InBackground);
    blocked.write("chokusho-1-4", BlockBuilder().point(1, 1), {});
    EXPECT_THROW(blocked.write("chokusho-1-4", BlockBuilder().point(1, 1), {}), FileWriteError);
}

TEST(RecoveryFolderTest, ABrokenPairIsReadAsFarAsItGoesAndKept)
{
    const TempFolder temp;
    Folder folder(temp.path());
    const BlockData first = BlockBuilder().named("一").point(0.1 + 0.2, 1);
    const BlockData second = BlockBuilder().named("二").point(7, 7);

    // A crash between the two writes: the block file is newer than its side file and stands alone.
    folder.write("chokusho-1-1", first, {});
    WriteBlockFile(second, temp.write("chokusho-1-1.csv", ""));
    RecoveryRead read = folder.read("chokusho-1-1");
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.record, second);

    temp.write("chokusho-2-2.csv", "not a block\r\n");
    temp.write("chokusho-3-3.txt", "chokusho-recovery=1\n");
    folder.write("chokusho-4-4", first, {});
    temp.write("chokusho-4-4.txt", "garbage");
    temp.write("unrelated.csv", "");
    for (const char* name : {"chokusho-2-2", "chokusho-3-3", "chokusho-4-4"}) {
        read = folder.read(name);
        EXPECT_FALSE(read.ok) << name;
        EXPECT_FALSE(read.problem.empty()) << name;
    }
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"chokusho-1-1", "chokusho-2-2", "chokusho-3-3", "chokusho-4-4"}));
}

TEST(RecoveryFolderTest, AWriteThatFailsSaysWhy)
{
    const TempFolder temp;
    const std::string blocker = temp.write("file", "");
    Folder folder(PathFromUtf8(blocker) / "recovery");
    EXPECT_THROW(folder.write("chokusho-1-1", BlockData{}, {}), FileWriteError);
}

}  // namespace
}  // namespace chokusho
