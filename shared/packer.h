// The two hexscribe packers, packsmf and packflat: one program that turns
// hexscribe text (or MIDI bytes) into a Standard MIDI File, built twice.
// packflat joins every track into one before writing.
#pragma once

namespace packer {

enum class Tracks { AsRead, JoinedIntoOne };

// The whole run: option check (dated frame, one or two file names, the
// output last), read (the first name, or standard input when only the
// output is named), join when asked, write. Returns the exit code.
int run(int argc, char** argv, Tracks tracks);

}  // namespace packer
