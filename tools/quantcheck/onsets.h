// Onset distances of a MIDI file and the verdict they give: performed or
// quantized music.
#pragma once

#include <string_view>
#include <vector>

#include "smf/tunefolio.h"

namespace quantcheck {

// Distances of this size or more are gaps, not rhythm: they are not counted.
constexpr int kDistanceLimit = 1000000;

// One distinct distance and how often it occurs.
struct Run {
    int distance = 0;
    int count = 0;
};

// Tick distances between successive note-ons (velocity above 0) of all
// tracks together, in time order (as joined tracks would give them);
// absolute ticks.
std::vector<int> onsetDistances(const smf::Tunefolio& file);

// The distinct distances in ascending order with their counts; sorts the list.
std::vector<Run> summarize(std::vector<int>& distances);

// "Empty", "Unknown", "Quantized" or "Performance".
std::string_view verdict(const std::vector<Run>& runs);

}  // namespace quantcheck
