// The top line of a track: at each onset the highest sounding key, with
// rests where nothing sounds.
#pragma once

#include <vector>

#include "smf/midi_event_list.h"
#include "smf/text_buffer.h"

namespace melodist {

// One sounded note, in ticks.
struct Note {
    double start = 0.0;
    double duration = 0.0;
    int key = 0;

    bool operator==(const Note&) const = default;
};

// The notes of a track whose ticks are absolute, in the order of their
// note-offs. Channels are not told apart: a note-on for a key already
// sounding restarts it, and a note-off for a silent key is ignored. Keys
// still sounding at the end of the track give no note.
std::vector<Note> extractNotes(const smf::MidiEventList& track);

// Orders the notes by start, then by key (lower first); notes equal in both
// keep their order.
void sortNotes(std::vector<Note>& notes);

// Prints the melody of sorted notes, times in quarter notes of
// ticksPerQuarter ticks: "<time>\t<key>" for the highest key of each onset,
// "<time>\t0" where a rest begins, and a last "<time>\t0" at the end of the
// last note. Nothing when there are no notes.
void printMelody(const std::vector<Note>& notes, int ticksPerQuarter, smf::TextBuffer& out);

}  // namespace melodist
