// Giving a MIDI file a new resolution while its rhythm and sounding time stay.
#pragma once

#include "smf/tunefolio.h"

namespace reticker {

// The new position of an absolute tick: tick * newResolution / oldResolution,
// rounded to the nearest integer with halves rounded up (before the sign is
// considered: the value is truncated toward zero after adding 0.5).
double rescaledTick(int tick, double ratio);

// Moves every tick of every track (absolute ticks) to its rescaled position,
// each from its own old value so that rounding errors do not add up, and
// records the new resolution. Tempo events stay: quarter notes keep their
// length. The resolution itself is not checked: the writer refuses one a
// file cannot hold.
//
// Returns false, leaving the file unchanged, when a rescaled tick is outside
// the range of int (no MIDI file can hold it).
bool changeResolution(smf::Tunefolio& file, int newResolution);

}  // namespace reticker
