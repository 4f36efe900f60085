#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Canvas.h"

namespace chokusho {

/**
 * A canvas that draws nothing and writes down every call, so that tests can compare what was
 * drawn with plain values. It keeps the pen and the text position the way a real surface
 * would: every record carries the style and mode in force when the call was made.
 */
class RecordingCanvas final : public Canvas {
public:
    enum class Kind { Clear, SetPenStyle, SetPenMode, Line, Box, PSet, SetTextPosition, Print, FillRings };

    /**
     * One call. Line and Box use x1..y2; PSet and SetTextPosition use x1, y1; Print stores the
     * text position it drew at in x1, y1 and leaves that position alone, since how far text
     * advances depends on the font. Clear records black as its colour; calls without a colour
     * record none.
     */
    struct Op {
        Kind kind = Kind::Clear;
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        std::optional<PaletteColor> color;
        PenStyle style = PenStyle::Solid;
        PenMode mode = PenMode::Copy;
        std::string text;

        bool operator==(const Op&) const = default;
        /** The colour's palette index, -1 for none. */
        int colorIndex() const { return color ? static_cast<int>(*color) : -1; }
    };

    std::vector<Op> ops;
    /** The rings of each FillRings call, in call order (its Op records the colour). */
    std::vector<std::vector<PixelRing>> filledRings;
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    int textX = 0, textY = 0;

    void Clear() override;
    void SetPenStyle(PenStyle s) override;
    void SetPenMode(PenMode m) override;
    void Line(int x1, int y1, int x2, int y2, PaletteColor color) override;
    void Box(int x1, int y1, int x2, int y2, PaletteColor color) override;
    void PSet(int x, int y, PaletteColor color) override;
    void SetTextPosition(int x, int y) override;
    void Print(std::string_view text, PaletteColor color) override;
    void FillRings(const std::vector<PixelRing>& rings, PaletteColor color) override;

    /** The records of one kind, in call order. */
    std::vector<Op> Of(Kind kind) const;
    std::size_t Count(Kind kind) const;
    /** Lines, boxes, pixels and texts: everything that leaves a mark apart from Clear. */
    std::size_t MarkCount() const;
    /** Forgets the records but keeps the pen and text position, as a surface would. */
    void Forget()
    {
        ops.clear();
        filledRings.clear();
    }

private:
    Op Make(Kind kind) const;
};

}  // namespace chokusho
