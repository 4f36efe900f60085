// The block file reader written a second time, plainly, and kept apart from the program's reader
// on purpose: it is the plain reader the fast one is checked against. It shares none of the fast
// reader's shortcuts (the line reader, the reading of whole lines and values in place), so a fault
// in them shows as a disagreement here. Each part it reads with ReadReal and ReadInteger, whose own
// shortcut for the plain form the fuzzer checks against their general reading.

#include "ReferenceReader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "BlockFile.h"
#include "Cp932.h"
#include "Numbers.h"

namespace chokusho::fuzz {
namespace {

constexpr std::string_view kHeaderPrefix = "#直立消波ブロック";

/** Lines end at CR, which takes a directly following LF with it; a lone LF stays in its line. */
class Lines {
public:
    explicit Lines(std::string_view bytes) : rest_(bytes) {}

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

    /** A value of the closing part: delimited by a comma, a CR (with its LF) or a lone LF. */
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

/** N parts cut at the first N - 1 commas; the last keeps any further commas. */
template <std::size_t N>
std::optional<std::array<std::string_view, N>> Parts(std::string_view line)
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

template <class T, std::size_t N, class Read>
bool ReadLine(std::optional<std::string_view> line, const std::array<T*, N>& targets, Read read)
{
    if (!line)
        return false;
    const auto parts = Parts<N>(*line);
    if (!parts)
        return false;
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = read((*parts)[i]);
        if (!value)
            return false;
        *targets[i] = *value;
    }
    return true;
}

std::optional<std::int16_t> Count(Lines& lines)
{
    const auto line = lines.line();
    if (!line || line->empty())
        return std::nullopt;
    const auto count = ReadInteger(*line);
    if (!count)
        return std::nullopt;
    return std::max<std::int16_t>(*count, 0);
}

/** The version after the prefix: the next three characters, decoded; nullopt without the prefix. */
std::optional<int> Version(std::string_view line)
{
    const std::string head = DecodeCp932(line.substr(0, 26));
    if (head.compare(0, kHeaderPrefix.size(), kHeaderPrefix) != 0)
        return std::nullopt;
    const std::string_view after = std::string_view(head).substr(kHeaderPrefix.size());
    std::size_t end = 0;
    for (int chars = 0; end < after.size(); ++end) {
        if ((static_cast<unsigned char>(after[end]) & 0xC0) != 0x80 && ++chars > 3)
            break;
    }
    const auto version = ReadInteger(after.substr(0, end));
    if (!version)
        return std::nullopt;
    return *version;
}

}  // namespace

bool ReferenceParse(BlockData& r, std::string_view bytes)
{
    r = BlockData{};
    Lines lines(bytes);
    const auto header = lines.line();
    if (!header)
        return false;
    const auto version = Version(*header);
    if (!version)
        return false;
    for (std::string* name : {&r.Name, &r.Kind}) {
        const auto line = lines.line();
        if (!line)
            return false;
        const std::string_view text = line->substr(0, line->find(','));
        if (text.size() > kMaxNameBytes)
            return false;
        *name = DecodeCp932(text);
    }

    const auto real = [](std::string_view text) { return ReadReal(text); };
    const auto integer = [](std::string_view text) { return ReadInteger(text); };
    if (!ReadLine<double, 6>(lines.line(), {&r.B, &r.H, &r.L, &r.V, &r.Gx, &r.Gy}, real))
        return false;

    const auto layers = Count(lines);
    if (!layers)
        return false;
    r.LayerCount = *layers;
    for (int row = 0; row < r.LayerCount; ++row) {
        if (row >= kMaxLayers ||
            !ReadLine<double, 3>(lines.line(), {&r.LayerH[row], &r.LayerDV[row], &r.LayerV[row]}, real))
            return false;
    }

    const auto points = Count(lines);
    if (!points)
        return false;
    r.PointCount = *points;
    for (int i = 1; i <= r.PointCount; ++i) {
        if (i > kMaxPoints || !ReadLine<double, 2>(lines.line(), {&r.PointX[i], &r.PointY[i]}, real))
            return false;
    }

    const auto segments = Count(lines);
    if (!segments)
        return false;
    r.LineCount = *segments;
    for (int k = 1; k <= r.LineCount; ++k) {
        if (k > kMaxLines)
            return false;
        const bool read = *version >= 2
                              ? ReadLine<std::int16_t, 3>(lines.line(),
                                                          {&r.LineStart[k], &r.LineEnd[k], &r.LineKind[k]}, integer)
                              : ReadLine<std::int16_t, 2>(lines.line(), {&r.LineStart[k], &r.LineEnd[k]}, integer);
        if (!read)
            return false;
        if (r.LineStart[k] < 1 || r.LineStart[k] > r.PointCount || r.LineEnd[k] < 1 || r.LineEnd[k] > r.PointCount)
            return false;
    }

    if (*version >= 1) {
        const auto mode = lines.value();
        if (!mode)
            return false;
        const auto gxMode = ReadInteger(*mode);
        if (!gxMode)
            return false;
        r.GxMode = *gxMode;
        for (int row = 0; row < r.LayerCount; ++row) {
            const auto field = lines.value();
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

}  // namespace chokusho::fuzz
