// The note lines of a note list: "note ONSET DURATION KEY VELOCITY", times
// in seconds, anything after a ";" a comment, letters in any case.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace notecompile {

// Ticks per second of the written file: 480 ticks per quarter note at 120
// quarter notes per minute.
inline constexpr int kTicksPerSecond = 960;

struct Note {
    double onset = 0.0;     // seconds
    double duration = 0.0;  // seconds
    int key = 0;            // 0..127
    int velocity = 0;       // 0..127
    int onTick = 0;
    int offTick = 0;        // at least onTick + 1
};

// The line as the grammar sees it: lower case, cut at the first ";".
std::string normalizedLine(std::string_view line);

// The note of a normalized line, or nothing when the line is not a note
// line: the first token is not "note", a value is missing, the key or the
// velocity lies outside 0..127, a time is not finite, the onset lies before
// the start (tick 0) or a tick beyond what an int counts. Tokens are separated by blanks, tabs and newlines; a
// time reads as a decimal number and a key or velocity as a decimal integer,
// each from the start of its token (text that is no number reads as 0).
// Tokens after the fifth are ignored.
std::optional<Note> parseNoteLine(std::string_view normalized);

// The leading decimal number of a token, as the C library's atof and atoi
// read it (no number: 0). Nothing when the integer does not fit an int or
// the floating-point value overflows.
std::optional<double> leadingDouble(std::string_view token);
std::optional<int> leadingInt(std::string_view token);

}  // namespace notecompile
