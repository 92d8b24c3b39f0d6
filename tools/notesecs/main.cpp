// notesecs: lists the notes of a MIDI file in seconds at the file's first
// tempo, one line per note as it ends.
#include <iostream>
#include <string>

#include "frame/frame.h"
#include "smf/text_buffer.h"
#include "smf/time_order.h"
#include "note_seconds.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "22 Jan 2002",
    .version = "22 Jan 2002",
    .usage = frame::usageLine(" tunefolio"),
    .options = {
        {"debug=b", "debug mode to find errors in input file"},
        {"max=i:100000", "maximum number of notes expected in input"},
    },
};

smf::Options options;

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (!frame::requireArguments(options, kTool, 1)) {
        return 1;
    }

    smf::Tunefolio file;
    if (!frame::readMidiFile(file, options.getArg(1))) {
        return 1;
    }
    file.absoluteTicks();

    // The events of all tracks in time order, as joined tracks give them.
    smf::TextBuffer out(std::cout);
    notesecs::NoteSecondsWriter writer(out, file.getTicksPerQuarterNote());
    smf::forEachEventInTimeOrder(file, [&writer](const smf::MidiEvent& event, int) { writer.write(event); });
    if (!out.flushStream()) {
        return frame::error("Error: could not write to standard output");
    }
    return 0;
}
