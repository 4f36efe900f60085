#include "PointMoveDialog.h"

#include <cstddef>
#include <utility>

#include "Numbers.h"

namespace chokusho {

namespace {

/** The amount a text stands for; text without a leading number, and overflow, stand for 0. */
double Amount(const std::string& text)
{
    return ReadReal(text).value_or(0.0);
}

}  // namespace

void PointMoveDialog::Form_Load()
{
    state_.MoveOK = 0;
    texts_[0] = Format000(state_.MoveDX);
    texts_[1] = Format000(state_.MoveDY);
    closing_ = false;
}

void PointMoveDialog::Text1_LostFocus(int index)
{
    if (!IsField(index))
        return;
    // A number too large for a real is left as typed; the buttons read it as 0.
    std::string& text = texts_[static_cast<std::size_t>(index)];
    text = ReformatWholeNumber(text);
}

void PointMoveDialog::Command1_Click(int index)
{
    if (!IsField(index))
        return;
    state_.MoveDX = Amount(texts_[0]);
    state_.MoveDY = Amount(texts_[1]);
    state_.MoveOK = index == 0 ? 1 : 0;
    closing_ = true;
}

const std::string& PointMoveDialog::text(int index) const
{
    static const std::string kNone;
    return IsField(index) ? texts_[static_cast<std::size_t>(index)] : kNone;
}

void PointMoveDialog::setText(int index, std::string text)
{
    if (IsField(index))
        texts_[static_cast<std::size_t>(index)] = std::move(text);
}

}  // namespace chokusho
