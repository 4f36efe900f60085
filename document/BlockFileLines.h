#pragma once

// The block file reader's view of a file's bytes: lines and values as the format cuts them, and
// the numbers the writer writes read in place. Only the reader includes this.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace chokusho::block_file {

/**
 * Reads a block file's content line by line. A line ends at CR, with a directly following LF
 * taken as part of the line end; a lone LF stays in the line, where number reading ignores it.
 */
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : pos_(bytes.data()), end_(bytes.data() + bytes.size()) {}

    /** The next line, or nullopt at the end of the content. */
    std::optional<std::string_view> line();

    /** The next value delimited by a comma or a line end, or nullopt at the end of the content. */
    std::optional<std::string_view> value();

    // The two readers below take every line the writer writes; they stay in this header so that
    // the loops over the tables inline them and the number readers they are given.

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
    const char* Find(const char* from, char c) const;

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

inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

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

}  // namespace chokusho::block_file
