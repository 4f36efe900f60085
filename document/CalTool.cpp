#include "CalTool.h"

#include <cmath>

namespace chokusho {

double Dot2(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy)
{
    return (bx - ax) * (dx - cx) + (by - ay) * (dy - cy);
}

int FootOnLine(double x1, double y1, double x2, double y2, double px, double py, double& fx, double& fy)
{
    const double len2 = (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2);
    // A segment this short has no direction; callers measure to its point instead.
    if (std::fabs(len2) < 1e-10)
        return -1;
    const double t = Dot2(x1, y1, x2, y2, x1, y1, px, py) / len2;
    fx = (1 - t) * x1 + t * x2;
    fy = (1 - t) * y1 + t * y2;
    return (t > 1 || t < 0) ? 1 : 0;
}

}  // namespace chokusho
