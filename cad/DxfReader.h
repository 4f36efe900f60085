#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "DxfDrawing.h"

namespace chokusho {

/** What reading a DXF file came to. */
struct [[nodiscard]] DxfReadResult {
    DxfFailure failure = DxfFailure::None;
    /** With BadNumber: the line of the file (from 1) that holds the number. */
    int line = 0;
    DxfDrawing drawing;

    bool ok() const { return failure == DxfFailure::None; }
    explicit operator bool() const { return ok(); }
};

/**
 * Reads the bytes of an ASCII DXF file, Release 12 to 2018, into what an import takes from it:
 * LINE, ARC, CIRCLE, LWPOLYLINE and 2D POLYLINE (bulges as arcs) of model space, INSERTs of
 * blocks placed (nested, scaled, mirrored, rotated, MINSERT arrays), each piece with its layer
 * (a block's entities on layer "0" take the insertion's) and its line type resolved through
 * BYLAYER and BYBLOCK into solid or dotted. Entities of paper space, of frozen or off layers,
 * texts and other kinds are counted and left out. Layer names come out as UTF-8: by $DWGCODEPAGE
 * (ANSI_932, ANSI_1252), UTF-8 from R2007 on, else as they are when they are UTF-8 and as cp932
 * when not; \U+XXXX escapes decoded.
 *
 * Never throws on what the bytes hold: a file that is binary, DWG, no DXF, cut short or with a
 * number that is not finite is refused with the reason, and so is one whose blocks would unfold
 * into more than the reader takes (kMaxDxfInsertDepth, kMaxDxfPieces), so that a small file
 * cannot claim the machine.
 */
DxfReadResult ReadDxf(std::string_view bytes);

/** The largest DXF file read: beyond any drawing of a section, refused before it fills the memory. */
inline constexpr std::size_t kMaxDxfFileBytes = std::size_t{512} << 20;

/** How deep blocks may be inserted into blocks; a block inserted into itself ends here. */
inline constexpr int kMaxDxfInsertDepth = 16;
/**
 * How many pieces (lines, arcs, insertions) the blocks of a file may unfold into. What model
 * space holds itself is bounded by the file's size and not counted.
 */
inline constexpr long long kMaxDxfPieces = 1'000'000;

/** Why the file was not read, in Japanese, as the user reads it under the file's name. */
std::string DxfReadFailureText(const DxfReadResult& result);

}  // namespace chokusho
