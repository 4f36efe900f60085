// cp932 on Windows: the Windows API with code page 932, under the rules that Cp932.cpp shares with
// glibc's iconv.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Cp932Internal.h"

namespace chokusho::cp932 {

namespace {

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

std::string SystemDecode(std::string_view bytes)
{
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
            out += single != nullptr ? single->utf8 : kReplacementUtf8;
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

std::string SystemEncode(std::string_view utf8)
{
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

}  // namespace chokusho::cp932
