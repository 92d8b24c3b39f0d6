// Stretching a MIDI file in time: in notation (bars) and in sounding length
// (duration).
#pragma once

#include "smf/tunefolio.h"

namespace elastick {

// Files of a coarser resolution are rescaled to this one first, so that
// stretched ticks lose little precision.
inline constexpr int kFineResolution = 24576;

// The accepted range of both factors.
inline constexpr double kMinimumFactor = 0.1;
inline constexpr double kMaximumFactor = 10.0;

bool factorInRange(double factor);

// Gives the file the fine resolution (or keeps a finer one), divides every
// position in quarter notes by barFactor and multiplies every tempo period
// by barFactor and durationFactor, truncating ticks and microseconds toward
// zero. The file's ticks must be absolute.
//
// Returns false, leaving the file unchanged, when a stretched tick or tempo
// is beyond what a MIDI file can hold (a time past 2^31 - 1 ticks, a tempo
// past 0xFFFFFF microseconds per quarter note).
bool stretch(smf::Tunefolio& file, double barFactor, double durationFactor);

}  // namespace elastick
