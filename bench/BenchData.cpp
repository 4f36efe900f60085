#include "BenchData.h"

#include <cmath>
#include <fstream>
#include <numbers>

namespace chokusho::bench {

BlockData FullCapacityBlock(int variant)
{
    // Values are whole millimetres, as the program writes them, so the file's text is typical.
    const auto mm = [](double metres) { return std::round(metres * 1000.0) / 1000.0; };
    const double shift = variant * 0.001;

    BlockData r;
    r.Name = "直立消波ブロック" + std::to_string(variant);
    r.Kind = "スリット型（Ｃ）";
    r.B = mm(18.5 + shift);
    r.H = mm(12.25 + shift);
    r.L = mm(25.0 + shift);
    r.V = mm(4512.375 + shift);
    r.Gx = mm(9.125 + shift);
    r.Gy = mm(5.875 + shift);
    r.GxMode = 1;

    r.LayerCount = kMaxLayers;
    for (int row = 0; row < kMaxLayers; ++row) {
        r.LayerH[row] = mm(row * 0.245 + shift);
        r.LayerDV[row] = mm(88.125 - row * 0.375);
        r.LayerV[row] = mm(row * 88.125 + shift);
        r.LayerGx[row] = mm(9.0 + row * 0.013);
    }

    // Points on a ring around the outline, then a second ring inside it.
    r.PointCount = kMaxPoints;
    for (int i = 1; i <= kMaxPoints; ++i) {
        const double angle = (i % 50) * (2 * std::numbers::pi / 50);
        const double radius = i <= 50 ? 9.25 : 6.5;
        r.PointX[i] = mm(9.25 + radius * std::cos(angle) + shift);
        r.PointY[i] = mm(6.125 + 0.66 * radius * std::sin(angle));
    }

    r.LineCount = kMaxLines;
    for (int k = 1; k <= kMaxLines; ++k) {
        const int a = 1 + (k - 1) % kMaxPoints;
        const int b = 1 + (k * 37 + 11) % kMaxPoints;
        r.LineStart[k] = static_cast<std::int16_t>(a);
        r.LineEnd[k] = static_cast<std::int16_t>(a == b ? 1 + b % kMaxPoints : b);
        r.LineKind[k] = static_cast<std::int16_t>(k % 3 == 0 ? kDottedLine : kSolidLine);
    }
    return r;
}

std::string CpuModelName()
{
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("model name", 0) == 0) {
            const auto colon = line.find(':');
            if (colon != std::string::npos)
                return line.substr(line.find_first_not_of(" \t", colon + 1));
        }
    }
    return "unknown";
}

}  // namespace chokusho::bench
