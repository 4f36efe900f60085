#include "Numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

namespace chokusho {
namespace {

TEST(ReadReal, LenientText)
{
    const std::string zeros(10'000, '0');
    // 2^53 + 1 lies halfway between two doubles: it goes to the even one unless a digit,
    // however far out, tips it over.
    const std::string halfway = "9007199254740993";
    const struct {
        std::string text;
        std::optional<double> expected;
    } cases[] = {
        {"", 0.0},
        {"abc", 0.0},
        {"-", 0.0},
        {".", 0.0},
        {"+.e5", 0.0},
        {"--1", 0.0},
        {"1.5abc", 1.5},
        {" - 1 2 . 5 ", -12.5},
        {"\t3\n.25", 3.25},
        {".5", 0.5},
        {"5.", 5.0},
        {"+7", 7.0},
        {"1.2.3", 1.2},
        {"1,5", 1.0},
        {"0.1", 0.1},
        {"1\r2", 1.0},  // a carriage return ends the number
        {"1 e 3", 1000.0},
        {"1E-2", 0.01},
        {"2e + 2", 200.0},
        {"1e", 1.0},
        {"1e+", 1.0},
        {"1e-x", 1.0},
        {"1ee3", 1.0},
        {"1e999", std::nullopt},
        {"-1e400", std::nullopt},
        {"1" + std::string(400, '0'), std::nullopt},
        {"1e99999999999999999999999", std::nullopt},
        {"1.7976931348623159e308", std::nullopt},
        {"1.7976931348623157e308", DBL_MAX},
        {"4e-324", 4.9406564584124654e-324},
        {"1e-310", 1e-310},
        {"1e-400", 0.0},
        {"-2e-324", 0.0},
        {"0e999999", 0.0},
        {"1e-99999999999999999999999", 0.0},
        {zeros + "1", 1.0},
        {"0." + zeros + "1e10001", 1.0},
        {"0." + zeros + "1", 0.0},
        {"-" + zeros + "12.5" + zeros, -12.5},
        {halfway, 9007199254740992.0},
        {halfway + "." + zeros, 9007199254740992.0},
        {halfway + "." + zeros + "1", 9007199254740994.0},
        {halfway + zeros + "1e-10001", 9007199254740994.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.text.substr(0, 40) + "\"");
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

TEST(ReadInteger, RoundsHalvesToEvenWithinSixteenBits)
{
    const struct {
        const char* text;
        std::optional<std::int16_t> expected;
    } cases[] = {
        {"0.5", 0},
        {"1.5", 2},
        {"2.5", 2},
        {"3.5", 4},
        {"-0.5", 0},
        {"-1.5", -2},
        {"-2.5", -2},
        {"2.5000000001", 3},
        {"0.49999999999999994", 0},
        {"-1.6", -2},
        {"1 2 3", 123},
        {"abc", 0},
        {"32767.4", 32767},
        {"32767.5", std::nullopt},
        {"-32768.5", -32768},
        {"-32768.51", std::nullopt},
        {"4503599627370497", std::nullopt},
        {"1e999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadInteger(c.text), c.expected) << c.text;
}

TEST(FormatFixed, RoundsHalfAwayOnFifteenDigits)
{
    const struct {
        double value;
        int decimals;
        std::string expected;
    } cases[] = {
        {1.2345, 3, "1.235"},
        {2.3456, 3, "2.346"},
        {1.5, 3, "1.500"},
        {1.005, 2, "1.01"},
        {0.15, 1, "0.2"},
        {-0.25, 1, "-0.3"},
        {123456789.0125, 3, "123456789.013"},
        {0.1 + 0.2, 15, "0.300000000000000"},
        {2.0 / 3.0, 15, "0.666666666666667"},
        {9.9995, 3, "10.000"},
        {-999.9996, 3, "-1000.000"},
        {0.0005, 3, "0.001"},
        {-0.0005, 3, "-0.001"},
        {-0.0004, 3, "0.000"},
        {-0.0, 3, "0.000"},
        {-1e-20, 3, "0.000"},
        {5e-324, 15, "0.000000000000000"},
        {0.5, 0, "1"},
        {-0.5, 0, "-1"},
        {-0.4, 0, "0"},
        {0.05, 1, "0.1"},
        {1.5, 99, "1.500000000000000"},
        {1.5, -3, "2"},
        {1e20, 3, "100000000000000000000.000"},
        {12345678901234567890.0, 2, "12345678901234600000.00"},
        {1e300, 3, "1" + std::string(300, '0') + ".000"},
        // The largest values are written as the largest 15-digit value below them, which reads back.
        {-DBL_MAX, 0, "-179769313486231" + std::string(294, '0')},
        {std::nan(""), 3, "NaN"},
        {HUGE_VAL, 3, "Infinity"},
        {-HUGE_VAL, 3, "-Infinity"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected) << c.value << " with " << c.decimals;
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
    const std::pair<double, const char*> cases[] = {
        {12.346, "12.35"},       {-3.1, "-3.10"},           {0.004, "0.00"},
        {9999999999.994, "9999999999.99"},                  {1e10, "1.00E+10"},
        {-1.2345e15, "-1.23E+15"}, {1e308, "1.00E+308"},    {1e-300, "0.00"},
        {std::numeric_limits<double>::infinity(), "Infinity"},
    };
    // clang-format on
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatReadout(value), text) << value;
}

TEST(FormatInteger, PlainDecimal)
{
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(-32768), "-32768");
    EXPECT_EQ(FormatInteger(-9223372036854775807LL - 1), "-9223372036854775808");
}

TEST(IsWholeNumber, AcceptsOneNumberWithBlanksAroundIt)
{
    for (const char* text : {"0", "1.5", " 1.5 ", "\t-2\t", "+3", "12.", ".5", "-0.25e+2", "1E3", "1e-3 "})
        EXPECT_TRUE(IsWholeNumber(text)) << '"' << text << '"';
    for (const char* text : {"", " ", "abc", "2.5m", "1 000", "1e", "1e+", ".", "-", "+.e1", "1.2.3", "--1", "１.５"})
        EXPECT_FALSE(IsWholeNumber(text)) << '"' << text << '"';
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
