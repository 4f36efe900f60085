#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace chokusho {

/**
 * Where the file-name part of `path` starts: after its last "/" or "\", or after a drive's ":"
 * ("C:*.csv"). Only that part of a command-line input is a pattern: Windows' own commands
 * expand no wildcard in a folder's name.
 */
std::size_t FileNamePartStart(std::string_view path);

/** Whether the file-name part of `path` (UTF-8) holds "*" or "?". */
bool HasWildcard(std::string_view path);

/**
 * Whether the file name `name` fits `pattern` (both UTF-8), as Windows fits them: "*" stands for
 * any run of characters, none included, "?" for one character, and letters match in either case
 * (ASCII and full-width Latin letters, the ones a Japanese keyboard types in both widths).
 */
bool WildcardMatches(std::string_view pattern, std::string_view name);

/** The names of `names` that fit `pattern`, in the picker's order (NaturalLess). */
std::vector<std::string> MatchingNames(std::string_view pattern, std::vector<std::string> names);

}  // namespace chokusho
