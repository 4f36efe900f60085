#pragma once

#include <algorithm>
#include <limits>

namespace chokusho {

/** The smallest rectangle around the points added; empty until the first. */
struct Bounds {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    void add(double x, double y)
    {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    bool empty() const { return minX > maxX; }
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

}  // namespace chokusho
