#include "stretch.h"

#include <climits>
#include <cmath>

namespace elastick {

namespace {

constexpr double kMaxTempo = 0xFFFFFF;

struct Scaling {
    double tickFactor;
    double barFactor;
    double durationFactor;
};

// Scaled values are computed in double and checked before they become int:
// a long file at a coarse resolution stretched by a small bar factor can
// pass the range of int.
double stretchedTick(const smf::MidiEvent& event, const Scaling& scaling) {
    return std::trunc(static_cast<double>(event.tick) * scaling.tickFactor);
}

double stretchedTempo(const smf::MidiEvent& event, const Scaling& scaling) {
    return std::trunc(static_cast<double>(event.getTempoMicroseconds()) * scaling.barFactor *
                      scaling.durationFactor);
}

bool fitsFile(const smf::Tunefolio& file, const Scaling& scaling) {
    for (int track = 0; track < file.size(); ++track) {
        for (const smf::MidiEvent& event : file[track]) {
            const double tick = stretchedTick(event, scaling);
            if (tick < 0.0 || tick > static_cast<double>(INT_MAX)) {
                return false;
            }
            if (event.isTempo() && stretchedTempo(event, scaling) > kMaxTempo) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool factorInRange(double factor) {
    return factor >= kMinimumFactor && factor <= kMaximumFactor;
}

bool stretch(smf::Tunefolio& file, double barFactor, double durationFactor) {
    const int oldResolution = file.getTicksPerQuarterNote();
    const int newResolution = oldResolution <= kFineResolution ? kFineResolution : oldResolution;
    const Scaling scaling{(static_cast<double>(newResolution) / oldResolution) / barFactor, barFactor,
                          durationFactor};
    if (!fitsFile(file, scaling)) {
        return false;
    }
    file.setTicksPerQuarterNote(newResolution);
    for (int track = 0; track < file.size(); ++track) {
        for (smf::MidiEvent& event : file[track]) {
            event.tick = static_cast<int>(stretchedTick(event, scaling));
            // Only well-formed tempo messages: rewriting a malformed one
            // would invent a tempo the file never had.
            if (event.isTempo()) {
                event.setTempoMicroseconds(static_cast<int>(stretchedTempo(event, scaling)));
            }
        }
    }
    return true;
}

}  // namespace elastick
