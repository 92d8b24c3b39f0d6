// duration: lists every note of a MIDI file with its start, length, track
// and key, in ticks, whole quarter notes or seconds.
#include <charconv>
#include <iostream>

#include "frame/frame.h"
#include "smf/text_buffer.h"
#include "smf/time_order.h"

namespace {

const frame::Tool kTool{
    .family = frame::Family::Dated,
    .authorDate = "February 2015",
    .version = "duration, version 1.0 (19 Feb 2015)",
    .options = {{"q|quarter=b", "Display ticks in quarter note units"},
                {"j|join=b", "Join tracks before printing"},
                {"s|seconds=b", "Display times in seconds"}},
};

enum class TimeUnit { Ticks, Quarters, Seconds };

smf::Options options;
TimeUnit timeUnit = TimeUnit::Ticks;
bool joinedListing = false;

void checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    const bool quarters = options.getBoolean("quarter");
    joinedListing = options.getBoolean("join");
    // Seconds win over quarter notes when both are asked for.
    if (options.getBoolean("seconds")) {
        timeUnit = TimeUnit::Seconds;
    } else if (quarters) {
        timeUnit = TimeUnit::Quarters;
    }
}

std::string_view header() {
    switch (timeUnit) {
        case TimeUnit::Seconds:
            return "SEC\tDUR\tTRACK\tNOTE\n";
        case TimeUnit::Quarters:
            return "QTRS\tDUR\tTRACK\tNOTE\n";
        case TimeUnit::Ticks:
            break;
    }
    return "TICKS\tDUR\tTRACK\tNOTE\n";
}

// A note line: four numbers, their tabs and the newline.
constexpr std::size_t kLineRoom = 4 * (smf::kNumberRoom + 1);

char* putInt(char* at, int value) {
    return std::to_chars(at, at + smf::kNumberRoom, value).ptr;
}

char* putDouble(char* at, double value) {
    return smf::toCharsGeneral(at, at + smf::kNumberRoom, value);
}

// Start and length of one note in the chosen unit. Quarter-note starts are
// whole quarters only (truncated); their lengths keep the fraction.
char* putTiming(char* at, const smf::MidiEvent& note, int ticksPerQuarter) {
    switch (timeUnit) {
        case TimeUnit::Seconds:
            at = putDouble(at, note.seconds);
            *at++ = '\t';
            return putDouble(at, note.getDurationInSeconds());
        case TimeUnit::Quarters:
            at = putInt(at, note.tick / ticksPerQuarter);
            *at++ = '\t';
            return putDouble(at, static_cast<double>(note.getTickDuration()) / ticksPerQuarter);
        case TimeUnit::Ticks:
            break;
    }
    at = putInt(at, note.tick);
    *at++ = '\t';
    return putDouble(at, static_cast<double>(note.getTickDuration()));
}

void printNote(smf::TextBuffer& out, const smf::MidiEvent& note, int ticksPerQuarter) {
    char* at = putTiming(out.claim(kLineRoom), note, ticksPerQuarter);
    *at++ = '\t';
    at = putInt(at, note.track);
    *at++ = '\t';
    at = putInt(at, note.getKeyNumber());
    *at++ = '\n';
    out.commit(at);
}

// Joined: one list in the order of the tracks joined into one (walked in
// that order, not moved), each note with its source track. Otherwise track
// by track, each block followed by an empty line when there are several.
void printNotes(smf::TextBuffer& out, const smf::Tunefolio& file, int ticksPerQuarter) {
    if (joinedListing) {
        smf::forEachEventInTimeOrder(file, [&](const smf::MidiEvent& event, int) {
            if (event.isNoteOn()) {
                printNote(out, event, ticksPerQuarter);
            }
        });
        return;
    }
    const bool blockPerTrack = file.getTrackCount() > 1;
    for (int t = 0; t < file.getTrackCount(); ++t) {
        for (const smf::MidiEvent& event : file[t]) {
            if (event.isNoteOn()) {
                printNote(out, event, ticksPerQuarter);
            }
        }
        if (blockPerTrack) {
            out.put('\n');
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    checkOptions(argc, argv);
    if (options.getArgCount() > 1) {
        return frame::error("Error: One input file or standard input is required.");
    }

    smf::Tunefolio file;
    if (!frame::readInput(file, options)) {
        return frame::error("Error: could not read MIDI file");
    }
    const int ticksPerQuarter = file.getTicksPerQuarterNote();
    // Notes are paired within their tracks.
    file.linkNotePairs();
    if (timeUnit == TimeUnit::Seconds) {
        file.doTimeAnalysis();
    }

    smf::TextBuffer out(std::cout);
    out.put(header()).put("============================\n");
    printNotes(out, file, ticksPerQuarter);
    if (!out.flushStream()) {
        return frame::error("Error: could not write the listing");
    }
    return 0;
}
