// cp932 on POSIX systems: glibc's iconv with Microsoft's table, "CP932", under the rules that
// Cp932.cpp shares with Windows.

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Cp932Internal.h"

namespace chokusho::cp932 {

namespace {

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

std::string SystemDecode(std::string_view bytes)
{
    std::string out;
    Convert(Cp932ToUtf8(), bytes, out, bytes.size() * 2, RejectCp932);
    return out;
}

std::string SystemEncode(std::string_view utf8)
{
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

}  // namespace chokusho::cp932
