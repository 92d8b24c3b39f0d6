#include "drum_pattern.h"

#include <cstdint>

namespace drumgrid {

namespace {

constexpr std::uint8_t kNoteOn = 0x99;
constexpr std::uint8_t kNoteOff = 0x89;
constexpr std::uint8_t kVelocity = 64;

bool isStrike(char cell) { return cell == 'x' || cell == 'X'; }
bool isSilence(char cell) { return cell == '0' || cell == 'o' || cell == 'O'; }

}  // namespace

void addPattern(smf::Tunefolio& file, int track, std::string_view pattern, int key, int cellTicks) {
    const auto note = static_cast<std::uint8_t>(key);
    bool sounding = false;
    const auto endNote = [&](int tick) {
        file.addEvent(track, tick, {kNoteOff, note, kVelocity});
        sounding = false;
    };
    for (std::size_t index = 0; index < pattern.size(); ++index) {
        const int start = static_cast<int>(index) * cellTicks;
        if (isStrike(pattern[index])) {
            if (sounding) {
                endNote(start - 1);
            }
            file.addEvent(track, start, {kNoteOn, note, kVelocity});
            sounding = true;
        } else if (isSilence(pattern[index]) && sounding) {
            endNote(start - 1);
        }
    }
    if (sounding) {
        endNote(static_cast<int>(pattern.size()) * cellTicks);
    }
}

}  // namespace drumgrid
