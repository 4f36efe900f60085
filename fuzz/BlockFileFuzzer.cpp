// Feeds arbitrary bytes to the block file reader. Whatever it accepts must be a record the rest
// of the program can rely on, and must come back from the writer as the same block: the file is
// the only place a block lives between sessions.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "BlockFile.h"
#include "Cp932.h"
#include "DocumentInvariants.h"
#include "Numbers.h"
#include "ReferenceReader.h"

namespace chokusho {
namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "block file reader: %s\n", what);
    std::abort();
}

void Require(bool holds, const char* what)
{
    if (!holds)
        Fail(what);
}

/** The next code point of valid UTF-8 (the decoder only makes valid UTF-8); advances `at`. */
char32_t NextCodePoint(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(text[i])); };
    const char32_t lead = byte(at);
    std::size_t length = 1;
    char32_t value = lead;
    if (lead >= 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else if (lead >= 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xC0) {
        length = 2;
        value = lead & 0x1F;
    }
    Require(at + length <= text.size(), "a name is cut inside a character");
    for (std::size_t i = 1; i < length; ++i)
        value = (value << 6) | (byte(at + i) & 0x3F);
    at += length;
    return value;
}

/**
 * A name after one write and read: character for character the same, except for line breaks,
 * which the writer turns into blanks, and characters cp932 cannot hold, which become "?".
 */
void RequireNameKept(std::string_view before, std::string_view after)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < before.size() && j < after.size()) {
        const std::size_t start = i;
        const char32_t a = NextCodePoint(before, i);
        const char32_t b = NextCodePoint(after, j);
        if (a == b)
            continue;
        if ((a == U'\r' || a == U'\n') && b == U' ')
            continue;
        if (b == U'?' && EncodeCp932(before.substr(start, i - start)) == "?")
            continue;
        Fail("a name changed in a way the writer does not explain");
    }
    Require(i == before.size() && j == after.size(), "a name changed its length");
}

/** A real after one write and read: the value of its "0.000" text, which lies within the rounding. */
void RequireRealKept(double before, double after)
{
    const auto expected = ReadReal(Format000(before));
    Require(expected.has_value(), "a real was written as text that does not read back");
    Require(after == *expected, "a real read back other than its written text says");
    const double tolerance = 0.0005 * (1 + 1e-12) + std::fabs(before) * 1e-14;
    Require(std::fabs(after - before) <= tolerance, "a real moved by more than the format's rounding");
}

template <class Array>
void RequireRealsKept(const Array& before, const Array& after)
{
    for (std::size_t i = 0; i < before.size(); ++i)
        RequireRealKept(before[i], after[i]);
}

void RequireKept(const BlockData& first, const BlockData& second)
{
    RequireNameKept(first.Name, second.Name);
    RequireNameKept(first.Kind, second.Kind);
    for (const auto& [a, b] :
         {std::pair{first.B, second.B}, std::pair{first.L, second.L}, std::pair{first.H, second.H},
          std::pair{first.Gx, second.Gx}, std::pair{first.Gy, second.Gy}, std::pair{first.V, second.V}})
        RequireRealKept(a, b);
    RequireRealsKept(first.LayerH, second.LayerH);
    RequireRealsKept(first.LayerDV, second.LayerDV);
    RequireRealsKept(first.LayerV, second.LayerV);
    RequireRealsKept(first.LayerGx, second.LayerGx);
    RequireRealsKept(first.PointX, second.PointX);
    RequireRealsKept(first.PointY, second.PointY);

    Require(first.GxMode == second.GxMode, "GxMode changed");
    Require(first.LayerCount == second.LayerCount, "LayerCount changed");
    Require(first.PointCount == second.PointCount, "PointCount changed");
    Require(first.LineCount == second.LineCount, "LineCount changed");
    Require(first.LineStart == second.LineStart, "a segment's start changed");
    Require(first.LineEnd == second.LineEnd, "a segment's end changed");
    Require(first.LineKind == second.LineKind, "a segment's kind changed");
}

/**
 * The number readers' shortcuts for plain text must give what the general reading gives; a
 * leading blank, which that reading skips, keeps the text off the shortcuts.
 */
void RequireShortcutsAgree(std::string_view bytes)
{
    const std::string_view text = bytes.substr(0, std::min<std::size_t>(bytes.find_first_of(",\r"), 40));
    const std::string general = " " + std::string(text);
    Require(ReadReal(text) == ReadReal(general), "ReadReal's shortcut disagrees with its general reading");
    Require(ReadInteger(text) == ReadInteger(general), "ReadInteger's shortcut disagrees with its general reading");
}

}  // namespace
}  // namespace chokusho

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace chokusho;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RequireShortcutsAgree(bytes);

    BlockData first;
    const bool read = ParseBlockFile(first, bytes).ok();
    BlockData reference;
    Require(fuzz::ReferenceParse(reference, bytes) == read, "the reader and the plain reader disagree on success");
    Require(first == reference, "the reader and the plain reader read different records");
    if (!read)
        return 0;
    Require(CheckDocumentInvariants(first).empty(), "an accepted file breaks the document's rules");

    // The first write settles what the format cannot hold (unencodable characters, line breaks in
    // names, digits past the third decimal); from then on a write and a read change nothing.
    BlockData second;
    Require(ParseBlockFile(second, FormatBlockFile(first)).ok(),
            "the writer's file of an accepted record does not read");
    RequireKept(first, second);

    const std::string written = FormatBlockFile(second);
    BlockData third;
    Require(ParseBlockFile(third, written).ok(), "the writer's file of a written record does not read");
    Require(third == second, "a second write and read changed the record");
    Require(FormatBlockFile(third) == written, "a second write gave other bytes");
    return 0;
}
