// reticker: gives a MIDI file a new resolution (ticks per quarter note),
// moving every event so that rhythm and sounding time stay, and writes it to
// a named file or as commented hexscribe text to standard output.
#include <iostream>
#include <string>

#include "frame/frame.h"
#include "resolution.h"

namespace {

constexpr int kMaxResolution = 32767;

smf::Options options;
int newResolution = 120;

void checkOptions(int argc, char** argv) {
    options.define("t|tpq=i:120", "Set TPQ to this value and adjust timestamps");
    frame::processOptions(options, argc, argv);
    newResolution = options.getInteger("tpq");
}

bool hasOutputName() {
    return options.getArgCount() >= 2;
}

// moved: whether every tick could take its new place.
int writeFile(const smf::Tunefolio& file, bool moved) {
    const std::string output = options.getArg(2);
    if (!moved || !file.write(output)) {
        return frame::error("Error: could not write MIDI file " + frame::printableName(output));
    }
    return 0;
}

// Text output has no file name to blame, so a resolution a file cannot hold
// is named instead.
int writeText(const smf::Tunefolio& file, bool moved) {
    if (newResolution < 1 || newResolution > kMaxResolution) {
        return frame::error("Error: invalid ticks per quarter note " + std::to_string(newResolution));
    }
    if (!moved || !(std::cout << file)) {
        return frame::error("Error: could not write MIDI file");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    checkOptions(argc, argv);
    if (hasOutputName() && frame::outputReplacesTextInput(options.getArg(1), options.getArg(2))) {
        return 1;
    }

    smf::Tunefolio file;
    if (!frame::readInput(file, options)) {
        return frame::error("Error: could not read MIDI file");
    }
    const bool moved = reticker::changeResolution(file, newResolution);
    return hasOutputName() ? writeFile(file, moved) : writeText(file, moved);
}
