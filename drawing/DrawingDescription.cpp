#include "DrawingDescription.h"

#include <algorithm>
#include <cmath>

namespace chokusho {

namespace {

struct NamedPaper {
    PaperSize paper;
    double shortMm;
    double longMm;
};
constexpr NamedPaper kNamedPapers[] = {
    {PaperSize::A4, 210, 297},
    {PaperSize::A3, 297, 420},
    {PaperSize::B4, 257, 364},  // JIS B4, not ISO's 250 x 353
    {PaperSize::B5, 182, 257},
};

}  // namespace

double LineWidthMm(DrawingLayer layer)
{
    switch (layer) {
    case DrawingLayer::Outline: return 0.5;
    case DrawingLayer::Dotted: return 0.35;
    case DrawingLayer::Frame: return 0.35;
    case DrawingLayer::Grid: return 0.1;
    default: return 0.18;
    }
}

bool IsDashed(DrawingLayer layer) { return layer == DrawingLayer::Dotted; }

std::array<double, 2> PaperSizeMm(PaperSize paper, bool landscape)
{
    std::array<double, 2> sides{};
    for (const NamedPaper& named : kNamedPapers) {
        if (named.paper == paper)
            sides = {named.shortMm, named.longMm};
    }
    return landscape ? std::array<double, 2>{sides[1], sides[0]} : sides;
}

std::array<double, 2> PaperSizeMm(const DrawingOptions& options)
{
    if (options.paper != PaperSize::Other)
        return PaperSizeMm(options.paper, options.landscape);
    const double shortSide = options.otherShortMm, longSide = options.otherLongMm;
    return options.landscape ? std::array<double, 2>{longSide, shortSide} : std::array<double, 2>{shortSide, longSide};
}

void SetPaper(DrawingOptions& options, double widthMm, double heightMm)
{
    const double shortSide = std::min(widthMm, heightMm), longSide = std::max(widthMm, heightMm);
    options.landscape = widthMm > heightMm;
    options.paper = PaperSize::Other;
    options.otherShortMm = shortSide;
    options.otherLongMm = longSide;
    for (const NamedPaper& named : kNamedPapers) {
        if (std::fabs(named.shortMm - shortSide) <= 1 && std::fabs(named.longMm - longSide) <= 1)
            options.paper = named.paper;
    }
}

}  // namespace chokusho
