#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "skini.h"

namespace {

smf::MidiEvent event(int tick, int track, std::initializer_list<std::uint8_t> bytes) {
    return smf::MidiEvent(tick, track, smf::MidiMessage(bytes));
}

std::string skini(const std::vector<smf::MidiEvent>& events, int selection = -1) {
    std::ostringstream text;
    {
        smf::TextBuffer out(text);
        stkscore::SkiniWriter writer(out, 480, selection);
        for (const smf::MidiEvent& e : events) {
            writer.write(e);
        }
    }
    return text.str();
}

TEST(SkiniWriter, NotesWithoutTheirDataBytesAreLeftOutButStillTakeTime) {
    EXPECT_EQ(skini({event(0, 0, {0x90, 60}), event(480, 0, {0x80}), event(960, 0, {0x90, 60, 1})}),
              "NoteOn\t\t=1        \t0\t60\t1\n");
}

TEST(SkiniWriter, KeysAndControllersAbove127AreLeftOut) {
    EXPECT_EQ(skini({event(0, 0, {0x90, 0x80, 64}), event(0, 0, {0xB0, 0x87, 1}), event(0, 0, {0xB0, 7})}), "");
}

TEST(SkiniWriter, AnEmptyMessageIsListedAsDataWithNoBytes) {
    EXPECT_EQ(skini({smf::MidiEvent()}), "// time:=0 track:0 midi-data: \n");
}

TEST(SkiniWriter, TempoTimesOnlyTheTicksAfterIt) {
    // 480 ticks at 120 per minute, then 480 at 60.
    EXPECT_EQ(skini({event(0, 0, {0xB0, 7, 1}), event(480, 0, {0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}),
                     event(960, 0, {0xB0, 7, 2})}),
              "Volume\t\t=0        \t0\t\t1\n// time:=0.5 tempo: 60\nVolume\t\t=1.5      \t0\t\t2\n");
}

TEST(SkiniWriter, TempoIsWrittenWhateverTheTrackSelection) {
    EXPECT_EQ(skini({event(0, 3, {0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0}), event(0, 3, {0xFF, 0x2F, 0x00})}, 1),
              "// time:=0 tempo: 100\n");
}

}  // namespace
