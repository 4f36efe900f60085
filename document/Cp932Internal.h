#pragma once

// The rules of cp932 that every platform's conversion shares (Cp932.cpp), and the conversion each
// platform makes with its own table (Cp932Posix.cpp with glibc's iconv, Cp932Win32.cpp with the
// Windows API; the build takes one). Every stretch of text that the program writes must read
// back the same on every platform, so both share the rules about which bytes are damaged, how
// far a damaged character reaches and which characters the lone bytes outside the table stand
// for; only the table look-up itself is left to the system. Only those files include this.

#include <cstddef>
#include <string>
#include <string_view>

namespace chokusho::cp932 {

inline constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

/**
 * How many bytes at the front of `bytes` make one character in the shape cp932 allows (1 or 2),
 * or 0 for a lead byte without a trail byte. Whether the code is actually assigned is the
 * table's business.
 */
std::size_t Cp932Shape(std::string_view bytes);

/**
 * How many bytes a character that the table rejects takes with it. A pair whose trail byte is
 * ASCII gives up only its lead byte, so that a damaged byte in front of a delimiter such as
 * "@" or "\" does not swallow the delimiter as well.
 */
std::size_t RejectedLength(std::string_view bytes);

/**
 * The characters Windows reads from the single bytes 0x80, 0xA0 and 0xFD..0xFF, and writes as
 * them. glibc's table has no code for them either way, and on Windows too they are put in here
 * rather than left to the system, so that the two platforms rest on one definition.
 */
struct SingleByteCharacter {
    char byte;
    char32_t codePoint;
    std::string_view utf8;
};

/** The single-byte character of `byte`, or nullptr when the byte is none of them. */
const SingleByteCharacter* FindSingleByte(char byte);
/** The single-byte character that stands for `codePoint`, or nullptr. */
const SingleByteCharacter* FindSingleByteCharacter(char32_t codePoint);

/**
 * Length of the well-formed UTF-8 sequence at the front of `utf8` and its code point, or 0 when
 * the first byte does not start one (overlong forms, surrogates and values past U+10FFFF are
 * not well formed).
 */
std::size_t DecodeUtf8(std::string_view utf8, char32_t& codePoint);

// Each platform's part defines the two below, for text that is not all ASCII.

/** DecodeCp932 through the system's table. */
std::string SystemDecode(std::string_view bytes);
/** EncodeCp932 through the system's table. */
std::string SystemEncode(std::string_view utf8);

}  // namespace chokusho::cp932
