#include "TextWidth.h"

namespace chokusho {

double TextWidthMm(std::string_view utf8, double heightMm)
{
    double widths = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) == 0x80)
            continue;  // inside a character
        // U+FF61..U+FF9F, half-width katakana: EF BD A1..EF BD BF and EF BE 80..EF BE 9F.
        const bool halfKana = byte == 0xEF && i + 2 < utf8.size() &&
                              ((static_cast<unsigned char>(utf8[i + 1]) == 0xBD &&
                                static_cast<unsigned char>(utf8[i + 2]) >= 0xA1) ||
                               (static_cast<unsigned char>(utf8[i + 1]) == 0xBE &&
                                static_cast<unsigned char>(utf8[i + 2]) <= 0x9F));
        widths += byte < 0x80 || halfKana ? 0.5 : 1.0;
    }
    return widths * heightMm;
}

}  // namespace chokusho
