// The scales of a drawing: the standard one a fitted section needs, its text, and what a user may type.

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "Scale.h"

namespace chokusho {
namespace {

TEST(Scale, TheStandardScaleIsTheLargestOfTheSeriesThatMeetsTheNeed)
{
    constexpr double kMax = std::numeric_limits<double>::max();
    const std::pair<double, double> cases[] = {
        {0, 1},        {1, 1},          {1.2, 1.5},     {2.5, 2.5},      {13.95, 15},  {40.0000000001, 40},
        {60.5, 100},   {999, 1000},     {1000.5, 1500}, {6001, 10000},   {2.1e5, 2.5e5},
        {1.7e308, kMax}, {std::numeric_limits<double>::infinity(), kMax},
    };
    for (const auto& [needed, scale] : cases)
        EXPECT_EQ(StandardScale(needed), scale) << needed;
}

TEST(Scale, TheTextIsTheScaleDrawn)
{
    const std::pair<double, const char*> cases[] = {
        {50, "1:50"}, {1.5, "1:1.5"}, {2.5, "1:2.5"}, {37.5, "1:37.5"}, {1000, "1:1000"}, {15000, "1:15000"},
        {1.7976931348623157e308, "1:1.80E+308"},
    };
    for (const auto& [scale, text] : cases)
        EXPECT_EQ(ScaleText(scale), text);
}

TEST(Scale, AUserNamesAScaleFromOneToAThousandWithOneDecimalAtMost)
{
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"1:30", 30},        {"30", 30},        {"1:1.5", 1.5},    {" 1 : 37.5 ", 37.5}, {"１：４０", 40},
        {"1:1000", 1000},    {"1:1", 1},        {"1:0.5", {}},     {"1:1001", {}},       {"1:12.34", {}},
        {"2:50", {}},        {"fit", {}},       {"", {}},          {"1:", {}},           {"1:1e2", {}},
        {"-50", {}},         {"1:50x", {}},     {"1:.5", {}},      {"1:5.", {}},
    };
    for (const auto& [text, scale] : cases)
        EXPECT_EQ(ReadScale(text), scale) << text;
}

}  // namespace
}  // namespace chokusho
