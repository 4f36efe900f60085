#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "DocumentState.h"
#include "Numbers.h"

namespace chokusho {

/**
 * The point-move dialog (構成点移動量指定) without its widgets: the two amounts as typed, and
 * what loading, leaving a field and the two buttons do with them and with MoveDX, MoveDY and
 * MoveOK. Field 0 is X, field 1 is Y; button 0 is OK, button 1 キャンセル.
 */
class PointMoveDialog {
public:
    /** Why OK could not close the dialog: the field to correct (0 X, 1 Y) and what to tell the user. */
    struct Problem {
        int field = 0;
        std::string message;
    };

    explicit PointMoveDialog(DocumentState& state) : state_(state) {}

    /** Opening: nothing is confirmed yet, and the fields show the last amounts. */
    void Form_Load();
    /** Leaving field `index`: a text that is one number is shown in the "0.000" form. */
    void Text1_LostFocus(int index);
    /**
     * A button: both amounts are stored as far as they read as numbers, and the dialog closes.
     * An amount too large for a real is never stored: OK then leaves the dialog open with a
     * Problem naming the field, and so does an amount that would carry a selected point beyond
     * what a real holds; キャンセル closes without storing.
     */
    void Command1_Click(int index);
    /** What kept OK from closing the dialog, until the next button. */
    const std::optional<Problem>& problem() const { return problem_; }

    const std::string& text(int index) const;
    void setText(int index, std::string text);
    /** True once a button has asked the dialog to close. */
    bool closing() const { return closing_; }

private:
    static bool IsField(int index) { return index == 0 || index == 1; }

    DocumentState& state_;
    std::array<std::string, 2> texts_;
    bool closing_ = false;
    std::optional<Problem> problem_;
};

}  // namespace chokusho
