// duetmaker: writes a two-part tune to twinkle.mid with the library's note,
// patch, tempo and track-name operations. Takes no options or arguments.
#include <string>
#include <string_view>
#include <vector>

#include "frame/frame.h"
#include "shared/twinkle_tune.h"

namespace {

constexpr std::string_view kOutput = "twinkle.mid";

struct Part {
    int track;
    std::string_view name;
    int channel;
    int program;
    int velocity;
    std::vector<twinkle::Note> notes;
};

void addPart(smf::Tunefolio& file, const Part& part) {
    file.addTrackName(part.track, 0, part.name);
    file.addPatchChange(part.track, 0, part.channel, part.program);
    for (const twinkle::Note& note : part.notes) {
        file.addNoteOn(part.track, note.onset, part.channel, note.key, part.velocity);
        file.addNoteOff(part.track, note.end, part.channel, note.key, part.velocity);
    }
}

}  // namespace

int main() {
    smf::Tunefolio file;
    file.addTracks(2);
    file.setTicksPerQuarterNote(twinkle::kTicksPerQuarter);

    file.addTrackName(0, 0, "Twinkle, Twinkle Little Star");
    file.addTempo(0, 0, 104.0);
    addPart(file, {1, "Melody", 0, 40, 64, twinkle::melody()});
    addPart(file, {2, "Bass line", 1, 58, 90, twinkle::bass()});

    file.sortTracks();
    if (!file.write(std::string(kOutput))) {
        return frame::error("Error: could not write MIDI file " + std::string(kOutput));
    }
    return 0;
}
