#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "note_seconds.h"

namespace {

smf::MidiEvent event(int tick, std::initializer_list<std::uint8_t> bytes) {
    return smf::MidiEvent(tick, 0, smf::MidiMessage(bytes));
}

std::string noteLines(const std::vector<smf::MidiEvent>& events) {
    std::ostringstream text;
    {
        smf::TextBuffer out(text);
        notesecs::NoteSecondsWriter writer(out, 480);
        for (const smf::MidiEvent& e : events) {
            writer.write(e);
        }
    }
    return text.str();
}

TEST(NoteSecondsWriter, KeysAbove127HaveNoMemoryEntryAndAreSkipped) {
    EXPECT_EQ(noteLines({event(0, {0x90, 0xC8, 64}), event(480, {0x80, 0xC8, 0})}), "");
}

TEST(NoteSecondsWriter, ShortNoteMessagesAreSkipped) {
    EXPECT_EQ(noteLines({event(0, {0x90, 60, 64}), event(240, {0x80, 60}), event(480, {0x80, 60, 0})}),
              "note\t0\t1\t60\t64\n");
}

TEST(NoteSecondsWriter, ShortTempoMessagesDoNotCountAsTheFirstTempo) {
    EXPECT_EQ(noteLines({event(0, {0xFF, 0x51, 0x02, 0x07, 0xA1}), event(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}),
                         event(0, {0x90, 60, 64}), event(480, {0x80, 60, 0})}),
              "note\t0\t0.5\t60\t64\n");
}

}  // namespace
