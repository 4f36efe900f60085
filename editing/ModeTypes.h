#pragma once

#include <cstdint>

namespace chokusho {

/** Disp_mode: the mouse mode of the canvas. The values are the modes' numbers. */
enum class DispMode : std::int16_t {
    None = -1,
    ZoomIn = 0,        // 拡大
    ZoomOut = 1,       // 縮小
    Connect = 2,       // 結線
    DeleteLines = 3,   // 線分 › 削除
    DeletePoints = 4,  // 点 › 削除
    MovePoints = 5,    // 点 › 移動
    LineKind = 6,      // 線種変更
    AddPoint = 7,      // 点追加: a point where the user clicks
};

/** Mouse_sw: the step within a mouse mode. */
enum class MouseStep : std::int16_t {
    Idle = -1,       // no mode is active
    FirstPick = 0,   // waiting for the first pick of a step
    RubberBand = 1,  // an anchor is set and a rubber figure follows the pointer
};

/** The status prompts of Disp_Message, by their message numbers. */
enum class Prompt {
    None = 0,
    ConnectStart = 1,
    ConnectEnd = 2,
    DeleteLines = 3,
    ZoomIn = 4,
    ZoomInCorner = 5,
    ZoomOut = 6,
    ZoomOutCorner = 7,
    DeletePoints = 8,
    MovePoints = 9,
    MovePointsCorner = 10,
    LineKind = 11,
    AddPoint = 12,
};

/** The prompt's text; empty for Prompt::None. */
const char* MessageText(Prompt prompt);

/** The prompt with which `mode` waits for its first pick; Prompt::None for no mode. */
Prompt FirstPrompt(DispMode mode);

/** A mouse button as the canvas events number it. */
enum class MouseButton {
    None = 0,
    Left = 1,
    Right = 2,
    Middle = 4,
};

/** The buttons held during a move: a mask of MouseButton values. */
class MouseButtons {
public:
    constexpr MouseButtons() = default;
    constexpr explicit MouseButtons(int mask) : mask_(mask) {}
    constexpr MouseButtons(MouseButton only) : mask_(static_cast<int>(only)) {}

    constexpr bool holds(MouseButton button) const { return (mask_ & static_cast<int>(button)) != 0; }
    /** True when `button` is held and no other. */
    constexpr bool holdsOnly(MouseButton button) const { return mask_ == static_cast<int>(button); }
    constexpr int mask() const { return mask_; }
    constexpr bool operator==(const MouseButtons&) const = default;

private:
    int mask_ = 0;
};

}  // namespace chokusho
