// File names and texts from files made safe to print.
#pragma once

#include <string>
#include <string_view>

namespace smf {

// The name as it may be printed in a message: control characters escaped
// (\n, \t, \r, \033 ...), and bytes that are not UTF-8 (and the C1
// controls) as octal escapes, so that a file name cannot break a message
// into lines or send escape sequences to a terminal. Other names print as
// they are.
std::string printableName(std::string_view name);

// The text with its control characters (C0 but the tab, DEL, and the C1
// controls, in UTF-8 or as lone bytes) replaced by blanks, one each: text
// from a file, printed within a line of output, can then neither start a
// line of its own nor send escape sequences to a terminal. Everything else,
// Latin-1 and UTF-8 letters included, is kept as it is.
std::string blankControls(std::string_view text);

}  // namespace smf
