// packsmf: turns hexscribe text (or MIDI bytes) into a Standard MIDI File.
// Built a second time as packflat, which first joins all tracks into one.
#include <iostream>
#include <string>

#include "frame/frame.h"

#ifndef TUNEFOLIO_JOIN_TRACKS
#define TUNEFOLIO_JOIN_TRACKS 0
#endif

namespace {

const frame::Tool kTool{
    .family = frame::Family::Dated,
    .authorDate = "February 2015",
    .version = "packsmf, version 1.0 (18 Feb 2015)",
};

smf::Options options;

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (options.getArgCount() > 2) {
        return frame::error("Error: Too many filenames given.");
    }
    if (options.getArgCount() < 1) {
        return frame::error("Error: Too few filenames given.");
    }
    const bool fromStandardInput = options.getArgCount() == 1;
    const std::string output = options.getArg(options.getArgCount());

    smf::Tunefolio file;
    if (fromStandardInput ? !frame::readMidiStandardInput(file) : !frame::readMidiFile(file, options.getArg(1))) {
        return 1;
    }
    if (TUNEFOLIO_JOIN_TRACKS) {
        file.joinTracks();
    }
    if (!file.write(output)) {
        return frame::error("Error: could not write MIDI file " + output);
    }
    return 0;
}
