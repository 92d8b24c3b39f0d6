// notepluck: lists every event of a MIDI file as one time-ordered list with
// its tick, time in seconds, source track, position in the list and bytes;
// with --onset only the sounding note-ons.
#include <charconv>
#include <cstddef>
#include <iostream>
#include <string>

#include "frame/frame.h"
#include "smf/text_buffer.h"
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

// Four numbers with their tabs, and a short message (at most four
// characters a byte) with the newline.
constexpr std::size_t kLineRoom = 4 * (smf::kNumberRoom + 1) + 4 * kShortMessage + 8;

// The status byte in hexadecimal, the other bytes in decimal, each
// followed by a blank.
char* putBytes(char* at, const smf::MidiMessage& message) {
    if (message.empty()) {
        return at;
    }
    *at++ = '0';
    *at++ = 'x';
    at = smf::toCharsHex2(at, message[0]);
    *at++ = ' ';
    for (std::size_t b = 1; b < message.size(); ++b) {
        at = std::to_chars(at, at + 3, message[b]).ptr;
        *at++ = ' ';
    }
    return at;
}

void putLongBytes(smf::TextBuffer& out, const smf::MidiMessage& message) {
    out.put("0x").putHex2(message[0]).put(' ');
    for (std::size_t b = 1; b < message.size(); ++b) {
        out.putInt(message[b]).put(' ');
    }
}

char* putField(char* at, long long value) {
    at = std::to_chars(at, at + smf::kNumberRoom, value).ptr;
    *at++ = '\t';
    return at;
}

void putEventLine(smf::TextBuffer& out, const smf::MidiEvent& event, int index) {
    char* at = out.claim(kLineRoom);
    at = putField(at, event.tick);
    at = smf::toCharsGeneral(at, at + smf::kNumberRoom, event.seconds);
    *at++ = '\t';
    at = putField(at, event.track);
    at = putField(at, index);
    if (event.size() <= kShortMessage) {
        at = putBytes(at, event);
        *at++ = '\n';
        out.commit(at);
        return;
    }
    out.commit(at);
    putLongBytes(out, event);
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
