// notematrix's rows: every note, controller, program, tempo, meter and key
// signature of a file as one row of seven numbers, and the array that lists
// them.
#pragma once

#include <string_view>

#include "legend.h"
#include "shared/note_rows.h"
#include "smf/tunefolio.h"
#include "smf/text_buffer.h"

namespace matrix {

struct MatrixSettings {
    TimeUnit unit = TimeUnit::Beats;
    double unusedMarker = -1000.0;
    int ticksPerQuarterNote = 1;
};

// What one walk over the events finds out before anything is written: what
// occurs (for the legend) and how the rows can be put in time order.
struct Survey {
    Presence presence;
    NoteUses noteUses;
    // The time order of the events, when it could be recorded.
    TrackSequence order;
    bool orderRecorded = false;
    // A note-off of a key never struck: its row is timed -1 and goes first.
    bool unstruckNotes = false;
    // The times of the events never fall along the walk.
    bool timesInOrder = true;
};

// Finds out what the rows will hold and records the time order of the
// events (absolute ticks; seconds need the file's time analysis done). Rows
// whose opcode equals the marker are dropped, but the opcode still counts as
// present. Events the rows cannot describe (too short, a key, controller or
// program of 128 or more, a tempo of zero) make no row.
Survey surveyEvents(const smf::Tunefolio& file, const MatrixSettings& settings);

// How writeArray puts the rows in time order: streamed as they are made
// (when the survey allows it, else kept), or all kept and sorted.
enum class RowOrdering { Streamed, Kept };

// "<name> = [", one line per row in time order, "];", the rows made again
// from the events. Column 2 is written as its opcode name unless
// numericOpcodes is set.
void writeArray(smf::TextBuffer& out, std::string_view name, const smf::Tunefolio& file,
                const MatrixSettings& settings, const Survey& survey, bool numericOpcodes,
                RowOrdering ordering = RowOrdering::Streamed);

}  // namespace matrix
