#include "smf/tempo_map.h"

#include <algorithm>

namespace smf {

TempoMap TempoMap::metrical(int ticksPerQuarter, const std::vector<TempoChange>& changes) {
    const double quarters = ticksPerQuarter > 0 ? ticksPerQuarter : 1;
    TempoMap map;
    map.m_segments.push_back({0, 0.0, 0.5 / quarters});
    for (const TempoChange& change : changes) {
        const double secondsPerTick = change.microsecondsPerQuarter / 1000000.0 / quarters;
        Segment& last = map.m_segments.back();
        if (change.tick <= last.tick) {
            // A change at (or, out of order, before) the current segment's
            // start replaces its rate from that start on.
            last.secondsPerTick = secondsPerTick;
            continue;
        }
        const double seconds = last.seconds + double(change.tick - last.tick) * last.secondsPerTick;
        map.m_segments.push_back({change.tick, seconds, secondsPerTick});
    }
    return map;
}

TempoMap TempoMap::fixedRate(double ticksPerSecond) {
    TempoMap map;
    map.m_segments.push_back({0, 0.0, ticksPerSecond > 0 ? 1.0 / ticksPerSecond : 0.0});
    return map;
}

double TempoMap::secondsAt(std::int64_t tick) const {
    if (m_segments.empty()) {
        return 0.0;
    }
    auto after = std::upper_bound(m_segments.begin(), m_segments.end(), tick,
                                  [](std::int64_t t, const Segment& s) { return t < s.tick; });
    const Segment& segment = after == m_segments.begin() ? m_segments.front() : *(after - 1);
    return segment.seconds + double(tick - segment.tick) * segment.secondsPerTick;
}

}  // namespace smf
