// Reading a MIDI file into a Tunefolio.
//
// The reader reads what players read. Standard MIDI File bytes (formats 0,
// 1 and 2, optionally inside a RIFF "RMID" wrapper) and hexscribe text
// describing them are accepted. Damage is recovered from wherever the
// structure leaves no doubt, and each problem goes into the result with its
// byte offset, its track, what is wrong and what the reader did:
//   - a header track count other than the track chunks found: the chunks
//     found are read;
//   - bytes after the last chunk, chunks of unknown type: passed over;
//   - a track length that disagrees with the track's end-of-track: the
//     end-of-track is trusted when a chunk header or the end of the file
//     follows it;
//   - a track length that runs past the end of the file, a file cut inside
//     a track, a track that stops at undecodable bytes (a variable-length
//     value of five bytes or more, a time beyond 2^31 - 1 ticks): the
//     complete events read up to there are kept;
//   - a track without an end-of-track: it ends with its chunk;
//   - a byte of 0x80 or more where a data byte is expected, data bytes with
//     no status byte, a system message (which a file cannot hold): that
//     message is skipped up to the next status byte;
//   - a meta event of a type above 0x7F: it is skipped;
//   - running status carried across a meta or system exclusive event, a
//     format number other than 0, 1 and 2, format 0 with other than one
//     track, bytes after an end-of-track: read as they stand.
// The read fails only for what cannot be a MIDI file: no MThd header (none
// inside a RIFF wrapper either, and no hexscribe text describing one), a
// header chunk cut short, or a time division that gives no time (zero ticks
// per quarter note, an SMPTE frame rate other than 24, 25, 29 and 30, zero
// ticks per frame). Nothing is allocated beyond what the bytes really hold,
// no byte is read twice, and every event kept stands complete in the bytes.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "smf/hexscribe_compile.h"
#include "smf/result.h"

namespace smf {

class Tunefolio;

// What a checker wants to know of a file beyond the model.
struct ReadDetails {
    // Whether the input was hexscribe text; offsets then count in the
    // bytes it describes, and `lines` gives their lines in the text.
    bool fromText = false;
    HexscribeLineMap lines;
    // The header's format and track count, as declared (-1: no header read).
    int format = -1;
    int declaredTracks = -1;
    // For each track read, the byte offset of each event's message (its
    // status byte, or first data byte under running status).
    std::vector<std::vector<std::uint64_t>> eventOffsets;
};

// Reads a MIDI file from its bytes. On success the file holds what was
// read, in absolute ticks; on failure it is as newly built. With details,
// also fills them in (at the cost of an offset per event).
Result readMidi(std::span<const std::uint8_t> bytes, Tunefolio& file, ReadDetails* details = nullptr);
// The same for the named file (whose name the file then keeps).
Result readMidiFile(const std::string& name, Tunefolio& file, ReadDetails* details = nullptr);
// The same for everything left on a stream.
Result readMidiStream(std::istream& input, Tunefolio& file, ReadDetails* details = nullptr);

}  // namespace smf
