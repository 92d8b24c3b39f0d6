// MIDI files as hexscribe text, and as plain hexadecimal bytes.
//
// The text spells out, token by token, exactly the bytes that
// Tunefolio::write() produces, so compiling it gives back the identical file:
//
//   +M +T +h +d              the header chunk, its length, format, track
//   4'6                      count and ticks per quarter note
//   2'1
//   2'2
//   2'480
//
//   +M +T +r +k              each track chunk and its length in bytes,
//   4'27                     then one line per event: "v" and the delta
//                            time, a tab, the message bytes in hexadecimal
//   v0	ff 51 03 07 a1 20     (a system exclusive message shows its length
//   v480	90 3c 64          as "v" and a number after the status byte)
//
// With comments, every header field and every event is named after a ";"
// (note names, controllers, tempo in beats per minute, meter, key, texts);
// in absolute tick mode each event comment also gives the absolute tick.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

#include "smf/result.h"

namespace smf {

class Tunefolio;
class MidiMessage;

enum class HexscribeComments { None, Full };

// Writes the file as hexscribe text. Fails, with nothing written, when the
// file cannot be written as a MIDI file (see writeMidi), or when the stream
// fails.
Result writeMidiHexscribe(std::ostream& output, const Tunefolio& file, HexscribeComments comments);

// Bytes as two-digit lower-case hexadecimal numbers separated by blanks,
// bytesPerLine to a line.
Result writeHexBytes(std::ostream& output, std::span<const std::uint8_t> bytes, int bytesPerLine);

// A short description of a message for comments and listings
// ("note-on C4 (60) velocity 100, channel 1", "tempo 120 bpm").
std::string describeMessage(const MidiMessage& message);

}  // namespace smf
