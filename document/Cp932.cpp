#include "Cp932.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace chokusho {

namespace {

// Every stretch of text that the program writes must read back the same on every platform, so
// both the glibc and the Windows paths share the rules below about which bytes are damaged, how
// far a damaged character reaches and which characters the lone bytes outside the table stand
// for; only the table look-up itself is left to the system.

constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";  // U+FFFD

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

/**
 * How many bytes at the front of `bytes` make one character in the shape cp932 allows (1 or 2),
 * or 0 for a lead byte without a trail byte. Whether the code is actually assigned is the
 * table's business.
 */
std::size_t Cp932Shape(std::string_view bytes)
{
    const auto b = static_cast<unsigned char>(bytes[0]);
    if (!IsLeadByte(b))
        return 1;
    if (bytes.size() >= 2 && IsTrailByte(static_cast<unsigned char>(bytes[1])))
        return 2;
    return 0;
}

/**
 * How many bytes a character that the table rejects takes with it. A pair whose trail byte is
 * ASCII gives up only its lead byte, so that a damaged byte in front of a delimiter such as
 * "@" or "\" does not swallow the delimiter as well.
 */
std::size_t RejectedLength(std::string_view bytes)
{
    if (Cp932Shape(bytes) == 2 && static_cast<unsigned char>(bytes[1]) >= 0x80)
        return 2;
    return 1;
}

/**
 * The characters Windows reads from the single bytes 0x80, 0xA0 and 0xFD..0xFF, and writes as
 * them. glibc's table has no code for them either way, and on Windows too they are put in here
 * rather than left to the system, so that the two paths rest on one definition.
 */
struct SingleByteCharacter {
    char byte;
    char32_t codePoint;
    std::string_view utf8;
};
// clang-format off
constexpr SingleByteCharacter kSingleByteCharacters[] = {
    {'\x80', 0x0080, "\xC2\x80"},
    {'\xA0', 0xF8F0, "\xEF\xA3\xB0"},
    {'\xFD', 0xF8F1, "\xEF\xA3\xB1"},
    {'\xFE', 0xF8F2, "\xEF\xA3\xB2"},
    {'\xFF', 0xF8F3, "\xEF\xA3\xB3"},
};
// clang-format on

const SingleByteCharacter* FindSingleByte(char byte)
{
    for (const SingleByteCharacter& c : kSingleByteCharacters) {
        if (c.byte == byte)
            return &c;
    }
    return nullptr;
}

const SingleByteCharacter* FindSingleByteCharacter(char32_t codePoint)
{
    for (const SingleByteCharacter& c : kSingleByteCharacters) {
        if (c.codePoint == codePoint)
            return &c;
    }
    return nullptr;
}

/**
 * Length of the well-formed UTF-8 sequence at the front of `utf8` and its code point, or 0 when
 * the first byte does not start one (overlong forms, surrogates and values past U+10FFFF are
 * not well formed).
 */
std::size_t DecodeUtf8(std::string_view utf8, char32_t& codePoint)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char b0 = at(0);
    if (b0 < 0x80) {
        codePoint = b0;
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0)
            low = 0xA0;
        else if (b0 == 0xED)
            high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0)
            low = 0x90;
        else if (b0 == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (utf8.size() < length)
        return 0;
    if (at(1) < low || at(1) > high)
        return 0;
    char32_t value = b0 & (0xFFu >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if (i > 1 && (at(i) < 0x80 || at(i) > 0xBF))
            return 0;
        value = (value << 6) | (at(i) & 0x3Fu);
    }
    codePoint = value;
    return length;
}

#ifndef _WIN32

/** One iconv descriptor per thread and direction: opening one costs far more than a short conversion. */
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == Invalid())
            throw std::runtime_error(std::string("the C library cannot convert from ") + from + " to " + to +
                                     " (are its gconv modules installed?)");
    }
    ~IconvHandle() { iconv_close(cd_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    /** The descriptor in its initial state: a conversion cut short must not leak into the next. */
    iconv_t fresh()
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

private:
    static iconv_t Invalid() { return reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }
    iconv_t cd_;
};

iconv_t Cp932ToUtf8()
{
    // glibc's "SHIFT_JIS" follows JIS X 0208 (0x8160 is U+301C, no NEC or IBM rows); "CP932" is
    // Microsoft's table, which is what the files are written in.
    thread_local IconvHandle handle("UTF-8", "CP932");
    return handle.fresh();
}

iconv_t Utf8ToCp932()
{
    thread_local IconvHandle handle("CP932", "UTF-8");
    return handle.fresh();
}

/**
 * Where the first Unicode tag character (U+E0000..U+E007F) starts in `utf8`, or npos. glibc's
 * converters drop these without a word, where they stop at every other character that the
 * target cannot hold; a dropped character would leave no "?" to show that text was lost.
 */
std::size_t FindTagCharacter(std::string_view utf8)
{
    // All of them, and nothing else, start with 0xF3 0xA0 0x80 or 0xF3 0xA0 0x81.
    for (std::size_t at = utf8.find('\xF3'); at != std::string_view::npos; at = utf8.find('\xF3', at + 1)) {
        char32_t c = 0;
        if (DecodeUtf8(utf8.substr(at), c) == 4 && c >= 0xE0000 && c <= 0xE007F)
            return at;
    }
    return std::string_view::npos;
}

/** What stands in for a sequence that iconv refused, and how many input bytes it covers. */
struct Rejection {
    std::string_view standIn;
    std::size_t skip;
};

/**
 * Runs `cd` over all of `input`, appending to `out`; where iconv stops at a sequence it cannot
 * convert, `reject(rest)` says what to write instead and how far to move on.
 */
template <typename Reject>
void Convert(iconv_t cd, std::string_view input, std::string& out, std::size_t expectedSize, Reject reject)
{
    std::size_t used = out.size();
    out.resize(used + std::max(expectedSize, std::size_t{16}));
    // iconv's interface is not const-correct; it only reads the input.
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        used = static_cast<std::size_t>(outPtr - out.data());
        if (result != static_cast<std::size_t>(-1))
            break;
        if (error == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ, or EINVAL for a sequence cut off by the end of the text: both are damage that
        // `reject` measures, and it always moves on by at least one byte.
        const Rejection rejection = reject(std::string_view(in, inLeft));
        if (out.size() - used < rejection.standIn.size())
            out.resize(out.size() * 2);
        out.replace(used, rejection.standIn.size(), rejection.standIn);
        used += rejection.standIn.size();
        const std::size_t skip = std::clamp<std::size_t>(rejection.skip, 1, inLeft);
        in += skip;
        inLeft -= skip;
    }
    out.resize(used);
}

Rejection RejectCp932(std::string_view rest)
{
    if (const SingleByteCharacter* single = FindSingleByte(rest[0]))
        return Rejection{single->utf8, 1};
    return Rejection{kReplacementUtf8, RejectedLength(rest)};
}

Rejection RejectUtf8(std::string_view rest)
{
    char32_t c = 0;
    const std::size_t length = DecodeUtf8(rest, c);
    if (length != 0) {
        if (const SingleByteCharacter* single = FindSingleByteCharacter(c))
            return Rejection{std::string_view(&single->byte, 1), length};
    }
    // One "?" for a character, and one for each byte of bad UTF-8 (length 0 moves on by one).
    return Rejection{"?", length};
}

}  // namespace

std::string DecodeCp932(std::string_view bytes)
{
    if (IsAscii(bytes))
        return std::string(bytes);
    std::string out;
    Convert(Cp932ToUtf8(), bytes, out, bytes.size() * 2, RejectCp932);
    return out;
}

std::string EncodeCp932(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (;;) {
        const std::size_t tag = FindTagCharacter(utf8);
        // No character takes more bytes in cp932 than in UTF-8, so the first buffer is enough.
        const std::string_view run = utf8.substr(0, tag);
        if (!run.empty())
            Convert(Utf8ToCp932(), run, out, run.size(), RejectUtf8);
        if (tag == std::string_view::npos)
            break;
        out += '?';
        utf8.remove_prefix(tag + 4);
    }
    return out;
}

#else  // _WIN32

constexpr UINT kCodePage = 932;
// Keeps every call within the int counts of the Windows conversion functions.
constexpr std::size_t kMaxRun = std::size_t{1} << 20;

void RequireCodePage()
{
    static const bool available = IsValidCodePage(kCodePage) != 0;
    if (!available)
        throw std::runtime_error("code page 932 is not installed");
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::string& out, const wchar_t* text, int count)
{
    for (int i = 0; i < count; ++i) {
        char32_t c = static_cast<char16_t>(text[i]);
        // cp932 holds nothing outside the BMP, but a pair is still joined rather than split.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            out += kReplacementUtf8;
        else
            AppendUtf8(out, c);
    }
}

/**
 * Appends the characters of `run`, whose shape is already checked. The whole run goes to the
 * table at once; only when the table rejects a code in it is the run taken apart.
 */
void DecodeRun(std::string& out, std::string_view run, std::wstring& wide)
{
    if (run.empty())
        return;
    const int size = static_cast<int>(run.size());
    const int count = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, run.data(), size, nullptr, 0);
    if (count > 0) {
        wide.resize(static_cast<std::size_t>(count));
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, run.data(), size, wide.data(), count);
        AppendUtf16(out, wide.data(), count);
        return;
    }
    std::size_t i = 0;
    while (i < run.size()) {
        const std::string_view rest = run.substr(i);
        const std::size_t length = std::max<std::size_t>(Cp932Shape(rest), 1);
        wchar_t buffer[2];
        const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, rest.data(), static_cast<int>(length),
                                          buffer, 2);
        if (n > 0) {
            AppendUtf16(out, buffer, n);
            i += length;
        } else {
            out += kReplacementUtf8;
            i += RejectedLength(rest);
        }
    }
}

/**
 * The character Windows is asked to write for `c`. glibc writes a few look-alikes with the
 * code of their cp932 counterpart (U+301C as 0x8160, U+00A5 as 0x5C, ...); Windows is made to
 * do the same, so that the bytes of a file do not depend on where it was saved.
 */
wchar_t WindowsCharacter(char32_t c)
{
    switch (c) {
    case 0x00A2: return static_cast<wchar_t>(0xFFE0);
    case 0x00A3: return static_cast<wchar_t>(0xFFE1);
    case 0x00A5: return L'\\';
    case 0x00AC: return static_cast<wchar_t>(0xFFE2);
    case 0x2014: return static_cast<wchar_t>(0x2015);
    case 0x2016: return static_cast<wchar_t>(0x2225);
    case 0x203E: return L'~';
    case 0x2212: return static_cast<wchar_t>(0xFF0D);
    case 0x301C: return static_cast<wchar_t>(0xFF5E);
    default: break;
    }
    return c > 0xFFFF ? L'?' : static_cast<wchar_t>(c);
}

void EncodeRun(std::string& out, const std::wstring& wide)
{
    if (wide.empty())
        return;
    // Without WC_NO_BEST_FIT_CHARS Windows would write "e" for "é" and similar guesses that
    // glibc does not make.
    const int size = static_cast<int>(wide.size());
    const int count = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, "?", nullptr);
    if (count <= 0)
        throw std::runtime_error("code page 932 conversion failed");
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(count));
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data() + at, count, "?", nullptr);
}

}  // namespace

std::string DecodeCp932(std::string_view bytes)
{
    if (IsAscii(bytes))
        return std::string(bytes);
    RequireCodePage();
    std::string out;
    out.reserve(bytes.size() * 2);
    std::wstring wide;
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = Cp932Shape(bytes.substr(i));
        const SingleByteCharacter* single = FindSingleByte(bytes[i]);
        if (length == 0 || single != nullptr) {
            // Both end the run: a lead byte without its trail byte is damage whatever follows it
            // (and left in the run would have the table refuse all of it), and the single-byte
            // characters come from the shared table.
            DecodeRun(out, bytes.substr(runStart, i - runStart), wide);
            out += single != nullptr ? single->utf8 : std::string_view(kReplacementUtf8);
            runStart = ++i;
            continue;
        }
        i += length;
        if (i - runStart >= kMaxRun) {
            DecodeRun(out, bytes.substr(runStart, i - runStart), wide);
            runStart = i;
        }
    }
    DecodeRun(out, bytes.substr(runStart), wide);
    return out;
}

std::string EncodeCp932(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    RequireCodePage();
    std::string out;
    out.reserve(utf8.size());
    std::wstring wide;
    wide.reserve(std::min(utf8.size(), kMaxRun));
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(utf8.substr(i), c);
        if (const SingleByteCharacter* single = length == 0 ? nullptr : FindSingleByteCharacter(c)) {
            EncodeRun(out, wide);
            wide.clear();
            out += single->byte;
            i += length;
            continue;
        }
        // Bad UTF-8 costs one "?" per byte, as on Linux.
        wide += length == 0 ? L'?' : WindowsCharacter(c);
        i += length == 0 ? 1 : length;
        if (wide.size() >= kMaxRun) {
            EncodeRun(out, wide);
            wide.clear();
        }
    }
    EncodeRun(out, wide);
    return out;
}

#endif  // _WIN32

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        char32_t ignored = 0;
        const std::size_t length = DecodeUtf8(text.substr(i), ignored);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::vector<std::string> UnencodableCharacters(std::string_view utf8, std::size_t limit)
{
    std::vector<std::string> found;
    // Text that encodes without a new "?" holds none: one conversion answers the usual case.
    const auto questionMarks = [](std::string_view text) { return std::count(text.begin(), text.end(), '?'); };
    if (IsAscii(utf8) || questionMarks(EncodeCp932(utf8)) == questionMarks(utf8))
        return found;
    for (std::size_t i = 0; i < utf8.size() && found.size() < limit;) {
        char32_t ignored = 0;
        const std::size_t length = DecodeUtf8(utf8.substr(i), ignored);
        const std::string character = length == 0 ? std::string(kReplacementUtf8) : std::string(utf8.substr(i, length));
        i += std::max<std::size_t>(length, 1);
        if (character.size() == 1 || EncodeCp932(character) != "?")
            continue;
        if (std::find(found.begin(), found.end(), character) == found.end())
            found.push_back(character);
    }
    return found;
}

std::size_t Cp932Width(std::string_view utf8)
{
    if (IsAscii(utf8))
        return utf8.size();
    return EncodeCp932(utf8).size();
}

}  // namespace chokusho
