// TempoMap: converts absolute ticks to seconds.
#pragma once

#include <cstdint>
#include <vector>

namespace smf {

struct TempoChange {
    std::int64_t tick = 0;
    int microsecondsPerQuarter = 500000;
};

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
