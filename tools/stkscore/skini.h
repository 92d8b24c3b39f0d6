// SKINI lines for the events of a joined track, timed in seconds from the
// tick distances between events at the tempo in force.
#pragma once

#include "smf/midi_event.h"
#include "smf/text_buffer.h"

namespace stkscore {

class SkiniWriter {
public:
    // trackSelection < 0: every track; otherwise only events of that source
    // track are written (tempo changes are always written).
    SkiniWriter(smf::TextBuffer& out, int ticksPerQuarter, int trackSelection);

    // Advances the clock to the event and writes its line, if any. Events
    // must come in time order; the first one is at 0 seconds, whatever its tick.
    void write(const smf::MidiEvent& event);

private:
    void advanceTo(int tick);
    bool isSelected(int track) const;
    void writeNote(const smf::MidiEvent& event);
    void writeController(const smf::MidiEvent& event);
    void writeMeta(const smf::MidiEvent& event);
    void writeTempo(int microseconds);
    void writeTrackName(const smf::MidiEvent& event);
    void writeMidiData(const smf::MidiEvent& event);
    // "NoteOn\t\t=" and the like, then the time in a field of 9 and the track.
    void putMessageStart(std::string_view name, int track);
    void putCommentStart(int track);

    smf::TextBuffer& m_out;
    double m_ticksPerQuarter;
    int m_selection;
    double m_tempo = 120.0;  // beats per minute
    double m_seconds = 0.0;
    long long m_previousTick = 0;
    bool m_started = false;
};

}  // namespace stkscore
