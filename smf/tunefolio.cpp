#include "smf/tunefolio.h"


#include <algorithm>
#include <climits>
#include <istream>
#include <limits>
#include <numeric>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "smf/file_io.h"
#include "smf/midi_reader.h"
#include "smf/midi_text.h"
#include "smf/midi_writer.h"

namespace smf {

Tunefolio::Tunefolio() : m_tracks(1) {}

Tunefolio::Tunefolio(const std::string& filename) : Tunefolio() {
    read(filename);
}

void Tunefolio::clear() {
    *this = Tunefolio();
}

// ---- reading and writing ----

bool Tunefolio::keepReadResult(Result result) {
    m_readResult = std::move(result);
    return m_readResult.ok();
}

bool Tunefolio::read(const std::string& filename) {
    return keepReadResult(readMidiFile(filename, *this));
}

bool Tunefolio::read(std::istream& input) {
    return keepReadResult(readMidiStream(input, *this));
}

bool Tunefolio::readBytes(std::span<const std::uint8_t> bytes) {
    return keepReadResult(readMidi(bytes, *this));
}

std::vector<std::uint8_t> Tunefolio::getFileBytes() const {
    std::vector<std::uint8_t> bytes;
    writeMidi(*this, bytes);
    return bytes;
}

bool Tunefolio::write(const std::string& filename) const {
    return writeMidiFile(*this, filename).ok();
}

bool Tunefolio::write(std::ostream& output) const {
    return writeMidiStream(*this, output).ok();
}

bool Tunefolio::writeHexscribe(std::ostream& output) const {
    return writeMidiHexscribe(output, *this, HexscribeComments::None).ok();
}

bool Tunefolio::writeHexscribe(const std::string& filename) const {
    std::ostringstream text;
    if (!writeHexscribe(text)) {
        return false;
    }
    const std::string& s = text.str();
    return writeFileBytes(filename, std::span<const std::uint8_t>(
                                        reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
}

bool Tunefolio::writeHexscribeWithComments(std::ostream& output) const {
    return writeMidiHexscribe(output, *this, HexscribeComments::Full).ok();
}

bool Tunefolio::writeHex(std::ostream& output, int bytesPerLine) const {
    std::vector<std::uint8_t> bytes;
    return writeMidi(*this, bytes) && writeHexBytes(output, bytes, bytesPerLine);
}

std::ostream& operator<<(std::ostream& output, const Tunefolio& file) {
    if (!file.writeHexscribeWithComments(output)) {
        output.setstate(std::ios::failbit);
    }
    return output;
}

// ---- tick mode ----

void Tunefolio::absoluteTicks() {
    if (m_tickMode == TickMode::Absolute) {
        return;
    }
    for (MidiEventList& track : m_tracks) {
        long long tick = 0;
        for (MidiEvent& event : track) {
            tick += event.tick;
            event.tick = static_cast<int>(std::clamp<long long>(tick, INT_MIN, INT_MAX));
        }
    }
    m_tickMode = TickMode::Absolute;
}

void Tunefolio::deltaTicks() {
    if (m_tickMode == TickMode::Delta) {
        return;
    }
    for (MidiEventList& track : m_tracks) {
        long long previous = 0;
        for (MidiEvent& event : track) {
            const long long tick = event.tick;
            event.tick = static_cast<int>(std::clamp<long long>(tick - previous, INT_MIN, INT_MAX));
            previous = tick;
        }
    }
    m_tickMode = TickMode::Delta;
}

template <class Fn>
void Tunefolio::inAbsoluteTicks(Fn fn) {
    const bool wasDelta = isDeltaTicks();
    absoluteTicks();
    fn();
    if (wasDelta) {
        deltaTicks();
    }
}

// ---- order and links ----

void Tunefolio::joinTracks() {
    if (m_tracks.size() <= 1) {
        return;
    }
    inAbsoluteTicks([this] {
        const bool sorted = std::all_of(m_tracks.begin(), m_tracks.end(),
                                        [](const MidiEventList& track) { return track.isSortedByTick(); });
        MidiEventList joined;
        if (sorted) {
            joined = MidiEventList::mergeSorted(m_tracks);
        } else {
            // Concatenate in track order (each track's links keep their
            // offsets inside its block), then sort stably by tick: at equal
            // ticks the lower track comes first, then list order.
            std::size_t total = 0;
            for (const MidiEventList& track : m_tracks) {
                total += static_cast<std::size_t>(track.size());
            }
            joined.reserve(static_cast<int>(total));
            for (std::size_t t = 0; t < m_tracks.size(); ++t) {
                joined.appendAll(std::move(m_tracks[t]), static_cast<int>(t));
                m_tracks[t] = MidiEventList();
            }
            joined.sortByTick();
        }
        m_tracks.clear();
        m_tracks.push_back(std::move(joined));
    });
}

void Tunefolio::sortTracks() {
    for (int t = 0; t < getTrackCount(); ++t) {
        sortTrack(t);
    }
}

void Tunefolio::sortTrack(int track) {
    inAbsoluteTicks([this, track] { m_tracks[static_cast<std::size_t>(track)].sortByTick(); });
}

int Tunefolio::linkNotePairs() {
    int pairs = 0;
    for (MidiEventList& track : m_tracks) {
        pairs += track.linkNotePairs();
    }
    return pairs;
}

void Tunefolio::clearLinks() {
    for (MidiEventList& track : m_tracks) {
        track.clearLinks();
    }
}

// ---- time ----

TempoMap Tunefolio::getTempoMap() const {
    if (isSmpte()) {
        double fps = getSmpteFramesPerSecond();
        if (fps == 29) {
            fps = 29.97;  // drop-frame
        }
        return TempoMap::fixedRate(fps * getSmpteTicksPerFrame());
    }
    struct Found {
        std::int64_t tick;
        int microseconds;
    };
    std::vector<Found> found;
    const bool deltaTicks = isDeltaTicks();
    for (const MidiEventList& track : m_tracks) {
        std::int64_t tick = 0;
        for (const MidiEvent& event : track) {
            tick = deltaTicks ? tick + event.tick : event.tick;
            if (event.isTempo() && event.getTempoMicroseconds() > 0) {
                found.push_back({tick, event.getTempoMicroseconds()});
            }
        }
    }
    // Stable: of several changes at one tick, the last of the latest track holds.
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.tick < b.tick; });
    std::vector<TempoChange> changes;
    changes.reserve(found.size());
    for (const Found& f : found) {
        changes.push_back({f.tick, f.microseconds});
    }
    return TempoMap::metrical(m_ticksPerQuarter, changes);
}

void Tunefolio::doTimeAnalysis() {
    const TempoMap map = getTempoMap();
    for (MidiEventList& track : m_tracks) {
        std::int64_t tick = 0;
        for (MidiEvent& event : track) {
            tick = isDeltaTicks() ? tick + event.tick : event.tick;
            event.seconds = map.secondsAt(tick);
        }
    }
}

double Tunefolio::getTimeInSeconds(int tick) const {
    return getTempoMap().secondsAt(tick);
}

double Tunefolio::getTimeInSeconds(int track, int index) const {
    if (track < 0 || track >= getTrackCount() || index < 0 || index >= getEventCount(track)) {
        return -1.0;
    }
    std::int64_t tick = 0;
    if (isDeltaTicks()) {
        for (int i = 0; i <= index; ++i) {
            tick += getEvent(track, i).tick;
        }
    } else {
        tick = getEvent(track, index).tick;
    }
    return getTempoMap().secondsAt(tick);
}

double Tunefolio::getFileDurationInSeconds() const {
    // Seconds never fall as ticks grow, so the latest event is the one at
    // the greatest tick.
    // Ticks are ints, so the lowest 64-bit value means "no event".
    constexpr std::int64_t kNoEvent = std::numeric_limits<std::int64_t>::min();
    std::int64_t latestTick = kNoEvent;
    const bool deltaTicks = isDeltaTicks();
    for (const MidiEventList& track : m_tracks) {
        std::int64_t tick = 0;
        for (const MidiEvent& event : track) {
            tick = deltaTicks ? tick + event.tick : event.tick;
            latestTick = std::max(latestTick, tick);
        }
    }
    return latestTick != kNoEvent ? std::max(0.0, getTempoMap().secondsAt(latestTick)) : 0.0;
}

// ---- resolution ----

void Tunefolio::setTicksPerQuarterNote(int ticks) {
    m_ticksPerQuarter = ticks;
    m_smpteDivision = 0;
}

int Tunefolio::getTicksPerQuarterNote() const {
    if (isSmpte()) {
        return std::max(1, getSmpteFramesPerSecond() * getSmpteTicksPerFrame() / 2);
    }
    return m_ticksPerQuarter;
}

int Tunefolio::getSmpteFramesPerSecond() const {
    return isSmpte() ? 256 - (m_smpteDivision >> 8) : 0;
}

int Tunefolio::getSmpteTicksPerFrame() const {
    return isSmpte() ? (m_smpteDivision & 0xFF) : 0;
}

void Tunefolio::setSmpteTiming(int framesPerSecond, int ticksPerFrame) {
    m_smpteDivision = static_cast<std::uint16_t>(((256 - (framesPerSecond & 0x7F)) << 8) | (ticksPerFrame & 0xFF));
}

// ---- adding ----

int Tunefolio::addTrack() {
    m_tracks.emplace_back();
    return getTrackCount() - 1;
}

int Tunefolio::addTrack(int count) {
    for (int i = 0; i < count; ++i) {
        m_tracks.emplace_back();
    }
    return getTrackCount() - 1;
}

void Tunefolio::allocateEvents(int track, int count) {
    trackForAdding(track).reserve(count);
}

MidiEventList& Tunefolio::trackForAdding(int track) {
    if (track < 0) {
        throw std::out_of_range("negative track number");
    }
    while (track >= getTrackCount()) {
        m_tracks.emplace_back();
    }
    return m_tracks[static_cast<std::size_t>(track)];
}

MidiEvent& Tunefolio::addEvent(int track, int tick, std::span<const std::uint8_t> bytes) {
    return trackForAdding(track).append(MidiEvent(tick, track, bytes));
}

MidiEvent& Tunefolio::addEvent(int track, int tick, std::initializer_list<std::uint8_t> bytes) {
    return addEvent(track, tick, std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
}

MidiEvent& Tunefolio::addEvent(int track, int tick, const MidiMessage& message) {
    return trackForAdding(track).append(MidiEvent(tick, track, message));
}

MidiEvent& Tunefolio::addEvent(const MidiEvent& event) {
    return trackForAdding(event.track).append(event);
}

MidiEvent& Tunefolio::addMetaEvent(int track, int tick, int type, std::span<const std::uint8_t> payload) {
    MidiMessage message;
    message.makeMetaMessage(type, payload);
    return addEvent(track, tick, message);
}

MidiEvent& Tunefolio::addMetaEvent(int track, int tick, int type, std::string_view text) {
    MidiMessage message;
    message.makeMetaMessage(type, text);
    return addEvent(track, tick, message);
}

MidiEvent& Tunefolio::addNoteOn(int track, int tick, int channel, int key, int velocity) {
    MidiMessage message;
    message.makeNoteOn(channel, key, velocity);
    return addEvent(track, tick, message);
}

MidiEvent& Tunefolio::addNoteOff(int track, int tick, int channel, int key, int velocity) {
    MidiMessage message;
    message.makeNoteOff(channel, key, velocity);
    return addEvent(track, tick, message);
}

MidiEvent& Tunefolio::addController(int track, int tick, int channel, int controller, int value) {
    MidiMessage message;
    message.makeController(channel, controller, value);
    return addEvent(track, tick, message);
}

MidiEvent& Tunefolio::addPatchChange(int track, int tick, int channel, int program) {
    MidiMessage message;
    message.makePatchChange(channel, program);
    return addEvent(track, tick, message);
}

MidiEvent& Tunefolio::addTempo(int track, int tick, double bpm) {
    MidiMessage message;
    message.setMetaTempo(bpm);
    return addEvent(track, tick, message);
}

MidiEvent& Tunefolio::addTrackName(int track, int tick, std::string_view name) {
    return addMetaEvent(track, tick, 0x03, name);
}

}  // namespace smf
