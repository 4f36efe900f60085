#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace chokusho {

/**
 * The scales of a drawing, as the denominators n of 1:n. A fitted drawing takes the largest
 * scale of the standard series at which its section fits, so that the scale in the title block
 * is the one the section is drawn at, and a scale rule laid on the paper reads true.
 */

/** The standard series: JIS Z 8314's recommended ratios and those it allows beside them. */
inline constexpr std::array<double, 25> kDrawingScales = {1,   1.5, 2,   2.5, 3,   4,   5,   6,   10,
                                                          15,  20,  25,  30,  40,  50,  60,  100, 150,
                                                          200, 250, 300, 400, 500, 600, 1000};
/** The scale that fits the section to the paper. */
inline constexpr double kFitToPaper = 0;
/** The scales 1:n a user may name: n from 1 to 1000, with at most one decimal. */
inline constexpr double kSmallestScale = 1;
inline constexpr double kLargestScale = 1000;

/**
 * The largest scale of the series no smaller than 1:`needed`. Beyond 1:1000 the series goes on
 * in the next decades with the same steps (1:1500, 1:2000, …, 1:10000, …), as the standard
 * extends it; where no double holds such a scale, the largest double.
 */
double StandardScale(double needed);

/** "1:50", "1:2.5": the scale with one decimal where it has one; far beyond any paper "1:1.23E+20". */
std::string ScaleText(double scale);

/**
 * The scale a user typed: "1:N" or "N", N from 1 to 1000 with at most one decimal, blanks
 * around the parts and full-width forms (１：３０) taken as typed; nullopt for any other text.
 */
std::optional<double> ReadScale(std::string_view text);

}  // namespace chokusho
