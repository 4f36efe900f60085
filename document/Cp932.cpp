// The cp932 rules every platform shares, and what is built on the conversion: UTF-8 checks, the
// characters a text cannot hold, widths. The conversion itself is each platform's own
// (Cp932Internal.h).

#include "Cp932.h"

#include <algorithm>
#include <string>

#include "Cp932Internal.h"

namespace chokusho {

namespace cp932 {

namespace {

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// clang-format off
constexpr SingleByteCharacter kSingleByteCharacters[] = {
    {'\x80', 0x0080, "\xC2\x80"},
    {'\xA0', 0xF8F0, "\xEF\xA3\xB0"},
    {'\xFD', 0xF8F1, "\xEF\xA3\xB1"},
    {'\xFE', 0xF8F2, "\xEF\xA3\xB2"},
    {'\xFF', 0xF8F3, "\xEF\xA3\xB3"},
};
// clang-format on

}  // namespace

std::size_t Cp932Shape(std::string_view bytes)
{
    const auto b = static_cast<unsigned char>(bytes[0]);
    if (!IsLeadByte(b))
        return 1;
    if (bytes.size() >= 2 && IsTrailByte(static_cast<unsigned char>(bytes[1])))
        return 2;
    return 0;
}

std::size_t RejectedLength(std::string_view bytes)
{
    if (Cp932Shape(bytes) == 2 && static_cast<unsigned char>(bytes[1]) >= 0x80)
        return 2;
    return 1;
}

const SingleByteCharacter* FindSingleByte(char byte)
{
    for (const SingleByteCharacter& c : kSingleByteCharacters) {
        if (c.byte == byte)
            return &c;
    }
    return nullptr;
}

const SingleByteCharacter* FindSingleByteCharacter(char32_t codePoint)
{
    for (const SingleByteCharacter& c : kSingleByteCharacters) {
        if (c.codePoint == codePoint)
            return &c;
    }
    return nullptr;
}

std::size_t DecodeUtf8(std::string_view utf8, char32_t& codePoint)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char b0 = at(0);
    if (b0 < 0x80) {
        codePoint = b0;
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0)
            low = 0xA0;
        else if (b0 == 0xED)
            high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0)
            low = 0x90;
        else if (b0 == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (utf8.size() < length)
        return 0;
    if (at(1) < low || at(1) > high)
        return 0;
    char32_t value = b0 & (0xFFu >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if (i > 1 && (at(i) < 0x80 || at(i) > 0xBF))
            return 0;
        value = (value << 6) | (at(i) & 0x3Fu);
    }
    codePoint = value;
    return length;
}

}  // namespace cp932

namespace {

using cp932::DecodeUtf8;
using cp932::kReplacementUtf8;

/** ASCII is the same in cp932 and UTF-8: such text needs no conversion. */
bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string DecodeCp932(std::string_view bytes)
{
    if (IsAscii(bytes))
        return std::string(bytes);
    return cp932::SystemDecode(bytes);
}

std::string EncodeCp932(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    return cp932::SystemEncode(utf8);
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        char32_t ignored = 0;
        const std::size_t length = DecodeUtf8(text.substr(i), ignored);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::vector<std::string> UnencodableCharacters(std::string_view utf8, std::size_t limit)
{
    std::vector<std::string> found;
    // Text that encodes without a new "?" holds none: one conversion answers the usual case.
    const auto questionMarks = [](std::string_view text) { return std::count(text.begin(), text.end(), '?'); };
    if (IsAscii(utf8) || questionMarks(EncodeCp932(utf8)) == questionMarks(utf8))
        return found;
    for (std::size_t i = 0; i < utf8.size() && found.size() < limit;) {
        char32_t ignored = 0;
        const std::size_t length = DecodeUtf8(utf8.substr(i), ignored);
        const std::string character = length == 0 ? std::string(kReplacementUtf8) : std::string(utf8.substr(i, length));
        i += std::max<std::size_t>(length, 1);
        if (character.size() == 1 || EncodeCp932(character) != "?")
            continue;
        if (std::find(found.begin(), found.end(), character) == found.end())
            found.push_back(character);
    }
    return found;
}

std::size_t Cp932Width(std::string_view utf8)
{
    if (IsAscii(utf8))
        return utf8.size();
    return EncodeCp932(utf8).size();
}

}  // namespace chokusho
