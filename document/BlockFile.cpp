#include "BlockFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
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
    explicit LineReader(std::string_view bytes) : pos_(bytes.data()), end_(bytes.data() + bytes.size()) {}

    /** The next line, or nullopt at the end of the content. */
    std::optional<std::string_view> line()
    {
        if (pos_ == end_)
            return std::nullopt;
        const char* end = Find(pos_, '\r');
        const std::string_view text(pos_, static_cast<std::size_t>(end - pos_));
        skipLineEnd(end);
        return text;
    }

    /** The next value delimited by a comma or a line end, or nullopt at the end of the content. */
    std::optional<std::string_view> value()
    {
        if (pos_ == end_)
            return std::nullopt;
        const char* end = pos_;
        while (end != end_ && *end != ',' && *end != '\r' && *end != '\n')
            ++end;
        const std::string_view text(pos_, static_cast<std::size_t>(end - pos_));
        if (end == end_) {
            pos_ = end_;
        } else {
            pos_ = end + 1;
            if (*end == '\r' && pos_ != end_ && *pos_ == '\n')
                ++pos_;
        }
        return text;
    }

    /**
     * Reads the next line as it is written, N numbers in the plain form separated by single
     * commas, into `values`. False, moving nowhere, when the line is not of that form.
     */
    template <class Plain, class T, std::size_t N>
    bool plainLine(std::array<T, N>& values)
    {
        const char* p = pos_;
        for (std::size_t i = 0; i + 1 < N; ++i) {
            if (!Plain::read(p, end_, values[i]) || p == end_ || *p != ',')
                return false;
            ++p;
        }
        if (!Plain::read(p, end_, values[N - 1]) || (p != end_ && *p != '\r'))
            return false;
        skipLineEnd(p);
        return true;
    }

    /**
     * Reads the next value when it is a number in the plain form followed by a comma, a line end
     * or the end of the content, as value() would delimit it. False, moving nowhere, otherwise.
     */
    template <class Plain, class T>
    bool plainValue(T& value)
    {
        const char* p = pos_;
        T read{};
        if (!Plain::read(p, end_, read))
            return false;
        if (p == end_) {
            pos_ = end_;
        } else if (*p == ',' || *p == '\n') {
            pos_ = p + 1;
        } else if (*p == '\r') {
            skipLineEnd(p);
        } else {
            return false;
        }
        value = read;
        return true;
    }

private:
    /** The first `c` from `from` on, or the end of the content. */
    const char* Find(const char* from, char c) const
    {
        const void* found = std::memchr(from, c, static_cast<std::size_t>(end_ - from));
        return found != nullptr ? static_cast<const char*>(found) : end_;
    }

    /** Moves past the line end at `end`: a CR with the LF that may follow it, or the content's end. */
    void skipLineEnd(const char* end)
    {
        if (end == end_) {
            pos_ = end_;
            return;
        }
        pos_ = end + 1;
        if (pos_ != end_ && *pos_ == '\n')
            ++pos_;
    }

    const char* pos_;
    const char* end_;
};

bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

/**
 * A number as the writer writes it, "-12.345", read in place from `p`, which moves past it.
 * False when the text is not of that form. The caller takes the number only where a comma or
 * the line end follows, where ReadReal too would stop; other lines go to the lenient readers.
 *
 * Up to 15 digits make an integer below 2^53 and the power of ten is exact, so the one division
 * is correctly rounded and gives exactly what ReadReal gives for the same text. Longer digit
 * runs wrap the mantissa (unsigned, so harmlessly) and are refused by their count.
 */
struct PlainReal {
    static bool read(const char*& p, const char* end, double& value)
    {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        constexpr std::ptrdiff_t kMaxDigits = 15;
        const char* q = p;
        const bool negative = q != end && *q == '-';
        q += negative;
        std::uint64_t mantissa = 0;
        const char* first = q;
        for (; q != end && IsDigit(*q); ++q)
            mantissa = mantissa * 10 + static_cast<unsigned char>(*q - '0');
        std::ptrdiff_t digits = q - first;
        if (digits == 0)
            return false;
        std::ptrdiff_t fractionDigits = 0;
        if (q != end && *q == '.') {
            const char* fraction = ++q;
            for (; q != end && IsDigit(*q); ++q)
                mantissa = mantissa * 10 + static_cast<unsigned char>(*q - '0');
            fractionDigits = q - fraction;
            if (fractionDigits == 0)
                return false;
            digits += fractionDigits;
        }
        if (digits > kMaxDigits)
            return false;
        const double magnitude = static_cast<double>(mantissa) / kPowers[fractionDigits];
        value = negative && mantissa != 0 ? -magnitude : magnitude;
        p = q;
        return true;
    }
};

/** An integer as the writer writes it, "-123", within -32768..32767; see PlainReal. */
struct PlainInteger {
    static bool read(const char*& p, const char* end, std::int16_t& value)
    {
        const char* q = p;
        const bool negative = q != end && *q == '-';
        q += negative;
        std::uint64_t magnitude = 0;
        const char* first = q;
        for (; q != end && IsDigit(*q); ++q)
            magnitude = magnitude * 10 + static_cast<unsigned char>(*q - '0');
        // Six digits reach past the range whatever they are; a longer run may have wrapped.
        if (q == first || q - first > 6 || magnitude > (negative ? 32768u : 32767u))
            return false;
        value = static_cast<std::int16_t>(negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude));
        p = q;
        return true;
    }
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

namespace chokusho {

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
