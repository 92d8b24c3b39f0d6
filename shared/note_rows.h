// Rows of seven numbers made from the events of a MIDI file: what notematrix
// prints as its data array and what notespans lists as note spans.
//
// Column 1 is a time, column 2 an opcode naming the row kind, columns 3 to 7
// the kind's values; a column a kind does not use holds the "unused" marker.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/frame.h"
#include "smf/midi_message.h"
#include "smf/options.h"

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

// The onset time, attack velocity and event position of the latest note-on
// of each key, for every channel and track together. An entry is replaced by
// each note-on of its key and never cleared, so a second note-off of a key
// is timed from the same onset; a key never struck has onset -1, velocity -1
// and position -1.
class NoteOnMemory {
public:
    NoteOnMemory();
    void noteOn(int key, double time, int velocity, std::int32_t source);
    // The NOTE row of a note-off of key at time: start, opcode, duration,
    // key, velocity, channel, track. Columns not set here are left alone.
    void fillNoteRow(Row& row, int key, double time, int channel, int track) const;
    // The event position of the key's onset.
    std::int32_t onsetSource(int key) const { return m_source[static_cast<std::size_t>(key)]; }

private:
    std::array<double, 128> m_onset;
    std::array<int, 128> m_velocity;
    std::array<std::int32_t, 128> m_source;
};

// What the exporters make of a note message. Messages the rows cannot
// describe (shorter than three bytes, a key of 128 or more) are None.
enum class NoteKind { None, On, Off };
NoteKind noteKind(const smf::MidiMessage& message);

// The positions of the rows sorted by column 1. Equal times keep the order
// of their source events, then the order the rows were made in, so the
// output never depends on the sorting algorithm. Linear while column 1 grows
// with the source position (as every time read from the tempo map does);
// O(n log r) for r stretches where it does not.
std::vector<std::uint32_t> timeOrder(const RowList& list);

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
