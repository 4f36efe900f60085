#pragma once

namespace chokusho {

/** Scalar product of the vectors A->B and C->D. */
double Dot2(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy);

/**
 * Foot (fx, fy) of the perpendicular from P on the line through A and B.
 * Returns 0 when the foot lies on the segment (ends included), 1 when beyond an end,
 * and -1, leaving fx and fy untouched, when A and B coincide.
 */
int FootOnLine(double x1, double y1, double x2, double y2, double px, double py, double& fx, double& fy);

}  // namespace chokusho
