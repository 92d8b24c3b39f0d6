// Rows of seven numbers made from the events of a MIDI file: what notematrix
// prints as its data array and what notespans lists as note spans.
//
// Column 1 is a time, column 2 an opcode naming the row kind, columns 3 to 7
// the kind's values; a column a kind does not use holds the "unused" marker.
//
// Rows are listed in time order: by column 1, then by the position (among
// all events in time order) of the event column 1 was taken from, then in
// the order they were made. A note's row is made at its note-off but timed
// from its note-on, so rows are made out of that order. Two ways put them in
// order:
//   - RowWalk streams them: a first walk over the events records their time
//     order (TrackSequence) and how far each note-on is used (NoteUses);
//     the walk that makes the rows then holds each only until no event
//     still to come can make one that goes before it (RowQueue). It needs
//     column 1 to grow with the source position, which every time taken
//     from the tempo map does; memory stays that of the notes sounding at
//     once (and three bytes an event), not of every row.
//   - RowList and timeOrder keep every row and sort them, for whatever the
//     walk cannot take.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "frame/frame.h"
#include "smf/midi_message.h"
#include "smf/options.h"
#include "smf/tunefolio.h"

namespace matrix {

enum class TimeUnit { Ticks = 1, Beats = 2, Seconds = 3, Milliseconds = 4 };

// The first of --ticks, --beats, --seconds and --msec that was given wins
// (in that order, not in command-line order); beats when none was.
TimeUnit timeUnitFromOptions(const smf::Options& options);

enum Opcode : int {
    kNote = 1000,
    kController = 2000,
    kInstrument = 3000,
    kTempo = 4000,
    kMeter = 5000,
    kKeySignature = 6000,
};
constexpr int kOpcodeCount = 6;

// "NOTE", "CONT", "INSTR", "TEMPO", "METER", "KEYSIG" for opcodes 1000 to
// 6000; empty for anything else.
std::string_view opcodeName(int opcode);

// Columns 1 to 7 are row[0] to row[6].
using Row = std::array<double, 7>;

// Rows in the order they were made, each with the position (among all
// events in time order) of the event its column 1 time was taken from: -1
// for a note whose key was never struck. These positions order the rows by
// time almost everywhere; timeOrder sorts what they leave.
struct RowList {
    std::vector<Row> rows;
    std::vector<std::int32_t> sources;

    void reserve(std::size_t count);
    void add(const Row& row, std::int32_t source);
    std::size_t size() const { return rows.size(); }
};

// Positions of events in time order: 0 for the first event of the file.
constexpr std::int32_t kNoPosition = -1;
constexpr std::int32_t kNoLaterPosition = std::numeric_limits<std::int32_t>::max();

// The onset time, attack velocity and event position of the latest note-on
// of each key, for every channel and track together. An entry is replaced by
// each note-on of its key and never cleared, so a second note-off of a key
// is timed from the same onset; a key never struck has onset -1, velocity -1
// and position -1.
class NoteOnMemory {
public:
    NoteOnMemory();
    // lastUse: the position of the last note-off that will be timed from
    // this note-on (kNoPosition when none will), where a first walk has
    // found it out; otherwise any later note-off may be.
    void noteOn(int key, double time, int velocity, std::int32_t source,
                std::int32_t lastUse = kNoLaterPosition) {
        const auto k = static_cast<std::size_t>(key);
        m_onset[k] = time;
        m_velocity[k] = velocity;
        m_source[k] = source;
        m_lastUse[k] = lastUse;
    }
    // The NOTE row of a note-off of key at time: start, opcode, duration,
    // key, velocity, channel, track. Columns not set here are left alone.
    void fillNoteRow(Row& row, int key, double time, int channel, int track) const {
        const auto k = static_cast<std::size_t>(key);
        const double onset = m_onset[k];
        row[0] = onset;
        row[1] = kNote;
        row[2] = time - onset;
        row[3] = key;
        row[4] = m_velocity[k];
        row[5] = channel;
        row[6] = track;
    }
    // The event position of the key's onset.
    std::int32_t onsetSource(int key) const { return m_source[static_cast<std::size_t>(key)]; }
    // The earliest source a row made at the position or later can have
    // (rows of keys never struck aside): the earliest onset still to be
    // used, else the position itself. Looks at every key.
    std::int32_t earliestSourceFrom(std::int32_t position) const;

private:
    std::array<double, 128> m_onset;
    std::array<int, 128> m_velocity;
    std::array<std::int32_t, 128> m_source;
    std::array<std::int32_t, 128> m_lastUse;
};

// How far each note-on is used, found by a first walk over the events: for
// each note-on in walking order, the position of the last note-off timed
// from it. It follows the rule of NoteOnMemory: a note-off is timed from
// the latest note-on of its key, whatever the channel and track.
class NoteUses {
public:
    // Room for the note-ons the walk will meet.
    void reserve(std::size_t noteOns) { m_lastUse.reserve(noteOns); }
    void noteOn(int key) {
        m_latest[static_cast<std::size_t>(key)] = static_cast<std::int32_t>(m_lastUse.size());
        m_lastUse.push_back(kNoPosition);
    }
    // A note-off of the key at the position; false when the key was never
    // struck (its row is timed -1).
    bool noteOff(int key, std::int32_t position) {
        const std::int32_t latest = m_latest[static_cast<std::size_t>(key)];
        if (latest < 0) {
            return false;
        }
        m_lastUse[static_cast<std::size_t>(latest)] = position;
        return true;
    }
    // The last use of the note-on met as number `ordinal` (from 0), or
    // kNoPosition.
    std::int32_t lastUse(std::size_t ordinal) const { return m_lastUse[ordinal]; }
    std::size_t noteOnCount() const { return m_lastUse.size(); }

private:
    std::vector<std::int32_t> m_lastUse;
    std::array<std::int32_t, 128> m_latest = filledWith(-1);

    static std::array<std::int32_t, 128> filledWith(std::int32_t value) {
        std::array<std::int32_t, 128> table;
        table.fill(value);
        return table;
    }
};

// The time order of a file's events (that of forEachEventInTimeOrder) as
// the track each comes from, two bytes an event: recorded once, it lets
// every later walk take the events in that order, from anywhere, without
// merging the tracks again.
class TrackSequence {
public:
    // Records the order of a file in absolute ticks whose tracks are each in
    // tick order (as every file just read), calling visit(event, track) for
    // every event in that order; false, with nothing recorded or visited,
    // for any other file, one of more than 65536 tracks or one whose
    // positions do not fit in 32 bits.
    template <class Visit>
    bool record(const smf::Tunefolio& file, Visit&& visit);
    bool record(const smf::Tunefolio& file) {
        return record(file, [](const smf::MidiEvent&, int) {});
    }
    std::size_t size() const { return m_tracks.size(); }
    int operator[](std::size_t position) const { return m_tracks[position]; }

private:
    // Whether the file can be recorded; room made for its events (as many
    // places as the walk will fill).
    bool prepare(const smf::Tunefolio& file);
    static std::int64_t keyOf(int tick, int track) { return static_cast<std::int64_t>(tick) * 65536 + track; }

    std::vector<std::uint16_t> m_tracks;
};

// Flattened: the visit is the body of the loop, not a call per event.
template <class Visit>
[[gnu::flatten]] bool TrackSequence::record(const smf::Tunefolio& file, Visit&& visit) {
    if (!prepare(file)) {
        return false;
    }
    // A tournament of the tracks' next events, each keyed tick * 65536 +
    // track (the lower track first at equal ticks), a spent track keyed
    // highest: each inner node keeps the loser of its match, node 0 the
    // winner, so that a new event of the winner plays only its own path.
    const auto tracks = static_cast<std::size_t>(file.getTrackCount());
    constexpr std::int64_t kSpent = std::numeric_limits<std::int64_t>::max();
    std::vector<std::int64_t> keys(tracks, kSpent);
    std::vector<int> next(tracks, 0);
    for (std::size_t track = 0; track < tracks; ++track) {
        if (!file[static_cast<int>(track)].empty()) {
            keys[track] = keyOf(file[static_cast<int>(track)][0].tick, static_cast<int>(track));
        }
    }
    std::vector<std::uint32_t> tree(std::max<std::size_t>(tracks, 1), 0);
    std::vector<std::uint32_t> winners(2 * tracks, 0);
    for (std::size_t leaf = tracks; leaf < 2 * tracks; ++leaf) {
        winners[leaf] = static_cast<std::uint32_t>(leaf - tracks);
    }
    for (std::size_t node = tracks; node-- > 1;) {
        const std::uint32_t left = winners[2 * node];
        const std::uint32_t right = winners[2 * node + 1];
        const bool rightWins = keys[right] < keys[left];
        winners[node] = rightWins ? right : left;
        tree[node] = rightWins ? left : right;
    }
    tree[0] = tracks > 1 ? winners[1] : 0;
    for (std::uint16_t& recorded : m_tracks) {
        std::uint32_t winner = tree[0];
        const smf::MidiEventList& events = file[static_cast<int>(winner)];
        int& index = next[winner];
        recorded = static_cast<std::uint16_t>(winner);
        visit(events[index], static_cast<int>(winner));
        ++index;
        keys[winner] = index < events.size() ? keyOf(events[index].tick, static_cast<int>(winner)) : kSpent;
        for (std::size_t node = (winner + tracks) / 2; node > 0; node /= 2) {
            if (keys[tree[node]] < keys[winner]) {
                std::swap(tree[node], winner);
            }
        }
        tree[0] = winner;
    }
    return true;
}

// A walk over the events in a recorded order, from a position on: next
// gives the next event, with its track in `track`, or nullptr at the end.
class SequenceWalk {
public:
    // nextInTrack: the index in each track of the first event the walk
    // takes from it (all 0 from position 0).
    SequenceWalk(const smf::Tunefolio& file, const TrackSequence& sequence, std::size_t position,
                 std::vector<int> nextInTrack)
        : m_file(&file), m_sequence(&sequence), m_position(position), m_nextInTrack(std::move(nextInTrack)) {}

    const smf::MidiEvent* next(int& track) {
        if (m_position >= m_sequence->size()) {
            return nullptr;
        }
        track = (*m_sequence)[m_position++];
        return &(*m_file)[track][m_nextInTrack[static_cast<std::size_t>(track)]++];
    }

private:
    const smf::Tunefolio* m_file;
    const TrackSequence* m_sequence;
    std::size_t m_position;
    std::vector<int> m_nextInTrack;
};

// What the exporters make of a note message. Messages the rows cannot
// describe (shorter than three bytes, a key of 128 or more) are None. Asked
// of every event by every walk, so it reads the bytes here.
enum class NoteKind { None, On, Off };
inline NoteKind noteKind(const smf::MidiMessage& message) {
    if (message.size() < 3) {
        return NoteKind::None;
    }
    const std::uint8_t* bytes = message.data();
    // 0x8n and 0x9n are the statuses whose top three bits are 100.
    if ((bytes[0] & 0xE0) != 0x80 || bytes[1] >= 128) {
        return NoteKind::None;
    }
    return (bytes[0] & 0x10) != 0 && bytes[2] > 0 ? NoteKind::On : NoteKind::Off;
}

// The microseconds per quarter note of a tempo message, else -1 (as
// MidiMessage::getTempoMicroseconds, read here for the same reason).
inline int tempoMicroseconds(const smf::MidiMessage& message) {
    if (message.size() < 6) {
        return -1;
    }
    const std::uint8_t* bytes = message.data();
    if (bytes[0] != 0xFF || bytes[1] != 0x51) {
        return -1;
    }
    return (bytes[3] << 16) | (bytes[4] << 8) | bytes[5];
}

// The positions of the rows sorted by column 1. Equal times keep the order
// of their source events, then the order the rows were made in, so the
// output never depends on the sorting algorithm. Linear while column 1 grows
// with the source position (as every time read from the tempo map does);
// O(n log r) for r stretches where it does not.
std::vector<std::uint32_t> timeOrder(const RowList& list);

// A row made by a walk, with its source position and its number among the
// rows the walk made.
struct SourcedRow {
    Row row;
    std::int32_t source;
    std::uint32_t made;
};

// Rows held until they may go out, taken in the order of their sources,
// then in the order they were made. Rows wait in a window of source
// positions, from the earliest a row may still have onwards: adding and
// taking cost the same however many rows wait.
class RowQueue {
public:
    // Rows of events will have sources from `first` on.
    explicit RowQueue(std::int32_t first = 0) : m_base(first) {}
    void add(const Row& row, std::int32_t source);
    // Takes the first row in order whose source lies below the bound, or
    // gives nullptr when there is none. The row stays readable until the
    // next add. Every row added afterwards must have a source of at least
    // the bound.
    const SourcedRow* takeBefore(std::int32_t bound);
    bool empty() const { return m_waiting == 0; }

private:
    static constexpr std::int32_t kNone = -1;
    struct Waiting {
        SourcedRow row;
        std::int32_t next;  // the next row of the same source, or kNone
    };
    // The first and last waiting row of each source from m_base on, in a
    // ring of a power-of-two size.
    struct Bucket {
        std::int32_t first = kNone;
        std::int32_t last = kNone;
    };
    Bucket& bucketOf(std::int32_t source) {
        return m_buckets[static_cast<std::size_t>(source) & (m_buckets.size() - 1)];
    }
    void grow(std::size_t span);

    std::vector<Bucket> m_buckets = std::vector<Bucket>(64);
    std::int64_t m_base;  // no row of an event waits with an earlier source
    Bucket m_unsourced;       // rows timed from no event: they go first
    std::vector<Waiting> m_rows;
    std::vector<std::int32_t> m_freeRows;
    std::size_t m_waiting = 0;
    std::uint32_t m_made = 0;
};

// The rows that one walk over the events makes, handed out in the order of
// their sources, then the order they were made. The Maker converts events:
//   void convert(const smf::MidiEvent& event, int track, std::int32_t position, RowQueue& rows);
//   std::int32_t earliestSourceFrom(std::int32_t position) const;
// the first adds the rows an event makes, the second is the earliest source
// a row made at the position or later can have.
template <class Maker>
class RowWalk {
public:
    // Walks the events from `events`' next one, at position first, to the
    // one at position last.
    RowWalk(SequenceWalk events, std::int32_t first, std::int32_t last, Maker maker)
        : m_events(std::move(events)), m_position(first), m_last(last), m_maker(std::move(maker)), m_queue(first) {}

    // The next row, readable until the next call; nullptr when every row
    // is out.
    const SourcedRow* next() {
        for (;;) {
            if (const SourcedRow* row = m_queue.takeBefore(m_bound)) {
                return row;
            }
            if (m_position > m_last && m_queue.empty()) {
                return nullptr;
            }
            walkStretch();
        }
    }

private:
    // The bound is worked out once a stretch of events, as it looks at
    // every key; rows wait at most a stretch longer for it.
    void walkStretch() {
        constexpr int kStretch = 256;
        for (int i = 0; i < kStretch && m_position <= m_last; ++i) {
            int track = 0;
            const smf::MidiEvent* event = m_events.next(track);
            if (event == nullptr) {
                m_last = m_position - 1;
                break;
            }
            m_maker.convert(*event, track, m_position, m_queue);
            ++m_position;
        }
        m_bound = m_position > m_last ? kNoLaterPosition : m_maker.earliestSourceFrom(m_position);
    }

    SequenceWalk m_events;
    std::int32_t m_position;
    std::int32_t m_last;
    Maker m_maker;
    RowQueue m_queue;
    std::int32_t m_bound = kNoPosition;
};

// Options both exporters declare, in declaration order around their own.
namespace option {
inline constexpr frame::OptionSpec kUnused{"u|unused=d:-1000.0", "unused parameter indicator"};
inline constexpr frame::OptionSpec kName{"n|name=s:data", "name for data array"};
inline constexpr frame::OptionSpec kTicks{"t|ticks|tick=b", "display time in ticks"};
inline constexpr frame::OptionSpec kSeconds{"s|sec|second|seconds=b", "display time in seconds"};
inline constexpr frame::OptionSpec kMilliseconds{"m|msec|millisecond|milliseconds=b", "display time in msec"};
inline constexpr frame::OptionSpec kBeats{"b|beat|beats=b", "display time in beats"};
}  // namespace option

// The frame of both exporters (classic family): the program's own options,
// then "v|verbose", the standard options, "debug" and "max".
frame::Tool exporterTool(std::string_view authorDate, std::string_view versionDate,
                         std::vector<frame::OptionSpec> ownOptions);

// "Usage: <command> tunefolio\n".
std::string usageLine(std::string_view command);

}  // namespace matrix
