// The commented legend of notematrix's output: what the file is, which time
// unit column 1 holds, and what every opcode, instrument and controller that
// occurs in the rows means.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "shared/note_rows.h"
#include "smf/text_buffer.h"

namespace matrix {

// What occurs in the rows: opcodes (by opcode / 1000, entries 1 to 6),
// program numbers and controller numbers.
struct Presence {
    std::array<bool, kOpcodeCount + 1> opcodes{};
    std::array<bool, 128> instruments{};
    std::array<bool, 128> controllers{};
};

// The General MIDI program's short name (at most 9 characters), 0 to 127.
std::string_view instrumentShortName(int program);

// The controller's legend line, 0 to 127: the number in 3 places, 3 blanks,
// the description padded to 35 characters (98 to 100: 40), the value range.
std::string controllerLine(int controller);

struct LegendHeader {
    std::string_view filename;
    int ticksPerQuarterNote = 0;
    TimeUnit unit = TimeUnit::Beats;
};

// The whole legend, from its leading empty line to its closing rule and the
// empty line after it.
void writeLegend(smf::TextBuffer& out, const LegendHeader& header, const Presence& presence);

// "NOTE = 1000;" and so on, one line per opcode present.
void writeOpcodeDefinitions(smf::TextBuffer& out, const Presence& presence);

}  // namespace matrix
