// notecompile: turns a text list of notes timed in seconds
// ("note ONSET DURATION KEY VELOCITY") into a one-track MIDI file at 120
// quarter notes per minute.
#include <algorithm>
#include <array>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>

#include "frame/frame.h"
#include "note_line.h"
#include "smf/file_io.h"
#include "smf/text_buffer.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "22 Jan 2002",
    .version = "22 Jan 2002",
    .usage = frame::usageLine(" textfile tunefolio"),
    .options = {{"c|channel=i:0", "MIDI Channel to play notes on (offset from 0)"},
                {"debug=b", "debug mode to find errors in input file"},
                {"max=i:100000", "maximum number of notes expected in input"}},
};

constexpr int kTicksPerQuarter = 480;
// 120 quarter notes per minute: 500000 microseconds per quarter note.
constexpr std::array<std::uint8_t, 6> kTempo{0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};
// The shortest note line, "note 0 0 0 0", bounds how many notes a text holds.
constexpr std::size_t kShortestNoteLine = 12;

smf::Options options;
int channel = 0;
bool debug = false;
int expectedNotes = 100000;

void checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    channel = std::clamp(options.getInteger("channel"), 0, 15);
    debug = options.getBoolean("debug");
    expectedNotes = options.getInteger("max");
}

// Room for the expected notes, but never more than the text can hold:
// the count is only a hint and must not make the program allocate wildly.
int eventsToReserve(std::size_t textSize) {
    const long long possible = static_cast<long long>(textSize / kShortestNoteLine) + 1;
    const long long notes = std::clamp<long long>(expectedNotes, 0, possible);
    return static_cast<int>(2 * notes + 500);
}

void addNote(smf::Tunefolio& file, const notecompile::Note& note) {
    const auto key = static_cast<std::uint8_t>(note.key);
    const auto velocity = static_cast<std::uint8_t>(note.velocity);
    file.addEvent(0, note.onTick, {static_cast<std::uint8_t>(0x90 + channel), key, velocity});
    // The note-off carries the note's own velocity.
    file.addEvent(0, note.offTick, {static_cast<std::uint8_t>(0x80 + channel), key, velocity});
}

void echoNote(smf::TextBuffer& out, const notecompile::Note& note) {
    out.put("Note ontick=").putInt(note.onTick).put("\tofftick=").putInt(note.offTick);
    out.put("\tnote=").putInt(note.key).put("\tvel=").putInt(note.velocity).put('\n');
}

// Adds the note of every note line of the text. Lines are read in full
// whatever their length; a last line without a newline counts too.
void compileNotes(smf::Tunefolio& file, std::string_view text) {
    smf::TextBuffer out(std::cout);
    int nextNote = 1;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

        const std::string normalized = notecompile::normalizedLine(line);
        if (debug) {
            out.put("line ").putInt(nextNote).put(":\t").put(normalized).put('\n');
        }
        const std::optional<notecompile::Note> note = notecompile::parseNoteLine(normalized);
        if (!note) {
            continue;
        }
        if (debug) {
            echoNote(out, *note);
        }
        addNote(file, *note);
        ++nextNote;
    }
    out.flushStream();
}

}  // namespace

int main(int argc, char** argv) {
    checkOptions(argc, argv);
    if (!frame::requireArguments(options, kTool, 2)) {
        return 1;
    }
    const std::string inputName = options.getArg(1);
    const std::string outputName = options.getArg(2);
    if (frame::outputReplacesInput({inputName}, outputName)) {
        return 1;
    }

    const auto bytes = smf::readFileBytes(inputName);
    if (!bytes) {
        frame::print("Error: cannot read input text file.\n" + kTool.usage(options.getCommand()));
        return 1;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());

    smf::Tunefolio file;
    file.setTicksPerQuarterNote(kTicksPerQuarter);
    file.absoluteTicks();
    file.allocateEvents(0, eventsToReserve(text.size()));
    file.addEvent(0, 0, kTempo);
    compileNotes(file, text);
    file.sortTracks();
    if (!file.write(outputName)) {
        return frame::error("Error: could not write MIDI file " + frame::printableName(outputName));
    }
    return 0;
}
