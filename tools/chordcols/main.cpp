// chordcols: turns text files of key numbers, one row per line, into MIDI
// files in which each column of the rows sounds as one chord.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

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

bool isStandardInput(const std::string& input) {
    return input == smf::kStandardStream;
}

// The chords of standard input go to standard output.
std::string outputFor(const std::string& input) {
    return isStandardInput(input) ? input : chordcols::outputName(input);
}

// Where a name leads: links and "." or ".." resolved as far as the path
// exists. Made absolute first, so that "a.mid" and "./a.mid" meet even when
// the file does not exist yet.
std::filesystem::path placeOf(const std::string& name) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(name, ignored);
    const std::filesystem::path place = std::filesystem::weakly_canonical(absolute, ignored);
    return place.empty() ? absolute.lexically_normal() : place;
}

// Whether two outputs are one file: the same existing file, or the same
// place for a new one, however the names are spelled.
bool sameOutput(const std::string& first, const std::string& second) {
    if (isStandardInput(first) || isStandardInput(second)) {
        return first == second;
    }
    return placeOf(first) == placeOf(second);
}

// An output that is another input, or that two inputs share, loses data
// whatever the order of the work, so the whole run is refused before
// anything is read or written. (An input that would be its own output is
// refused on its own turn; the other inputs are still converted.)
bool outputsClash(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs) {
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        for (std::size_t j = 0; j < inputs.size(); ++j) {
            if (j == i) {
                continue;
            }
            if (frame::sameRegularFile(inputs[j], frame::Stream::Input, outputs[i], frame::Stream::Output)) {
                frame::error("Error: output file " + frame::printableName(outputs[i]) + " of " +
                             frame::printableName(inputs[i]) + " would replace the input file " +
                             frame::printableName(inputs[j]));
                return true;
            }
            if (j > i && sameOutput(outputs[i], outputs[j])) {
                frame::error("Error: input files " + frame::printableName(inputs[i]) + " and " +
                             frame::printableName(inputs[j]) + " would both be written to " +
                             frame::printableName(outputs[i]));
                return true;
            }
        }
    }
    return false;
}

// Reads one input file, echoes its lines and writes its chords to `output`.
bool convert(const std::string& input, const std::string& output, smf::TextBuffer& echo) {
    const auto bytes = smf::readFileBytes(input);
    if (!bytes) {
        return fail(echo, "Error: cannot read input file " + frame::printableName(input));
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const chordcols::Rows rows = chordcols::readRows(text, echo);

    if (frame::sameRegularFile(input, frame::Stream::Input, output, frame::Stream::Output)) {
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

    const std::vector<std::string>& inputs = options.getArgList();
    std::vector<std::string> outputs;
    for (const std::string& input : inputs) {
        outputs.push_back(outputFor(input));
    }
    if (outputsClash(inputs, outputs)) {
        return 1;
    }

    // The chords of standard input go to standard output: the lines are then
    // echoed on standard error, where they cannot spoil the MIDI file.
    const bool midiOnStandardOutput = std::ranges::any_of(inputs, isStandardInput);
    smf::TextBuffer echo(midiOnStandardOutput ? std::cerr : std::cout);
    bool allConverted = true;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        allConverted = convert(inputs[i], outputs[i], echo) && allConverted;
    }
    if (!echo.flushStream() && !midiOnStandardOutput) {
        return frame::error("Error: could not write to standard output");
    }
    return allConverted ? 0 : 1;
}
