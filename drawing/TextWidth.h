#pragma once

#include <string_view>

namespace chokusho {

/**
 * How wide `utf8` is set `heightMm` high in the drawing's gothic, in millimetres: a half-width
 * character (ASCII, half-width katakana) half its height, any other its whole height. The
 * drawing keeps its labels clear of lines and of each other by it.
 */
double TextWidthMm(std::string_view utf8, double heightMm);

}  // namespace chokusho
