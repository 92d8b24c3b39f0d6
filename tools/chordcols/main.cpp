// chordcols: turns text files of key numbers, one row per line, into MIDI
// files in which each column of the rows sounds as one chord.
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "chord_file.h"
#include "frame/frame.h"
#include "row_parser.h"
#include "smf/file_io.h"
#include "smf/text_buffer.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::DatedLower,
    .authorDate = "February 2015",
    .version = "chordcols, version 1.0 (10 Feb 2015)",
    .usage = [](std::string_view) { return std::string("\n\n"); },
    .example = "\n\n",
};

smf::Options options;

// Reports a failed input after the lines echoed so far; false, so that the
// run goes on with the next input and ends with exit code 1.
bool fail(smf::TextBuffer& echo, const std::string& line) {
    echo.flushStream();
    frame::error(line);
    return false;
}

// Whether writing `output` would replace the input file itself.
bool isSameFile(const std::string& input, const std::string& output) {
    std::error_code ignored;
    return std::filesystem::equivalent(input, output, ignored);
}

// Reads one input file, echoes its lines and writes its chords beside it.
bool convert(const std::string& input, smf::TextBuffer& echo) {
    const auto bytes = smf::readFileBytes(input);
    if (!bytes) {
        return fail(echo, "Error: cannot read input file " + frame::printableName(input));
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const chordcols::Rows rows = chordcols::readRows(text, echo);

    const std::string output = chordcols::outputName(input);
    if (isSameFile(input, output)) {
        return fail(echo, "Error: output file " + frame::printableName(output) + " would replace its input");
    }
    smf::Tunefolio file;
    if (!chordcols::buildChords(rows, file) || !file.write(output)) {
        return fail(echo, "Error: could not write MIDI file " + frame::printableName(output));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (options.getArgCount() < 1) {
        return frame::error("Error: One or more input file is required.");
    }

    smf::TextBuffer echo(std::cout);
    bool allConverted = true;
    for (const std::string& input : options.getArgList()) {
        allConverted = convert(input, echo) && allConverted;
    }
    if (!echo.flushStream()) {
        return frame::error("Error: could not write to standard output");
    }
    return allConverted ? 0 : 1;
}
