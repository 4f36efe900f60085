#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BlockData.h"
#include "DxfDrawing.h"
#include "DxfReader.h"

namespace chokusho {

/** A unit the user may name for the file's coordinates. */
enum class DxfUnit { Millimetre, Centimetre, Metre };

/** The tolerance, in millimetres: ends closer than it are one point, an arc's chords stay within it. */
inline constexpr double kDefaultDxfToleranceMm = 1.0;
inline constexpr double kMinDxfToleranceMm = 0.001;
inline constexpr double kMaxDxfToleranceMm = 1000.0;

/** What to take from a read file, and how. */
struct DxfImportOptions {
    /** The unit of the file's coordinates; without one, the file's $INSUNITS, else millimetres. */
    std::optional<DxfUnit> unit;
    /** The layers to take, by name (ASCII letters in either case); without a list, every layer. */
    std::optional<std::vector<std::string>> layers;
    /** Within kMinDxfToleranceMm..kMaxDxfToleranceMm; a value outside is taken as the nearer end. */
    double toleranceMm = kDefaultDxfToleranceMm;
};

/** What an import made, or would have made, for the user to see. */
struct DxfImportCounts {
    int points = 0;
    int solidSegments = 0;
    int dottedSegments = 0;
    /** Chords made of arcs, circles and bulges, before ends were merged. */
    int chords = 0;
    /** Points that lie inside another segment, within the tolerance, without being one of its ends. */
    int tJunctions = 0;
    DxfSkipCounts skipped;

    int segments() const { return solidSegments + dottedSegments; }
};

/** What assembling a block from a read file came to. */
struct [[nodiscard]] DxfImport {
    DxfFailure failure = DxfFailure::None;
    /**
     * The points and segments, numbered along the outline; every other field as a cleared record
     * has it. Coordinates are metres, the extents' lower-left corner at (0, 0), rounded as a block
     * file holds them, so that the block saved and read again is the same.
     */
    BlockData block;
    /** Also with TooLarge: how many points and segments there would be. */
    DxfImportCounts counts;

    bool ok() const { return failure == DxfFailure::None; }
    explicit operator bool() const { return ok(); }
};

/** Metres per unit of the file's coordinates, by the options' unit, else $INSUNITS, else millimetres. */
double DxfMetresPerUnit(const DxfDrawing& drawing, const DxfImportOptions& options);

/** Whether each layer of `drawing` is one `options` takes, by index. */
std::vector<bool> DxfTickedLayers(const DxfDrawing& drawing, const DxfImportOptions& options);

/**
 * The points and segments of the chosen layers as a block's: arcs as chords whose sagitta stays
 * within the tolerance; ends within the tolerance one point; a segment met twice (either way
 * round) one; segments of no length dropped; points on another segment's inside counted, not
 * split. Refuses an empty choice (EmptySelection), more than kMaxPoints points or kMaxLines
 * segments (TooLarge, with the counts), a coordinate that overflows (BadNumber), and more
 * chords than anyone draws (TooComplex). Cheap enough to run again on every change of options.
 */
DxfImport AssembleBlock(const DxfDrawing& drawing, const DxfImportOptions& options);

/** What an import made, in Japanese, on one line: "点 12 個、線分 14 本 (実線 12、点線 2)、…". */
std::string DxfImportCountsText(const DxfImportCounts& counts);

/** Why the import was refused, in Japanese: what it found and what the user can change. */
std::string DxfImportFailureText(const DxfImport& import);

}  // namespace chokusho
