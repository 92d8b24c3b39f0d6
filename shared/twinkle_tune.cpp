#include "shared/twinkle_tune.h"

#include <array>
#include <cstddef>
#include <span>

namespace twinkle {

namespace {

struct Tone {
    int key;
    int quarters;
};

constexpr std::array<Tone, 14> kMelody{{{72, 1}, {72, 1}, {79, 1}, {79, 1}, {81, 1}, {81, 1}, {79, 2},
                                        {77, 1}, {77, 1}, {76, 1}, {76, 1}, {74, 1}, {74, 1}, {72, 2}}};

constexpr std::array<Tone, 15> kBass{{{48, 1}, {60, 1}, {64, 1}, {60, 1}, {65, 1}, {60, 1}, {64, 1}, {60, 1},
                                      {62, 1}, {59, 1}, {60, 1}, {57, 1}, {53, 1}, {55, 1}, {48, 2}}};

std::vector<Note> timed(std::span<const Tone> tones) {
    std::vector<Note> notes;
    notes.reserve(tones.size());
    int tick = 0;
    for (const Tone& tone : tones) {
        const int end = tick + tone.quarters * kTicksPerQuarter;
        notes.push_back({tick, end, tone.key});
        tick = end;
    }
    return notes;
}

}  // namespace

std::vector<Note> melody() { return timed(kMelody); }

std::vector<Note> bass() { return timed(kBass); }

}  // namespace twinkle
