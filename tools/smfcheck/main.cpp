// smfcheck: says what is wrong with Standard MIDI Files (and hexscribe text),
// one line per problem and one summary line per file.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "check.h"
#include "frame/frame.h"
#include "smf/file_io.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::DatedLower,
    .authorDate = "December 2026",
    .version = "smfcheck, version 1.0 (9 Dec 2026)",
    .usage =
        [](std::string_view command) {
            return "Usage: " + std::string(command) +
                   " [-q] [file ...]\n"
                   "Checks MIDI files (or hexscribe text) and says what is wrong with them;\n"
                   "reads standard input when no file (or \"-\") is named. Exit code 0 when\n"
                   "every file is sound, 1 when any has a problem or cannot be read.\n";
        },
    .example = "# check every MIDI file of a folder, listing only the damaged ones:\n"
               "       smfcheck -q *.mid\n"
               "# write a clean copy of what a damaged file was read as:\n"
               "       packsmf damaged.mid repaired.mid\n",
    .options = {{"q|quiet=b", "print only the summary lines of files with problems"}},
    .exampleHelp = "example usage of the program",
};

smf::Options options;
bool quiet = false;

void checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    quiet = options.getBoolean("quiet");
}

// What is printed for one input: its problems, then its summary (with -q,
// the summary of an unsound input only).
std::string reportOn(std::string_view name, const smfcheck::Report& report) {
    if (quiet) {
        return report.sound() ? std::string() : smfcheck::summaryLine(name, report);
    }
    return smfcheck::problemLines(name, report) + smfcheck::summaryLine(name, report);
}

}  // namespace

int main(int argc, char** argv) {
    checkOptions(argc, argv);
    std::vector<std::string> names = options.getArgList();
    if (names.empty()) {
        names.emplace_back("-");
    }
    bool allSound = true;
    std::optional<std::vector<std::uint8_t>> bytes;
    const int status = frame::forEachInput(
        names, {
                   .read =
                       [&bytes](const frame::Input& input) {
                           bytes = input.name == "-" ? smf::readStreamBytes(std::cin)
                                                     : smf::readFileBytes(std::string(input.name));
                           return bytes.has_value();
                       },
                   .work =
                       [&](const frame::Input& input) {
                           const smfcheck::Report report = smfcheck::check(*bytes);
                           allSound = allSound && report.sound();
                           std::cout << reportOn(frame::printableName(input.name), report);
                           return true;
                       },
                   .warn =
                       [](const frame::Input& input) {
                           std::cout << frame::printableName(input.name) << ": cannot be opened\n";
                       },
               });
    return frame::printChecked("", status == 0 && allSound ? 0 : 1);
}
