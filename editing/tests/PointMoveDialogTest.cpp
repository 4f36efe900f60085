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
    const std::vector<Opening> openings = {
        {nullptr, nullptr, false, 0, "0.000", "0.000", 0, 0, 1},       // first opening shows 0.000 twice
        {"1.5", " -2 ", true, 0, "1.500", "-2.000", 1.5, -2, 1},       // a number is reformatted on leaving
        {nullptr, nullptr, false, -1, "1.500", "-2.000", 1.5, -2, 0},  // the next opening shows them
        {"abc", "2.5m", true, 0, "abc", "2.5m", 0, 2.5, 1},            // not a number: stays, read leniently
        {"7", "1e999", true, 1, "7.000", "1e999", 7, 0, 0},            // キャンセル stores; overflow reads 0
        {nullptr, "", true, 0, "7.000", "", 7, 0, 1},                  // empty stays empty
        {"9", "9", false, -1, "9", "9", 7, 0, 0},                      // the frame's close stores nothing
    };
    DocumentState state;
    state.MoveOK = 1;
    for (const Opening& o : openings) {
        PointMoveDialog dialog(state);
        dialog.Form_Load();
        EXPECT_EQ(state.MoveOK, 0);
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

}  // namespace
}  // namespace chokusho
