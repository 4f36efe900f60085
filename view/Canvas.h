#pragma once

#include <cstdint>
#include <string_view>

namespace chokusho {

/** Indices of the classic 16-colour palette that the drawing uses. */
namespace qb {
inline constexpr int kBlack = 0;
inline constexpr int kGrey = 8;
inline constexpr int kLightCyan = 11;
inline constexpr int kLightMagenta = 13;
inline constexpr int kYellow = 14;
inline constexpr int kWhite = 15;
}  // namespace qb

/** RGB of a palette index 0..15 as 0xRRGGBB; indices outside the palette give black. */
std::uint32_t QBColor(int index);

enum class PenStyle { Solid, Dotted };
enum class PenMode { Copy, Xor };

/**
 * A drawing surface in pixels, origin at the top-left inner corner, Y downwards, black
 * background, pen width one pixel. Lines and pixels use the current pen style and mode.
 */
class Canvas {
public:
    virtual ~Canvas() = default;

    /** Fills the whole surface with black. */
    virtual void Clear() = 0;
    virtual void SetPenStyle(PenStyle style) = 0;
    virtual void SetPenMode(PenMode mode) = 0;
    /** A straight line between the two points, both ends included, in palette colour `color`. */
    virtual void Line(int x1, int y1, int x2, int y2, int color) = 0;
    /** The outline of the rectangle with the two opposite corners, each pixel drawn once. */
    virtual void Box(int x1, int y1, int x2, int y2, int color) = 0;
    /** Sets one pixel and moves the text position to it. */
    virtual void PSet(int x, int y, int color) = 0;
    virtual void SetTextPosition(int x, int y) = 0;
    /** Draws `text` (UTF-8) transparently with its top-left corner at the text position. */
    virtual void Print(std::string_view text, int color) = 0;
};

}  // namespace chokusho
