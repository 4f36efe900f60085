#include "DxfImport.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "DxfOutline.h"
#include "FileSystem.h"

namespace chokusho {

namespace {

/** More chords than any drawing of a section needs: a tolerance far too fine for the arcs. */
constexpr double kMaxChords = 1'000'000;

/** Metres per unit of $INSUNITS 0..24 (0, unitless, as millimetres). */
constexpr std::array<double, 25> kInsUnitMetres = {
    0.001,                  // 0 unitless
    0.0254,                 // 1 inch
    0.3048,                 // 2 foot
    1609.344,               // 3 mile
    0.001,                  // 4 millimetre
    0.01,                   // 5 centimetre
    1,                      // 6 metre
    1000,                   // 7 kilometre
    2.54e-8,                // 8 microinch
    2.54e-5,                // 9 mil
    0.9144,                 // 10 yard
    1e-10,                  // 11 angstrom
    1e-9,                   // 12 nanometre
    1e-6,                   // 13 micron
    0.1,                    // 14 decimetre
    10,                     // 15 decametre
    100,                    // 16 hectometre
    1e9,                    // 17 gigametre
    1.495978707e11,         // 18 astronomical unit
    9.4607304725808e15,     // 19 light year
    3.0856775814913673e16,  // 20 parsec
    1200.0 / 3937,          // 21 US survey foot
    100.0 / 3937,           // 22 US survey inch
    3600.0 / 3937,          // 23 US survey yard
    6336000.0 / 3937,       // 24 US survey mile
};

/**
 * How many chords an arc of `radius` and `sweep` needs so that none stands further than
 * `tolerance` from it: a chord over the angle t has the sagitta r (1 - cos(t/2)), within the
 * tolerance up to t = 2 acos(1 - tol/r) = 4 asin(sqrt(tol / 2r)), the form that stays exact
 * for radii far larger than the tolerance. At least one; a huge count for a hopeless arc.
 */
double ChordCount(double sweep, double radius, double tolerance)
{
    if (!(radius * 2 > tolerance))
        return 1;
    const double widest = 4 * std::asin(std::sqrt(tolerance / (2 * radius)));
    return std::max(1.0, std::ceil(std::fabs(sweep) / widest));
}

class Pieces {
public:
    Pieces(double metresPerUnit, double tolerance) : unit_(metresPerUnit), tolerance_(tolerance) {}

    void line(const DxfLine& l) { add(l.x1 * unit_, l.y1 * unit_, l.x2 * unit_, l.y2 * unit_, l.dotted); }

    /** False when the chords would be more than kMaxChords. */
    bool arc(const DxfArc& arc)
    {
        const double count = ChordCount(arc.sweep, arc.r * arc.placement.stretch() * unit_, tolerance_);
        if (!(chords_ + count <= kMaxChords))
            return false;
        const int n = static_cast<int>(count);
        chords_ += n;
        const auto pointAt = [&](int k, double& x, double& y) {
            const double angle = arc.start + arc.sweep * k / n;
            const double px = arc.cx + arc.r * std::cos(angle), py = arc.cy + arc.r * std::sin(angle);
            x = arc.placement.x(px, py) * unit_;
            y = arc.placement.y(px, py) * unit_;
        };
        double x1 = 0, y1 = 0;
        pointAt(0, x1, y1);
        for (int k = 1; k <= n; ++k) {
            double x2 = 0, y2 = 0;
            pointAt(k, x2, y2);
            add(x1, y1, x2, y2, arc.dotted);
            x1 = x2;
            y1 = y2;
        }
        return true;
    }

    const std::vector<dxf::Piece>& pieces() const { return pieces_; }
    int chords() const { return static_cast<int>(chords_); }
    bool finite() const { return finite_; }

private:
    void add(double x1, double y1, double x2, double y2, bool dotted)
    {
        finite_ = finite_ && std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2);
        pieces_.push_back({x1, y1, x2, y2, dotted});
    }

    double unit_;
    double tolerance_;
    std::vector<dxf::Piece> pieces_;
    double chords_ = 0;
    bool finite_ = true;
};

}  // namespace

double DxfMetresPerUnit(const DxfDrawing& drawing, const DxfImportOptions& options)
{
    if (options.unit) {
        switch (*options.unit) {
        case DxfUnit::Millimetre: return 0.001;
        case DxfUnit::Centimetre: return 0.01;
        case DxfUnit::Metre: return 1;
        }
    }
    if (drawing.insUnits > 0 && drawing.insUnits < static_cast<int>(kInsUnitMetres.size()))
        return kInsUnitMetres[static_cast<std::size_t>(drawing.insUnits)];
    return 0.001;
}

std::vector<bool> DxfTickedLayers(const DxfDrawing& drawing, const DxfImportOptions& options)
{
    std::vector<bool> ticked(drawing.layers.size(), !options.layers);
    if (options.layers) {
        for (std::size_t i = 0; i < drawing.layers.size(); ++i) {
            ticked[i] = std::any_of(options.layers->begin(), options.layers->end(), [&](const std::string& name) {
                return EqualsIgnoringAsciiCase(name, drawing.layers[i].name);
            });
        }
    }
    return ticked;
}

DxfImport AssembleBlock(const DxfDrawing& drawing, const DxfImportOptions& options)
{
    DxfImport result;
    result.counts.skipped = drawing.skipped;
    const std::vector<bool> ticked = DxfTickedLayers(drawing, options);
    for (std::size_t i = 0; i < drawing.layers.size(); ++i) {
        if (!ticked[i])
            result.counts.skipped.untickedLayer += drawing.layers[i].entities;
    }
    const double toleranceMm = std::isfinite(options.toleranceMm)
                                   ? std::clamp(options.toleranceMm, kMinDxfToleranceMm, kMaxDxfToleranceMm)
                                   : kDefaultDxfToleranceMm;
    const double tolerance = toleranceMm / 1000;
    const auto fail = [&result](DxfFailure failure) {
        result.failure = failure;
        return result;
    };

    Pieces pieces(DxfMetresPerUnit(drawing, options), tolerance);
    for (const DxfLine& line : drawing.lines) {
        if (ticked[static_cast<std::size_t>(line.layer)])
            pieces.line(line);
    }
    for (const DxfArc& arc : drawing.arcs) {
        if (ticked[static_cast<std::size_t>(arc.layer)] && !pieces.arc(arc))
            return fail(DxfFailure::TooComplex);
    }
    result.counts.chords = pieces.chords();
    if (!pieces.finite())
        return fail(DxfFailure::BadNumber);

    dxf::Outline outline = dxf::MergeEnds(pieces.pieces(), tolerance);
    if (!dxf::PlaceAtOrigin(outline))
        return fail(DxfFailure::BadNumber);
    dxf::Simplify(outline);
    result.counts.points = static_cast<int>(outline.x.size());
    for (const auto& edge : outline.edges)
        ++(edge.dotted ? result.counts.dottedSegments : result.counts.solidSegments);
    if (outline.edges.empty())
        return fail(DxfFailure::EmptySelection);
    if (result.counts.points > kMaxPoints || result.counts.segments() > kMaxLines)
        return fail(DxfFailure::TooLarge);

    result.counts.tJunctions = dxf::CountTJunctions(outline, tolerance);
    dxf::WalkInOrder(outline);
    result.block = dxf::ToBlock(outline);
    return result;
}

}  // namespace chokusho
