// notematrix's rows: every note, controller, program, tempo, meter and key
// signature of a file as one row of seven numbers, and the array that lists
// them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

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

struct Matrix {
    RowList rows;
    Presence presence;
};

// Converts the events of every track, in time order, into rows and records
// what occurs. Times are those of the unit (seconds need the file's time
// analysis done). Rows whose opcode equals the marker are dropped, but the
// opcode still counts as present. Events the rows cannot describe (too
// short, a key, controller or program of 128 or more, a tempo of zero) make
// no row.
void convertEvents(const smf::Tunefolio& file, const MatrixSettings& settings, Matrix& matrix);

// "<name> = [", one line per row in the given order, "];". Column 2 is
// written as its opcode name unless numericOpcodes is set.
void writeArray(smf::TextBuffer& out, std::string_view name, const std::vector<Row>& rows,
                const std::vector<std::uint32_t>& order, bool numericOpcodes);

}  // namespace matrix
