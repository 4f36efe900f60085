#include "BlockFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "Cp932.h"
#include "FileSystem.h"
#include "Numbers.h"

namespace chokusho {

namespace {

/** Name and kind as the format can hold them: a line break would end the line early. */
std::string LineSafe(const std::string& text)
{
    std::string safe = text;
    std::replace(safe.begin(), safe.end(), '\r', ' ');
    std::replace(safe.begin(), safe.end(), '\n', ' ');
    return safe;
}

void AppendReals(std::string& out, std::initializer_list<double> values)
{
    bool first = true;
    for (double value : values) {
        if (!first)
            out += ',';
        out += Format000(value);
        first = false;
    }
    out += "\r\n";
}

void AppendIntegers(std::string& out, std::initializer_list<long long> values)
{
    bool first = true;
    for (long long value : values) {
        if (!first)
            out += ',';
        out += FormatInteger(value);
        first = false;
    }
    out += "\r\n";
}

/** True when every real of the record can be written as a number that reads back. */
bool AllRealsFinite(const BlockData& r)
{
    auto finite = [](const auto& values) {
        return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    };
    return finite(std::array{r.B, r.L, r.H, r.Gx, r.Gy, r.V}) && finite(r.LayerH) && finite(r.LayerDV) &&
           finite(r.LayerV) && finite(r.LayerGx) && finite(r.PointX) && finite(r.PointY);
}

}  // namespace

std::string FormatBlockFile(const BlockData& r)
{
    static const std::string header = EncodeCp932(kBlockFileHeader);
    const int layers = std::clamp<int>(r.LayerCount, 0, kMaxLayers);
    const int points = std::clamp<int>(r.PointCount, 0, kMaxPoints);
    const int lines = std::clamp<int>(r.LineCount, 0, kMaxLines);

    std::string out;
    out.reserve(256 + 40 * static_cast<std::size_t>(layers + points + lines));
    out += header;
    out += "\r\n";
    out += EncodeCp932(LineSafe(r.Name));
    out += "\r\n";
    out += EncodeCp932(LineSafe(r.Kind));
    out += "\r\n";
    AppendReals(out, {r.B, r.H, r.L, r.V, r.Gx, r.Gy});
    AppendIntegers(out, {layers});
    for (int row = 0; row < layers; ++row)
        AppendReals(out, {r.LayerH[row], r.LayerDV[row], r.LayerV[row]});
    AppendIntegers(out, {points});
    for (int i = 1; i <= points; ++i)
        AppendReals(out, {r.PointX[i], r.PointY[i]});
    AppendIntegers(out, {lines});
    for (int k = 1; k <= lines; ++k)
        AppendIntegers(out, {r.LineStart[k], r.LineEnd[k], r.LineKind[k]});
    AppendIntegers(out, {r.GxMode});
    for (int row = 0; row < layers; ++row)
        AppendReals(out, {r.LayerGx[row]});
    return out;
}

std::string UnsavableTextProblem(const std::string& field, std::string_view text)
{
    constexpr std::size_t kCharactersNamed = 10;
    const std::vector<std::string> characters = UnencodableCharacters(text, kCharactersNamed);
    if (characters.empty())
        return {};
    std::string named;
    for (const std::string& character : characters)
        named += character;
    return field + "に保存できない文字「" + named + "」があります。";
}

void WriteBlockFile(const BlockData& record, const std::string& path)
{
    if (!AllRealsFinite(record))
        throw FileWriteError(path, "数値に無限大または非数があり、書き込めません");
    // The file would hold "?" where such a character stood, and the block would count as saved.
    for (const auto& [field, text] : {std::pair<const char*, const std::string&>{"名称", record.Name},
                                      std::pair<const char*, const std::string&>{"種別", record.Kind}}) {
        if (std::string problem = UnsavableTextProblem(field, text); !problem.empty())
            throw FileWriteError(path, problem);
    }
    WriteFileAtomically(path, FormatBlockFile(record));
}

}  // namespace chokusho
