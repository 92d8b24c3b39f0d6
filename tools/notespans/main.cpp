// notespans: lists the notes of a MIDI file, drums left out, as lines of
// start time, end time and key, in thousandths of the time unit.
#include <iostream>

#include "shared/note_rows.h"
#include "spans.h"

namespace {

smf::Options options;

// Settings, set once by checkOptions.
matrix::TimeUnit timeUnit = matrix::TimeUnit::Beats;
double unusedMarker = -1000.0;
bool debugChannels = false;
spans::ChannelFilter channelFilter;

const frame::Tool& tool() {
    static const frame::Tool kTool = matrix::exporterTool(
        "July 2007", "Aug 2007",
        {matrix::option::kUnused, matrix::option::kName, matrix::option::kTicks,
         {"D|no-drum=b", "turn off drum track"}, matrix::option::kSeconds, matrix::option::kMilliseconds,
         matrix::option::kBeats, {"x|exclude=s", "exclude channel notes"}});
    return kTool;
}

// Returns false when the command line does not name exactly one file.
bool checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, tool(), argc, argv);
    unusedMarker = options.getDouble("unused");
    debugChannels = options.getBoolean("debug");
    if (options.getArgCount() != 1) {
        return false;
    }
    channelFilter.hideDigits(options.getString("exclude"));
    if (options.getBoolean("no-drum")) {
        channelFilter.hide(9);
    }
    timeUnit = matrix::timeUnitFromOptions(options);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!checkOptions(argc, argv)) {
        frame::print(matrix::usageLine(options.getCommand()));
        return 1;
    }

    smf::Tunefolio file;
    if (!frame::readMidiFile(file, options.getArg(1))) {
        return 1;
    }
    // Events are taken from all tracks in time order (as joined tracks
    // would give them) by their absolute ticks.
    file.absoluteTicks();

    const spans::SpanSettings settings{timeUnit, unusedMarker, file.getTicksPerQuarterNote(), channelFilter,
                                       debugChannels};
    smf::TextBuffer out(std::cout);
    spans::writeSpans(out, file, settings);
    if (!out.flushStream()) {
        return frame::error("Error: could not write the note list");
    }
    return 0;
}
