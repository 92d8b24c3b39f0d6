// evprint: prints MIDI files as commented hexscribe text, with delta or
// absolute times, each file under a banner when there are several.
#include <iostream>
#include <string>

#include "frame/frame.h"

namespace {

std::string usage(std::string_view command) {
    std::string text;
    for (std::string_view line : {"", "Creates a printable form of the data in a MIDI File.", ""}) {
        text += frame::padded(line, 73) + "\n";
    }
    text += "Usage: " + std::string(command) + frame::padded(" [-d|-a] tunefolio[s]", 49) + "\n";
    for (std::string_view line : {"", "Options:", "   -a = set time values to absolute time",
                                  "   -d = set time values to delta time",
                                  "   --options = list of all options, aliases and default values.", "", ""}) {
        text += frame::padded(line, 73) + "\n";
    }
    return text + "\n";
}

std::string example() {
    return frame::padded("# evprint examples:", 73) + "\n" +
           frame::padded("       evprint -a tunefolio.mid | more", 73) + "\n\n";
}

const frame::Tool kTool{
    .family = frame::Family::Bare,
    .authorDate = "Nov 1999",
    .version = "evprint version 1.0",
    .usage = usage,
    .example = example(),
    .options =
        {
            {"a|abs|absolute=b", "", false},
            {"d|delta=b", "", false},
            {"author=b", "", false},
            {"version=b", "", false},
            {"example=b", "", false},
            {"help=b", "", false},
        },
};

// Set once by the option check: print absolute times instead of deltas.
bool absoluteTimes = false;

void printBanner(int number) {
    std::cout << "\n\n\n+++ FILE " << number << "++++++++++++++++++++++++++++\n\n";
}

}  // namespace

int main(int argc, char** argv) {
    smf::Options options(argc, argv);
    frame::declareOptions(options, kTool);
    frame::processOptions(options);
    frame::answerStandardOptions(options, kTool);
    const int count = options.getArgCount();
    if (count < 1) {
        frame::errorOnStdout("Error: need one input MIDI file.");
        frame::print(usage(options.getCommand()));
        return 1;
    }
    absoluteTimes = options.getBoolean("absolute");

    // Under a banner each when there are several, read or not.
    const bool banners = count > 1;
    smf::Tunefolio file;
    const int status = frame::forEachMidiInput(
        options.getArgList(), file,
        [&](const frame::Input& input) {
            if (banners) {
                printBanner(input.number);
            }
            if (absoluteTimes) {
                file.absoluteTicks();
            } else {
                file.deltaTicks();
            }
            std::cout << file;
            return true;
        },
        [&](const frame::Input& input) {
            if (banners) {
                printBanner(input.number);
            }
            std::cout << "Syntax error in file: " << frame::printableName(input.name) << '\n';
        });
    std::cout.flush();
    if (!std::cout) {
        return frame::error("Error: could not write to standard output");
    }
    return status;
}
