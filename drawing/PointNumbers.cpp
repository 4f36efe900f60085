#include "PointNumbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>
#include <vector>

#include "Numbers.h"
#include "TextWidth.h"

namespace chokusho {

namespace {

// On paper, in millimetres: the cross's half-width, the number's height, the clearance the
// number keeps from the cross and the segments, and the farthest it stands from its point.
constexpr double kCrossMm = 1.0;
constexpr double kNumberMm = 2.5;
constexpr double kClearMm = 0.5;
constexpr double kFarthestMm = 6.0;

constexpr double kPi = std::numbers::pi;

/** How far a box `width` x `height` about its centre reaches in the direction (dx, dy). */
double Reach(double dx, double dy, double width, double height)
{
    return (std::fabs(dx) * width + std::fabs(dy) * height) / 2;
}

/** A direction on paper, from point `point` along one of its segments, and its pseudo-angle. */
struct Direction {
    int point;
    double dx;
    double dy;
    double order;
};

/**
 * A number that grows with the angle of (x, y) from the X axis through a whole turn, [0, 4):
 * directions and the angles between them compare by it as by their angles, without atan2.
 */
double PseudoAngle(double x, double y)
{
    const double p = x / (std::fabs(x) + std::fabs(y));
    return y < 0 ? 3 + p : 1 - p;
}

/**
 * The offset, on paper (Y down), of the centre of a number's box `width` x `height` from its
 * point, whose segments leave it in `directions`, in the order of their angles.
 */
std::array<double, 2> NumberCentre(std::span<const Direction> directions, double width, double height)
{
    // Alone, a point's number stands below right of it; beside one segment, opposite it.
    double dx = std::sqrt(0.5), dy = std::sqrt(0.5);
    double half = kPi;
    // The widest angle from one direction to the next, the last to the first included.
    const Direction* from = nullptr;
    const Direction* to = nullptr;
    double widest = 0;
    for (std::size_t i = 0; i < directions.size(); ++i) {
        const Direction& a = directions[i];
        const Direction& b = directions[(i + 1) % directions.size()];
        const double angle = PseudoAngle(a.dx * b.dx + a.dy * b.dy, a.dx * b.dy - a.dy * b.dx);
        if (from == nullptr || angle > widest) {
            widest = angle;
            from = &a;
            to = &b;
        }
    }
    if (from != nullptr) {
        const double length = std::hypot(from->dx, from->dy);
        // All the segments leave the same way: the whole turn is free.
        const double turn = widest == 0 ? 2 * kPi
                                        : std::atan2(from->dx * to->dy - from->dy * to->dx,
                                                     from->dx * to->dx + from->dy * to->dy);
        half = (turn < 0 ? turn + 2 * kPi : turn) / 2;
        const double c = std::cos(half), s = std::sin(half);
        dx = (from->dx * c - from->dy * s) / length;
        dy = (from->dx * s + from->dy * c) / length;
    }
    double distance = kCrossMm + kClearMm + Reach(dx, dy, width, height);
    // In an angle narrower than a half turn, far enough out that the box clears both its sides.
    if (half < kPi / 2) {
        const double direction = std::atan2(dy, dx);
        for (const double side : {direction - half, direction + half}) {
            const double clear = (Reach(-std::sin(side), std::cos(side), width, height) + kClearMm) / std::sin(half);
            distance = std::max(distance, std::min(clear, kFarthestMm));
        }
    }
    return {dx * distance, dy * distance};
}

}  // namespace

void AddPointNumbers(Drawing& drawing, const BlockData& record)
{
    const int points = std::clamp<int>(record.PointCount, 0, kMaxPoints);
    const auto finite = [&](int n) {
        const auto i = static_cast<std::size_t>(n);
        return n >= 1 && n <= points && std::isfinite(record.PointX[i]) && std::isfinite(record.PointY[i]);
    };
    // Every segment's directions from both its ends, by point and angle.
    std::vector<Direction> directions;
    const int lines = std::clamp<int>(record.LineCount, 0, kMaxLines);
    for (int k = 1; k <= lines; ++k) {
        const int p = record.LineStart[k], q = record.LineEnd[k];
        if (!finite(p) || !finite(q))
            continue;
        const auto sp = static_cast<std::size_t>(p), sq = static_cast<std::size_t>(q);
        // Halved before they are subtracted, so that no far point overflows; on paper Y runs down.
        const double dx = record.PointX[sq] / 2 - record.PointX[sp] / 2;
        const double dy = record.PointY[sp] / 2 - record.PointY[sq] / 2;
        if (dx == 0 && dy == 0)
            continue;
        directions.push_back({p, dx, dy, PseudoAngle(dx, dy)});
        directions.push_back({q, -dx, -dy, PseudoAngle(-dx, -dy)});
    }
    std::sort(directions.begin(), directions.end(), [](const Direction& a, const Direction& b) {
        return a.point < b.point || (a.point == b.point && a.order < b.order);
    });

    auto first = directions.begin();
    for (int n = 1; n <= points; ++n) {
        const auto last = std::find_if(first, directions.end(), [n](const Direction& d) { return d.point > n; });
        const std::span<const Direction> own(first, last);
        first = last;
        if (!finite(n))
            continue;
        const auto sn = static_cast<std::size_t>(n);
        const double x = record.PointX[sn], y = record.PointY[sn];
        drawing.marks.push_back({x, y, ModelMark::Shape::Cross, kCrossMm, DrawingLayer::Points});
        std::string number = FormatInteger(n);
        const double width = TextWidthMm(number, kNumberMm);
        const auto [cx, cy] = NumberCentre(own, width, kNumberMm);
        // The text's baseline starts at the box's lower left corner.
        drawing.modelTexts.push_back(
            {x, y, cx - width / 2, cy + kNumberMm / 2, std::move(number), kNumberMm, DrawingLayer::PointNumbers});
    }
}

}  // namespace chokusho
