// File names made safe to print in messages.
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

}  // namespace smf
