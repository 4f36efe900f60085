#include "Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <system_error>

namespace chokusho {

namespace {

bool IsIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/** Reads `text` one character at a time, stepping over the characters a number may be broken by. */
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    /** The next character that counts, or '\0' at the end (a NUL ends a number like any other). */
    char peek()
    {
        while (pos_ < text_.size() && IsIgnored(text_[pos_]))
            ++pos_;
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void advance() { ++pos_; }
    std::size_t position() const { return pos_; }
    void rewind(std::size_t position) { pos_ = position; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

/**
 * The significant digits of a decimal number, value = digits × 10^scale. Only the first
 * kMaxDigits are kept: a value halfway between two adjacent doubles never needs more than 767
 * significant digits, so what lies beyond can only tip the rounding by being nonzero, and one
 * sticky nonzero digit carries exactly that. This keeps the text handed to from_chars short
 * whatever the input's length.
 */
class Digits {
public:
    static constexpr std::size_t kMaxDigits = 800;

    void addInteger(char d)
    {
        if (!take(d) && count_ > 0)
            ++scale_;
    }
    void addFraction(char d)
    {
        // A fraction digit moves the point whether it is a leading zero or kept; a dropped one
        // does not, as it was never appended.
        if (take(d) || count_ == 0)
            --scale_;
    }

    bool isZero() const { return count_ == 0; }
    std::size_t count() const { return count_; }
    const char* data() const { return digits_; }
    long long scale() const { return scale_; }
    bool sticky() const { return sticky_; }

private:
    /** Appends `d` when it is significant and there is room; true when it was appended. */
    bool take(char d)
    {
        if (count_ == 0 && d == '0')
            return false;
        if (count_ < kMaxDigits) {
            digits_[count_++] = d;
            return true;
        }
        if (d != '0')
            sticky_ = true;
        return false;
    }

    char digits_[kMaxDigits];
    std::size_t count_ = 0;
    long long scale_ = 0;
    bool sticky_ = false;
};

/**
 * Whether the lenient reading would take the character at `p`, just after a plain number, as
 * part of that number: a blank, a tab or a line feed (it skips them), a point or an exponent.
 */
bool MayContinueNumber(const char* p, const char* end)
{
    return p != end && (IsIgnored(*p) || *p == '.' || *p == 'e' || *p == 'E');
}

/** The plain number at the front of `text` when the lenient reading would read no further; else nullopt. */
template <class T>
std::optional<T> PlainNumberOf(std::string_view text)
{
    const char* p = text.data();
    const char* end = p + text.size();
    T value{};
    if (!ReadPlainNumber(p, end, value) || MayContinueNumber(p, end))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> ReadReal(std::string_view text)
{
    // The plain form, the form of nearly every number of a file, takes no cleaning.
    if (const auto plain = PlainNumberOf<double>(text))
        return plain;
    Cursor cursor(text);
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }

    Digits digits;
    bool anyDigit = false;
    while (IsDigit(cursor.peek())) {
        digits.addInteger(cursor.peek());
        cursor.advance();
        anyDigit = true;
    }
    if (cursor.peek() == '.') {
        cursor.advance();
        while (IsDigit(cursor.peek())) {
            digits.addFraction(cursor.peek());
            cursor.advance();
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;

    // An exponent counts only with at least one digit; "1e" and "1e+" read as 1. Its value is
    // capped far beyond any double's range but also beyond any text's length (which bounds the
    // scale), so the sum below neither overflows nor loses its direction.
    constexpr long long kExponentCap = 400'000'000'000'000'000;
    long long exponent = 0;
    if (cursor.peek() == 'e' || cursor.peek() == 'E') {
        const std::size_t mark = cursor.position();
        cursor.advance();
        bool negativeExponent = false;
        if (cursor.peek() == '+' || cursor.peek() == '-') {
            negativeExponent = cursor.peek() == '-';
            cursor.advance();
        }
        if (IsDigit(cursor.peek())) {
            while (IsDigit(cursor.peek())) {
                exponent = std::min(exponent * 10 + (cursor.peek() - '0'), kExponentCap);
                cursor.advance();
            }
            if (negativeExponent)
                exponent = -exponent;
        } else {
            cursor.rewind(mark);
        }
    }

    // A zero is written without its sign: "-0" in a file means nothing different from "0".
    if (digits.isZero())
        return 0.0;

    // Clamping the power keeps the text short without changing the outcome: with at most 801
    // digits, anything past 10^±1000000 is an overflow or an underflow either way.
    long long power = std::clamp(digits.scale(), -kExponentCap, kExponentCap) + exponent;
    char buffer[Digits::kMaxDigits + 32];
    char* out = buffer;
    if (negative)
        *out++ = '-';
    out = std::copy(digits.data(), digits.data() + digits.count(), out);
    if (digits.sticky()) {
        *out++ = '1';
        --power;
    }
    *out++ = 'e';
    power = std::clamp(power, -1'000'000LL, 1'000'000LL);
    out = std::to_chars(out, buffer + sizeof buffer, power).ptr;

    double value = 0.0;
    const auto [end, error] = std::from_chars(buffer, out, value);
    if (error == std::errc::result_out_of_range) {
        // from_chars says the same for a value too large and one too small for a double (it
        // returns subnormals, but not a value that rounds to zero); the position of the first
        // digit tells which it was.
        const long long leading = power + static_cast<long long>(digits.count()) - 1;
        if (leading > 0)
            return std::nullopt;
        return 0.0;
    }
    if (error != std::errc{} || end != out || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int16_t> ReadInteger(std::string_view text)
{
    // A plain integer within the range is its own rounded value; any other text goes through a real.
    if (const auto plain = PlainNumberOf<std::int16_t>(text))
        return plain;
    const std::optional<double> real = ReadReal(text);
    if (!real || !std::isfinite(*real) || std::fabs(*real) > 40000.0)
        return std::nullopt;
    // Halves go to the even neighbour without relying on the floating-point rounding mode, which
    // other code in the process may have changed. The fraction is exact at this magnitude.
    const double floor = std::floor(*real);
    const double fraction = *real - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        rounded = floor + 1.0;
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::string FormatFixed(double value, int decimals)
{
    // NaN and the infinities cannot come out of ReadReal and are never written to a file; these
    // names only keep a message readable should one turn up in a computation.
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    decimals = std::clamp(decimals, 0, 15);
    // The 15-digit form of a value this close to the largest double rounds above it, and such a
    // text would not read back; the largest 15-digit value below the limit stands in for it.
    constexpr double kLargestWritable = 1.79769313486231e308;
    if (std::fabs(value) > kLargestWritable)
        value = std::copysign(kLargestWritable, value);

    // The 15 significant digits that a double reliably holds are what gets rounded, in decimal,
    // so that 1.2345 (stored as 1.23449999...) still rounds up. to_chars, unlike printf, does
    // not follow the locale's decimal point.
    constexpr int kSignificant = 15;
    char scientific[32];
    const auto written = std::to_chars(scientific, scientific + sizeof scientific, value, std::chars_format::scientific,
                                       kSignificant - 1);
    const char* p = scientific;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[kSignificant + 1];  // one more for a carry out of the top digit
    digits[0] = *p++;
    ++p;  // the decimal point
    std::copy(p, p + kSignificant - 1, digits + 1);
    p += kSignificant;  // the digits and the 'e'
    int exponent = 0;
    std::from_chars(*p == '+' ? p + 1 : p, written.ptr, exponent);

    // digits[i] stands for the place 10^(top - i). Keep the places down to 10^-decimals and round
    // at the first one dropped, half away from zero.
    int top = exponent;
    const int keep = exponent + decimals + 1;
    int count = std::min(keep, kSignificant);
    if (keep < kSignificant) {
        const bool roundUp = keep >= 0 && digits[keep] >= '5';
        count = std::max(keep, 0);
        if (roundUp) {
            int i = count - 1;
            while (i >= 0 && digits[i] == '9')
                digits[i--] = '0';
            if (i >= 0) {
                ++digits[i];
            } else {
                // All nines (or nothing kept): the carry becomes a new top digit.
                std::copy_backward(digits, digits + count, digits + count + 1);
                digits[0] = '1';
                ++count;
                ++top;
            }
        }
    }

    const bool isZero = std::all_of(digits, digits + count, [](char c) { return c == '0'; });
    const auto digitAt = [&](int place) {
        const int i = top - place;
        return i >= 0 && i < count ? digits[i] : '0';
    };

    std::string text;
    text.reserve(static_cast<std::size_t>(std::max(top, 0) + decimals + 3));
    if (negative && !isZero)
        text += '-';
    for (int place = std::max(top, 0); place >= 0; --place)
        text += digitAt(place);
    if (decimals > 0) {
        text += '.';
        for (int place = -1; place >= -decimals; --place)
            text += digitAt(place);
    }
    return text;
}

std::string FormatReadout(double value)
{
    constexpr double kLongest = 1e10;
    if (!std::isfinite(value) || std::fabs(value) < kLongest)
        return FormatFixed(value, 2);
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 2);
    std::string text(buffer, written.ptr);
    // "1.23e+15" as a spreadsheet writes it: a capital E and at least two exponent digits.
    const std::size_t e = text.find('e');
    text[e] = 'E';
    return text;
}

std::string FormatInteger(long long value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

/** Skips the digits from `pos`; how many there were. */
std::size_t SkipDigits(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos - start;
}

}  // namespace

bool IsWholeNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    std::size_t digits = SkipDigits(text, pos);
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        digits += SkipDigits(text, pos);
    }
    if (digits == 0)
        return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        if (SkipDigits(text, pos) == 0)
            return false;
    }
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos == text.size();
}

std::string ReformatWholeNumber(const std::string& text)
{
    const std::string typed = TypedNumber(text);
    if (!IsWholeNumber(typed))
        return text;
    const auto value = ReadReal(typed);
    return value ? Format000(*value) : text;
}

namespace {

/** A full-width character that types a number's part, with the ASCII character it stands for. */
struct TypedForm {
    std::string_view utf8;
    char ascii;
};
// clang-format off
constexpr TypedForm kTypedForms[] = {
    {"０", '0'}, {"１", '1'}, {"２", '2'}, {"３", '3'}, {"４", '4'},
    {"５", '5'}, {"６", '6'}, {"７", '7'}, {"８", '8'}, {"９", '9'},
    {"＋", '+'}, {"－", '-'}, {"\u2212", '-'}, {"．", '.'}, {"，", '.'}, {"Ｅ", 'E'}, {"ｅ", 'e'},
};
// clang-format on
constexpr std::string_view kIdeographicSpace = "\u3000";

}  // namespace

std::string TypedNumber(std::string_view text)
{
    std::string ascii;
    ascii.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto form = std::find_if(std::begin(kTypedForms), std::end(kTypedForms),
                                       [&](const TypedForm& f) { return text.substr(i, f.utf8.size()) == f.utf8; });
        if (form != std::end(kTypedForms)) {
            ascii += form->ascii;
            i += form->utf8.size();
        } else {
            ascii += text[i++];
        }
    }
    // Blanks around the number, half-width or full-width, are no part of it.
    std::string_view trimmed = ascii;
    for (bool trimming = true; trimming;) {
        trimming = false;
        for (const std::string_view blank : {std::string_view(" "), std::string_view("\t"), kIdeographicSpace}) {
            if (trimmed.starts_with(blank)) {
                trimmed.remove_prefix(blank.size());
                trimming = true;
            }
            if (trimmed.ends_with(blank)) {
                trimmed.remove_suffix(blank.size());
                trimming = true;
            }
        }
    }
    return std::string(trimmed);
}

}  // namespace chokusho
