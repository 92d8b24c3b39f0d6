// offcode: copies a MIDI file, writing every note-off (a note-on with
// velocity 0 included) with the note-off command.
#include <string>

#include "frame/frame.h"
#include "note_offs.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::DatedLower,
    .authorDate = "February 2015",
    .version = "offcode, version 1.0 (9 Feb 2015)",
    .usage = [](std::string_view) { return std::string("\n\n"); },
    .example = "\n\n",
};

smf::Options options;

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (options.getArgCount() > 2) {
        return frame::error("Error: too many filenames, expecting only two");
    }
    if (options.getArgCount() < 2) {
        frame::error("Error: too few filenames, expecting two:");
        return frame::error("(1) input file to process, (2) name of output file.");
    }
    const std::string input = options.getArg(1);
    const std::string output = options.getArg(2);
    if (frame::outputReplacesTextInput(input, output)) {
        return 1;
    }

    smf::Tunefolio file;
    if (!frame::readMidiFile(file, input)) {
        return 1;
    }
    offcode::rewriteNoteOffs(file);
    if (!file.write(output)) {
        return frame::error("Error: could not write MIDI file " + frame::printableName(output));
    }
    return 0;
}
