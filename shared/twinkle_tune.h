// The two-part tune that both duet examples (duetmaker, duetbytes) write: a
// melody and a bass line, both starting at tick 0 and ending after sixteen
// quarter notes.
#pragma once

#include <vector>

namespace twinkle {

inline constexpr int kTicksPerQuarter = 120;

struct Note {
    int onset = 0;   // ticks
    int end = 0;     // ticks
    int key = 0;
};

// Each note starts where the previous one ends.
std::vector<Note> melody();
std::vector<Note> bass();

}  // namespace twinkle
