// Time order without moving events.
//
// Tools that only read the events of every track in time order can walk
// them with forEachEventInTimeOrder instead of calling Tunefolio::joinTracks:
// the order is the same, but no event is copied or moved, no memory is
// taken, and the tracks stay as they are.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "smf/tunefolio.h"

namespace smf {

// Where an event lies: file[track][index].
struct EventPlace {
    int track = 0;
    int index = 0;
};

// Every event of the file in the order joinTracks gives: by absolute tick,
// at equal ticks the lower track first, then list order (a single track
// keeps its list order). Works in either tick mode. O(n log k) for k tracks
// that are each in tick order, O(n log n) at worst.
std::vector<EventPlace> eventsInTimeOrder(const Tunefolio& file);

// Calls fn(event, track) for every event of the file in the order of
// eventsInTimeOrder. Merges the tracks on the fly when each is in tick
// order (the case for every file as read); otherwise walks that list.
template <class Fn>
void forEachEventInTimeOrder(const Tunefolio& file, Fn&& fn);

// Sorts [first, last) stably by merging its ascending stretches pairwise:
// a single pass over a sorted range, O(n log r) for r stretches.
template <class RandomIt, class Less>
void naturalMergeSort(RandomIt first, RandomIt last, Less less);

// ---- implementation ----

namespace detail {

// The next event of one track in a merge: its absolute tick and place.
struct TrackHead {
    std::int64_t tick;
    int track;
    int index;
};

inline bool comesFirst(const TrackHead& a, const TrackHead& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.track < b.track;
}

// Restores the min-heap order below position i.
inline void siftDown(std::vector<TrackHead>& heap, std::size_t i) {
    const TrackHead moving = heap[i];
    for (;;) {
        std::size_t child = 2 * i + 1;
        if (child >= heap.size()) {
            break;
        }
        if (child + 1 < heap.size() && comesFirst(heap[child + 1], heap[child])) {
            ++child;
        }
        if (!comesFirst(heap[child], moving)) {
            break;
        }
        heap[i] = heap[child];
        i = child;
    }
    heap[i] = moving;
}

// Whether every track of the file is in tick order.
bool tracksInTickOrder(const Tunefolio& file);

}  // namespace detail

template <class Fn>
void forEachEventInTimeOrder(const Tunefolio& file, Fn&& fn) {
    if (file.getTrackCount() == 1) {
        for (const MidiEvent& event : file[0]) {
            fn(event, 0);
        }
        return;
    }
    if (!detail::tracksInTickOrder(file)) {
        for (const EventPlace& place : eventsInTimeOrder(file)) {
            fn(file[place.track][place.index], place.track);
        }
        return;
    }
    const bool delta = file.isDeltaTicks();
    std::vector<detail::TrackHead> heap;
    for (int track = 0; track < file.getTrackCount(); ++track) {
        if (!file[track].empty()) {
            heap.push_back({file[track][0].tick, track, 0});
        }
    }
    for (std::size_t i = heap.size(); i-- > 0;) {
        detail::siftDown(heap, i);
    }
    while (!heap.empty()) {
        detail::TrackHead& first = heap.front();
        const MidiEventList& events = file[first.track];
        fn(events[first.index], first.track);
        if (++first.index < events.size()) {
            first.tick = delta ? first.tick + events[first.index].tick : events[first.index].tick;
        } else {
            first = heap.back();
            heap.pop_back();
        }
        if (!heap.empty()) {
            detail::siftDown(heap, 0);
        }
    }
}

template <class RandomIt, class Less>
void naturalMergeSort(RandomIt first, RandomIt last, Less less) {
    const auto count = static_cast<std::size_t>(std::distance(first, last));
    std::vector<std::size_t> bounds{0};
    for (std::size_t i = 1; i < count; ++i) {
        if (less(first[i], first[i - 1])) {
            bounds.push_back(i);
        }
    }
    bounds.push_back(count);
    while (bounds.size() > 2) {
        std::vector<std::size_t> merged{0};
        std::size_t i = 0;
        for (; i + 2 < bounds.size(); i += 2) {
            std::inplace_merge(first + static_cast<std::ptrdiff_t>(bounds[i]),
                               first + static_cast<std::ptrdiff_t>(bounds[i + 1]),
                               first + static_cast<std::ptrdiff_t>(bounds[i + 2]), less);
            merged.push_back(bounds[i + 2]);
        }
        if (merged.back() != count) {
            merged.push_back(count);
        }
        bounds = std::move(merged);
    }
}

}  // namespace smf
