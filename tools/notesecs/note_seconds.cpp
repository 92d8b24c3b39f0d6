#include "note_seconds.h"

#include "smf/tempo_map.h"

namespace notesecs {

namespace {

constexpr double kNoOnset = -1.0;
constexpr int kNoVelocity = -1;

}  // namespace

NoteSecondsWriter::NoteSecondsWriter(smf::TextBuffer& out, int ticksPerQuarter)
    : m_out(out), m_ticksPerQuarter(ticksPerQuarter) {
    m_onset.fill(kNoOnset);
    m_velocity.fill(kNoVelocity);
}

void NoteSecondsWriter::write(const smf::MidiEvent& event) {
    if (event.isNote()) {
        // A key above 127 has no entry in the note memory.
        if (event[1] >= m_onset.size()) {
            return;
        }
        if (event.isNoteOn()) {
            noteOn(event.tick, event[1], event[2]);
        } else {
            noteOff(event.tick, event[1]);
        }
    } else if (event.isTempo()) {
        tempo(event.getTempoMicroseconds());
    }
}

void NoteSecondsWriter::noteOn(int tick, int key, int velocity) {
    m_onset[key] = smf::ticksToSeconds(tick, m_tempo, m_ticksPerQuarter);
    m_velocity[key] = velocity;
}

void NoteSecondsWriter::noteOff(int tick, int key) {
    const double end = smf::ticksToSeconds(tick, m_tempo, m_ticksPerQuarter);
    m_out.put("note\t").putDouble(m_onset[key]).put('\t').putDouble(end - m_onset[key]).put('\t');
    m_out.putInt(key).put('\t').putInt(m_velocity[key]).put('\n');
    m_onset[key] = kNoOnset;
    m_velocity[key] = kNoVelocity;
}

void NoteSecondsWriter::tempo(int microseconds) {
    // A tempo of 0 microseconds per quarter note has no rate; it is passed
    // over like a tempo message too short to hold its number.
    if (microseconds <= 0) {
        return;
    }
    const double beatsPerMinute = 60.0 / microseconds * 1000000.0;
    ++m_tempoCount;
    if (m_tempoCount == 1) {
        m_tempo = beatsPerMinute;
    } else if (beatsPerMinute != m_tempo) {
        m_out.put("; WARNING: change of tempo from ").putDouble(m_tempo).put(" to ").putDouble(beatsPerMinute);
        m_out.put(" ignored\n");
    }
}

}  // namespace notesecs
