#include "Dimensions.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Numbers.h"
#include "TextWidth.h"

namespace chokusho {

namespace {

using Stop = SectionDimensions::Stop;

// On paper, in millimetres: the text height, the first dimension line's distance from the
// section, the distance between the lines of the widths below it, how far extension lines
// reach beyond their dimension line, the gap between a point and its extension line, the gap
// between a line and its text and between two texts, and a tick's reach along either axis.
constexpr double kTextMm = 2.5;
constexpr double kFirstLineMm = 8.0;
constexpr double kTierMm = 7.0;
constexpr double kOvershootMm = 2.0;
constexpr double kPointGapMm = 1.0;
constexpr double kTextGapMm = 1.0;
constexpr double kTickMm = 1.0;
// How far below the middle of its line a height's baseline lies: digits stand about 0.7 of
// their height above it.
constexpr double kMiddleToBaseline = 0.35 * kTextMm;

bool Same(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a)); }

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

/** A point of the record that lies somewhere. */
struct Point {
    double x;
    double y;
};

/** Every point that lies somewhere, and the ends of the solid segments (the outline). */
void PointsOf(const BlockData& record, std::vector<Point>& all, std::vector<Point>& outline)
{
    const int points = std::clamp<int>(record.PointCount, 0, kMaxPoints);
    for (int n = 1; n <= points; ++n) {
        const auto i = static_cast<std::size_t>(n);
        if (Finite(record.PointX[i], record.PointY[i]))
            all.push_back({record.PointX[i], record.PointY[i]});
    }
    std::array<bool, kMaxPoints + 1> onOutline{};
    const int lines = std::clamp<int>(record.LineCount, 0, kMaxLines);
    for (int k = 1; k <= lines; ++k) {
        if (LineTypeOf(record, k) != LineType::Solid)
            continue;
        for (const int end : {record.LineStart[k], record.LineEnd[k]}) {
            if (end >= 1 && end <= points)
                onOutline[static_cast<std::size_t>(end)] = true;
        }
    }
    for (int n = 1; n <= points; ++n) {
        const auto i = static_cast<std::size_t>(n);
        if (onOutline[i] && Finite(record.PointX[i], record.PointY[i]))
            outline.push_back({record.PointX[i], record.PointY[i]});
    }
}

/**
 * The distinct coordinates of `points` along the widths (X) or the heights (Y), in order, each
 * with the point nearest the dimension lines across them: the lowest, or the leftmost.
 */
std::vector<Stop> StopsOf(const std::vector<Point>& points, bool heights)
{
    std::vector<Stop> stops;
    stops.reserve(points.size());
    for (const Point& p : points)
        stops.push_back(heights ? Stop{p.y, p.x} : Stop{p.x, p.y});
    std::sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
        return a.along < b.along || (a.along == b.along && a.across < b.across);
    });
    std::vector<Stop> distinct;
    for (const Stop& stop : stops) {
        if (distinct.empty() || !Same(distinct.back().along, stop.along))
            distinct.push_back(stop);
    }
    return distinct;
}

double LengthMm(const Stop& from, const Stop& to) { return (to.along - from.along) * 1000; }

/** The widest text a tier can write, merged lengths included: none is longer than the whole. */
double WidestTextMm(const std::vector<Stop>& stops)
{
    double widest = TextWidthMm(FormatMillimetres(LengthMm(stops.front(), stops.back())), kTextMm);
    bool decimals = false;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        const std::string text = FormatMillimetres(LengthMm(stops[i - 1], stops[i]));
        widest = std::max(widest, TextWidthMm(text, kTextMm));
        decimals = decimals || text.find('.') != std::string::npos;
    }
    if (decimals && stops.size() > 2)
        widest += TextWidthMm(".00", kTextMm);
    return widest;
}

/** The tiers of one side: the chain through every point (when asked for and not the overall one), then the overall. */
std::vector<std::vector<Stop>> TiersOf(const std::vector<Point>& all, const std::vector<Point>& outline,
                                       bool heights, DimensionStyle style)
{
    std::vector<std::vector<Stop>> tiers;
    const std::vector<Stop> extremes = StopsOf(outline, heights);
    std::vector<Stop> overall;
    if (extremes.size() >= 2 && std::isfinite(LengthMm(extremes.front(), extremes.back())))
        overall = {extremes.front(), extremes.back()};
    if (style == DimensionStyle::EveryPoint) {
        std::vector<Stop> chain = StopsOf(all, heights);
        const bool finite = chain.size() >= 2 && std::isfinite(LengthMm(chain.front(), chain.back()));
        const bool isOverall = chain.size() == 2 && overall.size() == 2 && Same(chain[0].along, overall[0].along) &&
                               Same(chain[1].along, overall[1].along);
        if (finite && !isOverall)
            tiers.push_back(std::move(chain));
    }
    if (!overall.empty())
        tiers.push_back(std::move(overall));
    return tiers;
}

/** A length of a tier: its stops by index, and its text's extent along the dimension on paper. */
struct Span {
    std::size_t from;
    std::size_t to;
    double low;
    double high;
};

}  // namespace

std::string FormatMillimetres(double millimetres)
{
    if (!(std::fabs(millimetres) < 1e15))
        return FormatReadout(millimetres);
    const double hundredths = std::round(millimetres * 100) / 100;
    if (hundredths == std::round(hundredths))
        return FormatInteger(std::llround(hundredths));
    std::string text = FormatFixed(hundredths, 2);
    text.erase(text.find_last_not_of('0') + 1);
    return text;
}

SectionDimensions::SectionDimensions(const BlockData& record, DimensionStyle style)
{
    left_.heights = true;
    if (style == DimensionStyle::None)
        return;
    std::vector<Point> all;
    std::vector<Point> outline;
    PointsOf(record, all, outline);
    if (outline.empty())
        outline = all;

    bottom_.tiers = TiersOf(all, outline, false, style);
    for (std::size_t i = 0; i < bottom_.tiers.size(); ++i)
        bottom_.offsetsMm.push_back(kFirstLineMm + static_cast<double>(i) * kTierMm);
    if (!bottom_.offsetsMm.empty())
        bottomBandMm_ = bottom_.offsetsMm.back() + kOvershootMm;

    // The heights' texts stand level on the left of their lines: each line keeps clear of the
    // texts of the line inside it.
    left_.tiers = TiersOf(all, outline, true, style);
    double offset = kFirstLineMm;
    for (const auto& tier : left_.tiers) {
        left_.offsetsMm.push_back(offset);
        const double text = kTextGapMm + WidestTextMm(tier);
        offset += std::max(kTierMm, text + kOvershootMm);
        leftBandMm_ = left_.offsetsMm.back() + std::max(kOvershootMm, text);
    }
}

void SectionDimensions::addTo(Drawing& drawing, const Bounds& section) const
{
    if (section.empty())
        return;
    addSide(drawing, bottom_, section.minY);
    addSide(drawing, left_, section.minX);
}

void SectionDimensions::addSide(Drawing& drawing, const Side& side, double edge) const
{
    const double metresPerMm = drawing.scale / 1000;
    const bool heights = side.heights;
    // A place of the model by its coordinates along the dimension and across it.
    const auto at = [heights](double along, double across) {
        return heights ? std::array<double, 2>{across, along} : std::array<double, 2>{along, across};
    };
    const auto line = [&](std::array<double, 2> a, std::array<double, 2> b) {
        if (Finite(a[0], a[1]) && Finite(b[0], b[1]))
            drawing.modelLines.push_back({a[0], a[1], b[0], b[1], DrawingLayer::Dimensions});
    };
    // Where a length's text lies along the dimension on paper, and how far it reaches.
    const auto extent = [&](const std::vector<Stop>& stops, std::size_t from, std::size_t to) {
        const double middle = stops[from].along / 2 + stops[to].along / 2;
        const double centre = heights ? drawing.PaperY(middle) : drawing.PaperX(middle);
        const double half = heights ? kTextMm / 2
                                    : TextWidthMm(FormatMillimetres(LengthMm(stops[from], stops[to])), kTextMm) / 2;
        return Span{from, to, centre - half, centre + half};
    };
    const auto inArea = [&](double left, double top, double right, double bottom) {
        const SheetRect& area = drawing.area;
        return left >= area.left && right <= area.right() && top >= area.top && bottom <= area.bottom();
    };

    const std::size_t last = side.tiers.size() - 1;
    for (std::size_t t = 0; t < side.tiers.size(); ++t) {
        const std::vector<Stop>& stops = side.tiers[t];
        // Lengths whose texts would overlap their neighbour's are merged, until none do.
        std::vector<Span> spans;
        for (std::size_t i = 1; i < stops.size(); ++i) {
            spans.push_back(extent(stops, i - 1, i));
            while (spans.size() >= 2) {
                const Span& outer = spans.back();
                const Span& inner = spans[spans.size() - 2];
                if (std::min(outer.high, inner.high) + kTextGapMm <= std::max(outer.low, inner.low))
                    break;
                const Span merged = extent(stops, inner.from, outer.to);
                spans.pop_back();
                spans.back() = merged;
            }
        }
        const bool sameAsOverall = t < last && spans.size() == 1 && Same(stops.front().along, side.tiers[last].front().along) &&
                                   Same(stops.back().along, side.tiers[last].back().along);
        if (sameAsOverall)
            continue;

        const double lineAcross = edge - side.offsetsMm[t] * metresPerMm;
        const double extensionEnd = lineAcross - kOvershootMm * metresPerMm;
        line(at(stops.front().along, lineAcross), at(stops.back().along, lineAcross));
        std::vector<std::size_t> kept{0};
        for (const Span& span : spans)
            kept.push_back(span.to);
        for (const std::size_t k : kept) {
            const Stop& stop = stops[k];
            // The overall dimension's extension lines, further out, stand for a chain's at the same places.
            const bool covered = t < last && std::any_of(side.tiers[last].begin(), side.tiers[last].end(),
                                                         [&](const Stop& s) { return Same(s.along, stop.along); });
            if (!covered)
                line(at(stop.along, stop.across - kPointGapMm * metresPerMm), at(stop.along, extensionEnd));
            const auto centre = at(stop.along, lineAcross);
            const double reach = kTickMm * metresPerMm;
            line({centre[0] - reach, centre[1] - reach}, {centre[0] + reach, centre[1] + reach});
        }

        for (const Span& span : spans) {
            const std::string text = FormatMillimetres(LengthMm(stops[span.from], stops[span.to]));
            const double width = TextWidthMm(text, kTextMm);
            SheetText sheetText;
            sheetText.text = text;
            sheetText.heightMm = kTextMm;
            sheetText.layer = DrawingLayer::Dimensions;
            if (heights) {
                sheetText.x = drawing.PaperX(lineAcross) - kTextGapMm;
                sheetText.y = (span.low + span.high) / 2 + kMiddleToBaseline;
                sheetText.align = TextAlign::Right;
            } else {
                sheetText.x = (span.low + span.high) / 2;
                sheetText.y = drawing.PaperY(lineAcross) - kTextGapMm;
                sheetText.align = TextAlign::Center;
            }
            const double left = heights ? sheetText.x - width : sheetText.x - width / 2;
            if (inArea(left, sheetText.y - kTextMm, left + width, sheetText.y))
                drawing.sheetTexts.push_back(std::move(sheetText));
        }
    }
}

}  // namespace chokusho
