#include "FileNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Cp932.h"

namespace chokusho {
namespace {

TEST(FileNames, ANameThatIsNotUtf8IsShownAsCp932)
{
    struct Case {
        const char* what;
        std::string name;
        std::string shown;
    };
    // clang-format off
    const Case cases[] = {
        {"ASCII", "A-40", "A-40"},
        {"UTF-8 stays as it is", "護岸ブロック", "護岸ブロック"},
        {"Shift_JIS bytes from a Windows disk", "\x8C\xEC\x8A\xDD", "護岸"},
        {"half-width katakana in Shift_JIS", "\xB9\xB0\xBF\xDD", "ｹｰｿﾝ"},
        {"a byte neither reads", "A\x81", "A\xEF\xBF\xBD"},
        {"an overlong UTF-8 slash is no UTF-8 but katakana", "\xC0\xAF", "ﾀｯ"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(DisplayFileName(c.name), c.shown) << c.what;
        EXPECT_TRUE(IsValidUtf8(DisplayFileName(c.name))) << c.what;
    }
}

TEST(FileNames, Utf8IsCheckedForWellFormedness)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));  // beyond the BMP
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "a surrogate";
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")) << "past U+10FFFF";
    EXPECT_FALSE(IsValidUtf8("\xE3\x81")) << "cut short";
    EXPECT_FALSE(IsValidUtf8("\x80")) << "a lone continuation byte";
}

TEST(FileNames, FilesAreOrderedAsAWindowsUserSeesThem)
{
    std::vector<std::string> names = {"b",  "A-10", "a-2", "A-2", "C",    "x01", "x1", "x002",
                                      "10", "9",    "Z9a", "z10", "護岸", "ab",  "a"};
    std::sort(names.begin(), names.end(), NaturalLess);
    const std::vector<std::string> expected = {"9", "10",  "a",  "A-2",  "a-2", "A-10", "ab",  "b",
                                               "C", "x01", "x1", "x002", "Z9a", "z10",  "護岸"};
    EXPECT_EQ(names, expected);
}

TEST(FileNames, TheNaturalOrderIsStrict)
{
    const std::vector<std::string> names = {"a", "A", "a1", "a01", "a1b", "", "1", "01", "a-1", "a_1"};
    for (const auto& x : names) {
        EXPECT_FALSE(NaturalLess(x, x)) << x;
        for (const auto& y : names) {
            if (x != y) {
                EXPECT_NE(NaturalLess(x, y), NaturalLess(y, x)) << x << " / " << y;
            }
        }
    }
}

}  // namespace
}  // namespace chokusho
