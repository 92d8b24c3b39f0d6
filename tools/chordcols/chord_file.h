// Turning rows of key numbers into a MIDI file of chords, and naming it.
#pragma once

#include <string>
#include <string_view>

#include "row_parser.h"
#include "smf/tunefolio.h"

namespace chordcols {

// Resolution of the built file: one chord lasts this many ticks.
inline constexpr int kTicksPerChord = 120;

// The output file for an input: the extension of the file name (from its last
// ".") replaced by ".mid", or ".mid" added when it has none. Only the last
// component of the path is looked at, so "old.dir/notes" gives
// "old.dir/notes.mid" and the output stays beside its input.
std::string outputName(std::string_view input);

// Builds the chords into `file` (replacing its contents): column k of the
// rows sounds as one chord from quarter note k to k + 1, velocity 64 on
// channel nibble 0 in track 1; key numbers keep their low seven bits. Track 0
// holds a tempo of 60 beats per minute. False, with `file` left empty, when
// the rows have more columns than ticks of type int can place.
bool buildChords(const Rows& rows, smf::Tunefolio& file);

}  // namespace chordcols
