// smftext: prints a Standard MIDI File as hexscribe text without comments.
#include <iostream>

#include "frame/frame.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Dated,
    .authorDate = "February 2015",
    .version = "smftext, version 1.0 (18 Feb 2015)",
};

smf::Options options;

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (options.getArgCount() > 1) {
        return frame::error("Error: One input file or standard input is required.");
    }

    smf::Tunefolio file;
    if (!frame::readInput(file, options)) {
        return frame::error("Error: could not read MIDI file");
    }
    if (!file.writeHexscribe(std::cout)) {
        return frame::error("Error: could not write MIDI file");
    }
    return 0;
}
