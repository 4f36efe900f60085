#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "EditOperations.h"
#include "TestBlocks.h"
#include "UndoStack.h"

namespace chokusho {
namespace {

/** A record told apart from the others by `n`. */
BlockData Numbered(int n) { return test::BlockBuilder().named("block " + std::to_string(n)).size(n, 0).point(n, 0); }

/** A document on the heap (its undo stack is large) that records the notifications it sends. */
struct Doc {
    std::unique_ptr<DocumentState> state = std::make_unique<DocumentState>();
    std::vector<std::string> events;

    Doc()
    {
        state->MenuEnable = [this] { events.push_back("menu"); };
        state->SetUndoEnabled = [this](bool on) { events.push_back(on ? "undo on" : "undo off"); };
        state->SetRedoEnabled = [this](bool on) { events.push_back(on ? "redo on" : "redo off"); };
    }
};

TEST(PushPopUndoTest, ThreeEditsUndoneRestoreTheFirstState)
{
    Doc doc;
    DocumentState& s = *doc.state;
    s.CurData = Numbered(1);
    s.SavedData = Numbered(50);
    s.BlkName = "B1";
    s.SelPntCount = 1;
    s.SelPnt[0] = 1;
    s.SelLineCount = 1;
    s.SelLine[0] = 3;

    const char* labels[] = {undo_label::kMovePoints, undo_label::kAddLine, undo_label::kEditParams};
    for (int i = 0; i < 3; ++i) {
        PushUndo(s, labels[i]);
        s.CurData = Numbered(i + 2);
    }
    ASSERT_EQ(s.Undo.UndoCount(), 3);
    EXPECT_EQ(s.Undo.UndoText(0), undo_label::kEditParams);
    EXPECT_EQ(doc.events, (std::vector<std::string>{"undo on", "undo on", "undo on"}));

    doc.events.clear();
    for (int i = 3; i >= 1; --i) {
        ASSERT_TRUE(PopUndo(s));
        EXPECT_EQ(s.CurData, Numbered(i));
        EXPECT_TRUE(test::Sound(s.CurData));
    }
    EXPECT_EQ(doc.events,
              (std::vector<std::string>{"redo on", "menu", "redo on", "menu", "redo on", "undo off", "menu"}));

    // Undo restores the drawing only; what the user picked and the file state are left alone.
    EXPECT_EQ(s.SavedData, Numbered(50));
    EXPECT_EQ(s.BlkName, "B1");
    EXPECT_EQ(s.SelPntCount, 1);
    EXPECT_EQ(s.SelPnt[0], 1);
    EXPECT_EQ(s.SelLineCount, 1);
    EXPECT_EQ(s.SelLine[0], 3);
}

TEST(PushPopUndoTest, PopOnEmptyChangesNothing)
{
    Doc doc;
    DocumentState& s = *doc.state;
    s.CurData = Numbered(7);
    EXPECT_FALSE(PopUndo(s));
    EXPECT_EQ(s.CurData, Numbered(7));
    EXPECT_TRUE(doc.events.empty());

    PushUndo(s, undo_label::kAddLine);
    ASSERT_TRUE(PopUndo(s));
    doc.events.clear();
    EXPECT_FALSE(PopUndo(s));
    EXPECT_TRUE(doc.events.empty());
}

TEST(PushPopUndoTest, FullStackDropsTheOldest)
{
    Doc doc;
    DocumentState& s = *doc.state;
    const int pushes = UndoStack::kCapacity + 1;
    for (int i = 0; i < pushes; ++i) {
        s.CurData = Numbered(i);
        PushUndo(s, "edit " + std::to_string(i));
    }
    ASSERT_EQ(s.Undo.UndoCount(), UndoStack::kCapacity);
    EXPECT_EQ(s.Undo.UndoData(UndoStack::kCapacity - 1), Numbered(1));

    for (int i = pushes - 1; i >= 1; --i) {
        ASSERT_EQ(s.Undo.UndoText(0), "edit " + std::to_string(i));
        ASSERT_TRUE(PopUndo(s));
        ASSERT_EQ(s.CurData, Numbered(i));
    }
    EXPECT_EQ(s.Undo.UndoCount(), 0);
    EXPECT_FALSE(PopUndo(s));
    EXPECT_EQ(s.CurData, Numbered(1));
}

// Long runs of pushes and pops wrap the ring many times; a plain list with the same
// rules is the reference for what must be held after every step.
TEST(UndoStackTest, MatchesAListAcrossWrapArounds)
{
    auto stack = std::make_unique<UndoStack>();
    std::deque<int> model;  // newest first
    std::uint32_t seed = 12345;
    int next = 0;
    for (int step = 0; step < 1200; ++step) {
        seed = seed * 1664525u + 1013904223u;
        const bool pushPhase = (step / 300) % 2 == 0;
        const bool push = ((seed >> 16) % 5 < 4) == pushPhase;
        if (push) {
            stack->push(Numbered(next), "L" + std::to_string(next));
            model.push_front(next);
            if (static_cast<int>(model.size()) > UndoStack::kCapacity)
                model.pop_back();
            ++next;
        } else {
            BlockData out = Numbered(-1);
            const bool popped = stack->pop(out);
            ASSERT_EQ(popped, !model.empty()) << "step " << step;
            if (popped) {
                ASSERT_EQ(out, Numbered(model.front())) << "step " << step;
                model.pop_front();
            } else {
                ASSERT_EQ(out, Numbered(-1));
            }
        }
        ASSERT_EQ(stack->UndoCount(), static_cast<int>(model.size())) << "step " << step;
        for (int i = 0; i < stack->UndoCount(); ++i) {
            ASSERT_EQ(stack->UndoData(i).B, model[i]) << "step " << step << " position " << i;
            ASSERT_EQ(stack->UndoText(i), "L" + std::to_string(model[i]));
        }
    }
}

TEST(PushPopUndoTest, RedoBringsBackExactlyWhatUndoTookBack)
{
    Doc doc;
    DocumentState& s = *doc.state;
    s.CurData = Numbered(1);
    const char* labels[] = {undo_label::kMovePoints, undo_label::kAddLine, undo_label::kEditParams};
    for (int i = 0; i < 3; ++i) {
        PushUndo(s, labels[i]);
        s.CurData = Numbered(i + 2);
    }
    ASSERT_TRUE(PopUndo(s));
    ASSERT_TRUE(PopUndo(s));
    EXPECT_EQ(s.CurData, Numbered(2));
    ASSERT_EQ(s.Redo.UndoCount(), 2);
    EXPECT_EQ(s.Redo.UndoText(0), undo_label::kAddLine);

    // Redo goes forward record by record, each under its own label, and undo goes back again.
    doc.events.clear();
    ASSERT_TRUE(PopRedo(s));
    EXPECT_EQ(s.CurData, Numbered(3));
    EXPECT_EQ(s.Undo.UndoText(0), undo_label::kAddLine);
    ASSERT_TRUE(PopUndo(s));
    EXPECT_EQ(s.CurData, Numbered(2));
    ASSERT_TRUE(PopRedo(s));
    ASSERT_TRUE(PopRedo(s));
    EXPECT_EQ(s.CurData, Numbered(4));
    EXPECT_EQ(s.Undo.UndoCount(), 3);
    EXPECT_FALSE(PopRedo(s));
    EXPECT_EQ(s.CurData, Numbered(4));
    EXPECT_EQ(doc.events, (std::vector<std::string>{"undo on", "menu", "redo on", "menu", "undo on", "menu", "undo on",
                                                    "redo off", "menu"}));

    // A new change forgets what could be redone.
    ASSERT_TRUE(PopUndo(s));
    doc.events.clear();
    PushUndo(s, undo_label::kDeletePoints);
    EXPECT_EQ(s.Redo.UndoCount(), 0);
    EXPECT_FALSE(PopRedo(s));
    EXPECT_EQ(doc.events, (std::vector<std::string>{"undo on", "redo off"}));

    // A block opened, new or saved starts with neither.
    ASSERT_TRUE(PopUndo(s));
    ClearHistory(s);
    EXPECT_EQ(s.Undo.UndoCount(), 0);
    EXPECT_EQ(s.Redo.UndoCount(), 0);
}

TEST(PushPopUndoTest, RedoHoldsAsManyAsUndo)
{
    Doc doc;
    DocumentState& s = *doc.state;
    s.CurData = Numbered(0);
    for (int i = 1; i <= UndoStack::kCapacity + 5; ++i) {
        PushUndo(s, undo_label::kAddLine);
        s.CurData = Numbered(i);
    }
    int undone = 0;
    while (PopUndo(s))
        ++undone;
    EXPECT_EQ(undone, UndoStack::kCapacity);
    int redone = 0;
    while (PopRedo(s))
        ++redone;
    EXPECT_EQ(redone, UndoStack::kCapacity);
    EXPECT_EQ(s.CurData, Numbered(UndoStack::kCapacity + 5));
}

}  // namespace
}  // namespace chokusho
