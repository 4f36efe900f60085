#pragma once

#include <string>
#include <string_view>

namespace chokusho {

/**
 * File names as the user sees them. Names are kept as the bytes the file system gave, so that a
 * block is saved back under exactly the name it was opened by; these helpers only show and order
 * them.
 */

/**
 * A file name's text for showing: UTF-8 as it is. A name that is not UTF-8 was most likely
 * written on a Japanese Windows machine (a file copied from its disk), so it is read as cp932;
 * bytes that do not decode there either show as U+FFFD.
 */
std::string DisplayFileName(std::string_view name);

/**
 * The order in which a Windows user sees the files of a folder: letters without regard to
 * ASCII case, and runs of digits by their value ("A-2" before "A-10", "b" after "A"). Names
 * that this order finds equal ("a" and "A", "x01" and "x1") fall back to byte order, so the
 * order is total and the same on every machine.
 */
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace chokusho
