// Reading Standard MIDI File bytes into a Tunefolio.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace smf {

class Tunefolio;

// True when the bytes begin like a MIDI file ("MThd") or a RIFF wrapper.
bool looksLikeMidiBytes(std::span<const std::uint8_t> bytes);

// Parses Standard MIDI File bytes (formats 0, 1, 2; a RIFF "RMID" wrapper is
// unwrapped) into `file`, which must be newly built. Returns false with a
// one-line reason for anything malformed: truncated or inconsistent chunks,
// a track count that disagrees with the track chunks, a zero resolution,
// variable-length values of five or more bytes, running status with no
// status, data bytes above 0x7F, ticks beyond 2^31 - 1. Allocates nothing
// beyond what the bytes really hold. Ticks are absolute afterwards.
bool parseMidiBytes(std::span<const std::uint8_t> bytes, Tunefolio& file, std::string& error);

}  // namespace smf
