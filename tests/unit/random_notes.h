// Files of random events, for checking a fast path against a plain one on
// many shapes: notes on a few keys (so that they overlap and share keys),
// note-offs without note-ons and note-offs twice, controllers, programs,
// tempo changes, meters and key signatures, on several tracks and channels,
// the drum channel among them.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <span>

#include "smf/tunefolio.h"

namespace testfiles {

inline smf::Tunefolio randomNotes(std::uint32_t seed, int events = 300, int tracks = 3) {
    std::mt19937 random(seed);
    const auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(96);
    file.addTracks(tracks - 1);
    // Few ticks for many events: many of them fall on one tick.
    const int span = 1 + pick(4 * events);
    for (int i = 0; i < events; ++i) {
        const int track = pick(tracks);
        const int tick = pick(span);
        const int channel = pick(5) == 0 ? 9 : pick(3);
        const int key = 60 + pick(6);
        const auto b = [](int value) { return static_cast<std::uint8_t>(value); };
        switch (pick(12)) {
            case 0:
                file.addNoteOff(track, tick, channel, key, pick(128));  // maybe never struck
                break;
            case 1:
                file.addController(track, tick, channel, pick(128), pick(128));
                break;
            case 2:
                file.addPatchChange(track, tick, channel, pick(128));
                break;
            case 3:
                file.addTempo(track, tick, 30.0 + pick(200));
                break;
            case 4: {
                const std::array<std::uint8_t, 4> meter{b(1 + pick(12)), b(pick(5)), 24, 8};
                file.addMetaEvent(track, tick, 0x58, std::span<const std::uint8_t>(meter));
                break;
            }
            case 5: {
                const std::array<std::uint8_t, 2> keySignature{b(pick(15) - 7), b(pick(2))};
                file.addMetaEvent(track, tick, 0x59, std::span<const std::uint8_t>(keySignature));
                break;
            }
            default: {
                file.addNoteOn(track, tick, channel, key, 1 + pick(127));
                const int end = tick + pick(span / 4 + 2);
                if (pick(3) == 0) {
                    file.addEvent(track, end, {b(0x90 | channel), b(key), 0});  // a note-on of velocity 0
                } else {
                    file.addNoteOff(track, end, channel, key, 64);
                }
                break;
            }
        }
    }
    // One note held from the start to the end of the file.
    if (pick(2) == 0) {
        file.addNoteOn(0, 0, 0, 59, 100);
        file.addNoteOff(tracks - 1, span + span / 4 + 2, 0, 59, 0);
    }
    file.sortTracks();
    return file;
}

}  // namespace testfiles
