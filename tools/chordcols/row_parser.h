// Reading rows of key numbers from text.
//
// A row is the run of integers at the start of a line: decimal, with an
// optional sign, separated by white space. The first word that is not such
// an integer (or one beyond the range of int) ends the row; the numbers
// before it are kept. Every line is read on its own, so a stray word never
// hides the numbers of the lines after it.
#pragma once

#include <string_view>
#include <vector>

#include "smf/text_buffer.h"

namespace chordcols {

using Row = std::vector<int>;
using Rows = std::vector<Row>;

// The integers at the start of one line ("60 64 x 67" gives 60 and 64).
Row parseRow(std::string_view line);

// The rows of a whole text, lines ending at a newline (a last line without
// one still counts). Each line is echoed as "LINE = <text>"; lines without
// numbers are echoed but give no row.
Rows readRows(std::string_view text, smf::TextBuffer& echo);

}  // namespace chordcols
