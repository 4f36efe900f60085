#include "Cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace chokusho {
namespace {

using namespace std::string_literals;

const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD

struct Pair {
    const char* what;
    std::string cp932;
    std::string utf8;
};

// Where tables of Shift_JIS disagree, these follow Microsoft's, in which the files are written.
// clang-format off
const std::vector<Pair> kRoundTrips = {
    {"Microsoft's horizontal bar",                 "\x81\x5C", "\u2015"},
    {"Microsoft's full-width tilde",               "\x81\x60", "\uFF5E"},
    {"Microsoft's parallel sign",                  "\x81\x61", "\u2225"},
    {"Microsoft's full-width hyphen-minus",        "\x81\x7C", "\uFF0D"},
    {"Microsoft's full-width not sign",            "\x81\xCA", "\uFFE2"},
    {"an NEC special character",                   "\x87\x40", "①"},
    {"an NEC special character of a word",         "\x87\x8A", "㈱"},
    {"an IBM extension character",                 "\xFA\x40", "ⅰ"},
    {"an IBM extension kanji, backslash second",   "\xFA\x5C", "纊"},
    {"the user-defined area",                      "\xF0\x40", "\uE000"},
    {"backslash and tilde stay ASCII",             "\\~", "\\~"},
    {"ソ, backslash second",                       "\x83\x5C", "ソ"},
    {"表, backslash second",                       "\x95\x5C", "表"},
    {"能, backslash second",                       "\x94\x5C", "能"},
    {"half-width katakana",                        "\xCC\xA7\xB2\xD9", "ﾌｧｲﾙ"},
    {"half-width punctuation and sound mark",      "\xA1\xDF", "\uFF61\uFF9F"},
    {"the ideographic space",                      "\x81\x40", "\u3000"},
    {"a NUL byte inside",                          "a\0\x82\xA0"s, "a\0あ"s},
    {"a Windows path with ソ before a backslash",  "C:\\\x83\x5C\x83\x74\x83\x67\\a.txt", "C:\\ソフト\\a.txt"},
};
// clang-format on

TEST(Cp932, MicrosoftMappingsRoundTrip)
{
    for (const Pair& p : kRoundTrips) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(DecodeCp932(p.cp932), p.utf8);
        EXPECT_EQ(EncodeCp932(p.utf8), p.cp932);
        EXPECT_EQ(Cp932Width(p.utf8), p.cp932.size());
    }
}

TEST(Cp932, RepeatedAndLookAlikeCharactersGetTheFavouredCode)
{
    // {code read, character, code written}: the NEC-selected IBM rows and NEC row 13 repeat
    // characters found elsewhere, and text pasted from other systems carries look-alikes.
    // clang-format off
    const struct {
        const char* what;
        std::string read;
        std::string utf8;
        std::string written;
    } cases[] = {
        {"an NEC-selected IBM character",       "\xEE\xEF", "ⅰ", "\xFA\x40"},
        {"an NEC-selected IBM kanji",           "\xED\x40", "纊", "\xFA\x5C"},
        {"an NEC row 13 sign also in JIS",      "\x87\x90", "≒", "\x81\xE0"},
        {"an IBM character also in NEC row 13", "\xFA\x58", "㈱", "\x87\x8A"},
        {"another NEC row 13 sign",             "\x87\x9A", "∵", "\x81\xE6"},
        {"the wave dash",                       "", "\u301C", "\x81\x60"},
        {"the em dash",                         "", "\u2014", "\x81\x5C"},
        {"the double vertical line",            "", "\u2016", "\x81\x61"},
        {"the minus sign",                      "", "\u2212", "\x81\x7C"},
        {"the cent sign",                       "", "¢", "\x81\x91"},
        {"the not sign",                        "", "¬", "\x81\xCA"},
        {"the yen sign",                        "", "¥", "\\"},
        {"the overline",                        "", "\u203E", "~"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.read.empty()) {
            EXPECT_EQ(DecodeCp932(c.read), c.utf8);
        }
        EXPECT_EQ(EncodeCp932(c.utf8), c.written);
    }
}

TEST(Cp932, LoneBytesOutsideTheTableAreCharactersAsOnWindows)
{
    const struct {
        const char* what;
        std::string byte;
        std::string utf8;
    } cases[] = {
        {"0x80", "\x80", "\u0080"}, {"0xA0", "\xA0", "\uF8F0"}, {"0xFD", "\xFD", "\uF8F1"},
        {"0xFE", "\xFE", "\uF8F2"}, {"0xFF", "\xFF", "\uF8F3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeCp932(c.byte), c.utf8);
        EXPECT_EQ(EncodeCp932(c.utf8), c.byte);
        EXPECT_EQ(Cp932Width(c.utf8), 1u);
        // Between a double-byte character and ASCII, and twice over.
        EXPECT_EQ(DecodeCp932("\x82\xA0" + c.byte + "A"), "あ" + c.utf8 + "A");
        EXPECT_EQ(EncodeCp932("あ" + c.utf8 + "A"), "\x82\xA0" + c.byte + "A");
        EXPECT_EQ(Cp932Width("あ" + c.utf8 + "A"), 4u);
        EXPECT_EQ(DecodeCp932(c.byte + c.byte + "\xB1"), c.utf8 + c.utf8 + "ｱ");
        EXPECT_EQ(EncodeCp932(c.utf8 + c.utf8 + "ｱ"), c.byte + c.byte + "\xB1");
    }
    // 0x80 and 0xA0 are trail bytes too: behind a lead byte they are the second half of a pair.
    EXPECT_EQ(DecodeCp932("\x81\x80\x81\xA0"), "÷□");
    EXPECT_EQ(EncodeCp932("÷□"), "\x81\x80\x81\xA0");
}

TEST(Cp932, EverySingleByteThatDecodesRoundTrips)
{
    int characters = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = DecodeCp932(byte);
        if (utf8 == kBad)
            continue;  // a lead byte without its trail byte
        ++characters;
        EXPECT_EQ(EncodeCp932(utf8), byte) << "byte " << b;
    }
    // Only the 60 lead bytes (0x81..0x9F, 0xE0..0xFC) are not characters on their own.
    EXPECT_EQ(characters, 256 - 60);
}

TEST(Cp932, BadBytesDecodeToReplacementCharacters)
{
    // clang-format off
    const Pair cases[] = {
        {"a lead byte cut off at the end",                     "A\x81", "A" + kBad},
        {"a lead byte before a blank",                         "\x81\x20", kBad + " "},
        {"a lead byte before a line feed",                     "\x81\n", kBad + "\n"},
        {"0xFD is no trail byte but a character of its own",   "\x81\xFD", kBad + "\uF8F1"},
        {"an unassigned pair counts once",                     "\x85\x80\x82\xA0", kBad + "あ"},
        {"an ASCII trail byte survives",                       "\x85\x40", kBad + "@"},
        {"a backslash trail byte survives",                    "\x85\x5C" "a", kBad + "\\a"},
        {"an unassigned pair between characters",             "\x82\xA0\xEF\x80\x82\xA2", "あ" + kBad + "い"},
    };
    // clang-format on
    for (const Pair& p : cases) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(DecodeCp932(p.cp932), p.utf8);
    }
}

TEST(Cp932, UnencodableTextBecomesQuestionMarks)
{
    // clang-format off
    const Pair cases[] = {
        {"a Latin letter cp932 lacks",             "?", "é"},
        {"a character beyond the BMP",             "a?b", "a\U0001F600b"},
        {"a symbol cp932 lacks, before kana",      "?\x82\xA0", "\u2603あ"},
        {"UTF-8 cut off at the end",               "?", "\xC3"},
        {"UTF-8 cut off inside: a mark per byte",  "??A", "\xE3\x81" "A"},
        {"an overlong slash",                      "??", "\xC0\xAF"},
        {"a surrogate",                            "???", "\xED\xA0\x80"},
        {"past U+10FFFF",                          "????", "\xF4\x90\x80\x80"},
        {"lone bytes that are no UTF-8",           "?\x82\xA0?", "\x80あ\xFF"},
    };
    // clang-format on
    for (const Pair& p : cases) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(EncodeCp932(p.utf8), p.cp932);
        EXPECT_EQ(Cp932Width(p.utf8), p.cp932.size());
    }
}

TEST(Cp932, TagAndUnassignedCharactersBecomeOneQuestionMarkEach)
{
    const struct {
        const char* what;
        std::string utf8;
        std::string cp932;
    } cases[] = {
        {"first tag character", "\U000E0000", "?"},
        {"language tag", "a\U000E0001b", "a?b"},
        {"tag letter between kana", "あ\U000E0041い", "\x82\xA0?\x82\xA2"},
        {"last tag character", "\U000E007F", "?"},
        {"flag with a tag sequence", "\U0001F3F4\U000E0067\U000E0062\U000E0065\U000E006E\U000E0067\U000E007F",
         "???????"},
        {"tag after bad UTF-8", "\xE3\x81\U000E0020", "???"},
        {"tag cut off at the end", "\xF3\xA0\x80", "???"},
        {"after the tags", "\U000E0080", "?"},
        {"variation selector supplement", "\U000E0100", "?"},
        {"unassigned in the BMP", "\u0378", "?"},
        {"beside U+0080", "\u0081", "?"},
        {"beside U+F8F0..U+F8F3", "\uF8EF\uF8F4", "??"},
        {"byte-order mark", "a\uFEFFb", "a?b"},
        {"no-break space", "\u00A0", "?"},
        {"noncharacter", "\uFFFF", "?"},
        {"last code point", "\U0010FFFF", "?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EncodeCp932(c.utf8), c.cp932);
        EXPECT_EQ(Cp932Width(c.utf8), c.cp932.size());
    }
}

TEST(Cp932, NamesTheCharactersItHasNoCodeForEachOnce)
{
    using Found = std::vector<std::string>;
    EXPECT_EQ(UnencodableCharacters("𠮷野家", 10), Found{"𠮷"});
    EXPECT_EQ(UnencodableCharacters("A㎥D㎥é𠮷", 10), (Found{"㎥", "é", "𠮷"}));
    EXPECT_EQ(UnencodableCharacters("é㎥𠮷", 2), (Found{"é", "㎥"}));
    EXPECT_EQ(UnencodableCharacters("a?b", 10), Found{});
    // Written as their cp932 counterparts, which read back as ～ and －.
    EXPECT_EQ(UnencodableCharacters("〜−¥", 10), Found{});
    EXPECT_EQ(UnencodableCharacters("A\xFF", 10), Found{"\uFFFD"});
    EXPECT_EQ(UnencodableCharacters("\U000E0041", 10), Found{"\U000E0041"});
}

TEST(Cp932, LongTextGrowsTheBuffer)
{
    // Each half-width byte becomes three UTF-8 bytes, more than the first guess allows for.
    std::string bytes(100'000, '\xB1');
    std::string utf8;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        utf8 += "ｱ";
    EXPECT_EQ(DecodeCp932(bytes), utf8);
    EXPECT_EQ(DecodeCp932(bytes + "\x85\x80" + bytes), utf8 + kBad + utf8);
    // Damage and the characters put in where the table has none, met at every distance from the
    // end of the buffer.
    for (std::size_t k = 0; k < 100; ++k) {
        EXPECT_EQ(DecodeCp932(bytes.substr(0, k) + "\x85\x80\xB1"), utf8.substr(0, 3 * k) + kBad + "ｱ") << k;
        EXPECT_EQ(DecodeCp932(bytes.substr(0, k) + "\xFF\xB1"), utf8.substr(0, 3 * k) + "\uF8F3ｱ") << k;
        EXPECT_EQ(EncodeCp932(utf8.substr(0, 3 * k) + "\xFFé"), bytes.substr(0, k) + "??") << k;
        EXPECT_EQ(EncodeCp932(utf8.substr(0, 3 * k) + "\uF8F3\U000E0001é"), bytes.substr(0, k) + "\xFF??") << k;
    }
}

TEST(Cp932, ThreadsAndRepeatedCallsDoNotDisturbEachOther)
{
    // The descriptors are kept per thread and reused; a call that stopped at damage must not
    // leave anything behind for the next.
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (std::size_t t = 0; t < failures.size(); ++t) {
        threads.emplace_back([t, &failures] {
            for (std::size_t i = 0; i < 400; ++i) {
                const Pair& p = kRoundTrips[(i + t) % kRoundTrips.size()];
                if (DecodeCp932(p.cp932 + "\x81") != p.utf8 + kBad || EncodeCp932(p.utf8 + "\xE3") != p.cp932 + "?" ||
                    DecodeCp932(p.cp932) != p.utf8 || EncodeCp932(p.utf8) != p.cp932)
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace chokusho
