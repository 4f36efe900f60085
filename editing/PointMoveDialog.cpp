#include "PointMoveDialog.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "Numbers.h"

namespace chokusho {

namespace {

constexpr const char* kFieldNames[2] = {"移動量 X", "移動量 Y"};

/** The axis (0 X, 1 Y) on which a selected point moved by (dx, dy) would leave the reals; -1 for none. */
int FirstAxisLeavingReals(const DocumentState& state, double dx, double dy)
{
    const BlockData& data = state.CurData;
    const int selected = std::clamp<int>(state.SelPntCount, 0, static_cast<int>(state.SelPnt.size()));
    for (int i = 0; i < selected; ++i) {
        const int n = state.SelPnt[i];
        if (n < 1 || n > kMaxPoints)
            continue;
        if (!std::isfinite(data.PointX[n] + dx))
            return 0;
        if (!std::isfinite(data.PointY[n] + dy))
            return 1;
    }
    return -1;
}

}  // namespace

void PointMoveDialog::Form_Load()
{
    state_.MoveOK = false;
    texts_[0] = Format000(state_.MoveDX);
    texts_[1] = Format000(state_.MoveDY);
    closing_ = false;
}

void PointMoveDialog::Text1_LostFocus(int index)
{
    if (!IsField(index))
        return;
    // A number too large for a real is left as typed; the buttons read it as 0.
    std::string& text = texts_[index];
    text = ReformatWholeNumber(text);
}

void PointMoveDialog::Command1_Click(int index)
{
    if (!IsField(index))
        return;
    problem_.reset();
    // Text without a leading number stands for 0; a number too large for a real stands for nothing.
    const std::optional<double> dx = ReadTypedReal(texts_[0]);
    const std::optional<double> dy = ReadTypedReal(texts_[1]);
    const bool ok = index == 0;
    if (!dx || !dy) {
        if (ok) {
            const int field = dx ? 1 : 0;
            problem_ = Problem{field, std::string(kFieldNames[field]) + " の数値が大きすぎて扱えません。"};
            return;
        }
        state_.MoveOK = false;
        closing_ = true;
        return;
    }
    if (ok) {
        if (const int axis = FirstAxisLeavingReals(state_, *dx, *dy); axis >= 0) {
            problem_ = Problem{axis, "この移動量では移動後の座標が大きすぎて扱えません。"};
            return;
        }
    }
    state_.MoveDX = *dx;
    state_.MoveDY = *dy;
    state_.MoveOK = ok;
    closing_ = true;
}

const std::string& PointMoveDialog::text(int index) const
{
    static const std::string kNone;
    return IsField(index) ? texts_[index] : kNone;
}

void PointMoveDialog::setText(int index, std::string text)
{
    if (IsField(index))
        texts_[index] = std::move(text);
}

}  // namespace chokusho
