#include "CheckReport.h"

#include <algorithm>
#include <vector>

#include "Numbers.h"

namespace chokusho {

namespace {

std::string Fixed4(double value) { return FormatFixed(value, 4); }

bool HasLayers(const BlockData& data) { return data.LayerCount >= 1; }

}  // namespace

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

std::string CheckCsvRow(std::string_view file, const BlockData& data, const SectionResult& result)
{
    // Each kind once: the row says what is wrong, the report says where.
    std::string kinds;
    std::vector<SectionProblemKind> seen;
    for (const SectionProblem& problem : result.problems) {
        if (std::find(seen.begin(), seen.end(), problem.kind) != seen.end())
            continue;
        seen.push_back(problem.kind);
        kinds += (kinds.empty() ? "" : ";") + std::string(ProblemKindName(problem.kind));
    }
    return CsvField(file) + ',' + Fixed4(result.area) + ',' + Fixed4(result.centroidX) + ',' + Fixed4(result.centroidY) +
           ',' + (result.volume ? Fixed4(*result.volume) : "") + ',' + Fixed4(data.V) + ',' + Fixed4(data.Gx) + ',' +
           Fixed4(data.Gy) + ',' + (HasLayers(data) ? Fixed4(EnteredLayerSum(data)) : "") + ',' + CsvField(kinds);
}

std::string UnreadableCsvRow(std::string_view file) { return CsvField(file) + ",,,,,,,,," + kUnreadableKind; }

std::string CheckReport(std::string_view file, const BlockData& data, const SectionResult& result)
{
    std::string text = std::string(file) + "\n";
    text += "  断面から  断面積 " + Fixed4(result.area) + " m²  重心 (" + Fixed4(result.centroidX) + ", " +
            Fixed4(result.centroidY) + ") m";
    if (result.volume)
        text += "  体積 " + Fixed4(*result.volume) + " m³";
    text += "\n  入力値    体積 Ｖ " + Fixed4(data.V) + " m³  重心 (" + Fixed4(data.Gx) + ", " + Fixed4(data.Gy) + ") m";
    if (HasLayers(data))
        text += "  層別体積の合計 " + Fixed4(EnteredLayerSum(data)) + " m³";
    text += "\n";
    for (const SectionProblem& problem : result.problems)
        text += std::string(problem.notice() ? "  注意: " : "  問題: ") + problem.text + "\n";
    return text;
}

}  // namespace chokusho
