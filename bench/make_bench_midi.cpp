// Writes the benchmark MIDI file: TRACKS tracks of NOTES notes each (default
// 8 x 125000, about 2 million events), from a fixed seed, so every run and
// every machine measures the same bytes. Two adversarial shapes serve the
// scaling benchmark: "one-tick" starts every note at tick 0, "one-key"
// plays every note on one key and channel, each starting a tick after the
// last and all lasting to the end (every note overlaps all later ones).
//
// usage: make_bench_midi OUTPUT [NOTES_PER_TRACK] [TRACKS] [spread|one-tick|one-key]
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "smf/tunefolio.h"

namespace {

// A small linear congruential generator: fixed output on every platform.
struct Lcg {
    std::uint32_t state = 20150218;
    int next(int range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(range));
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: make_bench_midi OUTPUT [NOTES_PER_TRACK] [TRACKS] [spread|one-tick|one-key]\n";
        return 1;
    }
    const int notes = argc > 2 ? std::atoi(argv[2]) : 125000;
    const int tracks = argc > 3 ? std::atoi(argv[3]) : 8;
    const std::string shape = argc > 4 ? argv[4] : "spread";
    Lcg random;
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(480);
    file.addTracks(tracks - 1);
    file.addTempo(0, 0, 120.0);
    for (int t = 0; t < tracks; ++t) {
        file.allocateEvents(t, 2 * notes + 4);
        file.addTrackName(t, 0, "Track " + std::to_string(t + 1));
        file.addPatchChange(t, 0, t, t * 8);
        int tick = 0;
        for (int n = 0; n < notes; ++n) {
            if (shape == "one-tick") {
                file.addNoteOn(t, 0, t, 36 + n % 60, 64);
                file.addNoteOff(t, 480, t, 36 + n % 60, 0);
                continue;
            }
            if (shape == "one-key") {
                file.addNoteOn(t, n, t, 60, 64);
                continue;
            }
            const int key = 36 + random.next(60);
            const int length = 30 + random.next(450);
            file.addNoteOn(t, tick, t, key, 40 + random.next(80));
            file.addNoteOff(t, tick + length, t, key, 0);
            tick += 60 + random.next(420);
            if (t == 0 && n % 5000 == 4999) {
                file.addTempo(0, tick, 90.0 + random.next(60));
            }
        }
        if (shape == "one-key") {
            for (int n = 0; n < notes; ++n) {
                file.addNoteOff(t, notes + 480, t, 60, 0);
            }
        }
    }
    file.sortTracks();
    if (!file.write(argv[1])) {
        std::cerr << "make_bench_midi: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
