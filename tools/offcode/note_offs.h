// Writing every note-off with the note-off command.
#pragma once

#include "smf/tunefolio.h"

namespace offcode {

// Turns every note-off of the file into a 0x8n message on the same channel
// with the same key and velocity byte: a note-on with velocity 0 becomes a
// true note-off, which players then need not tell apart from a silent
// strike. Every other event is left as it is. Returns how many events
// changed.
int rewriteNoteOffs(smf::Tunefolio& file);

}  // namespace offcode
