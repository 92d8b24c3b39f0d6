#include "resolution.h"

#include <climits>
#include <cmath>

namespace reticker {

namespace {

bool fitsInt(double value) {
    return value >= static_cast<double>(INT_MIN) && value <= static_cast<double>(INT_MAX);
}

bool allTicksFit(const smf::Tunefolio& file, double ratio) {
    for (int track = 0; track < file.getTrackCount(); ++track) {
        for (const smf::MidiEvent& event : file[track]) {
            if (!fitsInt(rescaledTick(event.tick, ratio))) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

double rescaledTick(int tick, double ratio) {
    return std::trunc(static_cast<double>(tick) * ratio + 0.5);
}

bool changeResolution(smf::Tunefolio& file, int newResolution) {
    const double ratio = static_cast<double>(newResolution) / file.getTicksPerQuarterNote();
    if (!allTicksFit(file, ratio)) {
        return false;
    }
    for (int track = 0; track < file.getTrackCount(); ++track) {
        for (int i = 0; i < file.getEventCount(track); ++i) {
            smf::MidiEvent& event = file.getEvent(track, i);
            event.tick = static_cast<int>(rescaledTick(event.tick, ratio));
        }
    }
    file.setTPQ(newResolution);
    return true;
}

}  // namespace reticker
