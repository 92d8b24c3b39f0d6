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
    const int argCount = options.getArgCount();
    const int inputCount = argCount >= 2 ? argCount : 1;
    const bool several = argCount >= 2;

    smf::TextBuffer out(std::cout);
    smf::Tunefolio file;
    double total = 0.0;
    int measured = 0;
    bool failed = false;
    for (int i = 1; i <= inputCount; ++i) {
        file.clear();
        const std::string name = argCount == 0 ? std::string() : options.getArg(i);
        // Keep a read error in order with the lines already listed.
        out.flushStream();
        const bool ok = argCount == 0 ? frame::readMidiStandardInput(file) : frame::readMidiFile(file, name);
        if (!ok) {
            failed = true;
            continue;
        }
        // The time of the file's latest event (0 for a file without events).
        const double seconds = file.getFileDurationInSeconds();
        if (several) {
            out.put(name).put('\t');
        }
        putSeconds(out, seconds);
        if (showFilename) {
            out.put('\t').put(file.getFilename());
        }
        out.put('\n');
        total += seconds;
        ++measured;
    }
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
    return failed ? 1 : 0;
}
