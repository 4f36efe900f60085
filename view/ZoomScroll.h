#pragma once

#include <cstdint>

#include "ViewTransform.h"

namespace chokusho {

/** Fixed properties of the two scroll bars; 50 is the resting position. */
inline constexpr int kScrollMin = 0;
inline constexpr int kScrollMax = 100;
inline constexpr int kScrollRest = 50;
inline constexpr int kHScrollSmall = 2, kHScrollLarge = 3;
inline constexpr int kVScrollSmall = 2, kVScrollLarge = 5;

/** Scroll state of the main window: bar values last processed and the program's own locks. */
struct ScrollState {
    std::int16_t HScr_old = kScrollRest;
    std::int16_t VScr_old = kScrollRest;
    std::int16_t HScr_lock = 0;
    std::int16_t VScr_lock = 0;
};

/** What a rectangle zoom asks of its caller. */
enum class ZoomResult {
    Nothing,      // no change and no repaint
    RepaintOnly,  // the rectangle was too small: repaint (which removes the rubber band)
    Refitted,     // the view changed: reset the scroll bars, then repaint
};

/** Zooms in so that the dragged rectangle (canvas pixels) fills the canvas. */
ZoomResult Kakudai_disp(ViewTransform& view, int gxa, int gya, int gxb, int gyb);

/** Zooms out so that the whole current view shrinks into the dragged rectangle. */
ZoomResult Shukusho_disp(ViewTransform& view, int gxa, int gya, int gxb, int gyb);

/**
 * Applies a horizontal bar change to `value`: shifts the window by the bar's travel measured
 * against the home window (full travel = twice the distance from the view centre to the
 * farther home edge). Returns false, changing nothing, while the program holds the lock or
 * when the window cannot move that far within doubles and their precision.
 */
bool HScroll1_Change(ViewTransform& view, ScrollState& scroll, int value);
/** The same for the vertical bar; moving the thumb down moves the view towards smaller Y. */
bool VScroll1_Change(ViewTransform& view, ScrollState& scroll, int value);

/** A control's place in pixels. */
struct ControlRect {
    int left = 0, top = 0, width = 0, height = 0;
};

/** Where the canvas and the two bars go in the frame's area between toolbar and status bar. */
struct FrameLayout {
    ControlRect canvas;
    ControlRect vScroll;
    ControlRect hScroll;
};

/** Twips (1/1440 inch) in one logical pixel, the unit of every layout and of the picker's preview. */
inline constexpr int kTwipsPerPixel = 15;

/** Twips to logical pixels, rounded to the nearest pixel. */
int TwipsToPixels(int twips);

/** Layout of the area of `width` x `height` pixels between the toolbar and the status bar. */
FrameLayout LayoutFrame(int width, int height);

/** The main window's smallest size and its first client size, in pixels. */
inline constexpr int kMinWindowWidth = 400, kMinWindowHeight = 320;
inline constexpr int kInitialClientWidth = 759, kInitialClientHeight = 529;

}  // namespace chokusho
