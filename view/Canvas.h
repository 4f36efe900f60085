#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace chokusho {

/** The colours of the classic 16-colour palette that the drawing uses, by their indices. */
enum class PaletteColor : std::uint8_t {
    Black = 0,
    Navy = 1,
    Grey = 8,
    LightCyan = 11,
    LightMagenta = 13,
    Yellow = 14,
    White = 15,
};

/** The palette's colours under the names the drawing code has always used. */
namespace qb {
inline constexpr PaletteColor kBlack = PaletteColor::Black;
inline constexpr PaletteColor kNavy = PaletteColor::Navy;
inline constexpr PaletteColor kGrey = PaletteColor::Grey;
inline constexpr PaletteColor kLightCyan = PaletteColor::LightCyan;
inline constexpr PaletteColor kLightMagenta = PaletteColor::LightMagenta;
inline constexpr PaletteColor kYellow = PaletteColor::Yellow;
inline constexpr PaletteColor kWhite = PaletteColor::White;
}  // namespace qb

/** RGB of a palette colour as 0xRRGGBB. */
std::uint32_t QBColor(PaletteColor color);

enum class PenStyle { Solid, Dotted };

/** A pixel of the surface. */
struct PixelPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PixelPoint&) const = default;
};
/** A closed ring of pixels; its last point joins its first. */
using PixelRing = std::vector<PixelPoint>;
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
    virtual void Line(int x1, int y1, int x2, int y2, PaletteColor color) = 0;
    /** The outline of the rectangle with the two opposite corners, each pixel drawn once. */
    virtual void Box(int x1, int y1, int x2, int y2, PaletteColor color) = 0;
    /** Sets one pixel and moves the text position to it. */
    virtual void PSet(int x, int y, PaletteColor color) = 0;
    virtual void SetTextPosition(int x, int y) = 0;
    /** Draws `text` (UTF-8) transparently with its top-left corner at the text position. */
    virtual void Print(std::string_view text, PaletteColor color) = 0;
    /**
     * Fills in palette colour `color`, whatever the pen, what the rings together enclose an odd
     * number of times: a ring inside another is a hole in it.
     */
    virtual void FillRings(const std::vector<PixelRing>& rings, PaletteColor color) = 0;
};

}  // namespace chokusho
