#include "Canvas.h"

#include <array>

namespace chokusho {

std::uint32_t QBColor(PaletteColor color)
{
    const auto index = static_cast<std::size_t>(color);
    static constexpr std::array<std::uint32_t, 16> kPalette = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
        0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    return index < kPalette.size() ? kPalette[index] : 0x000000;
}

}  // namespace chokusho
