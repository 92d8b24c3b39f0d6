// Reading a MIDI file into a Tunefolio.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

#include "smf/result.h"

namespace smf {

class Tunefolio;

// Reads a MIDI file from its bytes: Standard MIDI File bytes (formats 0, 1
// and 2, optionally inside a RIFF "RMID" wrapper), or hexscribe text that
// describes such bytes. On success the file holds what was read, in
// absolute ticks; on failure it is as newly built. Fails for anything
// malformed: truncated or inconsistent chunks, a track count that disagrees
// with the track chunks, a zero resolution, variable-length values of five
// or more bytes, running status with no status, data bytes above 0x7F,
// ticks beyond 2^31 - 1. Allocates nothing beyond what the bytes really
// hold.
Result readMidi(std::span<const std::uint8_t> bytes, Tunefolio& file);
// The same for the named file (whose name the file then keeps).
Result readMidiFile(const std::string& name, Tunefolio& file);
// The same for everything left on a stream.
Result readMidiStream(std::istream& input, Tunefolio& file);

}  // namespace smf
