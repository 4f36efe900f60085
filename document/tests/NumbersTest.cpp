#include "Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace chokusho {
namespace {

TEST(ReadReal, LenientText)
{
    const std::string zeros(10'000, '0');
    // 2^53 + 1 lies halfway between two doubles: it goes to the even one unless a digit,
    // however far out, tips it over.
    const std::string halfway = "9007199254740993";
    // clang-format off
    const struct {
        const char* what;
        std::string text;
        std::optional<double> expected;
    } cases[] = {
        {"empty text reads 0",                              "", 0.0},
        {"letters read 0",                                  "abc", 0.0},
        {"a sign alone",                                    "-", 0.0},
        {"a point alone",                                   ".", 0.0},
        {"sign, point and exponent without digits",         "+.e5", 0.0},
        {"two signs",                                       "--1", 0.0},
        {"letters after a number",                          "1.5abc", 1.5},
        {"blanks between sign, digits and point",           " - 1 2 . 5 ", -12.5},
        {"a tab and a line feed inside",                    "\t3\n.25", 3.25},
        {"no digit before the point",                       ".5", 0.5},
        {"no digit after the point",                        "5.", 5.0},
        {"a plus sign",                                     "+7", 7.0},
        {"a second point ends the number",                  "1.2.3", 1.2},
        {"a comma ends the number",                         "1,5", 1.0},
        {"a decimal with no exact double",                  "0.1", 0.1},
        {"a carriage return ends the number",               "1\r2", 1.0},
        {"blanks around the exponent's letter",             "1 e 3", 1000.0},
        {"a capital E and a negative exponent",             "1E-2", 0.01},
        {"a blank after the exponent's sign",               "2e + 2", 200.0},
        {"an exponent's letter alone",                      "1e", 1.0},
        {"an exponent's letter and sign alone",             "1e+", 1.0},
        {"an exponent without digits before a letter",      "1e-x", 1.0},
        {"two exponent letters",                            "1ee3", 1.0},
        {"an exponent past the doubles",                    "1e999", std::nullopt},
        {"a negative value past the doubles",               "-1e400", std::nullopt},
        {"401 digits",                                      "1" + std::string(400, '0'), std::nullopt},
        {"an exponent past 64 bits",                        "1e99999999999999999999999", std::nullopt},
        {"just past the largest double",                    "1.7976931348623159e308", std::nullopt},
        {"the largest double",                              "1.7976931348623157e308", DBL_MAX},
        {"rounded up to the smallest subnormal",            "4e-324", 4.9406564584124654e-324},
        {"a subnormal",                                     "1e-310", 1e-310},
        {"below the subnormals reads 0",                    "1e-400", 0.0},
        {"a negative below half the smallest subnormal",   "-2e-324", 0.0},
        {"zero with a huge exponent",                       "0e999999", 0.0},
        {"a negative exponent past 64 bits",                "1e-99999999999999999999999", 0.0},
        {"ten thousand leading zeros",                      zeros + "1", 1.0},
        {"a digit far out, brought back by the exponent",   "0." + zeros + "1e10001", 1.0},
        {"a digit too far out",                             "0." + zeros + "1", 0.0},
        {"zeros on both sides",                             "-" + zeros + "12.5" + zeros, -12.5},
        {"halfway rounds to even",                          halfway, 9007199254740992.0},
        {"halfway, zeros after the point",                  halfway + "." + zeros, 9007199254740992.0},
        {"halfway, tipped up by a far digit",               halfway + "." + zeros + "1", 9007199254740994.0},
        {"halfway, tipped up by a digit the exponent moves", halfway + zeros + "1e-10001", 9007199254740994.0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadReal(c.text), c.expected);  // exact: the conversion is correctly rounded
    }
    EXPECT_FALSE(std::signbit(*ReadReal("-0.000")));
}

TEST(ReadReal, MillionDigitsAreReadInLinearTime)
{
    // A reader that is quadratic in the length would not finish these.
    EXPECT_EQ(ReadReal(std::string(1'000'000, '0') + "42"), 42.0);
    EXPECT_EQ(ReadReal("0." + std::string(1'000'000, '3')), 1.0 / 3.0);
}

TEST(ReadPlainNumber, TakesTheWritersFormInPlaceAndLeavesTheRestToTheLenientReaders)
{
    // clang-format off
    const struct {
        const char* text;
        std::optional<double> real;            // nullopt: refused, the lenient readers' text
        std::optional<std::int16_t> integer;
        std::size_t length;                    // how much an accepted real takes
    } cases[] = {
        {"-12.345,1",            -12.345,          -12,          7},
        {"-123\r\n",             -123.0,           -123,         4},
        {"0.000",                0.0,              0,            5},
        {"-32768",               -32768.0,         -32768,       6},
        {"32768",                32768.0,          std::nullopt, 5},
        {"0032767",              32767.0,          std::nullopt, 7},
        {"123456789.012345",     123456789.012345, std::nullopt, 16},
        {"1234567890.123456",    std::nullopt,     std::nullopt, 0},
        {"99999999999999999999", std::nullopt,     std::nullopt, 0},
        {"12 3",                 12.0,             12,           2},
        {"+1",                   std::nullopt,     std::nullopt, 0},
        {"5.",                   std::nullopt,     5,            1},
        {".5",                   std::nullopt,     std::nullopt, 0},
        {"-",                    std::nullopt,     std::nullopt, 0},
        {"",                     std::nullopt,     std::nullopt, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string_view text = c.text;
        const char* p = text.data();
        double real = 7;
        EXPECT_EQ(ReadPlainNumber(p, text.data() + text.size(), real), c.real.has_value());
        EXPECT_EQ(p - text.data(), c.real ? static_cast<std::ptrdiff_t>(c.length) : 0);
        if (c.real) {
            EXPECT_EQ(real, *c.real);
            // What the general reading, kept off the shortcut by a blank in front, gives.
            EXPECT_EQ(real, ReadReal(" " + std::string(text.substr(0, c.length))));
        }
        p = text.data();
        std::int16_t integer = 7;
        EXPECT_EQ(ReadPlainNumber(p, text.data() + text.size(), integer), c.integer.has_value());
        if (c.integer) {
            EXPECT_EQ(integer, *c.integer);
            // An integer ends where its digits do: a point after them is the caller's to judge.
            const std::size_t digitsEnd = std::min(text.find_first_not_of("0123456789", 1), text.size());
            EXPECT_EQ(p - text.data(), static_cast<std::ptrdiff_t>(digitsEnd));
        }
    }
    double negativeZero = 1;
    const char* zero = "-0.000";
    EXPECT_TRUE(ReadPlainNumber(zero, zero + 6, negativeZero));
    EXPECT_FALSE(std::signbit(negativeZero));
}

TEST(ReadInteger, RoundsHalvesToEvenWithinSixteenBits)
{
    // clang-format off
    const struct {
        const char* what;
        const char* text;
        std::optional<std::int16_t> expected;
    } cases[] = {
        {"a half down to even 0",                  "0.5", 0},
        {"a half up to even 2",                    "1.5", 2},
        {"a half down to even 2",                  "2.5", 2},
        {"a half up to even 4",                    "3.5", 4},
        {"a negative half to even 0",              "-0.5", 0},
        {"a negative half away from 0 to even -2", "-1.5", -2},
        {"a negative half towards 0 to even -2",   "-2.5", -2},
        {"just above a half",                      "2.5000000001", 3},
        {"the double just below a half",           "0.49999999999999994", 0},
        {"negative, nearer the lower",             "-1.6", -2},
        {"blanks between digits",                  "1 2 3", 123},
        {"letters read 0",                         "abc", 0},
        {"rounded down to the largest",            "32767.4", 32767},
        {"rounded up past the largest",            "32767.5", std::nullopt},
        {"a half to even, the smallest",           "-32768.5", -32768},
        {"rounded down past the smallest",         "-32768.51", std::nullopt},
        {"an odd integer far past the range",      "4503599627370497", std::nullopt},
        {"a real past the doubles",                "1e999", std::nullopt},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(ReadInteger(c.text), c.expected) << c.what;
}

TEST(FormatFixed, RoundsHalfAwayOnFifteenDigits)
{
    // clang-format off
    const struct {
        const char* what;
        double value;
        int decimals;
        std::string expected;
    } cases[] = {
        {"a half up",                                  1.2345, 3, "1.235"},
        {"above a half",                               2.3456, 3, "2.346"},
        {"padded with zeros",                          1.5, 3, "1.500"},
        {"a half as written, though the double is below", 1.005, 2, "1.01"},
        {"0.15 to one decimal",                        0.15, 1, "0.2"},
        {"a negative half away from zero",             -0.25, 1, "-0.3"},
        {"a half in the thirteenth digit",             123456789.0125, 3, "123456789.013"},
        {"0.1 + 0.2 to fifteen digits",                0.1 + 0.2, 15, "0.300000000000000"},
        {"two thirds to fifteen digits",               2.0 / 3.0, 15, "0.666666666666667"},
        {"carried into a new digit",                   9.9995, 3, "10.000"},
        {"carried into a new digit, negative",         -999.9996, 3, "-1000.000"},
        {"the smallest half up",                       0.0005, 3, "0.001"},
        {"the smallest half away from zero",           -0.0005, 3, "-0.001"},
        {"a negative rounded to zero loses its sign",  -0.0004, 3, "0.000"},
        {"negative zero",                              -0.0, 3, "0.000"},
        {"a tiny negative",                            -1e-20, 3, "0.000"},
        {"the smallest subnormal",                     5e-324, 15, "0.000000000000000"},
        {"a half to no decimals",                      0.5, 0, "1"},
        {"a negative half to no decimals",             -0.5, 0, "-1"},
        {"a negative below a half to no decimals",     -0.4, 0, "0"},
        {"0.05 to one decimal",                        0.05, 1, "0.1"},
        {"more than fifteen decimals asked for",       1.5, 99, "1.500000000000000"},
        {"negative decimals count as none",            1.5, -3, "2"},
        {"twenty-one digits",                          1e20, 3, "100000000000000000000.000"},
        {"digits past the fifteenth written as zeros", 12345678901234567890.0, 2, "12345678901234600000.00"},
        {"three hundred digits",                       1e300, 3, "1" + std::string(300, '0') + ".000"},
        // The largest values are written as the largest 15-digit value below them, which reads back.
        {"the most negative double",                   -DBL_MAX, 0, "-179769313486231" + std::string(294, '0')},
        {"not a number",                               std::nan(""), 3, "NaN"},
        {"infinity",                                   HUGE_VAL, 3, "Infinity"},
        {"negative infinity",                          -HUGE_VAL, 3, "-Infinity"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected) << c.what;
}

TEST(FormatFixed, ThousandthsWriteAndReadBackExactly)
{
    // Every value a "0.000" field can hold must survive a save and a load; the expected text is
    // built with integer arithmetic.
    for (long long k = -2'000'000; k <= 2'000'000; k += 11) {
        const double value = static_cast<double>(k) / 1000.0;
        const long long magnitude = k < 0 ? -k : k;
        std::string fraction = std::to_string(magnitude % 1000);
        fraction.insert(0, 3 - fraction.size(), '0');
        const std::string expected = (k < 0 ? "-" : "") + std::to_string(magnitude / 1000) + "." + fraction;
        ASSERT_EQ(Format000(value), expected) << k;
        ASSERT_EQ(ReadReal(expected), value) << expected;
    }
}

TEST(FormatReadout, ShortEvenForCoordinatesFarOut)
{
    // clang-format off
    const struct {
        const char* what;
        double value;
        const char* text;
    } cases[] = {
        {"two decimals",                         12.346, "12.35"},
        {"padded with a zero",                   -3.1, "-3.10"},
        {"rounded to zero",                      0.004, "0.00"},
        {"just below the switch to an exponent", 9999999999.994, "9999999999.99"},
        {"from 1e10 on, with an exponent",       1e10, "1.00E+10"},
        {"far out and negative",                 -1.2345e15, "-1.23E+15"},
        {"a three-digit exponent",               1e308, "1.00E+308"},
        {"a tiny value",                         1e-300, "0.00"},
        {"infinity",                             std::numeric_limits<double>::infinity(), "Infinity"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(FormatReadout(c.value), c.text) << c.what;
}

TEST(FormatInteger, PlainDecimal)
{
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(-32768), "-32768");
    EXPECT_EQ(FormatInteger(-9223372036854775807LL - 1), "-9223372036854775808");
}

TEST(IsWholeNumber, AcceptsOneNumberWithBlanksAroundIt)
{
    // clang-format off
    const struct {
        const char* what;
        const char* text;
        bool whole;
    } cases[] = {
        {"an integer",                         "0", true},
        {"a decimal",                          "1.5", true},
        {"blanks around",                      " 1.5 ", true},
        {"tabs around a negative",             "\t-2\t", true},
        {"a plus sign",                        "+3", true},
        {"nothing after the point",            "12.", true},
        {"nothing before the point",           ".5", true},
        {"an exponent with a sign",            "-0.25e+2", true},
        {"a capital E",                        "1E3", true},
        {"a negative exponent, a blank after", "1e-3 ", true},
        {"empty",                              "", false},
        {"a blank alone",                      " ", false},
        {"letters",                            "abc", false},
        {"letters after a number",             "2.5m", false},
        {"a blank between digits",             "1 000", false},
        {"an exponent's letter alone",         "1e", false},
        {"an exponent's letter and sign alone", "1e+", false},
        {"a point alone",                      ".", false},
        {"a sign alone",                       "-", false},
        {"no digit at all",                    "+.e1", false},
        {"two points",                         "1.2.3", false},
        {"two signs",                          "--1", false},
        {"full-width digits",                  "１.５", false},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(IsWholeNumber(c.text), c.whole) << c.what;
}

TEST(TypedNumber, FullWidthFormsOfAnInputMethodReadAsTheirAsciiForms)
{
    // clang-format off
    const struct { const char* typed; const char* text; double value; } cases[] = {
        {"５．５",            "5.5",      5.5},
        {"－１．２",          "-1.2",     -1.2},
        {"\u22123",          "-3",       -3},
        {"＋１２３４５６７８９０", "+1234567890", 1234567890},
        {"１，２５",          "1.25",     1.25},
        {"２Ｅ３",            "2E3",      2000},
        {"２ｅ－３",          "2e-3",     0.002},
        {"　 ７ 　",          "7",        7},
        {"5.5m",              "5.5m",     5.5},
        {"あ５",              "あ5",      0},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(TypedNumber(c.typed), c.text) << c.typed;
        EXPECT_EQ(ReadTypedReal(c.typed), c.value) << c.typed;
    }
    // Leaving a box shows a typed number in the "0.000" format, other text as typed.
    EXPECT_EQ(ReformatWholeNumber("－１．２"), "-1.200");
    EXPECT_EQ(ReformatWholeNumber("５ｍ"), "５ｍ");
}

TEST(ReformatWholeNumber, OnlyWholeNumbersThatARealHolds)
{
    EXPECT_EQ(ReformatWholeNumber(" 1.5 "), "1.500");
    EXPECT_EQ(ReformatWholeNumber("2.5m"), "2.5m");
    EXPECT_EQ(ReformatWholeNumber(""), "");
    EXPECT_EQ(ReformatWholeNumber("1e999"), "1e999");
}

}  // namespace
}  // namespace chokusho
