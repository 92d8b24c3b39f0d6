// Drum patterns written as text, one character a cell: "x" or "X" strikes
// (ending a sounding note one tick before), "0", "o" or "O" silences, any
// other character ("-") holds the current state.
#pragma once

#include <string_view>

#include "smf/tunefolio.h"

namespace drumgrid {

// Appends the pattern's notes on the percussion channel (nibble 9) to the
// track, velocity 64, cell i starting at i * cellTicks. A note still
// sounding after the last cell ends where the pattern ends.
void addPattern(smf::Tunefolio& file, int track, std::string_view pattern, int key, int cellTicks);

}  // namespace drumgrid
