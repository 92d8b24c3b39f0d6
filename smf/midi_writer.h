// Writing a Tunefolio as Standard MIDI File bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "smf/midi_message.h"

namespace smf {

class Tunefolio;

// The header facts of the file that write() produces.
struct FileHeader {
    int format = 0;               // 0 for one track, else 1
    int trackCount = 0;
    std::uint16_t division = 0;   // ticks per quarter note, or the SMPTE word
};

// The header of the file, or false (with a reason) when the resolution
// cannot be written (ticks per quarter note outside 1..32767).
bool fileHeader(const Tunefolio& file, FileHeader& header, std::string& error);

// The Standard MIDI File bytes of the file; false with a reason when a MIDI
// file cannot hold it (then bytes is left empty).
bool encodeMidiFile(const Tunefolio& file, std::vector<std::uint8_t>& bytes, std::string& error);

// Appends a message as a file holds it (a system exclusive message with its
// length after the status byte). The message must be fit for a file.
void appendFileMessage(std::vector<std::uint8_t>& out, const MidiMessage& message);

}  // namespace smf
