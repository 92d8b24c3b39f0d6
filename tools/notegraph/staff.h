// Staff furniture (staff lines, barlines, clefs, brace) and the lines that
// connect successive notes of a track.
#pragma once

#include <vector>

#include "settings.h"
#include "smf/midi_event_list.h"
#include "smf/text_buffer.h"

namespace notegraph {

// The staff lines from x0 to x1, with the final or double barline and the
// system line as the settings ask.
void writeStaff(smf::TextBuffer& out, const Settings& settings, double fileDuration);
void writeClefs(smf::TextBuffer& out, const Settings& settings);
void writeBrace(smf::TextBuffer& out, const Settings& settings);

// Finds, for each note-on of a track, the first later note-on that starts
// at or after its end. Reused across tracks so no note costs an allocation.
class NoteSuccessors {
public:
    // Fills the table for a track; each note-on in event order.
    void scan(const smf::MidiEventList& track);
    int noteCount() const { return static_cast<int>(m_index.size()); }
    int eventIndex(int note) const { return m_index[static_cast<std::size_t>(note)]; }
    // The note number of the successor of a note whose sound ends at `end`,
    // or -1. Binary search over onsets, which a read file keeps in order.
    int successor(int note, double end) const;

private:
    std::vector<int> m_index;
    std::vector<double> m_onset;
    bool m_ordered = true;
};

// The connecting-line group of one drawn track.
void writeConnectingLines(smf::TextBuffer& out, const Settings& settings, const smf::MidiEventList& track,
                          int trackNumber, double hue, NoteSuccessors& successors);

}  // namespace notegraph
