#include "BlockFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "Cp932.h"
#include "FileSystem.h"
#include "Numbers.h"

namespace chokusho {

namespace {

/** No block file comes near this size; anything larger is not read at all. */
constexpr std::size_t kMaxBlockFileBytes = 64u << 20;

/** The format's prefix, "#直立消波ブロック": "#" and eight characters. */
constexpr std::string_view kHeaderPrefix = "#直立消波ブロック";
constexpr std::size_t kHeaderPrefixChars = 9;

/**
 * Reads a block file's content line by line. A line ends at CR, with a directly following LF
 * taken as part of the line end; a lone LF stays in the line, where number reading ignores it.
 */
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : rest_(bytes) {}

    /** The next line, or nullopt at the end of the content. */
    std::optional<std::string_view> line()
    {
        if (rest_.empty())
            return std::nullopt;
        const std::size_t end = rest_.find('\r');
        const std::string_view text = rest_.substr(0, end);
        if (end == std::string_view::npos) {
            rest_ = {};
        } else {
            std::size_t next = end + 1;
            if (next < rest_.size() && rest_[next] == '\n')
                ++next;
            rest_.remove_prefix(next);
        }
        return text;
    }

    /** The next value delimited by a comma or a line end, or nullopt at the end of the content. */
    std::optional<std::string_view> value()
    {
        if (rest_.empty())
            return std::nullopt;
        const std::size_t end = rest_.find_first_of(",\r\n");
        const std::string_view text = rest_.substr(0, end);
        if (end == std::string_view::npos) {
            rest_ = {};
        } else {
            std::size_t next = end + 1;
            if (rest_[end] == '\r' && next < rest_.size() && rest_[next] == '\n')
                ++next;
            rest_.remove_prefix(next);
        }
        return text;
    }

private:
    std::string_view rest_;
};

/** Splits `line` at commas into exactly `count` parts, the last keeping further commas. */
template <std::size_t N>
std::optional<std::array<std::string_view, N>> SplitParts(std::string_view line)
{
    std::array<std::string_view, N> parts;
    for (std::size_t i = 0; i + 1 < N; ++i) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            return std::nullopt;
        parts[i] = line.substr(0, comma);
        line.remove_prefix(comma + 1);
    }
    parts[N - 1] = line;
    return parts;
}

/** The text of a name line: everything before its first comma. */
std::string NameField(std::string_view line)
{
    return DecodeCp932(line.substr(0, line.find(',')));
}

/** A count line: read whole; an empty line is a failure, and a count below 0 reads as 0. */
std::optional<std::int16_t> CountLine(LineReader& reader)
{
    const auto line = reader.line();
    if (!line || line->empty())
        return std::nullopt;
    const auto count = ReadInteger(*line);
    if (!count)
        return std::nullopt;
    return std::max<std::int16_t>(*count, 0);
}

/** The format version from the header line, or nullopt when the line is not a block file's. */
std::optional<int> HeaderVersion(std::string_view line)
{
    // Twelve characters take at most 24 bytes; decoding a little more keeps them whole.
    const std::string head = DecodeCp932(line.substr(0, 26));
    if (head.compare(0, kHeaderPrefix.size(), kHeaderPrefix) != 0)
        return std::nullopt;
    static_assert(kHeaderPrefixChars == 9);
    // Characters 10 to 12 follow the prefix; count UTF-8 lead bytes to take three of them.
    std::string_view after = std::string_view(head).substr(kHeaderPrefix.size());
    std::size_t end = 0;
    for (int chars = 0; end < after.size(); ++end) {
        const auto byte = static_cast<unsigned char>(after[end]);
        if ((byte & 0xC0) != 0x80 && ++chars > 3)
            break;
    }
    const auto version = ReadInteger(after.substr(0, end));
    if (!version)
        return std::nullopt;
    return *version;
}

template <std::size_t N>
bool ReadRealLine(std::optional<std::string_view> line, const std::array<double*, N>& targets)
{
    if (!line)
        return false;
    const auto parts = SplitParts<N>(*line);
    if (!parts)
        return false;
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = ReadReal((*parts)[i]);
        if (!value)
            return false;
        *targets[i] = *value;
    }
    return true;
}

template <std::size_t N>
bool ReadIntegerLine(std::optional<std::string_view> line, const std::array<std::int16_t*, N>& targets)
{
    if (!line)
        return false;
    const auto parts = SplitParts<N>(*line);
    if (!parts)
        return false;
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = ReadInteger((*parts)[i]);
        if (!value)
            return false;
        *targets[i] = *value;
    }
    return true;
}

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

FileWriteError::FileWriteError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason))
{
}

void ClearBlock(BlockData& record)
{
    record = BlockData{};
}

bool ParseBlockFile(BlockData& r, std::string_view bytes)
{
    ClearBlock(r);
    LineReader reader(bytes);

    const auto header = reader.line();
    if (!header)
        return false;
    const auto version = HeaderVersion(*header);
    if (!version)
        return false;

    const auto name = reader.line();
    if (!name)
        return false;
    r.Name = NameField(*name);
    const auto kind = reader.line();
    if (!kind)
        return false;
    r.Kind = NameField(*kind);

    if (!ReadRealLine<6>(reader.line(), {&r.B, &r.H, &r.L, &r.V, &r.Gx, &r.Gy}))
        return false;

    const auto layers = CountLine(reader);
    if (!layers)
        return false;
    r.LayerCount = *layers;
    for (int row = 0; row < r.LayerCount; ++row) {
        if (row >= kMaxLayers)
            return false;
        if (!ReadRealLine<3>(reader.line(), {&r.LayerH[row], &r.LayerDV[row], &r.LayerV[row]}))
            return false;
    }

    const auto points = CountLine(reader);
    if (!points)
        return false;
    r.PointCount = *points;
    for (int i = 1; i <= r.PointCount; ++i) {
        if (i > kMaxPoints)
            return false;
        if (!ReadRealLine<2>(reader.line(), {&r.PointX[i], &r.PointY[i]}))
            return false;
    }

    const auto lines = CountLine(reader);
    if (!lines)
        return false;
    r.LineCount = *lines;
    for (int k = 1; k <= r.LineCount; ++k) {
        if (k > kMaxLines)
            return false;
        const bool read = *version >= 2
                              ? ReadIntegerLine<3>(reader.line(), {&r.LineStart[k], &r.LineEnd[k], &r.LineKind[k]})
                              : ReadIntegerLine<2>(reader.line(), {&r.LineStart[k], &r.LineEnd[k]});
        if (!read)
            return false;
        // A segment must join two points of the table: drawing, picking and deleting rely on it.
        if (r.LineStart[k] < 1 || r.LineStart[k] > r.PointCount || r.LineEnd[k] < 1 || r.LineEnd[k] > r.PointCount)
            return false;
    }

    if (*version >= 1) {
        const auto mode = reader.value();
        if (!mode)
            return false;
        const auto gxMode = ReadInteger(*mode);
        if (!gxMode)
            return false;
        r.GxMode = *gxMode;
        for (int row = 0; row < r.LayerCount; ++row) {
            const auto field = reader.value();
            if (!field)
                return false;
            const auto gx = ReadReal(*field);
            if (!gx)
                return false;
            r.LayerGx[row] = *gx;
        }
    }
    return true;
}

bool ReadBlockFile(BlockData& record, const std::string& dataPath, const std::string& name)
{
    ClearBlock(record);
    // The name is a bare file name; a folder inside it would read outside the data folder.
    if (name.find_first_of("/\\") != std::string::npos)
        return false;
    const auto folder = PathFromUtf8(dataPath);
    // Blocks are saved as ".csv": try that spelling too before searching the folder.
    std::optional<std::filesystem::path> found;
    std::error_code error;
    if (const auto lower = folder / PathFromUtf8(name + ".csv"); std::filesystem::is_regular_file(lower, error))
        found = lower;
    if (const auto upper = folder / PathFromUtf8(name + ".CSV"); std::filesystem::is_regular_file(upper, error))
        found = upper;
    if (!found)
        found = FindFileIgnoringCase(folder, name + ".CSV");
    if (!found)
        return false;
    const auto bytes = ReadWholeFile(*found, kMaxBlockFileBytes);
    if (!bytes)
        return false;
    return ParseBlockFile(record, *bytes);
}

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

void WriteBlockFile(const BlockData& record, const std::string& path)
{
    if (!AllRealsFinite(record))
        throw FileWriteError(path, "数値に無限大または非数があり、書き込めません");
    WriteFileAtomically(path, FormatBlockFile(record));
}

}  // namespace chokusho
