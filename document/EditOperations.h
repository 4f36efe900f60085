#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BlockData.h"
#include "DocumentState.h"

namespace chokusho {

/** Undo labels of the commands that change the document. */
namespace undo_label {
inline constexpr const char* kAddLine = "線追加";
inline constexpr const char* kDeleteLines = "線削除";
inline constexpr const char* kDeleteAllLines = "線分一括削除";
inline constexpr const char* kDeletePoints = "点削除";
inline constexpr const char* kMovePoints = "点移動";
inline constexpr const char* kToggleLineKind = "線種変更";
inline constexpr const char* kEditPoints = "点編集";
inline constexpr const char* kEditParams = "諸条件修正";
inline constexpr const char* kAddPoint = "点追加";
inline constexpr const char* kImportDxf = "DXF読込";
}  // namespace undo_label

/** Nearest point within `tolerance` metres; among equal distances the highest number; -1 for none. */
int FindPoint(const BlockData& data, double x, double y, double tolerance);

/** Numbers of the points inside the rectangle (bounds inclusive), ascending. */
std::vector<std::int16_t> PointsInRect(const BlockData& data, double xmin, double ymin, double xmax, double ymax);

/** Nearest segment within `tolerance` metres; among equal distances the lowest number; -1 for none. */
int FindLine(const BlockData& data, double x, double y, double tolerance);

/** The segment that joins points a and b, in either direction; -1 when none does. */
int FindJoiningLine(const BlockData& data, int a, int b);

enum class AddLineResult {
    Added,
    AlreadyPresent,  // the pair exists in either direction: nothing changes
    TableFull,       // 200 segments are held: nothing changes
    InvalidPoints,   // an end is not a point of the document, or both ends are one point
};

/** Appends the segment NewLine(0)-NewLine(1) as a solid line unless one of the other results applies. */
AddLineResult AddLine(DocumentState& state);

/** Appends the point (x, y) after the others; false, changing nothing, when the table is full. */
bool AddPoint(DocumentState& state, double x, double y);

/** Removes the selected segments and renumbers the rest in their order. */
void DeleteLines(DocumentState& state);

/** Removes every segment: the count and every slot of the table, line kinds included. */
void DeleteAllLines(DocumentState& state);

/** Removes the selected points with every segment that uses them, and renumbers. */
void DeletePoints(DocumentState& state);

/** Moves the selected points by MoveDX, MoveDY. */
void MovePoints(DocumentState& state);

/** Flips the line kind of the selected segments. */
void ToggleLineKind(DocumentState& state);

/**
 * Rebuilds the segment table of `data` from `before`'s for `data`'s points. The point table
 * renumbers points freely, so a segment follows its two ends by their coordinates: an end is the
 * lowest new point at the place where the old point stood (as the table showed it, to three
 * decimals), and a segment one of whose ends is at no new point's place is dropped.
 */
void ReattachSegments(const BlockData& before, BlockData& data);

/**
 * How many of `before`'s segments ReattachSegments drops when the points become `after`'s: a
 * segment counts once, however many of its ends are gone.
 */
[[nodiscard]] int DroppedSegmentCount(const BlockData& before, const BlockData& after);

/**
 * Takes the points of the confirmed point table `table` (its count and points; the slots above
 * stay empty) and reattaches the segments to them.
 */
void ReplacePoints(DocumentState& state, const BlockData& table);

/**
 * Takes the points and segments of `imported` in place of the block's own, every slot above
 * their counts empty; name, dimensions, centroid and layers stay. Nothing stays selected.
 */
void ReplaceGeometry(DocumentState& state, const BlockData& imported);

/** Position of segment `line` in SelLine, or -1. */
int FindSelLine(const DocumentState& state, int line);
/** Position of point `point` in SelPnt, or -1. */
int FindSelPnt(const DocumentState& state, int point);

/**
 * Pushes a snapshot of CurData with its label; enables "Undo". A new change empties redo. The
 * document's DocumentChanged hears of it, as it hears of every undo and redo.
 */
void PushUndo(DocumentState& state, const std::string& label);

/**
 * Restores CurData from the newest snapshot, keeping the record it replaces for redo; false
 * (and nothing changes) when there is none.
 */
[[nodiscard]] bool PopUndo(DocumentState& state);

/**
 * Brings back the record the newest undo replaced, keeping the one it replaces for undo; false
 * (and nothing changes) when nothing was undone since the last change.
 */
[[nodiscard]] bool PopRedo(DocumentState& state);

/** Forgets every snapshot, for undo and for redo: a block opened, new or saved starts afresh. */
void ClearHistory(DocumentState& state);

}  // namespace chokusho
