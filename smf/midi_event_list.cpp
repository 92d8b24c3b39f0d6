#include "smf/midi_event_list.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <numeric>

namespace smf {

void MidiEventList::copyLinks(const std::vector<MidiEvent>& from, std::vector<MidiEvent>& to) {
    for (std::size_t i = 0; i < from.size(); ++i) {
        to[i].m_link = from[i].m_link;
    }
}

MidiEventList::MidiEventList(const MidiEventList& other) : m_events(other.m_events) {
    copyLinks(other.m_events, m_events);
}

MidiEventList& MidiEventList::operator=(const MidiEventList& other) {
    if (this != &other) {
        std::vector<MidiEvent> copy(other.m_events);
        copyLinks(other.m_events, copy);
        m_events = std::move(copy);
    }
    return *this;
}

void MidiEventList::growTo(std::size_t capacity) {
    // Moving an event drops its link, so the offsets are carried over by
    // hand: the relative layout of the list is unchanged.
    std::vector<MidiEvent> grown;
    grown.reserve(capacity);
    for (MidiEvent& event : m_events) {
        grown.push_back(std::move(event));
    }
    copyLinks(m_events, grown);
    m_events = std::move(grown);
}

void MidiEventList::reserve(int count) {
    if (count > 0 && static_cast<std::size_t>(count) > m_events.capacity()) {
        growTo(static_cast<std::size_t>(count));
    }
}

MidiEvent& MidiEventList::append(const MidiEvent& event) {
    if (m_events.size() == m_events.capacity()) {
        // The event may live in this very list: copy it before growing.
        return append(MidiEvent(event));
    }
    m_events.push_back(event);
    return m_events.back();
}

void MidiEventList::grow() {
    growTo(std::max<std::size_t>(16, m_events.capacity() * 2));
}

MidiEvent& MidiEventList::append(MidiEvent&& event) {
    if (m_events.size() == m_events.capacity()) {
        grow();
    }
    m_events.push_back(std::move(event));
    return m_events.back();
}

void MidiEventList::truncate(int count) {
    const auto keep = static_cast<std::size_t>(std::max(0, count));
    for (std::size_t i = keep; i < m_events.size(); ++i) {
        m_events[i].unlinkEvent();
    }
    if (keep < m_events.size()) {
        m_events.erase(m_events.begin() + static_cast<std::ptrdiff_t>(keep), m_events.end());
    }
}

void MidiEventList::appendAll(MidiEventList&& other, int track) {
    const std::size_t start = m_events.size();
    if (m_events.capacity() < start + other.m_events.size()) {
        growTo(start + other.m_events.size());
    }
    for (MidiEvent& event : other.m_events) {
        m_events.push_back(std::move(event));
        m_events.back().track = track;
    }
    // The block keeps its layout, so the offsets stay right.
    for (std::size_t i = 0; i < other.m_events.size(); ++i) {
        m_events[start + i].m_link = other.m_events[i].m_link;
    }
    other.m_events.clear();
}

void MidiEventList::reorder(const std::vector<int>& order) {
    const std::size_t count = m_events.size();
    // Translate the links first: where each old position ends up.
    std::vector<int> newPosition(count);
    for (std::size_t i = 0; i < count; ++i) {
        newPosition[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    std::vector<int> newLink(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const int old = order[i];
        const int link = m_events[static_cast<std::size_t>(old)].m_link;
        if (link != 0) {
            newLink[i] = newPosition[static_cast<std::size_t>(old + link)] - static_cast<int>(i);
        }
    }
    // Then move the events along the cycles of the permutation, in place,
    // so that reordering a large track needs no second copy of it.
    clearLinks();
    std::vector<bool> placed(count, false);
    for (std::size_t start = 0; start < count; ++start) {
        if (placed[start] || static_cast<std::size_t>(order[start]) == start) {
            continue;
        }
        MidiEvent carried(std::move(m_events[start]));
        std::size_t at = start;
        for (;;) {
            placed[at] = true;
            const auto from = static_cast<std::size_t>(order[at]);
            if (from == start) {
                m_events[at] = std::move(carried);
                break;
            }
            m_events[at] = std::move(m_events[from]);
            at = from;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        m_events[i].m_link = newLink[i];
    }
}

bool MidiEventList::isSortedByTick() const {
    return std::is_sorted(m_events.begin(), m_events.end(),
                          [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
}

MidiEventList MidiEventList::mergeSorted(std::vector<MidiEventList>& lists) {
    std::size_t total = 0;
    for (const MidiEventList& list : lists) {
        total += list.m_events.size();
    }
    MidiEventList merged;
    merged.m_events.reserve(total);
    // Where each linked source event lands, to translate the link offsets.
    std::vector<std::vector<int>> landed(lists.size());
    for (std::size_t t = 0; t < lists.size(); ++t) {
        const auto& events = lists[t].m_events;
        if (std::any_of(events.begin(), events.end(), [](const MidiEvent& e) { return e.m_link != 0; })) {
            landed[t].resize(events.size());
        }
    }
    // A min-heap of the list heads keyed by (tick, list number) in one
    // integer. The head list then gives events in a burst for as long as
    // they come before the next head, so the heap is touched once per run.
    auto keyOf = [](std::int64_t tick, std::size_t list) {
        return ((tick - std::int64_t{INT32_MIN}) << 16) | static_cast<std::int64_t>(list);
    };
    std::vector<std::int64_t> heap;
    std::vector<std::size_t> position(lists.size(), 0);
    for (std::size_t t = 0; t < lists.size(); ++t) {
        if (!lists[t].m_events.empty()) {
            heap.push_back(keyOf(lists[t].m_events.front().tick, t));
        }
    }
    const auto later = std::greater<std::int64_t>();
    std::make_heap(heap.begin(), heap.end(), later);
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), later);
        const auto t = static_cast<std::size_t>(heap.back() & 0xFFFF);
        heap.pop_back();
        const std::int64_t bound = heap.empty() ? INT64_MAX : heap.front();
        auto& source = lists[t].m_events;
        std::vector<int>& landing = landed[t];
        std::size_t i = position[t];
        do {
            if (!landing.empty()) {
                landing[i] = static_cast<int>(merged.m_events.size());
            }
            merged.m_events.push_back(std::move(source[i]));
            merged.m_events.back().track = static_cast<int>(t);
            ++i;
        } while (i < source.size() && keyOf(source[i].tick, t) < bound);
        position[t] = i;
        if (i < source.size()) {
            heap.push_back(keyOf(source[i].tick, t));
            std::push_heap(heap.begin(), heap.end(), later);
        }
    }
    for (std::size_t t = 0; t < lists.size(); ++t) {
        const auto& source = lists[t].m_events;
        if (!landed[t].empty()) {
            for (std::size_t i = 0; i < source.size(); ++i) {
                if (source[i].m_link != 0) {
                    const int at = landed[t][i];
                    const int partner = landed[t][i + static_cast<std::size_t>(source[i].m_link)];
                    merged.m_events[static_cast<std::size_t>(at)].m_link = partner - at;
                }
            }
        }
        lists[t].m_events.clear();
    }
    return merged;
}

void MidiEventList::sortByTick() {
    if (isSortedByTick()) {
        return;
    }
    std::vector<int> order(m_events.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return m_events[static_cast<std::size_t>(a)].tick < m_events[static_cast<std::size_t>(b)].tick;
    });
    reorder(order);
}

void MidiEventList::clearLinks() {
    for (MidiEvent& event : m_events) {
        event.m_link = 0;
    }
}

void MidiEventList::linkEvents(int first, int second) {
    MidiEvent& a = m_events[static_cast<std::size_t>(first)];
    MidiEvent& b = m_events[static_cast<std::size_t>(second)];
    a.unlinkEvent();
    b.unlinkEvent();
    if (first != second) {
        a.m_link = second - first;
        b.m_link = first - second;
    }
}

int MidiEventList::linkNotePairs() {
    clearLinks();
    // One first-in-first-out queue of open note-ons per channel and key,
    // threaded through the events so that pairing stays linear however many
    // notes of one key overlap.
    constexpr int kSlots = 16 * 128;
    std::vector<int> head(kSlots, -1);
    std::vector<int> tail(kSlots, -1);
    std::vector<int> next(m_events.size(), -1);
    int pairs = 0;
    for (int i = 0; i < size(); ++i) {
        const MidiEvent& event = m_events[static_cast<std::size_t>(i)];
        if (!event.isNote()) {
            continue;
        }
        const int slot = event.getChannelNibble() * 128 + event.getKeyNumber();
        if (event.isNoteOn()) {
            if (tail[slot] < 0) {
                head[slot] = i;
            } else {
                next[static_cast<std::size_t>(tail[slot])] = i;
            }
            tail[slot] = i;
        } else if (head[slot] >= 0) {
            const int on = head[slot];
            head[slot] = next[static_cast<std::size_t>(on)];
            if (head[slot] < 0) {
                tail[slot] = -1;
            }
            m_events[static_cast<std::size_t>(on)].m_link = i - on;
            m_events[static_cast<std::size_t>(i)].m_link = on - i;
            ++pairs;
        }
    }
    return pairs;
}

}  // namespace smf
