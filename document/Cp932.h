#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace chokusho {

/**
 * The Japanese code page 932 (Microsoft's Shift_JIS with the NEC and IBM extensions),
 * in which every file of the program is written. Text inside the program is UTF-8.
 */

/** Decodes cp932 bytes to UTF-8; bytes that do not decode become U+FFFD. */
[[nodiscard]] std::string DecodeCp932(std::string_view bytes);

/** Encodes UTF-8 to cp932; a character that cp932 cannot hold (or bad UTF-8) becomes "?". */
[[nodiscard]] std::string EncodeCp932(std::string_view utf8);

/**
 * The characters of `utf8` that cp932 has no code for, in order of appearance, each once, at
 * most `limit` of them: those EncodeCp932 would write as "?". Characters it writes as an
 * equivalent one (U+301C as ～, U+2212 as －) are not among them; a byte of bad UTF-8 counts as
 * U+FFFD.
 */
std::vector<std::string> UnencodableCharacters(std::string_view utf8, std::size_t limit);

/** True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF). */
bool IsValidUtf8(std::string_view text);

/** Width of `utf8` in cp932 bytes, the unit in which aligned lists count their columns. */
std::size_t Cp932Width(std::string_view utf8);

}  // namespace chokusho
