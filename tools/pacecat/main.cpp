// pacecat: joins MIDI files one after the other into a one-track MIDI file,
// with a pause of a given number of seconds between them, written to
// standard output as MIDI bytes or (-a) as hexscribe text.
#include <array>
#include <cstdint>
#include <iostream>
#include <string>

#include "frame/frame.h"
#include "smf/midi_layout.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const frame::Tool kTool{
    .family = frame::Family::Classic,
    .authorDate = "16 October 2012",
    .version = "October 2012",
    .options = {{"p|pause=d:2.0", "Pause given number of secs after each file"},
                {"a|ascii=b", "Display MIDI output as ASCII text"}},
    .order = frame::OwnOptions::BeforeStandard,
};

// 500000 microseconds per quarter note: 120 beats per minute, the tempo at
// which a pause of p seconds lasts 2p quarter notes.
constexpr std::array<std::uint8_t, 3> kPauseTempo{0x07, 0xA1, 0x20};

smf::Options options;
double pauseSeconds = 2.0;
bool asciiOutput = false;

void checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    pauseSeconds = options.getDouble("pause");
    asciiOutput = options.getBoolean("ascii");
}

// Ticks of the pause at the pause tempo: Q x 2p, rounded; -1 when a MIDI
// file cannot hold a delta that long.
long long pauseTicks(int ticksPerQuarter) {
    if (pauseSeconds <= 0) {
        return 0;
    }
    const double ticks = ticksPerQuarter * (pauseSeconds * 2.0) + 0.5;
    return ticks <= static_cast<double>(smf::kMaxDelta) ? static_cast<long long>(ticks) : -1;
}

// The events of a joined input (a file without tracks has none).
int joinedEventCount(const smf::Tunefolio& input) {
    return input.getTrackCount() > 0 ? input.getEventCount(0) : 0;
}

// Appends every event of the joined, delta-timed input to track 0 of the
// output, except the closing end-of-track. End-of-track events inside the
// list are kept for their delta times; the writer leaves them out.
void copyEvents(smf::Tunefolio& output, const smf::Tunefolio& input) {
    int count = joinedEventCount(input);
    if (count > 0 && input.getEvent(0, count - 1).isEndOfTrack()) {
        --count;
    }
    smf::MidiEvent scratch;
    for (int j = 0; j < count; ++j) {
        scratch = input.getEvent(0, j);
        scratch.track = 0;
        output.addEvent(scratch);
    }
}

// Appends one input. Every input after the first starts after the pause:
// the pause tempo, then the input's first event with the pause as its delta.
void appendFile(smf::Tunefolio& output, smf::Tunefolio& input, bool first, long long gapTicks) {
    input.joinTracks();
    input.deltaTicks();
    if (first) {
        output.setTicksPerQuarterNote(input.getTicksPerQuarterNote());
    } else if (joinedEventCount(input) == 0) {
        return;
    } else if (pauseSeconds > 0) {
        output.addMetaEvent(0, 0, 0x51, kPauseTempo);
        input.getEvent(0, 0).tick = static_cast<int>(gapTicks);
    }
    copyEvents(output, input);
}

void addClosingEndOfTrack(smf::Tunefolio& output) {
    const smf::MidiEvent end(output.getTicksPerQuarterNote(), 0, smf::MidiMessage{0xFF, 0x2F, 0x00});
    output.addEvent(end);
}

bool writeOutput(const smf::Tunefolio& output) {
    if (asciiOutput) {
        std::cout << output;
        std::cout.flush();
        return static_cast<bool>(std::cout);
    }
#ifdef _WIN32
    // MIDI bytes must pass without newline translation.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return output.write(std::cout);
}

}  // namespace

int main(int argc, char** argv) {
    checkOptions(argc, argv);
    if (options.getArgCount() < 2) {
        return 1;  // nothing to join; the joiner prints no usage text
    }

    smf::Tunefolio output;
    output.deltaTicks();
    long long gapTicks = 0;
    for (int i = 1; i <= options.getArgCount(); ++i) {
        const std::string name = options.getArg(i);
        smf::Tunefolio input;
        if (!frame::readMidiFile(input, name)) {
            return 1;
        }
        const bool first = i == 1;
        if (first) {
            gapTicks = pauseTicks(input.getTicksPerQuarterNote());
            if (gapTicks < 0) {
                return frame::error("Error: pause too long for a MIDI file");
            }
        }
        appendFile(output, input, first, gapTicks);
    }
    addClosingEndOfTrack(output);
    if (!writeOutput(output)) {
        return frame::error("Error: could not write MIDI file");
    }
    return 0;
}
