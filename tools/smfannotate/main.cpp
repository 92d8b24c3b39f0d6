// smfannotate: prints a MIDI file as hexscribe text with a comment on every
// header field and one line per event, ready to edit and compile back.
#include <iostream>
#include <string>

#include "annotate.h"
#include "frame/frame.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "22 Jan 2002",
    .version = "12 Nov 2003",
    .usage = frame::usageLine(" tunefolio"),
    .options = {{"debug=b", "debug mode to find errors in input file"}},
};

smf::Options options;

// Accepted for compatibility; the listing is the same either way.
bool debug = false;

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    debug = options.getBoolean("debug");
    if (!frame::requireArguments(options, kTool, 1)) {
        return 1;
    }

    smf::Tunefolio file;
    if (!frame::readMidiFile(file, options.getArg(1))) {
        return 1;
    }
    file.deltaTicks();
    if (!writeAnnotated(std::cout, file)) {
        return frame::error("Error: could not write to standard output");
    }
    return 0;
}
