// Writes a file for checking that notegraph's connecting lines stay linear:
// NOTES notes in one track, starting one after another. "overlap" lets every
// note last until the end of the file, so each overlaps all later ones;
// "short" makes each note end before the next starts, as a baseline.
//
// usage: make_overlap_midi OUTPUT [NOTES] [overlap|short]
#include <cstdlib>
#include <iostream>
#include <string>

#include "smf/tunefolio.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: make_overlap_midi OUTPUT [NOTES] [overlap|short]\n";
        return 1;
    }
    const int notes = argc > 2 ? std::atoi(argv[2]) : 100000;
    const bool overlap = argc <= 3 || std::string(argv[3]) != "short";
    constexpr int kSpacing = 10;
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(480);
    file.allocateEvents(0, 2 * notes + 2);
    const int end = notes * kSpacing + kSpacing;
    for (int n = 0; n < notes; ++n) {
        const int key = 36 + n % 60;
        file.addNoteOn(0, n * kSpacing, 0, key, 64);
        if (!overlap) {
            file.addNoteOff(0, n * kSpacing + kSpacing / 2, 0, key, 0);
        }
    }
    if (overlap) {
        for (int n = 0; n < notes; ++n) {
            file.addNoteOff(0, end, 0, 36 + n % 60, 0);
        }
    }
    if (!file.write(argv[1])) {
        std::cerr << "make_overlap_midi: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
