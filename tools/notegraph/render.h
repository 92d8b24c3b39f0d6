// The piano roll: what the drawing takes from the score, the notes, and the
// body and frame of the SVG document.
#pragma once

#include <string>
#include <vector>

#include "settings.h"
#include "shapes.h"
#include "smf/text_buffer.h"
#include "smf/tunefolio.h"

namespace notegraph {

struct PitchRange {
    int low = -1;
    int high = -1;
};

// Lowest and highest key of all note-ons (every channel, unmapped), widened
// to the grand staff and made diatonic as the settings ask.
PitchRange globalPitchRange(const smf::Tunefolio& file, const Settings& settings);
// The same over one track, without the grand-staff widening.
PitchRange trackPitchRange(const smf::MidiEventList& track, const Settings& settings);

// Whether a note-on is drawn: percussion (channel 9) only with drum display.
bool isDrawnNote(const smf::MidiEvent& event, const Settings& settings);
// Hue in degrees of each track: drawn tracks spread evenly round the colour
// circle in file order; -1 for tracks that are not drawn.
std::vector<double> trackHues(const smf::Tunefolio& file, const Settings& settings);
// Time of the latest note-off that ends a track. The file's events must
// have their times (Tunefolio::doTimeAnalysis).
double drawnDuration(const smf::Tunefolio& file);

// One note: its group with class names, optional data comment and outline.
void writeNote(smf::TextBuffer& out, const Settings& settings, const smf::MidiEvent& note, int trackNumber,
               bool withData, const PitchRange& trackRange, Shape shape);

// Writes everything inside the main group: staff furniture, then the stroke
// group with lines, backdrops and notes. The file's notes must be linked
// (Tunefolio::linkNotePairs) and its events timed (doTimeAnalysis).
void writeBody(smf::TextBuffer& out, const smf::Tunefolio& file, const Settings& settings);

// What the document's root element needs besides the settings.
struct DocumentExtent {
    PitchRange pitches;
    double duration = 0.0;  // drawn duration
};

// XML prologue up to and including the opening of the main group.
void writeDocumentHead(smf::TextBuffer& out, const Settings& settings, const DocumentExtent& extent);
// Closing of the main group and the root, then the command line as a
// processing instruction.
void writeDocumentTail(smf::TextBuffer& out, const std::vector<std::string>& arguments);

}  // namespace notegraph
