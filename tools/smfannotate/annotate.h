// A MIDI file as hexscribe text laid out for reading and editing: a comment
// on every header field, then one line per event with its delta time and
// message bytes. The text spells out every byte of the file, so that it
// compiles back into a MIDI file holding the same events.
#pragma once

#include <iosfwd>

#include "smf/tunefolio.h"

// Writes the file, which must be in delta ticks, as it holds its events: a
// track without an end-of-track event is written without one (the text then
// compiles to a track the reader accepts with the same events). False when
// the stream fails.
bool writeAnnotated(std::ostream& output, const smf::Tunefolio& file);
