#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PointMoveDialog.h"

namespace chokusho {
namespace {

/** One opening of the dialog: what is typed into X and Y, which fields are left, how it closes. */
struct Opening {
    const char* typedX;  // nullptr: left as shown
    const char* typedY;
    bool leaveFields;
    int button;  // 0 OK, 1 キャンセル, -1 closed by the frame
    // what the fields show before the button, and what is stored
    const char* shownX;
    const char* shownY;
    double dx, dy;
    int ok;
};

TEST(PointMoveDialog, OpeningsInTurn)
{
    // clang-format off
    const std::vector<Opening> openings = {
        {nullptr, nullptr, false, 0, "0.000", "0.000", 0, 0, 1},       // first opening shows 0.000 twice
        {"1.5", " -2 ", true, 0, "1.500", "-2.000", 1.5, -2, 1},       // a number is reformatted on leaving
        {nullptr, nullptr, false, -1, "1.500", "-2.000", 1.5, -2, 0},  // the next opening shows them
        {"abc", "2.5m", true, 0, "abc", "2.5m", 0, 2.5, 1},            // not a number: stays, read leniently
        {"５．５", "\u22121", true, 0, "5.500", "-1.000", 5.5, -1, 1},  // an input method's forms
        {"7", "-3", true, 1, "7.000", "-3.000", 7, -3, 0},             // キャンセル stores too
        {"8", "1e999", true, 1, "8.000", "1e999", 7, -3, 0},           // but never a number too large
        {nullptr, "", true, 0, "7.000", "", 7, 0, 1},                  // empty stays empty
        {"9", "9", false, -1, "9", "9", 7, 0, 0},                      // the frame's close stores nothing
    };
    // clang-format on
    DocumentState state;
    state.MoveOK = true;
    for (const Opening& o : openings) {
        PointMoveDialog dialog(state);
        dialog.Form_Load();
        EXPECT_FALSE(state.MoveOK);
        if (o.typedX)
            dialog.setText(0, o.typedX);
        if (o.typedY)
            dialog.setText(1, o.typedY);
        if (o.leaveFields) {
            dialog.Text1_LostFocus(0);
            dialog.Text1_LostFocus(1);
        }
        EXPECT_EQ(dialog.text(0), o.shownX);
        EXPECT_EQ(dialog.text(1), o.shownY);
        if (o.button >= 0)
            dialog.Command1_Click(o.button);
        EXPECT_EQ(dialog.closing(), o.button >= 0);
        EXPECT_EQ(state.MoveDX, o.dx) << o.shownX;
        EXPECT_EQ(state.MoveDY, o.dy) << o.shownY;
        EXPECT_EQ(state.MoveOK, o.ok);
    }
}

TEST(PointMoveDialog, OkRefusesWhatARealCannotHold)
{
    struct Case {
        const char* what;
        const char* x;
        const char* y;
        int field;  // -1: accepted
        const char* message;
    };
    // clang-format off
    const Case cases[] = {
        {"X too large", "1e400", "1", 0, "移動量 X の数値が大きすぎて扱えません。"},
        {"Y too large, led by a number", "1", "-2e308m", 1, "移動量 Y の数値が大きすぎて扱えません。"},
        {"a point would leave the reals in X", "1e308", "0", 0, "この移動量では移動後の座標が大きすぎて扱えません。"},
        {"a point would leave the reals in Y", "0", "-1.7e308", 1,
         "この移動量では移動後の座標が大きすぎて扱えません。"},
        {"large but within the reals", "-1e308", "1e308", -1, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        DocumentState state;
        state.CurData.PointCount = 2;
        state.CurData.PointX[2] = 1e308;
        state.CurData.PointY[2] = -1e308;
        state.SelPntCount = 1;
        state.SelPnt[0] = 2;
        state.MoveDX = 5;
        PointMoveDialog dialog(state);
        dialog.Form_Load();
        dialog.setText(0, c.x);
        dialog.setText(1, c.y);
        dialog.Command1_Click(0);
        if (c.field < 0) {
            EXPECT_TRUE(dialog.closing()) << c.what;
            EXPECT_FALSE(dialog.problem()) << c.what;
            EXPECT_TRUE(state.MoveOK) << c.what;
            continue;
        }
        EXPECT_FALSE(dialog.closing()) << c.what << ": the dialog stays open";
        ASSERT_TRUE(dialog.problem()) << c.what;
        EXPECT_EQ(dialog.problem()->field, c.field) << c.what;
        EXPECT_EQ(dialog.problem()->message, c.message) << c.what;
        EXPECT_EQ(state.MoveDX, 5) << c.what << ": nothing is stored";
        EXPECT_FALSE(state.MoveOK) << c.what;

        // Corrected, it closes.
        dialog.setText(c.field, "1");
        dialog.Command1_Click(0);
        EXPECT_TRUE(dialog.closing()) << c.what;
        EXPECT_FALSE(dialog.problem()) << c.what;
    }
}

}  // namespace
}  // namespace chokusho
