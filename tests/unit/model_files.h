// Files the model's tests build in code, and the two ways they go to and
// from hexscribe text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "smf/tunefolio.h"

namespace modelfiles {

inline smf::Tunefolio twoTrackFile() {
    smf::Tunefolio f;
    f.setTicksPerQuarterNote(96);
    f.addTrack();
    f.addTempo(0, 0, 120.0);
    f.addTrackName(1, 0, "Piano");
    f.addNoteOn(1, 0, 0, 60, 100);
    f.addNoteOn(1, 48, 0, 64, 90);
    f.addNoteOff(1, 96, 0, 60, 0);
    f.addEvent(1, 144, {0x90, 64, 0});
    return f;
}

inline std::string hexscribe(const smf::Tunefolio& f, bool comments) {
    std::ostringstream out;
    if (comments) {
        out << f;
    } else {
        EXPECT_TRUE(f.writeHexscribe(out));
    }
    return out.str();
}

inline smf::Tunefolio readText(const std::string& text) {
    smf::Tunefolio f;
    EXPECT_TRUE(f.readBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) << f.getReadError();
    return f;
}

}  // namespace modelfiles
