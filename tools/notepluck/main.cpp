// notepluck: lists every event of a MIDI file as one time-ordered list with
// its tick, time in seconds, source track, position in the list and bytes;
// with --onset only the sounding note-ons.
#include <cstddef>
#include <iostream>
#include <string>

#include "frame/frame.h"
#include "smf/text_buffer.h"
#include "smf/text_line.h"
#include "smf/time_order.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Bare,
    .authorDate = "July 2010",
    .version = "notepluck version 1.0",
    .usage = [](std::string_view) { return std::string(73, ' ') + "\n\n"; },
    .example = "#" + std::string(72, ' ') + "\n\n",
    .options = {{"author=b", "", false},
                {"version=b", "", false},
                {"example=b", "", false},
                {"help=b", "", false},
                {"o|on|onset=b", "", false}},
};

smf::Options options;
bool onsetsOnly = false;

void checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    onsetsOnly = options.getBoolean("onset");
}

bool isSoundingNoteOn(const smf::MidiEvent& event) {
    return (event.getCommandByte() & 0xF0) == 0x90 && event.getP2() > 0;
}

// Messages up to this size are formatted with the rest of their line.
constexpr std::size_t kShortMessage = 16;

// A line of four numbers with their tabs (at most 25 characters each) and a
// short message (at most 4 characters a byte) and the newline.
using Line = smf::TextLine<4 * 25 + 4 * kShortMessage + 8>;

// The status byte in hexadecimal, the other bytes in decimal, each
// followed by a blank.
template <class Out>
void putBytes(Out& out, const smf::MidiMessage& message) {
    if (message.empty()) {
        return;
    }
    out.put("0x");
    out.putHex2(message[0]);
    out.put(' ');
    for (std::size_t b = 1; b < message.size(); ++b) {
        out.putInt(message[b]);
        out.put(' ');
    }
}

void putEventLine(smf::TextBuffer& out, const smf::MidiEvent& event, int index) {
    Line line;
    line.putInt(event.tick);
    line.put('\t');
    line.putDouble(event.seconds);
    line.put('\t');
    line.putInt(event.track);
    line.put('\t');
    line.putInt(index);
    line.put('\t');
    if (event.size() <= kShortMessage) {
        putBytes(line, event);
        line.put('\n');
        out.put(line.text());
        return;
    }
    out.put(line.text());
    putBytes(out, event);
    out.put('\n');
}

// Every event in the order of the tracks joined into one (by tick, at equal
// ticks the lower track first), numbered by its place in that order. The
// events are walked in that order, not moved.
void listEvents(smf::TextBuffer& out, const smf::Tunefolio& file) {
    int index = 0;
    smf::forEachEventInTimeOrder(file, [&](const smf::MidiEvent& event, int) {
        if (!onsetsOnly || isSoundingNoteOn(event)) {
            putEventLine(out, event, index);
        }
        ++index;
    });
}

}  // namespace

int main(int argc, char** argv) {
    checkOptions(argc, argv);
    if (options.getArgCount() < 1) {
        return frame::error("Error: one input MIDI file is required.");
    }
    const std::string name = options.getArg(1);

    smf::Tunefolio file;
    if (!file.read(name)) {
        return frame::errorOnStdout("Syntax error in file: " + frame::printableName(name));
    }
    file.absoluteTicks();
    file.doTimeAnalysis();

    smf::TextBuffer out(std::cout);
    listEvents(out, file);
    if (!out.flushStream()) {
        return frame::error("Error: could not write the listing");
    }
    return 0;
}
