// Writes the sample blocks that ship beside the program, so that the picker of a first run,
// which opens on the program's folder, has blocks to show.
//
// Every figure of a sample is worked out here from its section: the solid region is the
// outline less its chambers, and a wall with openings counts with the share of it that is
// concrete. Volumes are the section's area times the block's length Ｌ.
//
// Usage: make_samples FOLDER

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "BlockData.h"
#include "BlockFile.h"
#include "DocumentInvariants.h"

using namespace chokusho;

namespace {

struct Point {
    double x;
    double y;
};

using Polygon = std::vector<Point>;

/** A part of the section: +1 concrete, -1 a chamber, between 0 and -1 the open share of a wall. */
struct Region {
    Polygon outline;
    double weight;
};

struct Segment {
    int from;
    int to;
    std::int16_t kind;
};

struct Sample {
    const char* fileName;       // beside the program, with ".csv"
    const char* name;           // at most 20 cp932 bytes, so that the picker's columns stay in line
    const char* kind;           // at most 16 cp932 bytes
    double length;              // Ｌ, along the breakwater
    std::vector<Point> points;  // the outer four corners first, clockwise from the lower left
    std::vector<Segment> segments;
    std::vector<Region> regions;
    std::vector<double> layerTops;  // heights of the layers' tops; empty for no layer table
    std::int16_t gxMode = 0;
};

Polygon Rect(double x1, double y1, double x2, double y2) { return {{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}}; }

/** The format keeps three decimals; figures are rounded so that they read back as written. */
double Round3(double value) { return std::round(value * 1000.0) / 1000.0; }

/** The part of `polygon` on the side of the line y = `limit` that `below` names. */
Polygon ClipY(const Polygon& polygon, double limit, bool below)
{
    const auto inside = [limit, below](const Point& p) { return below ? p.y <= limit : p.y >= limit; };
    Polygon out;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % polygon.size()];
        if (inside(a))
            out.push_back(a);
        if (inside(a) != inside(b)) {
            const double t = (limit - a.y) / (b.y - a.y);
            out.push_back({a.x + t * (b.x - a.x), limit});
        }
    }
    return out;
}

struct Moments {
    double area = 0;
    double ax = 0;  // area times centroid x
    double ay = 0;
};

Moments MomentsOf(const Polygon& polygon)
{
    Moments m;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % polygon.size()];
        const double cross = a.x * b.y - b.x * a.y;
        m.area += cross / 2;
        m.ax += (a.x + b.x) * cross / 6;
        m.ay += (a.y + b.y) * cross / 6;
    }
    // Outlines run either way round; only the size counts.
    if (m.area < 0) {
        m.area = -m.area;
        m.ax = -m.ax;
        m.ay = -m.ay;
    }
    return m;
}

/** The weighted moments of the section between heights `bottom` and `top`. */
Moments SliceMoments(const std::vector<Region>& regions, double bottom, double top)
{
    Moments total;
    for (const Region& region : regions) {
        const Moments m = MomentsOf(ClipY(ClipY(region.outline, bottom, false), top, true));
        total.area += region.weight * m.area;
        total.ax += region.weight * m.ax;
        total.ay += region.weight * m.ay;
    }
    return total;
}

BlockData Build(const Sample& s)
{
    BlockData r;
    r.Name = s.name;
    r.Kind = s.kind;
    r.L = s.length;

    r.PointCount = static_cast<std::int16_t>(s.points.size());
    double minX = s.points[0].x, maxX = minX, minY = s.points[0].y, maxY = minY;
    for (std::size_t i = 0; i < s.points.size(); ++i) {
        r.PointX[i + 1] = s.points[i].x;
        r.PointY[i + 1] = s.points[i].y;
        minX = std::min(minX, s.points[i].x);
        maxX = std::max(maxX, s.points[i].x);
        minY = std::min(minY, s.points[i].y);
        maxY = std::max(maxY, s.points[i].y);
    }
    r.B = Round3(maxX - minX);
    r.H = Round3(maxY - minY);

    r.LineCount = static_cast<std::int16_t>(s.segments.size());
    for (std::size_t k = 0; k < s.segments.size(); ++k) {
        r.LineStart[k + 1] = static_cast<std::int16_t>(s.segments[k].from);
        r.LineEnd[k + 1] = static_cast<std::int16_t>(s.segments[k].to);
        r.LineKind[k + 1] = s.segments[k].kind;
    }

    // The centroid is measured from the lower-left corner of the section.
    const Moments whole = SliceMoments(s.regions, minY, maxY);
    r.Gx = Round3(whole.ax / whole.area - minX);
    r.Gy = Round3(whole.ay / whole.area - minY);
    r.V = Round3(whole.area * s.length);
    r.GxMode = s.gxMode;

    if (!s.layerTops.empty()) {
        // The table must add up to Ｖ as written, so Ｖ is the sum of the rounded layers.
        double bottom = minY;
        double running = 0;
        r.LayerCount = static_cast<std::int16_t>(s.layerTops.size());
        for (std::size_t k = 0; k < s.layerTops.size(); ++k) {
            const Moments layer = SliceMoments(s.regions, bottom, minY + s.layerTops[k]);
            r.LayerH[k] = s.layerTops[k];
            r.LayerDV[k] = Round3(layer.area * s.length);
            running = Round3(running + r.LayerDV[k]);
            r.LayerV[k] = running;
            r.LayerGx[k] = s.gxMode == 1 ? Round3(layer.ax / layer.area - minX) : r.Gx;
            bottom = minY + s.layerTops[k];
        }
        r.V = running;
    }
    return r;
}

std::vector<Sample> Samples()
{
    constexpr std::int16_t S = kSolidLine;
    constexpr std::int16_t D = kDottedLine;
    std::vector<Sample> samples;

    // A solid caisson-like block whose sea side leans back; a lifting hole of 0.4 m bore is
    // sunk 1.2 m from the top, drawn hidden.
    // Its section (the hole is hidden, so no boundary): A 10.8000 m², centroid (2.1926, 1.4444),
    // A × Ｌ 21.6000 m³; layers ⊿Ｖ 7.7333, 7.2000, 6.6667 m³. Ｖ 21.449 as written is the section
    // less the hole's share; within the notices' limits.
    {
        const double holeShare = 3.14159265358979 * 0.2 * 0.2 / (0.4 * 2.0);
        samples.push_back({"A-40.csv",
                           "直立消波 A-40",
                           "前面傾斜型",
                           2.0,
                           {{0, 0}, {0.8, 3.0}, {4.0, 3.0}, {4.0, 0}, {1.9, 3.0}, {1.9, 1.8}, {2.3, 1.8}, {2.3, 3.0}},
                           {{1, 2, S}, {2, 3, S}, {3, 4, S}, {4, 1, S}, {5, 6, D}, {6, 7, D}, {7, 8, D}},
                           {{{{0, 0}, {0.8, 3.0}, {4.0, 3.0}, {4.0, 0}}, 1.0}, {Rect(1.9, 1.8, 2.3, 3.0), -holeShare}},
                           {1.0, 2.0, 3.0},
                           0});
    }

    // A slit-walled block: the waves pass the front wall's vertical slits (30 % open) into a
    // chamber closed by a top slab; the slits' upper and lower ends are drawn hidden.
    // Its section (the chamber a hole, the slit wall whole): A 8.9300 m², centroid (2.3264,
    // 1.6354), A × Ｌ 22.3250 m³. Ｖ 21.695 and Gx 2.385 as written count the slits' openings,
    // which the section does not show: notices.
    samples.push_back({"S-45.csv",
                       "直立消波 S-45",
                       "スリット型",
                       2.5,
                       {{0, 0},
                        {0, 3.5},
                        {4.5, 3.5},
                        {4.5, 0},
                        {0.6, 0.8},
                        {0.6, 3.0},
                        {3.7, 3.0},
                        {3.7, 0.8},
                        {0, 1.2},
                        {0.6, 1.2},
                        {0, 2.6},
                        {0.6, 2.6}},
                       {{1, 2, S},
                        {2, 3, S},
                        {3, 4, S},
                        {4, 1, S},
                        {5, 6, S},
                        {6, 7, S},
                        {7, 8, S},
                        {8, 5, S},
                        {9, 10, D},
                        {11, 12, D}},
                       {{Rect(0, 0, 4.5, 3.5), 1.0}, {Rect(0.6, 0.8, 3.7, 3.0), -1.0}, {Rect(0, 1.2, 0.6, 2.6), -0.3}},
                       {},
                       0});

    // Two wave chambers open at the top behind a perforated front wall (35 % open) and a
    // perforated middle wall (25 % open); the openings' edges are drawn hidden.
    // Its section: A 8.1000 m², centroid (2.5819, 1.5593), A × Ｌ 16.2000 m³; layers ⊿Ｖ 6.0000,
    // 3.0000, 3.6000, 3.6000 m³ with centroid X 2.5000, 2.6300, 2.6300, 2.6300. The walls'
    // openings, counted in the figures as written, make notices of Ｖ, Gx and the upper layers.
    samples.push_back({"C-50.csv",
                       "直立消波 C-50",
                       "二室型",
                       2.0,
                       {{0, 0},     {0, 4.0},   {5.0, 4.0}, {5.0, 0},   {0.5, 4.0}, {0.5, 0.6}, {2.3, 0.6},
                        {2.3, 4.0}, {2.7, 4.0}, {2.7, 0.6}, {4.4, 0.6}, {4.4, 4.0}, {0, 1.4},   {0.5, 1.4},
                        {0, 3.2},   {0.5, 3.2}, {2.3, 1.0}, {2.7, 1.0}, {2.3, 2.6}, {2.7, 2.6}},
                       {{1, 2, S},
                        {2, 5, S},
                        {5, 6, S},
                        {6, 7, S},
                        {7, 8, S},
                        {8, 9, S},
                        {9, 10, S},
                        {10, 11, S},
                        {11, 12, S},
                        {12, 3, S},
                        {3, 4, S},
                        {4, 1, S},
                        {13, 14, D},
                        {15, 16, D},
                        {17, 18, D},
                        {19, 20, D}},
                       {{Rect(0, 0, 5.0, 4.0), 1.0},
                        {Rect(0.5, 0.6, 2.3, 4.0), -1.0},
                        {Rect(2.7, 0.6, 4.4, 4.0), -1.0},
                        {Rect(0, 1.4, 0.5, 3.2), -0.35},
                        {Rect(2.3, 1.0, 2.7, 2.6), -0.25}},
                       {0.6, 1.6, 2.8, 4.0},
                       1});

    // A tall block whose land side slopes, so that its centroid moves seaward layer by layer;
    // a closed chamber behind a perforated front wall (30 % open).
    // Its section: A 17.6700 m², centroid (2.6982, 2.1708), A × Ｌ 44.1750 m³; layers ⊿Ｖ
    // 14.3750, 8.3750, 7.1250, 5.8750, 8.4250 m³ with centroid X 2.8768, 3.1811, 2.8620, 2.5135,
    // 1.9035. The front wall's openings make notices of Ｖ, Gx and the layers they cross.
    samples.push_back({"T-60.csv",
                       "直立消波 T-60",
                       "後面傾斜型",
                       2.5,
                       {{0, 0},
                        {0, 5.0},
                        {3.5, 5.0},
                        {6.0, 0},
                        {0.7, 1.0},
                        {0.7, 4.2},
                        {2.6, 4.2},
                        {2.6, 1.0},
                        {0, 1.6},
                        {0.7, 1.6},
                        {0, 3.6},
                        {0.7, 3.6}},
                       {{1, 2, S},
                        {2, 3, S},
                        {3, 4, S},
                        {4, 1, S},
                        {5, 6, S},
                        {6, 7, S},
                        {7, 8, S},
                        {8, 5, S},
                        {9, 10, D},
                        {11, 12, D}},
                       {{{{0, 0}, {0, 5.0}, {3.5, 5.0}, {6.0, 0}}, 1.0},
                        {Rect(0.7, 1.0, 2.6, 4.2), -1.0},
                        {Rect(0, 1.6, 0.7, 3.6), -0.3}},
                       {1.0, 2.0, 3.0, 4.0, 5.0},
                       1});
    return samples;
}

/** What is wrong with the written sample; empty when it reads back as built. */
std::string Problems(const BlockData& built, const std::string& folder, const std::string& fileName)
{
    const std::string base = fileName.substr(0, fileName.size() - 4);
    BlockData read;
    if (!ReadBlockFile(read, folder, base))
        return "does not read back";
    if (FormatBlockFile(read) != FormatBlockFile(built))
        return "reads back different";
    std::string problems;
    for (const std::string& problem : CheckDocumentInvariants(read))
        problems += problem + "; ";
    if (read.LayerCount > 0 && std::abs(read.LayerV[static_cast<std::size_t>(read.LayerCount - 1)] - read.V) > 0.0005)
        problems += "the layer table does not add up to V; ";
    if (!(read.V > 0) || read.Gx <= 0 || read.Gx >= read.B || read.Gy <= 0 || read.Gy >= read.H)
        problems += "volume or centroid out of the block; ";
    return problems;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    int failures = 0;
    for (const Sample& sample : Samples()) {
        const BlockData built = Build(sample);
        try {
            WriteBlockFile(built, folder + sample.fileName);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "make_samples: %s\n", error.what());
            ++failures;
            continue;
        }
        const std::string problems = Problems(built, folder, sample.fileName);
        if (!problems.empty()) {
            std::fprintf(stderr, "make_samples: %s: %s\n", sample.fileName, problems.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
