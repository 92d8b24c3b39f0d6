// Tunefolio: a Standard MIDI File in memory.
//
// A Tunefolio holds tracks of timed events, the file's resolution (ticks per
// quarter note, or SMPTE frames and ticks per frame) and the tick mode in
// which event ticks are expressed: absolute (from the start of the file) or
// delta (from the previous event of the same track). A new object has one
// empty track, 120 ticks per quarter note and absolute ticks.
//
// Reading accepts Standard MIDI File bytes (formats 0, 1 and 2, optionally
// inside a RIFF "RMID" wrapper) and hexscribe text describing such bytes.
// Writing produces format 0 for one track and format 1 otherwise.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "smf/midi_event_list.h"
#include "smf/result.h"
#include "smf/tempo_map.h"

namespace smf {

enum class TickMode { Absolute, Delta };

class Tunefolio {
public:
    Tunefolio();
    // Reads the named file at once; status() tells whether it worked.
    explicit Tunefolio(const std::string& filename);

    // ---- reading and writing ----
    // These wrap the readers of smf/midi_reader.h and the writers of
    // smf/midi_writer.h and smf/midi_text.h, which say more.
    //
    // Replaces the contents with the named file (or the stream's bytes, or
    // bytes already in memory). Returns false when the input cannot be read
    // or is not a MIDI file; the object is then empty (as newly built) and
    // getReadResult() says why. Afterwards ticks are absolute.
    bool read(const std::string& filename);
    bool read(std::istream& input);
    bool readBytes(std::span<const std::uint8_t> bytes);
    // The result of the last read (success for an object never read).
    bool status() const { return m_readResult.ok(); }
    const Result& getReadResult() const { return m_readResult; }
    const std::string& getReadError() const { return m_readResult.reason(); }

    // Standard MIDI File bytes; false, with nothing written, for what a MIDI
    // file cannot hold. A named file is not left half written.
    bool write(const std::string& filename) const;
    bool write(std::ostream& output) const;
    // The bytes write() would produce; empty when the file cannot be written.
    std::vector<std::uint8_t> getFileBytes() const;
    // Hexscribe text without comments, describing exactly the bytes write()
    // produces (it reads back to the identical file).
    bool writeHexscribe(std::ostream& output) const;
    bool writeHexscribe(const std::string& filename) const;
    // The same text with comments (this is what operator<< writes). In
    // absolute tick mode each event's comment also shows its absolute tick.
    bool writeHexscribeWithComments(std::ostream& output) const;
    // The file's bytes as two-digit hexadecimal numbers, bytesPerLine a line.
    bool writeHex(std::ostream& output, int bytesPerLine = 25) const;

    // ---- tick mode ----
    void absoluteTicks();
    void deltaTicks();
    bool isAbsoluteTicks() const { return m_tickMode == TickMode::Absolute; }
    bool isDeltaTicks() const { return m_tickMode == TickMode::Delta; }
    TickMode getTickMode() const { return m_tickMode; }

    // ---- order and links ----
    // Merges every track into track 0 in time order: a stable merge by
    // tick, at equal ticks the lower track first, then list order. Each
    // event keeps in `track` the track it came from; links survive.
    void joinTracks();
    // Puts each track in tick order (stable); links survive.
    void sortTracks();
    void sortTrack(int track);
    // Links note-ons to note-offs within each track, per channel and key,
    // first in first out. Returns the number of pairs.
    int linkNotePairs();
    void clearLinks();

    // ---- time ----
    // The tempo map of the file as it stands: the tempo events of all
    // tracks, 120 beats per minute before the first (SMPTE files: the frame
    // rate, tempo events ignored). Built anew on each call, in time linear
    // in the events; a caller with many questions keeps the map.
    TempoMap getTempoMap() const;
    // Fills every event's `seconds` from the tempo map.
    void doTimeAnalysis();
    // Seconds at an absolute tick. Each call builds the tempo map.
    double getTimeInSeconds(int tick) const;
    // Seconds of an event (its absolute tick under the tempo map); -1 for
    // an event that does not exist.
    double getTimeInSeconds(int track, int index) const;
    // Seconds of the latest event of the file (0 without events).
    double getFileDurationInSeconds() const;

    // ---- resolution ----
    // Records a new resolution without moving any tick.
    void setTicksPerQuarterNote(int ticks);
    void setTPQ(int ticks) { setTicksPerQuarterNote(ticks); }
    // Ticks per quarter note. For SMPTE timing: the ticks of half a second,
    // the quarter note of the default tempo (at least 1).
    int getTicksPerQuarterNote() const;
    int getTPQ() const { return getTicksPerQuarterNote(); }
    bool isSmpte() const { return m_smpteDivision != 0; }
    // SMPTE frames per second (24, 25, 29 meaning 29.97, 30) and ticks per
    // frame; 0 for metrical timing.
    int getSmpteFramesPerSecond() const;
    int getSmpteTicksPerFrame() const;
    // Sets SMPTE timing: frames per second (24, 25, 29, 30) and ticks per frame.
    void setSmpteTiming(int framesPerSecond, int ticksPerFrame);

    // ---- tracks and events ----
    int getTrackCount() const { return static_cast<int>(m_tracks.size()); }
    int getNumTracks() const { return getTrackCount(); }
    int size() const { return getTrackCount(); }
    int getEventCount(int track) const { return m_tracks[static_cast<std::size_t>(track)].size(); }
    int getNumEvents(int track) const { return getEventCount(track); }
    MidiEvent& getEvent(int track, int index) { return m_tracks[static_cast<std::size_t>(track)][index]; }
    const MidiEvent& getEvent(int track, int index) const {
        return m_tracks[static_cast<std::size_t>(track)][index];
    }
    MidiEventList& operator[](int track) { return m_tracks[static_cast<std::size_t>(track)]; }
    const MidiEventList& operator[](int track) const { return m_tracks[static_cast<std::size_t>(track)]; }

    const std::string& getFilename() const { return m_filename; }
    void setFilename(std::string name) { m_filename = std::move(name); }
    // Back to a new object: one empty track, 120 ticks per quarter note,
    // absolute ticks, no file name.
    void clear();

    // ---- adding ----
    // Adds one empty track and returns its number.
    int addTrack();
    // Adds count empty tracks and returns the number of the last.
    int addTrack(int count);
    int addTracks(int count) { return addTrack(count); }
    void allocateEvents(int track, int count);
    // Appends an event to a track (created, with any tracks before it, when
    // missing). The tick is read in the current tick mode.
    MidiEvent& addEvent(int track, int tick, std::span<const std::uint8_t> bytes);
    MidiEvent& addEvent(int track, int tick, std::initializer_list<std::uint8_t> bytes);
    MidiEvent& addEvent(int track, int tick, const MidiMessage& message);
    // Appends a copy of the event to the track named by its `track`.
    MidiEvent& addEvent(const MidiEvent& event);
    MidiEvent& addMetaEvent(int track, int tick, int type, std::span<const std::uint8_t> payload);
    MidiEvent& addMetaEvent(int track, int tick, int type, std::string_view text);
    MidiEvent& addNoteOn(int track, int tick, int channel, int key, int velocity);
    MidiEvent& addNoteOff(int track, int tick, int channel, int key, int velocity = 0);
    MidiEvent& addController(int track, int tick, int channel, int controller, int value);
    MidiEvent& addPatchChange(int track, int tick, int channel, int program);
    MidiEvent& addTempo(int track, int tick, double bpm);
    MidiEvent& addTrackName(int track, int tick, std::string_view name);

    friend std::ostream& operator<<(std::ostream& output, const Tunefolio& file);

private:
    MidiEventList& trackForAdding(int track);
    bool keepReadResult(Result result);
    // Runs fn with every track in absolute ticks, restoring the mode after.
    template <class Fn>
    void inAbsoluteTicks(Fn fn);

    std::vector<MidiEventList> m_tracks;
    int m_ticksPerQuarter = 120;
    std::uint16_t m_smpteDivision = 0;  // the raw header word when SMPTE
    TickMode m_tickMode = TickMode::Absolute;
    Result m_readResult;
    std::string m_filename;
};

}  // namespace smf
