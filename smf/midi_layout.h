// How the events of a track stand in a Standard MIDI File.
//
// The binary writer and the hexscribe text writers share this one view, so
// that text always describes exactly the bytes that write() produces: no
// running status, end-of-track events inside a track dropped, and one
// end-of-track closing the track at its last tick.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <string>

#include "smf/midi_event_list.h"
#include "smf/result.h"

namespace smf {

// One event as the file holds it.
struct FileEvent {
    std::uint32_t delta = 0;
    std::int64_t tick = 0;                 // absolute
    const MidiEvent* event = nullptr;      // nullptr: the closing end-of-track
};

inline constexpr std::uint32_t kMaxDelta = 0x0FFFFFFF;

// Bytes the message takes in a file (a system exclusive message gains its
// length), or 0 when a file cannot hold it (empty, a channel message of the
// wrong size or with a data byte above 0x7F, a malformed meta message, a
// status byte a file does not allow).
std::size_t fileMessageSize(const MidiMessage& message);

// The same, answered inline for the three-byte channel messages that make
// up most of a file.
inline std::size_t fileMessageSizeFast(const MidiMessage& message) {
    if (message.size() == 3) {
        const std::uint8_t* bytes = message.data();
        const bool threeByteCommand = bytes[0] >= 0x80 && bytes[0] < 0xF0 && (bytes[0] & 0xE0) != 0xC0;
        if (threeByteCommand && ((bytes[1] | bytes[2]) & 0x80) == 0) {
            return 3;
        }
    }
    return fileMessageSize(message);
}

// The closing end-of-track message.
const MidiMessage& endOfTrackMessage();

// Calls visit(const FileEvent&) for each event of the track in file order.
// Fails, with a reason, at the first event a file cannot hold (a negative
// delta or one above kMaxDelta, a malformed message). A caller that has
// already walked the track once may skip the message checks.
template <class Visit>
Result forEachFileEvent(const MidiEventList& track, bool deltaTicks, Visit&& visit, bool checkMessages = true) {
    std::int64_t tick = 0;
    std::int64_t written = 0;   // tick of the last event written
    std::int64_t endTick = 0;   // latest end-of-track seen
    for (const MidiEvent& event : track) {
        tick = deltaTicks ? tick + event.tick : event.tick;
        if (deltaTicks && event.tick < 0) {
            return Result::failure("negative delta time");
        }
        if (event.isEndOfTrack()) {
            endTick = std::max(endTick, tick);
            continue;
        }
        if (tick < written) {
            return Result::failure("events out of time order (negative delta time)");
        }
        if (tick - written > kMaxDelta) {
            return Result::failure("delta time beyond 0x0FFFFFFF");
        }
        if (checkMessages && fileMessageSizeFast(event) == 0) {
            return Result::failure("a message a MIDI file cannot hold");
        }
        visit(FileEvent{static_cast<std::uint32_t>(tick - written), tick, &event});
        written = tick;
    }
    const std::int64_t closing = std::max(written, endTick);
    if (closing - written > kMaxDelta) {
        return Result::failure("delta time beyond 0x0FFFFFFF");
    }
    visit(FileEvent{static_cast<std::uint32_t>(closing - written), closing, nullptr});
    return {};
}

// Size of a track chunk's data; fails when the track cannot be written.
Result trackChunkSize(const MidiEventList& track, bool deltaTicks, std::uint64_t& size);

}  // namespace smf
