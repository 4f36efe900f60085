#include "EditOperations.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "CalTool.h"
#include "Numbers.h"

namespace chokusho {

namespace {

// Counts and numbers come from files, dialogs and older snapshots, so every one of them is
// clamped or checked before it is used as an index; a broken record must not make an edit
// read or write outside the fixed tables.

int UsablePointCount(const BlockData& data) { return std::clamp<int>(data.PointCount, 0, kMaxPoints); }
int UsableLineCount(const BlockData& data) { return std::clamp<int>(data.LineCount, 0, kMaxLines); }

bool IsPoint(const BlockData& data, int p) { return p >= 1 && p <= UsablePointCount(data); }
bool IsLine(const BlockData& data, int k) { return k >= 1 && k <= UsableLineCount(data); }

int SelPntEntries(const DocumentState& state)
{
    return std::clamp<int>(state.SelPntCount, 0, static_cast<int>(state.SelPnt.size()));
}
int SelLineEntries(const DocumentState& state)
{
    return std::clamp<int>(state.SelLineCount, 0, static_cast<int>(state.SelLine.size()));
}

/** Segments gathered while a deletion rebuilds the table, numbered from 1 like the table. */
struct SegmentTable {
    std::array<std::int16_t, kMaxLines + 1> start{};
    std::array<std::int16_t, kMaxLines + 1> end{};
    std::array<std::int16_t, kMaxLines + 1> kind{};
    int count = 0;

    void append(std::int16_t s, std::int16_t e, std::int16_t k)
    {
        if (count >= kMaxLines)
            return;
        ++count;
        start[count] = s;
        end[count] = e;
        kind[count] = k;
    }
};

/**
 * Replaces the segment table with `table`. Every slot is cleared first because the
 * deletion of segments finds the survivors by scanning all slots, so a stale entry
 * above LineCount would come back to life.
 */
void StoreSegments(BlockData& data, const SegmentTable& table)
{
    data.LineStart.fill(0);
    data.LineEnd.fill(0);
    data.LineKind.fill(0);
    for (int k = 1; k <= table.count; ++k) {
        data.LineStart[k] = table.start[k];
        data.LineEnd[k] = table.end[k];
        data.LineKind[k] = table.kind[k];
    }
    data.LineCount = static_cast<std::int16_t>(table.count);
}

/** Coordinates this close are one point when segments are joined to an edited point table. */
constexpr double kSamePoint = 0.0001;

/**
 * The new number of each old point: the lowest new point at the same place, 0 when none is.
 * An old point is compared as the table showed it, so a point with more decimals than the
 * table's three is still found when the user left its row alone.
 */
std::array<std::int16_t, kMaxPoints + 1> MatchPoints(const BlockData& before, const BlockData& after)
{
    std::array<std::int16_t, kMaxPoints + 1> newNumber{};
    const auto shown = [](double value) { return ReadReal(FormatGrid(value)).value_or(value); };
    const int oldCount = std::clamp<int>(before.PointCount, 0, kMaxPoints);
    const int newCount = std::clamp<int>(after.PointCount, 0, kMaxPoints);
    for (int k = 1; k <= oldCount; ++k) {
        const double x = shown(before.PointX[k]);
        const double y = shown(before.PointY[k]);
        for (int i = 1; i <= newCount; ++i) {
            if (std::fabs(x - after.PointX[i]) < kSamePoint && std::fabs(y - after.PointY[i]) < kSamePoint) {
                newNumber[k] = static_cast<std::int16_t>(i);
                break;
            }
        }
    }
    return newNumber;
}

/** Whether a segment whose ends have these new numbers survives: both ends were found. */
bool Kept(std::int16_t start, std::int16_t end) { return start > 0 && end > 0; }

/**
 * Visits every slot j of `before`'s segment table as `visit(j, start, end)`, with the new
 * numbers of the segment's ends among `after`'s points (0 for an end that is at no new point).
 */
template <class Visit>
void ForEachRenumberedSegment(const BlockData& before, const BlockData& after, Visit visit)
{
    const auto newNumber = MatchPoints(before, after);
    const auto renumber = [&newNumber](int point) {
        return point >= 0 && point <= kMaxPoints ? newNumber[point] : std::int16_t{0};
    };
    for (int j = 1; j <= kMaxLines; ++j)
        visit(j, renumber(before.LineStart[j]), renumber(before.LineEnd[j]));
}

}  // namespace

int FindPoint(const BlockData& data, double x, double y, double tolerance)
{
    int best = -1;
    double reach = tolerance;
    double bestSq = tolerance * tolerance;
    const int points = UsablePointCount(data);
    for (int i = 1; i <= points; ++i) {
        const double dx = std::fabs(data.PointX[i] - x);
        if (dx > reach)
            continue;
        const double dy = std::fabs(data.PointY[i] - y);
        if (dy > reach)
            continue;
        const double d = dx * dx + dy * dy;
        // "<=" lets a later point win a tie: points are drawn in number order, so the
        // highest number is the one on top where the user clicked.
        if (d <= bestSq) {
            best = i;
            reach = std::sqrt(d);
            bestSq = d;
        }
    }
    return best;
}

std::vector<std::int16_t> PointsInRect(const BlockData& data, double xmin, double ymin, double xmax, double ymax)
{
    std::vector<std::int16_t> found;
    const int points = UsablePointCount(data);
    for (int i = 1; i <= points; ++i) {
        const double px = data.PointX[i];
        const double py = data.PointY[i];
        if (px >= xmin && px <= xmax && py >= ymin && py <= ymax)
            found.push_back(static_cast<std::int16_t>(i));
    }
    return found;
}

int FindLine(const BlockData& data, double x, double y, double tolerance)
{
    if (data.LineCount <= 0)
        return -1;
    int best = -1;
    double reach = tolerance;
    double bestSq = tolerance * tolerance;
    const int lines = UsableLineCount(data);
    for (int k = 1; k <= lines; ++k) {
        const int a = data.LineStart[k];
        const int b = data.LineEnd[k];
        if (!IsPoint(data, a) || !IsPoint(data, b))
            continue;
        // Work relative to the cursor so that the distance is simply the length of the foot.
        const double ax = data.PointX[a] - x;
        const double ay = data.PointY[a] - y;
        const double bx = data.PointX[b] - x;
        const double by = data.PointY[b] - y;
        // A segment lying wholly to one side of the square around the cursor cannot be nearer
        // than the best so far; the square shrinks as better segments are found.
        if ((ax > reach && bx > reach) || (ax < -reach && bx < -reach) || (ay > reach && by > reach) ||
            (ay < -reach && by < -reach))
            continue;
        double fx = 0;
        double fy = 0;
        double d = 0;
        if (FootOnLine(ax, ay, bx, by, 0, 0, fx, fy) == 0)
            d = fx * fx + fy * fy;
        else
            d = std::min(ax * ax + ay * ay, bx * bx + by * by);
        if (d < bestSq) {
            best = k;
            reach = std::sqrt(d);
            bestSq = d;
        }
    }
    return best;
}

int FindJoiningLine(const BlockData& data, int a, int b)
{
    const int lines = UsableLineCount(data);
    for (int k = 1; k <= lines; ++k) {
        const int s = data.LineStart[k];
        const int e = data.LineEnd[k];
        if ((s == a && e == b) || (s == b && e == a))
            return k;
    }
    return -1;
}

AddLineResult AddLine(DocumentState& state)
{
    BlockData& data = state.CurData;
    const int s = state.NewLine[0];
    const int e = state.NewLine[1];
    if (!IsPoint(data, s) || !IsPoint(data, e) || s == e)
        return AddLineResult::InvalidPoints;
    if (FindJoiningLine(data, s, e) >= 0)
        return AddLineResult::AlreadyPresent;
    const int lines = UsableLineCount(data);
    if (data.LineCount >= kMaxLines)
        return AddLineResult::TableFull;
    const int n = lines + 1;
    data.LineStart[n] = static_cast<std::int16_t>(s);
    data.LineEnd[n] = static_cast<std::int16_t>(e);
    data.LineKind[n] = kSolidLine;
    data.LineCount = static_cast<std::int16_t>(n);
    return AddLineResult::Added;
}

void DeleteLines(DocumentState& state)
{
    BlockData& data = state.CurData;
    const int selected = SelLineEntries(state);
    for (int i = 0; i < selected; ++i) {
        const int k = state.SelLine[i];
        if (!IsLine(data, k))
            continue;
        data.LineStart[k] = 0;
        data.LineEnd[k] = 0;
        data.LineKind[k] = 0;
    }
    // The cleared slots are recognised by their zero ends, so the survivors are found by
    // scanning every slot rather than trusting LineCount.
    SegmentTable kept;
    for (int k = 1; k <= kMaxLines; ++k) {
        if (data.LineStart[k] > 0 || data.LineEnd[k] > 0)
            kept.append(data.LineStart[k], data.LineEnd[k], data.LineKind[k]);
    }
    StoreSegments(data, kept);
    state.notifyMenuEnable();
}

void DeleteAllLines(DocumentState& state)
{
    StoreSegments(state.CurData, SegmentTable{});
    state.notifyMenuEnable();
}

void DeletePoints(DocumentState& state)
{
    BlockData& data = state.CurData;
    const int selected = SelPntEntries(state);
    for (int idx = 0; idx < selected; ++idx) {
        const int p = state.SelPnt[idx];
        if (!IsPoint(data, p))
            continue;

        SegmentTable kept;
        const int lines = UsableLineCount(data);
        for (int j = 1; j <= lines; ++j) {
            if (data.LineStart[j] != p && data.LineEnd[j] != p)
                kept.append(data.LineStart[j], data.LineEnd[j], data.LineKind[j]);
        }

        const int points = UsablePointCount(data);
        for (int l = p; l < points; ++l) {
            data.PointX[l] = data.PointX[l + 1];
            data.PointY[l] = data.PointY[l + 1];
        }
        // The slot the last point leaves is empty again, as every slot above the count is.
        data.PointX[points] = 0;
        data.PointY[points] = 0;
        --data.PointCount;

        for (int j = 1; j <= kept.count; ++j) {
            if (kept.start[j] > p)
                --kept.start[j];
            if (kept.end[j] > p)
                --kept.end[j];
        }
        StoreSegments(data, kept);

        // The rest of the selection still uses the old numbering; bring it up to date so that
        // each entry keeps naming the point the user picked.
        for (int h = idx + 1; h < selected; ++h) {
            if (state.SelPnt[h] > p)
                --state.SelPnt[h];
        }
    }
    state.notifyMenuEnable();
}

void MovePoints(DocumentState& state)
{
    BlockData& data = state.CurData;
    const int selected = SelPntEntries(state);
    for (int i = 0; i < selected; ++i) {
        const int p = state.SelPnt[i];
        if (!IsPoint(data, p))
            continue;
        data.PointX[p] += state.MoveDX;
        data.PointY[p] += state.MoveDY;
    }
    state.notifyMenuEnable();
}

void ToggleLineKind(DocumentState& state)
{
    BlockData& data = state.CurData;
    const int selected = SelLineEntries(state);
    for (int i = 0; i < selected; ++i) {
        const int k = state.SelLine[i];
        if (!IsLine(data, k))
            continue;
        data.LineKind[k] = static_cast<std::int16_t>(1 - data.LineKind[k]);
    }
    state.notifyMenuEnable();
}

int FindSelLine(const DocumentState& state, int line)
{
    const int selected = SelLineEntries(state);
    for (int i = 0; i < selected; ++i) {
        if (state.SelLine[i] == line)
            return i;
    }
    return -1;
}

int FindSelPnt(const DocumentState& state, int point)
{
    const int selected = SelPntEntries(state);
    for (int i = 0; i < selected; ++i) {
        if (state.SelPnt[i] == point)
            return i;
    }
    return -1;
}

bool AddPoint(DocumentState& state, double x, double y)
{
    BlockData& data = state.CurData;
    const int count = UsablePointCount(data);
    if (count >= kMaxPoints)
        return false;
    const auto n = static_cast<std::size_t>(count + 1);
    data.PointX[n] = x;
    data.PointY[n] = y;
    data.PointCount = static_cast<std::int16_t>(n);
    return true;
}

void PushUndo(DocumentState& state, const std::string& label)
{
    state.Undo.push(state.CurData, label);
    state.notifyUndoEnabled(true);
    if (state.Redo.UndoCount() > 0) {
        state.Redo.clear();
        state.notifyRedoEnabled(false);
    }
    state.notifyChanged();
}

namespace {

/** Moves CurData onto `to` and the newest record of `from` into CurData, under the same label. */
bool Swap(DocumentState& state, UndoStack& from, UndoStack& to)
{
    if (from.UndoCount() == 0)
        return false;
    const std::string label = from.UndoText(0);
    to.push(state.CurData, label);
    const bool popped = from.pop(state.CurData);
    (void)popped;  // the stack was not empty
    const bool undone = &from == &state.Undo;
    // The button of the stack that grew comes on; the other goes off once its stack is empty.
    if (undone)
        state.notifyRedoEnabled(true);
    else
        state.notifyUndoEnabled(true);
    if (from.UndoCount() == 0) {
        if (undone)
            state.notifyUndoEnabled(false);
        else
            state.notifyRedoEnabled(false);
    }
    state.notifyMenuEnable();
    state.notifyChanged();
    return true;
}

}  // namespace

bool PopUndo(DocumentState& state) { return Swap(state, state.Undo, state.Redo); }

bool PopRedo(DocumentState& state) { return Swap(state, state.Redo, state.Undo); }

void ClearHistory(DocumentState& state)
{
    state.Undo.clear();
    state.Redo.clear();
    state.notifyUndoEnabled(false);
    state.notifyRedoEnabled(false);
}

void ReattachSegments(const BlockData& before, BlockData& data)
{
    // Built aside first: `before` may be `data` itself.
    std::int16_t count = 0;
    decltype(data.LineStart) starts{}, ends{}, kinds{};
    ForEachRenumberedSegment(before, data, [&](int j, std::int16_t start, std::int16_t end) {
        if (!Kept(start, end))
            return;
        const auto slot = static_cast<std::size_t>(++count);
        starts[slot] = start;
        ends[slot] = end;
        kinds[slot] = before.LineKind[j];
    });
    data.LineCount = count;
    data.LineStart = starts;
    data.LineEnd = ends;
    data.LineKind = kinds;
}

int DroppedSegmentCount(const BlockData& before, const BlockData& after)
{
    int dropped = 0;
    ForEachRenumberedSegment(before, after, [&](int j, std::int16_t start, std::int16_t end) {
        const bool segment = before.LineStart[j] != 0 || before.LineEnd[j] != 0;
        if (segment && !Kept(start, end))
            ++dropped;
    });
    return dropped;
}

void ReplacePoints(DocumentState& state, const BlockData& table)
{
    BlockData& data = state.CurData;
    const BlockData before = data;
    data.PointCount = std::clamp<std::int16_t>(table.PointCount, 0, kMaxPoints);
    // Only the table's points: the slots above them are empty, whatever the table left there.
    data.PointX = {};
    data.PointY = {};
    std::copy_n(table.PointX.begin() + 1, data.PointCount, data.PointX.begin() + 1);
    std::copy_n(table.PointY.begin() + 1, data.PointCount, data.PointY.begin() + 1);
    // The table renumbers points freely; a segment survives when both its ends are still there.
    ReattachSegments(before, data);
    state.notifyMenuEnable();
}

void ReplaceGeometry(DocumentState& state, const BlockData& imported)
{
    BlockData& data = state.CurData;
    data.PointCount = std::clamp<std::int16_t>(imported.PointCount, 0, kMaxPoints);
    data.PointX = {};
    data.PointY = {};
    std::copy_n(imported.PointX.begin() + 1, data.PointCount, data.PointX.begin() + 1);
    std::copy_n(imported.PointY.begin() + 1, data.PointCount, data.PointY.begin() + 1);
    data.LineCount = 0;
    data.LineStart = {};
    data.LineEnd = {};
    data.LineKind = {};
    // Only segments between points that came along: a record holds no segment to nowhere.
    const auto isPoint = [&](int n) { return n >= 1 && n <= data.PointCount; };
    for (int k = 1; k <= std::min<int>(imported.LineCount, kMaxLines); ++k) {
        if (!isPoint(imported.LineStart[k]) || !isPoint(imported.LineEnd[k]))
            continue;
        ++data.LineCount;
        data.LineStart[data.LineCount] = imported.LineStart[k];
        data.LineEnd[data.LineCount] = imported.LineEnd[k];
        data.LineKind[data.LineCount] = imported.LineKind[k];
    }
    state.ClearSelections();
    state.notifyMenuEnable();
}

}  // namespace chokusho
