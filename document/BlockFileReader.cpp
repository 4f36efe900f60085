#include "BlockFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "BlockFileLines.h"
#include "Cp932.h"
#include "FileSystem.h"
#include "Numbers.h"

namespace chokusho {

namespace {

using block_file::LineReader;
using block_file::PlainInteger;
using block_file::PlainReal;

/** No block file comes near this size; anything larger is not read at all. */
constexpr std::size_t kMaxBlockFileBytes = 64u << 20;

/** The format's prefix, "#直立消波ブロック": "#" and eight characters. */
constexpr std::string_view kHeaderPrefix = "#直立消波ブロック";
constexpr std::size_t kHeaderPrefixChars = 9;

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
std::string NameField(std::string_view line) { return DecodeCp932(line.substr(0, line.find(','))); }

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
    // As the program writes it, the prefix is followed by ASCII digits, which decode to
    // themselves: the version is read without decoding the line.
    static const std::string encodedPrefix = EncodeCp932(kHeaderPrefix);
    if (line.substr(0, encodedPrefix.size()) == encodedPrefix) {
        const std::string_view digits = line.substr(encodedPrefix.size(), 3);
        if (std::all_of(digits.begin(), digits.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            const auto version = ReadInteger(digits);
            if (!version)
                return std::nullopt;
            return *version;
        }
    }

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
bool ReadRealParts(std::optional<std::string_view> line, const std::array<double*, N>& targets)
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
bool ReadIntegerParts(std::optional<std::string_view> line, const std::array<std::int16_t*, N>& targets)
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

/**
 * Reads a line of N reals. A line as the writer writes it is read in one pass; any other is cut
 * into its parts, each read by the lenient reader.
 */
template <std::size_t N>
bool ReadRealLine(LineReader& reader, const std::array<double*, N>& targets)
{
    std::array<double, N> values;
    if (reader.plainLine<PlainReal>(values)) {
        for (std::size_t i = 0; i < N; ++i)
            *targets[i] = values[i];
        return true;
    }
    return ReadRealParts<N>(reader.line(), targets);
}

template <std::size_t N>
bool ReadIntegerLine(LineReader& reader, const std::array<std::int16_t*, N>& targets)
{
    std::array<std::int16_t, N> values;
    if (reader.plainLine<PlainInteger>(values)) {
        for (std::size_t i = 0; i < N; ++i)
            *targets[i] = values[i];
        return true;
    }
    return ReadIntegerParts<N>(reader.line(), targets);
}

}  // namespace

void ClearBlock(BlockData& record) { record = BlockData{}; }

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

    // Name and kind are short labels: a longer line, even where the text before its first
    // comma is short, means the file is something else.
    const auto name = reader.line();
    if (!name || name->size() > kMaxNameBytes)
        return false;
    r.Name = NameField(*name);
    const auto kind = reader.line();
    if (!kind || kind->size() > kMaxNameBytes)
        return false;
    r.Kind = NameField(*kind);

    if (!ReadRealLine<6>(reader, {&r.B, &r.H, &r.L, &r.V, &r.Gx, &r.Gy}))
        return false;

    const auto layers = CountLine(reader);
    if (!layers)
        return false;
    r.LayerCount = *layers;
    for (int row = 0; row < r.LayerCount; ++row) {
        if (row >= kMaxLayers)
            return false;
        if (!ReadRealLine<3>(reader, {&r.LayerH[row], &r.LayerDV[row], &r.LayerV[row]}))
            return false;
    }

    const auto points = CountLine(reader);
    if (!points)
        return false;
    r.PointCount = *points;
    for (int i = 1; i <= r.PointCount; ++i) {
        if (i > kMaxPoints)
            return false;
        if (!ReadRealLine<2>(reader, {&r.PointX[i], &r.PointY[i]}))
            return false;
    }

    const auto lines = CountLine(reader);
    if (!lines)
        return false;
    r.LineCount = *lines;
    for (int k = 1; k <= r.LineCount; ++k) {
        if (k > kMaxLines)
            return false;
        const bool read = *version >= 2 ? ReadIntegerLine<3>(reader, {&r.LineStart[k], &r.LineEnd[k], &r.LineKind[k]})
                                        : ReadIntegerLine<2>(reader, {&r.LineStart[k], &r.LineEnd[k]});
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
            if (reader.plainValue<PlainReal>(r.LayerGx[row]))
                continue;
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
    // The name is a bare file name; a folder inside it would read outside the data folder.
    if (name.find_first_of("/\\") != std::string::npos) {
        ClearBlock(record);
        return false;
    }
    const auto folder = PathFromUtf8(dataPath);
    // ".CSV" is taken when it is there, even beside a ".csv". Blocks are saved as ".csv": that
    // spelling is read straight away, and only a name with neither is searched for in the folder.
    std::optional<std::string> bytes = ReadWholeFile(folder / PathFromUtf8(name + ".CSV"), kMaxBlockFileBytes);
    if (!bytes)
        bytes = ReadWholeFile(folder / PathFromUtf8(name + ".csv"), kMaxBlockFileBytes);
    if (!bytes) {
        if (const auto found = FindFileIgnoringCase(folder, name + ".CSV"))
            bytes = ReadWholeFile(*found, kMaxBlockFileBytes);
    }
    if (!bytes) {
        ClearBlock(record);
        return false;
    }
    return ParseBlockFile(record, *bytes);
}

bool ReadBlockFileNamed(BlockData& record, const std::string& dataPath, const std::string& fileName)
{
    if (fileName.empty() || fileName.find_first_of("/\\") != std::string::npos) {
        ClearBlock(record);
        return false;
    }
    const auto bytes = ReadWholeFile(PathFromUtf8(dataPath) / PathFromUtf8(fileName), kMaxBlockFileBytes);
    if (!bytes) {
        ClearBlock(record);
        return false;
    }
    return ParseBlockFile(record, *bytes);
}

}  // namespace chokusho
