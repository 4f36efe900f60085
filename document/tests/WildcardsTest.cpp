#include "Wildcards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace chokusho {
namespace {

TEST(Wildcards, ANameFitsAPatternAsWindowsFitsIt)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool fits;
    };
    // clang-format off
    const Case cases[] = {
        {"*.csv", "ソ表.csv", true},
        {"*.csv", "A.CSV", true},               // letters in either case
        {"ＡＢ*.csv", "ａｂ-1.csv", true},       // full-width letters too
        {"*.csv", "A.csv.bak", false},
        {"*.csv", ".csv", true},                // "*" stands for none as well
        {"?.csv", "ブ.csv", true},              // "?" is one character, not one byte
        {"?.csv", "ブロ.csv", false},
        {"*-*-1.csv", "a-b-c-1.csv", true},     // a "*" goes back when what follows does not fit
        {"a*b*c", "aXbYbZ", false},
        {"*", "", true},
        {"[1].csv", "1.csv", false},            // brackets are characters of a Windows name
        {"[1].csv", "[1].csv", true},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatches(c.pattern, c.name), c.fits) << c.pattern << " " << c.name;
}

TEST(Wildcards, OnlyTheFileNamePartIsAPattern)
{
    EXPECT_TRUE(HasWildcard("ブロック\\*.csv"));
    EXPECT_TRUE(HasWildcard("C:?.csv"));
    EXPECT_FALSE(HasWildcard("a*b\\c.csv"));
    EXPECT_FALSE(HasWildcard("a?/c.csv"));
    EXPECT_EQ(FileNamePartStart("ブロック\\x/*.csv"), std::string("ブロック\\x/").size());
    EXPECT_EQ(FileNamePartStart("C:*.csv"), 2u);
}

TEST(Wildcards, TheMatchingNamesComeInThePickersOrder)
{
    const std::vector<std::string> names{"b-10.csv", "B-2.csv", "a.txt", "ソ表.csv", "A-1.CSV"};
    EXPECT_EQ(MatchingNames("*.csv", names), (std::vector<std::string>{"A-1.CSV", "B-2.csv", "b-10.csv", "ソ表.csv"}));
    EXPECT_TRUE(MatchingNames("*.dxf", names).empty());
}

}  // namespace
}  // namespace chokusho
