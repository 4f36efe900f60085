#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace chokusho {

/**
 * Lenient number reading, as the block file and the dialogs use it: blanks, tabs and line
 * feeds anywhere in the text are ignored, the leading part that forms a number is used
 * (optional sign, digits, optional "." and digits, optional exponent), and text with no
 * leading number reads as 0. The decimal separator is always ".".
 */

/** The lenient value of `text`; nullopt when it overflows a 64-bit real. */
[[nodiscard]] std::optional<double> ReadReal(std::string_view text);

/**
 * The lenient value of `text` rounded to the nearest integer, halves to the even neighbour;
 * nullopt when it lies outside -32768..32767 or overflows.
 */
[[nodiscard]] std::optional<std::int16_t> ReadInteger(std::string_view text);

/**
 * True when `text` is one number as a whole: optional blanks, sign, digits with an optional
 * point (at least one digit), an optional exponent with digits, optional blanks, nothing else.
 * A field that holds such a text is shown reformatted when the user leaves it.
 */
[[nodiscard]] bool IsWholeNumber(std::string_view text);

/**
 * What a box shows once the user leaves it: `text` in the "0.000" format when, as typed
 * (TypedNumber), it is a whole number that a real can hold; else `text` itself.
 */
std::string ReformatWholeNumber(const std::string& text);

/**
 * A number as typed in a box or cell of the dialogs, in the form the readers above take. A
 * Japanese input method types full-width forms: the digits ０..９, ＋, －, ．, Ｅ and ｅ become
 * their ASCII forms, and so does the minus sign U+2212; a full-width comma ， becomes the decimal
 * point (every box holds one number, so it cannot separate two); blanks of both widths before
 * and after the number go. Any other text is left as it is. Block files are read as they are.
 */
std::string TypedNumber(std::string_view text);

/** ReadReal of what the user typed (TypedNumber). */
[[nodiscard]] inline std::optional<double> ReadTypedReal(std::string_view text) { return ReadReal(TypedNumber(text)); }

/**
 * Fixed-point text with `decimals` decimals and at least one integer digit. Rounds half away
 * from zero on the value's decimal form of 15 significant digits (1.2345 gives "1.235"), and
 * writes a value that rounds to zero without a minus sign.
 */
std::string FormatFixed(double value, int decimals);

/** The "0.000" format: block file, text boxes, messages. */
inline std::string Format000(double value) { return FormatFixed(value, 3); }
/** The "##0.000" format of grid cells (the same digits as "0.000"). */
inline std::string FormatGrid(double value) { return FormatFixed(value, 3); }
/** The "0.00" format of the coordinate read-out. */
inline std::string Format00(double value) { return FormatFixed(value, 2); }
/**
 * A coordinate of the read-out under the pointer: the "0.00" format while the value has fewer
 * than eleven digits before the point; larger values (a view scrolled or zoomed far out) in a
 * short exponent form such as "1.23E+15" rather than hundreds of digits.
 */
std::string FormatReadout(double value);
/** The "0" format of integers. */
std::string FormatInteger(long long value);

}  // namespace chokusho
