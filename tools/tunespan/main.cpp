// tunespan: prints the playing time of MIDI files in seconds, optionally as
// a clock and with the file name; for several files also the total and the
// average.
#include <iostream>
#include <string>

#include "clock_form.h"
#include "frame/frame.h"
#include "smf/text_buffer.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "23 February 2016",
    .version = "23 February 2016",
    .usage = [](std::string_view command) { return "Usage: " + std::string(command) + " input(s)\n"; },
    .options = {{"f|filename=b", "display filename after duration"},
                {"m|minute|minutes=b", "also display duration in minutes after seconds display"}},
    .order = frame::OwnOptions::BeforeStandard,
};

smf::Options options;
bool showFilename = false;
bool showClock = false;

void checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    showFilename = options.getBoolean("filename");
    showClock = options.getBoolean("minute");
}

void putSeconds(smf::TextBuffer& out, double seconds) {
    out.putDouble(seconds);
    if (showClock) {
        out.put('\t').put(tunespan::clockForm(seconds));
    }
}

}  // namespace

int main(int argc, char** argv) {
    checkOptions(argc, argv);
    // Standard input when no file is named; names, a total and an average
    // when there are several.
    const std::vector<std::string>& names = options.getArgList();
    const bool several = names.size() >= 2;

    smf::TextBuffer out(std::cout);
    smf::Tunefolio file;
    double total = 0.0;
    int measured = 0;
    const int status = frame::forEachMidiInput(
        names, file,
        [&](const frame::Input& input) {
            // The time of the file's latest event (0 for a file without events).
            const double seconds = file.getFileDurationInSeconds();
            if (several) {
                out.put(input.name).put('\t');
            }
            putSeconds(out, seconds);
            if (showFilename) {
                out.put('\t').put(file.getFilename());
            }
            out.put('\n');
            total += seconds;
            ++measured;
            return true;
        },
        [&out](const frame::Input& input) {
            // Keep the warning in order with the lines already listed.
            out.flushStream();
            frame::warnUnreadable(input);
        });
    if (several) {
        out.put("TOTAL\t");
        putSeconds(out, total);
        out.put("\nAVERAGE\t");
        putSeconds(out, measured > 0 ? total / measured : 0.0);
        out.put('\n');
    }
    if (!out.flushStream()) {
        return frame::error("Error: could not write the listing");
    }
    return status;
}
