#include "Wildcards.h"

#include <algorithm>

#include "Cp932Internal.h"
#include "FileNames.h"

namespace chokusho {

namespace {

/** `text` as code points; a byte that starts no UTF-8 sequence stands for itself. */
std::u32string CodePoints(std::string_view text)
{
    std::u32string points;
    while (!text.empty()) {
        char32_t point = 0;
        std::size_t length = cp932::DecodeUtf8(text, point);
        if (length == 0) {
            point = static_cast<unsigned char>(text.front());
            length = 1;
        }
        points.push_back(point);
        text.remove_prefix(length);
    }
    return points;
}

char32_t Folded(char32_t point)
{
    if (point >= U'A' && point <= U'Z')
        return point - U'A' + U'a';
    if (point >= U'Ａ' && point <= U'Ｚ')
        return point - U'Ａ' + U'ａ';
    return point;
}

}  // namespace

std::size_t FileNamePartStart(std::string_view path)
{
    const std::size_t separator = path.find_last_of("/\\");
    if (separator != std::string_view::npos)
        return separator + 1;
    return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

bool HasWildcard(std::string_view path)
{
    return path.find_first_of("*?", FileNamePartStart(path)) != std::string_view::npos;
}

bool WildcardMatches(std::string_view pattern, std::string_view name)
{
    const std::u32string p = CodePoints(pattern);
    const std::u32string n = CodePoints(name);
    // The last "*" seen and where in the name its run would end next, to go back to when what
    // follows it does not fit.
    std::size_t i = 0, j = 0, star = std::u32string::npos, resume = 0;
    while (j < n.size()) {
        if (i < p.size() && p[i] == U'*') {
            star = i++;
            resume = j;
        } else if (i < p.size() && (p[i] == U'?' || Folded(p[i]) == Folded(n[j]))) {
            ++i;
            ++j;
        } else if (star != std::u32string::npos) {
            i = star + 1;
            j = ++resume;
        } else {
            return false;
        }
    }
    while (i < p.size() && p[i] == U'*')
        ++i;
    return i == p.size();
}

std::vector<std::string> MatchingNames(std::string_view pattern, std::vector<std::string> names)
{
    std::erase_if(names, [pattern](const std::string& name) { return !WildcardMatches(pattern, name); });
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
    return names;
}

}  // namespace chokusho
