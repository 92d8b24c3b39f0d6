// melodist: prints the melody of one track, or of the whole file, as onsets
// in quarter notes and the highest key sounding at each, 0 marking rests.
#include <iostream>
#include <string>

#include "frame/frame.h"
#include "melody.h"
#include "smf/text_buffer.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "30 June 2001",
    .version = "June 2001",
    .options = {{"t|track=i:0", "Track from which to extract melody"},
                {"c|track-count=b", "List number of tracks"}},
    .order = frame::OwnOptions::BeforeStandard,
};

smf::Options options;

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (options.getArgCount() != 1) {
        return 1;
    }
    const int track = options.getInteger("track");
    const std::string input = options.getArg(1);

    smf::Tunefolio file;
    if (!frame::readMidiFile(file, input)) {
        return 1;
    }
    if (options.getBoolean("track-count")) {
        frame::print(std::to_string(file.getTrackCount()) + "\n");
        return 0;
    }
    // Without a chosen track the whole file is one melody.
    if (!options.getBoolean("track")) {
        file.joinTracks();
    }
    file.absoluteTicks();
    if (track < 0 || track >= file.getNumTracks()) {
        return frame::errorOnStdout("Invalid track: " + std::to_string(track) +
                                    " Maximum track is: " + std::to_string(file.getNumTracks() - 1));
    }

    std::vector<melodist::Note> notes = melodist::extractNotes(file[track]);
    melodist::sortNotes(notes);
    smf::TextBuffer out(std::cout);
    melodist::printMelody(notes, file.getTicksPerQuarterNote(), out);
    if (!out.flushStream()) {
        return frame::error("Error: could not write to standard output");
    }
    return 0;
}
