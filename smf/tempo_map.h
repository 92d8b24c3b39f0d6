// TempoMap: converts absolute ticks to seconds.
//
// A map is built from a file's tempo events (Tunefolio::getTempoMap) and
// knows nothing of the file afterwards: it describes the file as it stood
// when the map was made.
#pragma once

#include <cstdint>
#include <vector>

namespace smf {

struct TempoChange {
    std::int64_t tick = 0;
    int microsecondsPerQuarter = 500000;
};

// Seconds that `ticks` last at one steady tempo (beats per minute) and
// resolution (ticks per quarter note): the conversion behind every program
// that times notes by the tempo in force rather than by a whole map.
inline double ticksToSeconds(double ticks, double beatsPerMinute, double ticksPerQuarter) {
    return ticks * 60.0 / beatsPerMinute / ticksPerQuarter;
}

class TempoMap {
public:
    TempoMap() = default;

    // Metrical timing: 120 beats per minute until the first change. The
    // changes must be in tick order; of several at one tick the last holds.
    static TempoMap metrical(int ticksPerQuarter, const std::vector<TempoChange>& changes);
    // SMPTE timing: a fixed number of ticks per second.
    static TempoMap fixedRate(double ticksPerSecond);

    bool empty() const { return m_segments.empty(); }
    // Seconds at an absolute tick; O(log n) in the number of changes.
    double secondsAt(std::int64_t tick) const;

private:
    struct Segment {
        std::int64_t tick;
        double seconds;
        double secondsPerTick;
    };
    std::vector<Segment> m_segments;
};

}  // namespace smf
