#include "shared/packer.h"

#include <string>

#include "frame/frame.h"
#include "smf/file_io.h"

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
    // Text (or a MIDI file) read whole is never written over by the MIDI
    // file made from it: a hand-edited text would be lost.
    const std::string input = options.getArgCount() == 2 ? options.getArg(1) : std::string(smf::kStandardStream);
    if (frame::outputReplacesInput({input}, output)) {
        return 1;
    }

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
