#include "onsets.h"

#include <algorithm>

#include "smf/time_order.h"

namespace quantcheck {

std::vector<int> onsetDistances(const smf::Tunefolio& file) {
    // Sized once for every note-on (there are fewer distances), the list
    // never holds two copies of itself while it grows.
    std::size_t noteOns = 0;
    for (int t = 0; t < file.getNumTracks(); ++t) {
        for (const smf::MidiEvent& event : file[t]) {
            noteOns += event.isNoteOn() ? 1 : 0;
        }
    }
    std::vector<int> distances;
    distances.reserve(noteOns);
    long long reference = -1;
    smf::forEachEventInTimeOrder(file, [&](const smf::MidiEvent& event, int) {
        if (!event.isNoteOn()) {
            return;
        }
        const long long distance = event.tick - reference;
        if (reference >= 0 && distance < kDistanceLimit) {
            distances.push_back(static_cast<int>(distance));
        }
        reference = event.tick;
    });
    return distances;
}

std::vector<Run> summarize(std::vector<int>& distances) {
    std::sort(distances.begin(), distances.end());
    std::vector<Run> runs;
    for (int distance : distances) {
        if (runs.empty() || runs.back().distance != distance) {
            runs.push_back({distance, 0});
        }
        ++runs.back().count;
    }
    return runs;
}

std::string_view verdict(const std::vector<Run>& runs) {
    if (runs.empty()) {
        return "Empty";
    }
    if (runs.size() < 3) {
        return "Unknown";
    }
    // A chorale: many simultaneous onsets, the next distance clearly apart.
    if (runs[0].distance == 0 && runs[0].count >= 11 && runs[1].distance >= 10) {
        return "Quantized";
    }
    // Too few distinct distances to tell a grid from a performance.
    if (runs.size() < 6) {
        return "Unknown";
    }
    if (runs[5].distance > 9) {
        return "Unknown";
    }
    // A performance spreads its onsets over many small distances.
    const long long spread = static_cast<long long>(runs[1].count) + runs[2].count + runs[3].count + runs[4].count;
    return runs[0].count < spread ? "Performance" : "Quantized";
}

}  // namespace quantcheck
