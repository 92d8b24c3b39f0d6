// Writing a Tunefolio as Standard MIDI File bytes.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "smf/midi_message.h"
#include "smf/result.h"

namespace smf {

class Tunefolio;

// The header facts of the file that writing produces.
struct FileHeader {
    int format = 0;               // 0 for one track, else 1
    int trackCount = 0;
    std::uint16_t division = 0;   // ticks per quarter note, or the SMPTE word
};

// The header of the file; fails when the file cannot be written (ticks per
// quarter note outside 1..32767, more than 65535 tracks).
Result fileHeader(const Tunefolio& file, FileHeader& header);

// The Standard MIDI File bytes of the file (replacing the contents of
// bytes): format 0 for one track, else 1; no running status; every track
// closed by one end-of-track event. Fails, with bytes left empty, for what a
// MIDI file cannot hold: a negative delta or one beyond 0x0FFFFFFF, ticks
// per quarter note outside 1..32767, or a malformed message.
Result writeMidi(const Tunefolio& file, std::vector<std::uint8_t>& bytes);
// The same bytes into the named file, which is not left half written.
Result writeMidiFile(const Tunefolio& file, const std::string& name);
// The same bytes onto a stream (flushed).
Result writeMidiStream(const Tunefolio& file, std::ostream& output);

// Appends a message as a file holds it (a system exclusive message with its
// length after the status byte). The message must be fit for a file.
void appendFileMessage(std::vector<std::uint8_t>& out, const MidiMessage& message);

}  // namespace smf
