// Names as the file holds them, made into the program's UTF-8.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "Cp932.h"
#include "DxfRaw.h"
#include "Numbers.h"

namespace chokusho::dxf {

namespace {

void AppendUtf8(std::string& out, char32_t c)
{
    static constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
    const int trail = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    out += static_cast<char>(kLead[trail] | (c >> (6 * trail)));
    for (int i = trail - 1; i >= 0; --i)
        out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

/** Windows code page 1252: Latin-1 with printable characters in 0x80..0x9F (0 where it has none). */
std::string DecodeCp1252(std::string_view bytes)
{
    static constexpr std::array<char16_t, 32> k80 = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        const char32_t mapped = c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : c;
        AppendUtf8(out, mapped == 0 ? U'\uFFFD' : mapped);
    }
    return out;
}

/** "\U+XXXX", with which CAD programs write a character the code page has no code for. */
std::string DecodeEscapes(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i, 3) == "\\U+" && i + 7 <= text.size()) {
            char32_t value = 0;
            bool hex = true;
            for (std::size_t j = i + 3; j < i + 7; ++j) {
                const int digit = HexDigitValue(text[j]);
                hex = hex && digit >= 0;
                value = value * 16 + static_cast<char32_t>(digit < 0 ? 0 : digit);
            }
            if (hex && (value < 0xD800 || value > 0xDFFF) && value != 0) {
                AppendUtf8(out, value);
                i += 7;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

}  // namespace

std::string DecodeName(const File& file, std::string_view bytes)
{
    // From AutoCAD 2007 (AC1021) on, every text of the file is UTF-8 whatever the code page says.
    const bool utf8File = file.version >= "AC1021";
    std::string text;
    if (!utf8File && (file.codePage == "ANSI_932" || file.codePage == "DOS932"))
        text = DecodeCp932(bytes);
    else if (!utf8File && file.codePage == "ANSI_1252")
        text = DecodeCp1252(bytes);
    else if (IsValidUtf8(bytes))
        text = std::string(bytes);
    else  // no code page, or one the program has no table for: Japanese CAD programs (Jw_cad) write cp932 unsaid
        text = DecodeCp932(bytes);
    return DecodeEscapes(text);
}

bool IsDottedLineTypeName(std::string_view key)
{
    static constexpr std::array<std::string_view, 6> kGapped = {"DASHED",  "HIDDEN", "DOT",
                                                                "DASHDOT", "CENTER", "PHANTOM"};
    for (const std::string_view name : kGapped) {
        if (key.substr(0, name.size()) != name)
            continue;
        const std::string_view rest = key.substr(name.size());
        if (rest.empty() || rest == "2" || rest == "X2")
            return true;
    }
    return false;
}

}  // namespace chokusho::dxf
