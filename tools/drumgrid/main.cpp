// drumgrid: turns three text drum patterns into percussion tracks of
// rhythm.mid, one sixteenth note a cell. Takes no options or arguments.
#include <array>
#include <string>
#include <string_view>

#include "drum_pattern.h"
#include "frame/frame.h"

namespace {

constexpr std::string_view kOutput = "rhythm.mid";
constexpr int kTicksPerQuarter = 120;
constexpr int kCellTicks = kTicksPerQuarter / 4;

struct Instrument {
    std::string_view pattern;
    int key;
};

constexpr std::array<Instrument, 3> kInstruments{{
    {"x-x-x-x-", 59},
    {"--x---x-", 38},
    {"x---x---", 41},
}};

}  // namespace

int main() {
    smf::Tunefolio file;
    file.absoluteTicks();
    file.setTicksPerQuarterNote(kTicksPerQuarter);

    for (const Instrument& instrument : kInstruments) {
        const int track = file.addTrack();
        drumgrid::addPattern(file, track, instrument.pattern, instrument.key, kCellTicks);
    }

    file.sortTracks();
    if (!file.write(std::string(kOutput))) {
        return frame::error("Error: could not write MIDI file " + std::string(kOutput));
    }
    return 0;
}
