#include "smf/time_order.h"

namespace smf {

namespace detail {

bool tracksInTickOrder(const Tunefolio& file) {
    for (int track = 0; track < file.getTrackCount(); ++track) {
        const MidiEventList& events = file[track];
        for (int i = 1; i < events.size(); ++i) {
            const bool backwards = file.isDeltaTicks() ? events[i].tick < 0 : events[i].tick < events[i - 1].tick;
            if (backwards) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace detail

std::vector<EventPlace> eventsInTimeOrder(const Tunefolio& file) {
    struct Entry {
        std::int64_t tick;
        EventPlace place;
    };
    std::size_t total = 0;
    for (int t = 0; t < file.getTrackCount(); ++t) {
        total += static_cast<std::size_t>(file[t].size());
    }
    std::vector<Entry> entries;
    entries.reserve(total);
    for (int t = 0; t < file.getTrackCount(); ++t) {
        std::int64_t tick = 0;
        for (int i = 0; i < file[t].size(); ++i) {
            tick = file.isDeltaTicks() ? tick + file[t][i].tick : file[t][i].tick;
            entries.push_back({tick, {t, i}});
        }
    }
    // Entries stand in track order, so a stable sort by tick puts the lower
    // track first at equal ticks. joinTracks leaves a lone track as it is.
    if (file.getTrackCount() > 1) {
        naturalMergeSort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.tick < b.tick; });
    }
    std::vector<EventPlace> order(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        order[i] = entries[i].place;
    }
    return order;
}

}  // namespace smf
