#include "smf/midi_event.h"

namespace smf {

MidiEvent::MidiEvent(int command, int p1) : MidiMessage(command, p1) {}

MidiEvent::MidiEvent(int command, int p1, int p2) : MidiMessage(command, p1, p2) {}

MidiEvent::MidiEvent(int tickValue, int trackValue, const MidiMessage& message)
    : MidiMessage(message), tick(tickValue), track(trackValue) {}

MidiEvent::MidiEvent(const MidiEvent& other)
    : MidiMessage(other), tick(other.tick), track(other.track), seconds(other.seconds) {}

MidiEvent& MidiEvent::operator=(const MidiEvent& other) {
    if (this != &other) {
        unlinkEvent();
        MidiMessage::operator=(other);
        tick = other.tick;
        track = other.track;
        seconds = other.seconds;
    }
    return *this;
}

MidiEvent& MidiEvent::operator=(MidiEvent&& other) noexcept {
    if (this != &other) {
        unlinkEvent();
        MidiMessage::operator=(std::move(other));
        tick = other.tick;
        track = other.track;
        seconds = other.seconds;
    }
    return *this;
}

MidiEvent& MidiEvent::operator=(const MidiMessage& message) {
    if (static_cast<const MidiMessage*>(this) != &message) {
        unlinkEvent();
        MidiMessage::operator=(message);
    }
    return *this;
}

void MidiEvent::unlinkEvent() {
    if (m_link != 0) {
        (this + m_link)->m_link = 0;
        m_link = 0;
    }
}

int MidiEvent::getTickDuration() const {
    const MidiEvent* partner = getLinkedEvent();
    if (!partner) {
        return 0;
    }
    return isNoteOff() ? tick - partner->tick : partner->tick - tick;
}

double MidiEvent::getDurationInSeconds() const {
    const MidiEvent* partner = getLinkedEvent();
    if (!partner) {
        return 0.0;
    }
    return isNoteOff() ? seconds - partner->seconds : partner->seconds - seconds;
}

}  // namespace smf
