// What is wrong with a MIDI file: what the reader met on its way (and went
// past, or stopped at), and what the events read say once paired.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "smf/result.h"

namespace smfcheck {

struct Report {
    bool readable = false;
    // Why the bytes cannot be read as a MIDI file (readable files: empty).
    std::string why;
    // Every problem, in the order of the bytes; for hexscribe text, each
    // `what` begins with the line of the text.
    std::vector<smf::Problem> problems;
    bool sound() const { return readable && problems.empty(); }
};

// Checks MIDI bytes (or hexscribe text describing them). Beyond what the
// reader reports: note-ons never released, note-offs with no note-on (per
// track, channel and key, paired first in first out), tempos of 0
// microseconds per quarter note, system exclusive messages never closed by
// an F7.
Report check(std::span<const std::uint8_t> bytes);

// "NAME: byte 18, track 0: what (and 3 more in this track); action", one
// line per problem.
std::string problemLines(std::string_view name, const Report& report);
// "NAME: ok", "NAME: 2 problems, readable" or "NAME: not a MIDI file (why)".
std::string summaryLine(std::string_view name, const Report& report);

}  // namespace smfcheck
