// notetable: lists the notes of a MIDI file, one line each, with start and
// duration in beats and in seconds, after a legend of "%%" comment lines.
#include <iostream>
#include <string>

#include "frame/frame.h"
#include "smf/text_buffer.h"
#include "smf/time_order.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "22 Jan 2002",
    .version = "12 Nov 2003",
    .usage = frame::usageLine(" tunefolio"),
    .options = {
        {"debug=b", "debug mode to find errors in input file"},
        {"max=i:100000", "maximum number of notes expected in input"},
    },
};

smf::Options options;

void writeLegend(smf::TextBuffer& out, const smf::Tunefolio& file) {
    const std::string rule(63, '%');
    out << rule << '\n'
        << "%% DATA LEGEND                                               %%\n"
        << rule << '\n'
        << "%%Filename: " << file.getFilename() << '\n'
        << "%%Ticks per quarter note: " << file.getTicksPerQuarterNote() << '\n'
        << "%%\n"
        << "%% Meaning of columns:\n"
        << "%%(1) note start in beats (quarter notes).\n"
        << "%%(2) note duration in beats (quarter notes).\n"
        << "%%(3) MIDI channel (indexed from 1).\n"
        << "%%(4) MIDI pitch (60 = C4)\n"
        << "%%(5) MIDI velocity (60 = C4)\n"
        << "%%(6) note start in seconds.\n"
        << "%%(7) note duration in seconds.\n"
        << "%%(8) MIDI file track.\n"
        << rule << '\n';
}

// One row per note-on (velocity above 0). Every column is a number in the
// "%g" form; channel, key, velocity and track are whole numbers below a
// million, which that form writes exactly as their integer digits.
void writeRow(smf::TextBuffer& out, const smf::MidiEvent& note, double ticksPerQuarter) {
    out.putDouble(note.tick / ticksPerQuarter).put('\t');
    out.putDouble(note.getTickDuration() / ticksPerQuarter).put('\t');
    out.putInt(note.getChannelNibble() + 1).put('\t');
    out.putInt(note[1]).put('\t');
    out.putInt(note[2]).put('\t');
    out.putDouble(note.seconds).put('\t');
    out.putDouble(note.getDurationInSeconds()).put('\t');
    out.putInt(note.track + 1).put('\n');
}

}  // namespace

int main(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    if (!frame::requireArguments(options, kTool, 1)) {
        return 1;
    }

    smf::Tunefolio file;
    if (!frame::readMidiFile(file, options.getArg(1))) {
        return 1;
    }
    file.absoluteTicks();
    // Notes are paired within their own tracks; the rows then follow the
    // events of all tracks in time order (as joined tracks give them).
    file.linkNotePairs();
    file.doTimeAnalysis();

    smf::TextBuffer out(std::cout);
    writeLegend(out, file);
    const double ticksPerQuarter = file.getTicksPerQuarterNote();
    smf::forEachEventInTimeOrder(file, [&](const smf::MidiEvent& event, int) {
        if (event.isNoteOn() && event[1] < 0x80) {
            writeRow(out, event, ticksPerQuarter);
        }
    });
    if (!out.flushStream()) {
        return frame::error("Error: could not write to standard output");
    }
    return 0;
}
