// Note lines in seconds at one tempo: the first tempo of the file; later,
// different tempos are reported and otherwise ignored.
#pragma once

#include <array>

#include "smf/midi_event.h"
#include "smf/text_buffer.h"

namespace notesecs {

class NoteSecondsWriter {
public:
    NoteSecondsWriter(smf::TextBuffer& out, int ticksPerQuarter);

    // Takes the events of a joined track in time order (absolute ticks).
    // A note-off writes its note's line; a tempo change after the first
    // writes a warning.
    void write(const smf::MidiEvent& event);

private:
    void noteOn(int tick, int key, int velocity);
    void noteOff(int tick, int key);
    void tempo(int microseconds);

    smf::TextBuffer& m_out;
    double m_ticksPerQuarter;
    double m_tempo = 60.0;  // beats per minute
    int m_tempoCount = 0;
    // The pending note-on of each key, shared by all channels and tracks:
    // its onset in seconds and its velocity, -1 when there is none.
    std::array<double, 128> m_onset;
    std::array<int, 128> m_velocity;
};

}  // namespace notesecs
