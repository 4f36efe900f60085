#pragma once

#include <array>
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
    explicit PointMoveDialog(DocumentState& state) : state_(state) {}

    /** Opening: nothing is confirmed yet, and the fields show the last amounts. */
    void Form_Load();
    /** Leaving field `index`: a text that is one number is shown in the "0.000" form. */
    void Text1_LostFocus(int index);
    /** A button: both amounts are stored as far as they read as numbers, and the dialog closes. */
    void Command1_Click(int index);

    const std::string& text(int index) const;
    void setText(int index, std::string text);
    /** True once a button has asked the dialog to close. */
    bool closing() const { return closing_; }

private:
    static bool IsField(int index) { return index == 0 || index == 1; }

    DocumentState& state_;
    std::array<std::string, 2> texts_;
    bool closing_ = false;
};

}  // namespace chokusho
