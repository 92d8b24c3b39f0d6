// MidiEvent: a MidiMessage placed in time, with its track and an optional
// link to a partner event (a note-on and its note-off).
#pragma once

#include <utility>

#include "smf/midi_message.h"

namespace smf {

class MidiEventList;

class MidiEvent : public MidiMessage {
public:
    MidiEvent() = default;
    MidiEvent(int command, int p1);
    MidiEvent(int command, int p1, int p2);
    MidiEvent(int tick, int track, const MidiMessage& message);
    MidiEvent(int tickValue, int trackValue, std::span<const std::uint8_t> bytes)
        : MidiMessage(bytes), tick(tickValue), track(trackValue) {}

    // Copies and assignments carry the message, tick, track and seconds but
    // never a link: a link relates two events of one list. Assigning to a
    // linked event unlinks it and its partner.
    MidiEvent(const MidiEvent& other);
    // A moved event leaves its link behind: the offset means nothing elsewhere.
    MidiEvent(MidiEvent&& other) noexcept
        : MidiMessage(std::move(other)), tick(other.tick), track(other.track), seconds(other.seconds) {}
    MidiEvent& operator=(const MidiEvent& other);
    MidiEvent& operator=(MidiEvent&& other) noexcept;
    MidiEvent& operator=(const MidiMessage& message);
    ~MidiEvent() = default;

    // Absolute or delta ticks, as the owning file's tick mode says.
    int tick = 0;
    // The track the event belongs to (after joinTracks: the one it came from).
    int track = 0;

private:
    friend class MidiEventList;
    // Offset of the partner within the owning list's storage; 0 = unlinked.
    // (Declared here so that, with the fields around it, an event fills 32
    // bytes: lists of millions of events are read and merged.)
    int m_link = 0;

public:
    // Time in seconds from the start, filled by Tunefolio::doTimeAnalysis.
    double seconds = 0.0;

    bool isLinked() const { return m_link != 0; }
    // The partner of a linked event, or nullptr.
    MidiEvent* getLinkedEvent() { return m_link ? this + m_link : nullptr; }
    const MidiEvent* getLinkedEvent() const { return m_link ? this + m_link : nullptr; }
    // Unlinks the event and its partner.
    void unlinkEvent();

    // Length of a linked note pair in ticks (absolute tick mode) and in
    // seconds (after time analysis), asked of either event; 0 when unlinked.
    int getTickDuration() const;
    double getDurationInSeconds() const;
};

}  // namespace smf
