#include "BlockFileLines.h"

#include <cstring>

namespace chokusho::block_file {

std::optional<std::string_view> LineReader::line()
{
    if (pos_ == end_)
        return std::nullopt;
    const char* end = Find(pos_, '\r');
    const std::string_view text(pos_, static_cast<std::size_t>(end - pos_));
    skipLineEnd(end);
    return text;
}

std::optional<std::string_view> LineReader::value()
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

const char* LineReader::Find(const char* from, char c) const
{
    const void* found = std::memchr(from, c, static_cast<std::size_t>(end_ - from));
    return found != nullptr ? static_cast<const char*>(found) : end_;
}

}  // namespace chokusho::block_file
