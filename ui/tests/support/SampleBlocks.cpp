#include "SampleBlocks.h"

namespace chokusho::test {

BlockData RectangleBlock(double b, double h)
{
    BlockData r;
    const double xs[] = {0, b, b, 0};
    const double ys[] = {0, 0, h, h};
    r.PointCount = 4;
    for (int n = 1; n <= 4; ++n) {
        r.PointX[n] = xs[n - 1];
        r.PointY[n] = ys[n - 1];
    }
    r.LineCount = 4;
    for (int k = 1; k <= 4; ++k) {
        r.LineStart[k] = static_cast<std::int16_t>(k);
        r.LineEnd[k] = static_cast<std::int16_t>(k % 4 + 1);
        r.LineKind[k] = kSolidLine;
    }
    r.Gx = b / 2;
    r.Gy = h / 2;
    return r;
}

BlockData ListedBlock(const char* name, const char* kind, double b, double h)
{
    BlockData r = RectangleBlock(b, h);
    r.Name = name;
    r.Kind = kind;
    r.B = b;
    r.H = h;
    r.L = 2;
    r.V = b * h * 2;
    r.LineCount = 5;
    r.LineStart[5] = 1;
    r.LineEnd[5] = 3;
    r.LineKind[5] = kDottedLine;
    return r;
}

BlockData LayeredBlock()
{
    BlockData d;
    d.Name = "消波A";
    d.Kind = "2.0t型";
    d.B = 4, d.H = 3, d.L = 2, d.Gx = 2, d.Gy = 1.5, d.V = 10;
    d.GxMode = 1;
    d.LayerCount = 2;
    d.LayerH = {1.5, 1.5};
    d.LayerDV = {4, 6};
    d.LayerV = {4, 10};
    d.LayerGx = {1.9, 2.1};
    d.PointCount = 3;
    d.PointX[2] = 4;
    d.PointX[3] = 4, d.PointY[3] = 3;
    d.LineCount = 2;
    d.LineStart[1] = 1, d.LineEnd[1] = 2;
    d.LineStart[2] = 2, d.LineEnd[2] = 3, d.LineKind[2] = kDottedLine;
    return d;
}

}  // namespace chokusho::test
