// quantcheck: tells from the spacing of its note onsets whether a MIDI file
// holds a performance or quantized music.
#include <iostream>
#include <string>

#include "frame/frame.h"
#include "smf/text_buffer.h"
#include "onsets.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "18 Jun 2002",
    .version = "18 Jun 2002",
    .options = {
        {"t|track=i:-1", "which track to extract"},
        {"r|raw=b", "print noteon deltas"},
        {"f|file=b", "display filename"},
        {"max=i:100000", "maximum number of notes expected in input"},
        {"debug=b", "debug mode to find errors in input file"},
    },
};

smf::Options options;
bool showRaw = false;
bool showFilename = false;

void writeReport(smf::TextBuffer& out, std::string_view name, const std::vector<quantcheck::Run>& runs) {
    if (showRaw) {
        out << "// ";
    }
    if (showFilename) {
        out << name << '\t';
    }
    out << quantcheck::verdict(runs) << '\n';
    if (showRaw) {
        for (const quantcheck::Run& run : runs) {
            out << run.count << '\t' << run.distance << '\n';
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    showRaw = options.getBoolean("raw");
    showFilename = options.getBoolean("file");
    if (options.getArgCount() != 1) {
        return 1;
    }

    const std::string name = options.getArg(1);
    smf::Tunefolio file;
    if (!frame::readMidiFile(file, name)) {
        return 1;
    }
    file.absoluteTicks();

    std::vector<int> distances = quantcheck::onsetDistances(file);
    const std::vector<quantcheck::Run> runs = quantcheck::summarize(distances);

    smf::TextBuffer out(std::cout);
    writeReport(out, name, runs);
    if (!out.flushStream()) {
        return frame::error("Error: could not write to standard output");
    }
    return 0;
}
