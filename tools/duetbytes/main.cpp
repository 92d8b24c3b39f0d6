// duetbytes: writes the two-part tune of duetmaker to twinkle.mid from raw
// note messages only: no names, tempo or patches, track 0 left empty. Takes
// no options or arguments.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/frame.h"
#include "shared/twinkle_tune.h"

namespace {

constexpr std::string_view kOutput = "twinkle.mid";
constexpr std::uint8_t kVelocity = 64;

// Both parts on channel 1 (nibble 0).
void addNotes(smf::Tunefolio& file, int track, const std::vector<twinkle::Note>& notes) {
    for (const twinkle::Note& note : notes) {
        const auto key = static_cast<std::uint8_t>(note.key);
        file.addEvent(track, note.onset, {0x90, key, kVelocity});
        file.addEvent(track, note.end, {0x80, key, kVelocity});
    }
}

}  // namespace

int main() {
    smf::Tunefolio file;
    file.absoluteTicks();
    file.addTrack(2);
    file.setTicksPerQuarterNote(twinkle::kTicksPerQuarter);

    addNotes(file, 1, twinkle::melody());
    addNotes(file, 2, twinkle::bass());

    file.sortTracks();
    if (!file.write(std::string(kOutput))) {
        return frame::error("Error: could not write MIDI file " + std::string(kOutput));
    }
    return 0;
}
