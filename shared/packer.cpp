#include "shared/packer.h"

#include <string>

#include "frame/frame.h"

namespace packer {

namespace {

const frame::Tool kTool{
    .family = frame::Family::Dated,
    .authorDate = "February 2015",
    .version = "packsmf, version 1.0 (18 Feb 2015)",
};

smf::Options options;

// Returns 0 when one or two file names were given, else the exit code.
int checkFileNames() {
    if (options.getArgCount() > 2) {
        return frame::error("Error: Too many filenames given.");
    }
    if (options.getArgCount() < 1) {
        return frame::error("Error: Too few filenames given.");
    }
    return 0;
}

bool readInput(smf::Tunefolio& file) {
    if (options.getArgCount() == 1) {
        return frame::readMidiStandardInput(file);
    }
    return frame::readMidiFile(file, options.getArg(1));
}

}  // namespace

int run(int argc, char** argv, Tracks tracks) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (const int status = checkFileNames(); status != 0) {
        return status;
    }
    const std::string output = options.getArg(options.getArgCount());

    smf::Tunefolio file;
    if (!readInput(file)) {
        return 1;
    }
    if (tracks == Tracks::JoinedIntoOne) {
        file.joinTracks();
    }
    if (!file.write(output)) {
        return frame::error("Error: could not write MIDI file " + frame::printableName(output));
    }
    return 0;
}

}  // namespace packer
