#include "SheetLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace chokusho {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
/** Edges this close count as one: the sums of millimetres that place them round differently. */
constexpr double kEdgeTolerance = 1e-9;

bool Overlap(const SheetRect& a, const SheetRect& b)
{
    return a.left < b.right() - kEdgeTolerance && b.left < a.right() - kEdgeTolerance &&
           a.top < b.bottom() - kEdgeTolerance && b.top < a.bottom() - kEdgeTolerance;
}

SheetRect Grown(const SheetRect& rect, double by)
{
    return {rect.left - by, rect.top - by, rect.width + 2 * by, rect.height + 2 * by};
}

/**
 * The best place found so far. Places compare by the scale the section gets (fitted: the
 * standard scale; at a fixed one: whether it fits, else how far it is from fitting), then by
 * the fewest column groups (a short table stays in one), then by the room the section gets
 * beyond its need, then by the area.
 */
struct Best {
    double scale = kFitToPaper;
    SheetPlan plan{{}, std::nullopt, kInfinity};
    std::array<double, 4> key{};
    bool found = false;

    void consider(const SheetRect& rect, const std::optional<TablePlace>& table, const SectionNeeds& needs)
    {
        const double needed = NeededScale(rect, needs);
        const double gets = scale == kFitToPaper                    ? StandardScale(needed)
                            : needed <= scale * (1 + kEdgeTolerance) ? 0
                                                                     : needed;
        const std::array<double, 4> candidate{gets, table ? static_cast<double>(table->groups) : 0, needed,
                                              -rect.width * rect.height};
        if (!found || Less(candidate, key)) {
            plan = {rect, table, needed};
            key = candidate;
            found = true;
        }
    }

    /** Keys in order, each equal within a hair: sums of millimetres differ in their last bits. */
    static bool Less(const std::array<double, 4>& a, const std::array<double, 4>& b)
    {
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] == b[i] || std::fabs(a[i] - b[i]) <= kEdgeTolerance * std::max(std::fabs(a[i]), std::fabs(b[i])))
                continue;
            return a[i] < b[i];
        }
        return false;
    }
};

/**
 * The largest free rectangles of the frame beside the obstacles, offered to `best`: between each
 * two of the frame's and the obstacles' upright edges, every stretch from top to bottom that no
 * obstacle in between them interrupts.
 */
void ConsiderFreeRectangles(const SheetRect& frame, const std::array<SheetRect, 2>& obstacles, int count,
                            const std::optional<TablePlace>& table, const SectionNeeds& needs, Best& best)
{
    std::array<double, 6> xs{frame.left, frame.right()};
    std::size_t edges = 2;
    for (int i = 0; i < count; ++i) {
        const SheetRect& o = obstacles[static_cast<std::size_t>(i)];
        xs[edges++] = std::clamp(o.left, frame.left, frame.right());
        xs[edges++] = std::clamp(o.right(), frame.left, frame.right());
    }
    std::sort(xs.begin(), xs.begin() + static_cast<std::ptrdiff_t>(edges));
    for (std::size_t l = 0; l < edges; ++l) {
        for (std::size_t r = l + 1; r < edges; ++r) {
            const double left = xs[l], right = xs[r];
            if (right - left <= kEdgeTolerance)
                continue;
            // The obstacles between the two edges, from the top down.
            std::array<const SheetRect*, 2> between{};
            int found = 0;
            for (int i = 0; i < count; ++i) {
                const SheetRect& o = obstacles[static_cast<std::size_t>(i)];
                if (o.left < right - kEdgeTolerance && left < o.right() - kEdgeTolerance)
                    between[static_cast<std::size_t>(found++)] = &o;
            }
            if (found == 2 && between[1]->top < between[0]->top)
                std::swap(between[0], between[1]);
            double top = frame.top;
            for (int i = 0; i <= found; ++i) {
                const double bottom = i < found ? std::max(between[static_cast<std::size_t>(i)]->top, frame.top)
                                                : frame.bottom();
                if (bottom - top > kEdgeTolerance)
                    best.consider({left, top, right - left, bottom - top}, table, needs);
                if (i < found)
                    top = std::max(top, std::min(between[static_cast<std::size_t>(i)]->bottom(), frame.bottom()));
            }
        }
    }
}

/** The table in as few groups as `groups` groups' rows need; placed at the sheet's corner. */
TablePlace TableOf(const TableMeasure& table, int groups)
{
    TablePlace place;
    place.rowsPerGroup = (table.rows + groups - 1) / groups;
    place.groups = (table.rows + place.rowsPerGroup - 1) / place.rowsPerGroup;
    place.box.width = place.groups * table.groupWidthMm + (place.groups - 1) * kTableGapMm;
    place.box.height = (place.rowsPerGroup + 1) * kTableRowMm;
    return place;
}

/**
 * The table where it has no place that keeps clear of the frame and the title block (many
 * layers on a small paper): against the frame's top right, in as many groups as the height above
 * the title block needs, narrowed to the frame's width where they are wider.
 */
TablePlace CrowdedTable(const SheetRect& frame, const SheetRect& titleBox, const TableMeasure& table)
{
    const double height = titleBox.top - frame.top - 2 * kTableGapMm;
    const int rowsPerGroup = std::max(1, static_cast<int>(std::floor(height / kTableRowMm)) - 1);
    TablePlace place = TableOf(table, (table.rows + rowsPerGroup - 1) / rowsPerGroup);
    const double room = frame.width - 2 * kTableGapMm;
    if (place.box.width > room) {
        place.widthScale = room / place.box.width;
        place.box.width = room;
    }
    place.box.left = frame.right() - kTableGapMm - place.box.width;
    place.box.top = frame.top + kTableGapMm;
    return place;
}

}  // namespace

double NeededScale(const SheetRect& area, const SectionNeeds& needs)
{
    const double roomX = area.width - needs.leftMm - needs.rightMm;
    const double roomY = area.height - needs.topMm - needs.bottomMm;
    if (!(roomX > 0 && roomY > 0))
        return kInfinity;
    return std::max(needs.widthM * 1000 / roomX, needs.heightM * 1000 / roomY);
}

SheetPlan PlanSheet(const SheetRect& frame, const SheetRect& titleBox, const std::optional<TableMeasure>& table,
                    const SectionNeeds& needs, double scale)
{
    Best best;
    best.scale = scale;
    std::array<SheetRect, 2> obstacles{titleBox, {}};
    if (!table || table->rows <= 0) {
        ConsiderFreeRectangles(frame, obstacles, 1, std::nullopt, needs, best);
        return best.plan;
    }

    const double inner = frame.left + kTableGapMm;
    const double innerRight = frame.right() - kTableGapMm;
    const double innerTop = frame.top + kTableGapMm;
    const double aboveTitle = titleBox.top - kTableGapMm;
    for (int groups = 1; groups <= table->rows; ++groups) {
        TablePlace place = TableOf(*table, groups);
        if (place.groups != groups)
            continue;  // as many rows a group as with fewer groups: one of them is empty
        const SheetRect& box = place.box;
        if (box.width > innerRight - inner)
            break;
        // Against the title block's top, against the frame's top right, against its top left.
        const std::array<std::array<double, 2>, 3> corners = {{{innerRight - box.width, aboveTitle - box.height},
                                                               {innerRight - box.width, innerTop},
                                                               {inner, innerTop}}};
        for (const auto& [left, top] : corners) {
            place.box.left = left;
            place.box.top = top;
            const bool clear = top >= innerTop - kEdgeTolerance &&
                               !Overlap(Grown(place.box, kTableGapMm - kEdgeTolerance), titleBox) &&
                               place.box.bottom() <= frame.bottom() - kTableGapMm + kEdgeTolerance;
            if (!clear)
                continue;
            obstacles[1] = Grown(place.box, kTableGapMm);
            ConsiderFreeRectangles(frame, obstacles, 2, place, needs, best);
        }
    }
    if (!best.plan.table) {
        const TablePlace place = CrowdedTable(frame, titleBox, *table);
        obstacles[1] = Grown(place.box, kTableGapMm);
        best.found = false;
        ConsiderFreeRectangles(frame, obstacles, 2, place, needs, best);
        if (!best.plan.table)
            best.plan = {SheetRect{frame.left, frame.top, 1, 1}, place, kInfinity};
    }
    return best.plan;
}

}  // namespace chokusho
