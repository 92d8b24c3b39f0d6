// Playing times as a clock: "0:05", "1:15", "1:02:05".
#pragma once

#include <string>

namespace tunespan {

// Seconds rounded to whole seconds (halves up) as minutes:seconds, with
// hours in front from 60 minutes on ("1:02:05"). A negative time is written
// as "-" and the clock of its size.
std::string clockForm(double seconds);

}  // namespace tunespan
