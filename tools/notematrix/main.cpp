// notematrix: writes the notes, controllers, programs, tempos, meters and key
// signatures of a MIDI file as a numeric data array with a commented legend.
#include <iostream>

#include "legend.h"
#include "matrix_export.h"
#include "shared/note_rows.h"

namespace {

smf::Options options;

// Settings, set once by checkOptions.
matrix::TimeUnit timeUnit = matrix::TimeUnit::Beats;
double unusedMarker = -1000.0;
bool numericOpcodes = false;
std::string arrayName;

const frame::Tool& tool() {
    static const frame::Tool kTool = matrix::exporterTool(
        "22 Jan 2002", "12 Nov 2003",
        {matrix::option::kUnused, matrix::option::kName, matrix::option::kTicks, matrix::option::kSeconds,
         matrix::option::kMilliseconds, matrix::option::kBeats, {"num=b", "display opcodes as numbers"}});
    return kTool;
}

// Returns false when the command line does not name exactly one file.
bool checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, tool(), argc, argv);
    unusedMarker = options.getDouble("unused");
    numericOpcodes = options.getBoolean("num");
    if (options.getArgCount() != 1) {
        return false;
    }
    timeUnit = matrix::timeUnitFromOptions(options);
    arrayName = options.getString("name");
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
    // Seconds come from the tempo map whenever they were asked for, even
    // where --ticks or --beats wins the time unit.
    if (options.getBoolean("seconds") || options.getBoolean("milliseconds")) {
        file.doTimeAnalysis();
    }

    // The legend comes first, so one walk finds out what occurs; the rows
    // are made again as they are written.
    const matrix::MatrixSettings settings{timeUnit, unusedMarker, file.getTicksPerQuarterNote()};
    const matrix::Survey survey = matrix::surveyEvents(file, settings);

    smf::TextBuffer out(std::cout);
    matrix::writeLegend(out, {file.getFilename(), file.getTicksPerQuarterNote(), timeUnit}, survey.presence);
    if (!numericOpcodes) {
        matrix::writeOpcodeDefinitions(out, survey.presence);
    }
    matrix::writeArray(out, arrayName, file, settings, survey, numericOpcodes);
    if (!out.flushStream()) {
        return frame::error("Error: could not write the data array");
    }
    return 0;
}
