#include "RandomSheets.h"

#include <cmath>
#include <random>

#include "TestBlocks.h"

namespace chokusho::test {

std::vector<DrawingOptions> EveryPaper()
{
    std::vector<DrawingOptions> papers;
    for (const PaperSize paper : {PaperSize::A4, PaperSize::A3, PaperSize::B4, PaperSize::B5, PaperSize::Other}) {
        for (const bool landscape : {false, true}) {
            DrawingOptions options;
            options.paper = paper;
            options.landscape = landscape;
            if (paper == PaperSize::Other) {
                options.otherShortMm = 215.9;
                options.otherLongMm = 279.4;
            }
            papers.push_back(options);
        }
    }
    return papers;
}

std::vector<SheetCase> RandomSheets(int count, unsigned seed)
{
    std::mt19937 random(seed);
    const auto uniform = [&](double from, double to) { return std::uniform_real_distribution<double>(from, to)(random); };
    const auto chance = [&](double p) { return uniform(0, 1) < p; };
    const auto mm = [](double metres) { return std::round(metres * 1000) / 1000; };
    const std::vector<DrawingOptions> papers = EveryPaper();

    std::vector<SheetCase> cases;
    for (int i = 0; i < count; ++i) {
        const double width = mm(std::exp(uniform(std::log(0.05), std::log(100))));
        const double height = mm(std::exp(uniform(std::log(0.05), std::log(100))));
        const double x0 = mm(uniform(-50, 50)), y0 = mm(uniform(-50, 50));
        const double top = mm(width * uniform(0.3, 1));
        BlockBuilder block;
        block.named("ブロック" + std::to_string(i), "型")
            .points({{x0, y0}, {x0 + width, y0}, {x0 + top, y0 + height}, {x0, y0 + height}})
            .segments({{1, 2}, {2, 3}, {3, 4}, {4, 1}});
        if (chance(0.5)) {
            block.points({{x0 + mm(width / 4), y0 + mm(height / 4)}, {x0 + mm(top / 2), y0 + mm(height * 3 / 4)}})
                .segment(5, 6, kDottedLine);
        }
        if (chance(0.7))
            block.centroid(x0 + mm(top / 2), y0 + mm(height / 3));
        const int layers = std::uniform_int_distribution<int>(0, kMaxLayers)(random);
        for (int layer = 0; layer < layers; ++layer)
            block.layer(mm(height / layers), mm(width * height / layers), mm(width / 2));
        if (chance(0.5))
            block.centroidPerLayer();

        SheetCase sheet{block, papers[static_cast<std::size_t>(i) % papers.size()], {}};
        sheet.options.layerTable = chance(0.6);
        sheet.options.pointNumbers = chance(0.5);
        sheet.options.dimensions = static_cast<DimensionStyle>(std::uniform_int_distribution<int>(0, 2)(random));
        sheet.name = "case " + std::to_string(i) + ": " + std::to_string(width) + " x " + std::to_string(height) +
                     " m, paper " + std::to_string(static_cast<int>(sheet.options.paper)) +
                     (sheet.options.landscape ? " landscape" : "") + ", " + std::to_string(layers) + " layers" +
                     (sheet.options.layerTable ? " in a table" : "") + ", dimensions " +
                     std::to_string(static_cast<int>(sheet.options.dimensions));
        cases.push_back(std::move(sheet));
    }
    return cases;
}

}  // namespace chokusho::test
