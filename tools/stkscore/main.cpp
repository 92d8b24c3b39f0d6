// stkscore: lists the events of a MIDI file as SKINI text, timed in seconds.
#include <iostream>
#include <string>

#include "frame/frame.h"
#include "smf/text_buffer.h"
#include "smf/time_order.h"
#include "skini.h"

namespace {

std::string usage(std::string_view command) {
    return "Usage: " + std::string(command) + " [-t #|-m #] tunefolio\n"
           "   -t #  == extract only specified track (offset from 0).\n"
           "   -m #  == number of events to allocate for MIDI \n"
           "\n";
}

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "6 Jun 2002",
    .version = "10 Jun 2002",
    .usage = usage,
    .example = "stkscore file.mid              == convert file.mid to the SKINI format\n"
               "stkscore file.mid >file.skini  == save output SKINI data to file.skini\n"
               "stkscore -t1 file.mid          == extract only track 1 from the tdata\n",
    .options = {
        {"t|track=i:-1", "which track to extract"},
        // The usage text offers "-m #", so the letter is an alias here.
        {"m|max=i:100000", "maximum number of notes expected in input"},
        {"debug=b", "debug mode to find errors in input file"},
    },
};

smf::Options options;
int trackSelection = -1;

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    trackSelection = options.getInteger("track");
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
    stkscore::SkiniWriter writer(out, file.getTicksPerQuarterNote(), trackSelection);
    smf::forEachEventInTimeOrder(file, [&writer](const smf::MidiEvent& event, int) { writer.write(event); });
    if (!out.flushStream()) {
        return frame::error("Error: could not write to standard output");
    }
    return 0;
}
