#pragma once

#include <cstddef>
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

namespace plain_number {

inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

/** Reads the digits at `p` into `value`, which moves past them; how many there were. */
inline std::ptrdiff_t ReadDigits(const char*& p, const char* end, std::uint64_t& value)
{
    const char* first = p;
    for (; p != end && IsDigit(*p); ++p)
        value = value * 10 + static_cast<unsigned char>(*p - '0');
    return p - first;
}

}  // namespace plain_number

/** The value of a hexadecimal digit of either case; -1 for any other character. */
inline int HexDigitValue(char c)
{
    if (plain_number::IsDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

/**
 * The plain form of a number, as the writer writes it: "-12.345" for a real, "-123" for an
 * integer. Files hold it nearly always, and it is read here in place, without the lenient
 * readers' cleaning: from `p`, which moves past the number. False, with `p` where it was, when
 * the text at `p` does not begin with that form (a "+", no digit before or after the point) or
 * holds a number the plain reading does not give exactly: more than 15 digits, an integer
 * outside -32768..32767. What follows the number is the caller's to judge: where a blank, a
 * point or an exponent follows, the lenient readers read on, and the text is theirs.
 *
 * Up to 15 digits make an integer below 2^53 and the power of ten is exact, so the one division
 * is correctly rounded and gives exactly what ReadReal's general reading gives for the same
 * text. Longer digit runs wrap the mantissa (unsigned, so harmlessly) and are refused by their
 * count. Inline, so that the block file reader's loops over its tables inline them.
 */
inline bool ReadPlainNumber(const char*& p, const char* end, double& value)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr std::ptrdiff_t kMaxDigits = 15;
    const char* q = p;
    const bool negative = q != end && *q == '-';
    q += negative;
    std::uint64_t mantissa = 0;
    std::ptrdiff_t digits = plain_number::ReadDigits(q, end, mantissa);
    if (digits == 0)
        return false;
    std::ptrdiff_t fractionDigits = 0;
    if (q != end && *q == '.') {
        ++q;
        fractionDigits = plain_number::ReadDigits(q, end, mantissa);
        if (fractionDigits == 0)
            return false;
        digits += fractionDigits;
    }
    if (digits > kMaxDigits)
        return false;
    const double magnitude = static_cast<double>(mantissa) / kPowers[fractionDigits];
    value = negative && mantissa != 0 ? -magnitude : magnitude;
    p = q;
    return true;
}

/** An integer in the plain form, "-123", within -32768..32767; see the real's reading above. */
inline bool ReadPlainNumber(const char*& p, const char* end, std::int16_t& value)
{
    const char* q = p;
    const bool negative = q != end && *q == '-';
    q += negative;
    std::uint64_t magnitude = 0;
    // Six digits reach past the range whatever they are; a longer run may have wrapped.
    const std::ptrdiff_t digits = plain_number::ReadDigits(q, end, magnitude);
    if (digits == 0 || digits > 6 || magnitude > (negative ? 32768u : 32767u))
        return false;
    value = static_cast<std::int16_t>(negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude));
    p = q;
    return true;
}

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
