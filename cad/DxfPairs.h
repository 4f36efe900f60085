#pragma once

#include <charconv>
#include <cstring>
#include <string_view>
#include <system_error>

namespace chokusho {

/**
 * The group code and value pairs of an ASCII DXF file, each pair two lines. Lines end in LF or
 * CR LF; blanks and tabs around a code or value are no part of it (writers right-align codes).
 * Comments (code 999) are passed over. One pair can be put back, for the reader that meets the
 * next entity's first pair.
 */
class DxfPairs {
public:
    enum class Next { Pair, End, BadCode };

    explicit DxfPairs(std::string_view bytes) : bytes_(bytes) {}

    Next next()
    {
        if (putBack_) {
            putBack_ = false;
            return Next::Pair;
        }
        for (;;) {
            std::string_view codeText;
            std::string_view valueText;
            if (!line(codeText))
                return Next::End;
            codeLine_ = line_;
            if (!line(valueText))
                return Next::End;
            int code = 0;
            const auto [end, error] = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
            if (error != std::errc() || end != codeText.data() + codeText.size() || codeText.empty())
                return Next::BadCode;
            if (code == 999)
                continue;
            code_ = code;
            value_ = valueText;
            return Next::Pair;
        }
    }

    /** Gives the current pair again at the next call of next(). */
    void putBack() { putBack_ = true; }

    int code() const { return code_; }
    std::string_view value() const { return value_; }
    bool is(int code, std::string_view value) const { return code_ == code && value_ == value; }
    /** The line of the file, from 1, that holds the current pair's code. */
    int line() const { return codeLine_; }

private:
    bool line(std::string_view& text)
    {
        if (at_ >= bytes_.size())
            return false;
        const char* start = bytes_.data() + at_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', bytes_.size() - at_));
        const std::size_t length = newline ? static_cast<std::size_t>(newline - start) : bytes_.size() - at_;
        at_ += length + (newline ? 1 : 0);
        ++line_;
        text = std::string_view(start, length);
        const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
        while (!text.empty() && blank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && blank(text.back()))
            text.remove_suffix(1);
        return true;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
    int line_ = 0;
    int codeLine_ = 0;
    int code_ = 0;
    std::string_view value_;
    bool putBack_ = false;
};

}  // namespace chokusho
