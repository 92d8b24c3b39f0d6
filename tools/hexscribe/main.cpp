// hexscribe: lists the bytes of any file as hexscribe text, compiles
// hexscribe text back into bytes, and prints MIDI files as commented
// hexscribe text.
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "manual.h"
#include "smf/file_io.h"
#include "smf/hexscribe.h"

namespace {

std::string usage(std::string_view command) {
    std::string text;
    for (std::string_view line : {"", "For converting/compiling a binary file to/from an ASCII listing of",
                                  "individual bytes of the file.", ""}) {
        text += frame::padded(line, 69) + "\n";
    }
    text += "Usage: " + std::string(command) + frame::padded(" [-a | -b | -c output] input(s)", 45) + "\n";
    for (std::string_view line : {"", "Options:", "   -a = output only non-space printable asci words",
                                  "   -b = output only hexadecimal ascii numbers for each byte",
                                  "   -c output = compiled binary file using ascii number of input",
                                  "   -m = display the man page for the program",
                                  "   no options = combination of -a and -b options.",
                                  "   --options  = list of all options, aliases and defaults"}) {
        text += frame::padded(line, 69) + "\n";
    }
    return text + "\n";
}

std::string example() {
    std::string text;
    for (std::string_view line : {
             "# display bytes a hexadecimal values and any associated ascii characters",
             "       hexscribe filename",
             "# display bytes only as associated ascii characters (suppressing spaces)",
             "       hexscribe -a filename",
             "# display bytes only as hexadecimal values",
             "       hexscribe -b filename",
             "# compile the numeric values of the input into bytes in output",
             "       hexscribe -c filename",
         }) {
        text += frame::padded(line, 73) + "\n";
    }
    return text + "\n";
}

void printVersion(const smf::Options&) {
    frame::print("version: Wed Apr 11 12:39:39 PDT 2018\ncompiled:    " + std::string(frame::buildDate()) + "\n");
}

const frame::Tool kTool{
    .family = frame::Family::Bare,
    .authorDate = "April 1997",
    .usage = usage,
    .example = example(),
    .options =
        {
            {"a|ascii=b", "Display only printable ASCII characters."},
            {"b|binary|bytes=b", "Display only byte hex codes."},
            {"c|compile=s:", "Compile ASCII file into binary form."},
            {"man|manual=b", "Print the manual."},
            {"m|midi=b", "Print binary data as MIDI file."},
            {"mod=i:25", "Number of hex codes on a line."},
            {"wrap=i:75", "Number of characters on line for -a option"},
            {"author=b", "Author of the program."},
            {"version=b", "Version of the program."},
            {"example=b", "Example usage of the program."},
            {"help=b", "", false},
        },
    .printVersion = printVersion,
    .versionEndsRun = true,
};

smf::Options options;

// Settings, written once by checkOptions.
bool asciiOnly = false;
bool bytesOnly = false;
bool midiMode = false;
int lineLength = 75;
int lineBytes = 25;
bool compiling = false;
std::string compileName;

[[noreturn]] void failWithUsage(std::string_view message) {
    frame::error(message);
    frame::print(usage(options.getCommand()));
    std::exit(1);
}

void checkOptions(int argc, char** argv) {
    options.setOptions(argc, argv);
    frame::declareOptions(options, kTool);
    frame::processOptions(options);
    const int modes = options.getBoolean("a") + options.getBoolean("b") + options.getBoolean("c");
    if (modes > 1) {
        failWithUsage("Error: only one of the opts -a, -b, or -c can be usedat one time.");
    }
    frame::answerStandardOptions(options, kTool);
    if (options.getBoolean("manual")) {
        frame::print(std::string(hexscribeManual()) + "\n");
        std::exit(0);
    }
    asciiOnly = options.getBoolean("ascii");
    bytesOnly = options.getBoolean("bytes");
    midiMode = options.getBoolean("midi");
    lineLength = options.getInteger("wrap");
    lineBytes = options.getInteger("mod");
    compiling = options.getBoolean("compile");
    compileName = options.getString("compile");
    if (compiling && compileName.empty()) {
        std::exit(frame::error("Error: you must specify an output file when using the -c option"));
    }
    if (options.getArgCount() < 1) {
        failWithUsage("Error: you must specify at least one file on the command-line");
    }
}

// Each input that cannot be read gets its message and the others go on;
// the results are exit codes: 1 when any input failed.

int printMidiFiles() {
    smf::Tunefolio file;
    bool first = true;
    return frame::forEachMidiInput(options.getArgList(), file, [&](const frame::Input&) {
        if (!first) {
            std::cout << "\n=========================================\n";
        }
        first = false;
        std::cout << file;
        return true;
    });
}

int listFiles() {
    smf::Hexscribe converter;
    converter.setBytes(bytesOnly ? 1 : 0);
    converter.setLineLength(lineLength);
    converter.setLineBytes(lineBytes);
    std::optional<std::vector<std::uint8_t>> bytes;
    return frame::forEachInput(
        options.getArgList(),
        {
            .read =
                [&bytes](const frame::Input& input) {
                    bytes = smf::readFileBytes(std::string(input.name));
                    return bytes.has_value();
                },
            .work =
                [&](const frame::Input&) {
                    if (asciiOnly) {
                        converter.writeAsciiListing(std::cout, *bytes);
                    } else {
                        converter.writeListing(std::cout, *bytes);
                    }
                    return true;
                },
            .warn = [](const frame::Input& input) { frame::error("Error: could not read file " + frame::printableName(input.name)); },
        });
}

int compileFiles() {
    if (frame::outputReplacesInput(options.getArgList(), compileName)) {
        return 1;
    }
    smf::Hexscribe converter;
    bool allCompiled = true;
    for (const std::string& name : options.getArgList()) {
        const smf::Result result = converter.writePacksmf(compileName, name);
        if (!result) {
            frame::error("Error: " + result.reason());
            allCompiled = false;
        }
    }
    return allCompiled ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    checkOptions(argc, argv);
    const int status = midiMode ? printMidiFiles() : compiling ? compileFiles() : listFiles();
    std::cout.flush();
    if (!std::cout) {
        return frame::error("Error: could not write to standard output");
    }
    return status;
}
