#include "FileNames.h"

#include "Cp932.h"

namespace chokusho {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

/** The digit run of `text` from `pos` on, without its leading zeros; `pos` moves past the run. */
std::string_view DigitRun(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    std::string_view run = text.substr(start, pos - start);
    while (run.size() > 1 && run.front() == '0')
        run.remove_prefix(1);
    return run;
}

/** <0, 0 or >0 as `a` comes before, with or after `b` in the natural order. */
int NaturalCompare(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view x = DigitRun(a, i);
            const std::string_view y = DigitRun(b, j);
            // Without leading zeros, the longer run is the larger number.
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y); c != 0)
                return c;
            continue;
        }
        const auto x = static_cast<unsigned char>(FoldAscii(a[i]));
        const auto y = static_cast<unsigned char>(FoldAscii(b[j]));
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

}  // namespace

std::string DisplayFileName(std::string_view name)
{
    if (IsValidUtf8(name))
        return std::string(name);
    return DecodeCp932(name);
}

bool NaturalLess(std::string_view a, std::string_view b)
{
    if (const int c = NaturalCompare(a, b); c != 0)
        return c < 0;
    return a < b;
}

}  // namespace chokusho
