#include "drum_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// (tick, "on"/"off") of every event of track 1.
using Events = std::vector<std::pair<int, std::string>>;

Events pattern(std::string_view text, int cellTicks = 30) {
    smf::Tunefolio file;
    file.absoluteTicks();
    file.addTrack();
    drumgrid::addPattern(file, 1, text, 38, cellTicks);
    Events events;
    for (int i = 0; i < file.getEventCount(1); ++i) {
        const smf::MidiEvent& event = file.getEvent(1, i);
        EXPECT_EQ(event.getChannelNibble(), 9);
        EXPECT_EQ(event.getKeyNumber(), 38);
        EXPECT_EQ(event.getVelocity(), 64);
        events.emplace_back(event.tick, event.isNoteOn() ? "on" : "off");
    }
    return events;
}

TEST(DrumPatternTest, AdjacentHitsEndOneTickEarly) {
    EXPECT_EQ(pattern("xx"), (Events{{0, "on"}, {29, "off"}, {30, "on"}, {60, "off"}}));
}

TEST(DrumPatternTest, HoldCellsKeepTheNoteSounding) {
    EXPECT_EQ(pattern("--x---x-"), (Events{{60, "on"}, {179, "off"}, {180, "on"}, {240, "off"}}));
}

TEST(DrumPatternTest, SilenceCellsEndTheNote) {
    EXPECT_EQ(pattern("x-0-X-o-x-O"),
              (Events{{0, "on"}, {59, "off"}, {120, "on"}, {179, "off"}, {240, "on"}, {299, "off"}}));
}

TEST(DrumPatternTest, SilenceWithoutNoteAddsNothing) {
    EXPECT_EQ(pattern("0o-O"), Events{});
    EXPECT_EQ(pattern(""), Events{});
}

TEST(DrumPatternTest, HitOnLastCellEndsWithThePattern) {
    EXPECT_EQ(pattern("---x", 10), (Events{{30, "on"}, {40, "off"}}));
}

}  // namespace
