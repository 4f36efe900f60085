#include "BlockFile.h"

#include <algorithm>
#include <cerrno>
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

/** The bytes of a name line's name: everything before its first comma. */
std::string_view NameBytes(std::string_view line) { return line.substr(0, line.find(',')); }

/** The failures of the reader's steps; every step but the names fails as "no block file". */
constexpr BlockReadResult kNotBlockFile{BlockReadFailure::NotBlockFile, 0};

BlockReadResult CannotRead(int errorNumber) { return {BlockReadFailure::CannotRead, errorNumber}; }

/**
 * Whether `name` may be read as a block's name: a folder separator would lead outside the data
 * folder. A backslash is one only on Windows; elsewhere it is a character of the name.
 */
bool IsBareName(const std::string& name)
{
#ifdef _WIN32
    return name.find_first_of("/\\") == std::string::npos;
#else
    return name.find('/') == std::string::npos;
#endif
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
    if (reader.plainLine(values)) {
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
    if (reader.plainLine(values)) {
        for (std::size_t i = 0; i < N; ++i)
            *targets[i] = values[i];
        return true;
    }
    return ReadIntegerParts<N>(reader.line(), targets);
}

}  // namespace

void ClearBlock(BlockData& record) { record = BlockData{}; }

BlockReadResult ParseBlockFile(BlockData& r, std::string_view bytes)
{
    ClearBlock(r);
    LineReader reader(bytes);

    const auto header = reader.line();
    if (!header)
        return kNotBlockFile;
    const auto version = HeaderVersion(*header);
    if (!version)
        return kNotBlockFile;

    // Name and kind are short labels, cut at the line's first comma as they are read.
    const auto name = reader.line();
    if (!name)
        return kNotBlockFile;
    if (NameBytes(*name).size() > kMaxNameBytes)
        return {BlockReadFailure::NameTooLong, 0};
    r.Name = DecodeCp932(NameBytes(*name));
    const auto kind = reader.line();
    if (!kind)
        return kNotBlockFile;
    if (NameBytes(*kind).size() > kMaxNameBytes)
        return {BlockReadFailure::KindTooLong, 0};
    r.Kind = DecodeCp932(NameBytes(*kind));

    if (!ReadRealLine<6>(reader, {&r.B, &r.H, &r.L, &r.V, &r.Gx, &r.Gy}))
        return kNotBlockFile;

    const auto layers = CountLine(reader);
    if (!layers)
        return kNotBlockFile;
    r.LayerCount = *layers;
    for (int row = 0; row < r.LayerCount; ++row) {
        if (row >= kMaxLayers)
            return kNotBlockFile;
        if (!ReadRealLine<3>(reader, {&r.LayerH[row], &r.LayerDV[row], &r.LayerV[row]}))
            return kNotBlockFile;
    }

    const auto points = CountLine(reader);
    if (!points)
        return kNotBlockFile;
    r.PointCount = *points;
    for (int i = 1; i <= r.PointCount; ++i) {
        if (i > kMaxPoints)
            return kNotBlockFile;
        if (!ReadRealLine<2>(reader, {&r.PointX[i], &r.PointY[i]}))
            return kNotBlockFile;
    }

    const auto lines = CountLine(reader);
    if (!lines)
        return kNotBlockFile;
    r.LineCount = *lines;
    for (int k = 1; k <= r.LineCount; ++k) {
        if (k > kMaxLines)
            return kNotBlockFile;
        const bool read = *version >= 2 ? ReadIntegerLine<3>(reader, {&r.LineStart[k], &r.LineEnd[k], &r.LineKind[k]})
                                        : ReadIntegerLine<2>(reader, {&r.LineStart[k], &r.LineEnd[k]});
        if (!read)
            return kNotBlockFile;
        // A segment must join two points of the table: drawing, picking and deleting rely on it.
        if (r.LineStart[k] < 1 || r.LineStart[k] > r.PointCount || r.LineEnd[k] < 1 || r.LineEnd[k] > r.PointCount)
            return kNotBlockFile;
    }

    if (*version >= 1) {
        const auto mode = reader.value();
        if (!mode)
            return kNotBlockFile;
        const auto gxMode = ReadInteger(*mode);
        if (!gxMode)
            return kNotBlockFile;
        r.GxMode = *gxMode;
        for (int row = 0; row < r.LayerCount; ++row) {
            if (reader.plainValue(r.LayerGx[row]))
                continue;
            const auto field = reader.value();
            if (!field)
                return kNotBlockFile;
            const auto gx = ReadReal(*field);
            if (!gx)
                return kNotBlockFile;
            r.LayerGx[row] = *gx;
        }
    }
    return {};
}

BlockReadResult ReadBlockFile(BlockData& record, const std::string& dataPath, const std::string& name)
{
    ClearBlock(record);
    if (!IsBareName(name))
        return CannotRead(ENOENT);
    const auto folder = PathFromUtf8(dataPath);
    // ".CSV" is taken when it is there, even beside a ".csv". Blocks are saved as ".csv": that
    // spelling is read straight away, and only a name with neither is searched for in the folder.
    // A file that is there but cannot be read is reported as such, not passed over.
    int error = 0;
    std::optional<std::string> bytes = ReadWholeFile(folder / PathFromUtf8(name + ".CSV"), kMaxBlockFileBytes, &error);
    if (!bytes && error == ENOENT)
        bytes = ReadWholeFile(folder / PathFromUtf8(name + ".csv"), kMaxBlockFileBytes, &error);
    if (!bytes && error == ENOENT) {
        if (const auto found = FindFileIgnoringCase(folder, name + ".CSV"))
            bytes = ReadWholeFile(*found, kMaxBlockFileBytes, &error);
    }
    if (!bytes)
        return CannotRead(error);
    return ParseBlockFile(record, *bytes);
}

BlockReadResult ReadBlockFileNamed(BlockData& record, const std::string& dataPath, const std::string& fileName)
{
    ClearBlock(record);
    if (!IsBareName(fileName))
        return CannotRead(ENOENT);
    // An empty name leaves the folder itself, which is refused as a folder.
    int error = 0;
    const auto bytes = ReadWholeFile(PathFromUtf8(dataPath) / PathFromUtf8(fileName), kMaxBlockFileBytes, &error);
    if (!bytes)
        return CannotRead(error);
    return ParseBlockFile(record, *bytes);
}

std::string BlockReadFailureText(const BlockReadResult& result)
{
    switch (result.failure) {
    case BlockReadFailure::None: return {};
    case BlockReadFailure::CannotRead: return FileReadErrorText(result.errorNumber);
    case BlockReadFailure::NotBlockFile: break;
    case BlockReadFailure::NameTooLong:
    case BlockReadFailure::KindTooLong:
        return std::string(result.failure == BlockReadFailure::NameTooLong ? "名称" : "種別") + "が長すぎます (" +
               std::to_string(kMaxNameBytes) + " バイトまで)。";
    }
    return "直立消波ブロックのデータ形式ではありません。";
}

}  // namespace chokusho
