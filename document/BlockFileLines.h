#pragma once

// The block file reader's view of a file's bytes: lines and values as the format cuts them, and
// the lines the writer writes read in place. Only the reader includes this.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "Numbers.h"

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
    // the loops over the tables inline them and the plain number reading (ReadPlainNumber).

    /**
     * Reads the next line as it is written, N numbers in the plain form separated by single
     * commas, into `values` (reals or integers). False, moving nowhere, when the line is not of
     * that form. The number is taken only where a comma or the line end follows, where the
     * lenient readers too would stop; other lines go to them.
     */
    template <class T, std::size_t N>
    bool plainLine(std::array<T, N>& values)
    {
        const char* p = pos_;
        for (std::size_t i = 0; i + 1 < N; ++i) {
            if (!ReadPlainNumber(p, end_, values[i]) || p == end_ || *p != ',')
                return false;
            ++p;
        }
        if (!ReadPlainNumber(p, end_, values[N - 1]) || (p != end_ && *p != '\r'))
            return false;
        skipLineEnd(p);
        return true;
    }

    /**
     * Reads the next value when it is a number in the plain form followed by a comma, a line end
     * or the end of the content, as value() would delimit it. False, moving nowhere, otherwise.
     */
    template <class T>
    bool plainValue(T& value)
    {
        const char* p = pos_;
        T read{};
        if (!ReadPlainNumber(p, end_, read))
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

}  // namespace chokusho::block_file
