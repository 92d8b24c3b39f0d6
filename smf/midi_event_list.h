// MidiEventList: the events of one track, in list order.
//
// The list owns its storage so that note links (offsets between two events of
// the list) stay valid however the list grows, is copied or is sorted.
#pragma once

#include <functional>
#include <vector>

#include "smf/midi_event.h"

namespace smf {

class MidiEventList {
public:
    MidiEventList() = default;
    MidiEventList(const MidiEventList& other);
    MidiEventList(MidiEventList&& other) noexcept = default;
    MidiEventList& operator=(const MidiEventList& other);
    MidiEventList& operator=(MidiEventList&& other) noexcept = default;

    MidiEvent& operator[](int index) { return m_events[static_cast<std::size_t>(index)]; }
    const MidiEvent& operator[](int index) const { return m_events[static_cast<std::size_t>(index)]; }
    MidiEvent& getEvent(int index) { return (*this)[index]; }
    const MidiEvent& getEvent(int index) const { return (*this)[index]; }
    // The last event; the list must not be empty.
    MidiEvent& last() { return m_events.back(); }
    const MidiEvent& last() const { return m_events.back(); }

    int size() const { return static_cast<int>(m_events.size()); }
    int getEventCount() const { return size(); }
    int getSize() const { return size(); }
    bool empty() const { return m_events.empty(); }

    MidiEvent* begin() { return m_events.data(); }
    MidiEvent* end() { return m_events.data() + m_events.size(); }
    const MidiEvent* begin() const { return m_events.data(); }
    const MidiEvent* end() const { return m_events.data() + m_events.size(); }

    // Appends a copy of the event (unlinked) and returns it.
    MidiEvent& append(const MidiEvent& event);
    MidiEvent& append(MidiEvent&& event);
    MidiEvent& push_back(const MidiEvent& event) { return append(event); }
    // Builds the event in place at the end (no move): the reader's path.
    MidiEvent& append(int tick, int track, std::span<const std::uint8_t> bytes) {
        if (m_events.size() == m_events.capacity()) {
            grow();
        }
        return m_events.emplace_back(tick, track, bytes);
    }
    // Moves every event of other to the end of this list, links kept, each
    // event's `track` set to track.
    void appendAll(MidiEventList&& other, int track);
    void reserve(int count);
    void clear() { m_events.clear(); }
    // Keeps the first count events; links to the events dropped are undone.
    void truncate(int count);

    // Stable sort by tick; links follow their events.
    void sortByTick();
    bool isSortedByTick() const;
    // Merges lists that are each in tick order into one: at equal ticks the
    // lower list first, then list order. Events are moved (the sources are
    // left empty), keep their links and get the number of their list as
    // `track`.
    static MidiEventList mergeSorted(std::vector<MidiEventList>& lists);
    // Reorders the events: new position i holds the event at old position
    // order[i]. order must be a permutation of 0..size()-1. Links follow.
    void reorder(const std::vector<int>& order);

    // Pairs note-ons with note-offs, per channel and key, first in first
    // out, in list order. Earlier links are dropped. Returns the pair count.
    int linkNotePairs();
    void clearLinks();
    // Links the events at two positions (each unlinked from any earlier partner).
    void linkEvents(int first, int second);

private:
    void growTo(std::size_t capacity);
    void grow();
    static void copyLinks(const std::vector<MidiEvent>& from, std::vector<MidiEvent>& to);

    std::vector<MidiEvent> m_events;
};

}  // namespace smf
