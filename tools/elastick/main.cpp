// elastick: stretches a MIDI file in time, in bars (notation only) and in
// duration (sounding length), and writes the result to a second file.
#include <string>

#include "frame/frame.h"
#include "stretch.h"

namespace {

smf::Options options;
bool stretchRequested = false;
double barFactor = 1.0;
double durationFactor = 1.0;

// Returns 0 when the run goes on, else the exit code.
int checkOptions(int argc, char** argv) {
    options.define("b|bars|m|measures=d:1.0",
                   "Stretch width of bars (measures) by factor specified (WITHOUT affecting tempo)");
    options.define("d|duration|t|tempo=d:1.0", "Stretch duration of track(s) by factor specified");
    frame::processOptions(options, argc, argv);
    if (options.getArgCount() != 2) {
        return frame::error("two MIDI filenames are required.");
    }
    return 0;
}

// Returns 0 when the factors are usable, else the exit code.
int readFactors() {
    stretchRequested = options.getBoolean("bars") || options.getBoolean("duration");
    if (!stretchRequested) {
        return 0;
    }
    barFactor = options.getDouble("bars");
    durationFactor = options.getDouble("duration");
    if (!elastick::factorInRange(barFactor) || !elastick::factorInRange(durationFactor)) {
        return frame::error("stretch parameters must be between 0.1 and 10.");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = checkOptions(argc, argv); status != 0) {
        return status;
    }
    const std::string input = options.getArg(1);
    const std::string output = options.getArg(2);
    if (frame::outputReplacesTextInput(input, output)) {
        return 1;
    }

    smf::Tunefolio file;
    file.read(input);
    if (!file.status()) {
        return frame::error("Error reading MIDI file " + frame::printableName(input));
    }
    if (const int status = readFactors(); status != 0) {
        return status;
    }
    // A stretch beyond what a MIDI file can hold is a write that cannot be
    // done: nothing is written rather than a corrupt file.
    if (stretchRequested && !elastick::stretch(file, barFactor, durationFactor)) {
        return frame::error("Error: could not write MIDI file " + frame::printableName(output));
    }
    if (!file.write(output)) {
        return frame::error("Error: could not write MIDI file " + frame::printableName(output));
    }
    return 0;
}
