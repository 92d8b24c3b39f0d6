// notejumble: redistributes the pitches of a MIDI file's notes, shuffled at
// random or reversed, keeping every note's time, velocity, channel and track.
#include <cstdint>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "jumble.h"
#include "smf/file_io.h"

namespace {

std::string blankHelp(std::string_view /*command*/) {
    return std::string(73, ' ') + "\n\n";
}

const frame::Tool kTool{
    .family = frame::Family::Bare,
    .authorDate = "2 December 1999",
    .version = "notejumble version 2.0",
    .usage = blankHelp,
    .example = blankHelp({}),
    .options =
        {
            {"r|reverse=b", "Reverse the order of notes"},
            {"author=b", "Author of the program"},
            {"version=b", "Print version of the program"},
            {"example=b", "Display example use of the program"},
            {"help=b", "Dispay help for the program"},
        },
};

smf::Options options;
bool reverseFlag = false;

// Returns 0 when the run goes on, else the exit code.
int checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    reverseFlag = options.getBoolean("reverse");
    if (options.getArgCount() != 1 && options.getArgCount() != 2) {
        return frame::error("Need one optional MIDI file (or standard input), and one output");
    }
    return 0;
}

// One argument names the output only: the input then comes from standard
// input, so the output file is never read and rewritten in place.
bool readInput(smf::Tunefolio& file) {
    if (options.getArgCount() == 2) {
        return frame::readMidiFile(file, options.getArg(1));
    }
    return frame::readMidiStandardInput(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = checkOptions(argc, argv); status != 0) {
        return status;
    }
    const std::string output = options.getArg(options.getArgCount());
    const std::string input = options.getArgCount() == 2 ? options.getArg(1) : std::string(smf::kStandardStream);
    if (frame::outputReplacesTextInput(input, output)) {
        return 1;
    }

    smf::Tunefolio file;
    if (!readInput(file)) {
        return 1;
    }
    file.linkNotePairs();
    std::vector<std::uint8_t> pitches = notejumble::notePitches(file);
    if (reverseFlag) {
        notejumble::reversePitches(pitches);
    } else {
        std::mt19937 engine(notejumble::randomSeed());
        notejumble::shufflePitches(pitches, engine);
    }
    notejumble::setNotePitches(file, pitches);
    if (!file.write(output)) {
        return frame::error("Error: could not write MIDI file " + frame::printableName(output));
    }
    return 0;
}
