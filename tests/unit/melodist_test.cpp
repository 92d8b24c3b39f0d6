#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "melody.h"

namespace melodist {

// Lets failed expectations show the notes.
std::ostream& operator<<(std::ostream& out, const Note& note) {
    return out << '{' << note.start << ", " << note.duration << ", " << note.key << '}';
}

}  // namespace melodist

namespace {

using melodist::Note;

// A track built from (tick, bytes) pairs, ticks absolute.
smf::MidiEventList track(std::initializer_list<std::pair<int, smf::MidiMessage>> events) {
    smf::MidiEventList list;
    for (const auto& [tick, message] : events) {
        list.append(smf::MidiEvent(tick, 0, message));
    }
    return list;
}

std::string melodyOf(std::vector<Note> notes, int ticksPerQuarter) {
    std::ostringstream stream;
    {
        smf::TextBuffer out(stream);
        melodist::sortNotes(notes);
        melodist::printMelody(notes, ticksPerQuarter, out);
    }
    return stream.str();
}

// ---- extraction ----

TEST(MelodistExtract, PairsNoteOnsWithTheirNoteOffs) {
    const auto notes = melodist::extractNotes(track({{0, {0x90, 60, 100}},
                                                     {480, {0x80, 60, 64}},
                                                     {960, {0x90, 64, 100}},
                                                     {1440, {0x90, 64, 0}}}));
    EXPECT_EQ(notes, (std::vector<Note>{{0, 480, 60}, {960, 480, 64}}));
}

TEST(MelodistExtract, NotesComeInTheOrderOfTheirNoteOffs) {
    const auto notes = melodist::extractNotes(track({{0, {0x90, 60, 100}},
                                                     {0, {0x90, 67, 100}},
                                                     {100, {0x80, 67, 0}},
                                                     {200, {0x80, 60, 0}}}));
    EXPECT_EQ(notes, (std::vector<Note>{{0, 100, 67}, {0, 200, 60}}));
}

TEST(MelodistExtract, ASecondNoteOnRestartsTheKey) {
    const auto notes = melodist::extractNotes(track({{0, {0x90, 60, 100}},
                                                     {100, {0x90, 60, 90}},
                                                     {300, {0x80, 60, 0}},
                                                     {400, {0x80, 60, 0}}}));
    EXPECT_EQ(notes, (std::vector<Note>{{100, 200, 60}}));
}

TEST(MelodistExtract, ChannelsAreNotToldApart) {
    const auto notes = melodist::extractNotes(track({{0, {0x90, 60, 100}}, {50, {0x83, 60, 0}}}));
    EXPECT_EQ(notes, (std::vector<Note>{{0, 50, 60}}));
}

TEST(MelodistExtract, UnmatchedEventsAndOtherMessagesGiveNoNote) {
    const auto notes = melodist::extractNotes(track({{0, {0x80, 62, 0}},
                                                     {0, {0xB0, 7, 100}},
                                                     {0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}},
                                                     {0, {0xC0, 60}},
                                                     {0, {0xA0, 60, 10}},
                                                     {10, {0x90, 70, 100}}}));
    EXPECT_TRUE(notes.empty());
}

TEST(MelodistExtract, ShortNoteMessagesAreIgnored) {
    const auto notes = melodist::extractNotes(track({{0, {0x90, 60}}, {10, {0x80}}, {20, {0x90, 61, 1}},
                                                     {30, {0x80, 61}}, {40, {0x80, 61, 0}}}));
    EXPECT_EQ(notes, (std::vector<Note>{{20, 20, 61}}));
}

// ---- order ----

TEST(MelodistSort, ByStartThenByKey) {
    std::vector<Note> notes{{100, 10, 60}, {0, 5, 67}, {0, 7, 60}, {100, 3, 59}};
    melodist::sortNotes(notes);
    EXPECT_EQ(notes, (std::vector<Note>{{0, 7, 60}, {0, 5, 67}, {100, 3, 59}, {100, 10, 60}}));
}

TEST(MelodistSort, EqualStartAndKeyKeepTheirOrder) {
    std::vector<Note> notes{{0, 0, 60}, {0, 30, 60}, {0, 10, 60}};
    melodist::sortNotes(notes);
    EXPECT_EQ(notes, (std::vector<Note>{{0, 0, 60}, {0, 30, 60}, {0, 10, 60}}));
}

// ---- printing ----

TEST(MelodistPrint, RestsBetweenSeparateNotes) {
    EXPECT_EQ(melodyOf({{0, 480, 60}, {960, 480, 64}}, 480), "0\t60\n1\t0\n2\t64\n3\t0\n");
}

TEST(MelodistPrint, AChordShowsOnlyItsHighestKey) {
    EXPECT_EQ(melodyOf({{0, 480, 67}, {0, 480, 60}, {0, 480, 64}}, 480), "0\t67\n1\t0\n");
}

TEST(MelodistPrint, OverlappingNotesHaveNoRestBetweenThem) {
    EXPECT_EQ(melodyOf({{0, 720, 60}, {480, 480, 62}}, 480), "0\t60\n1\t62\n2\t0\n");
}

TEST(MelodistPrint, TouchingNotesHaveNoRestBetweenThem) {
    EXPECT_EQ(melodyOf({{0, 480, 60}, {480, 480, 62}}, 480), "0\t60\n1\t62\n2\t0\n");
}

TEST(MelodistPrint, LastNoteOfZeroLengthIsNotPrintedButTheEndIs) {
    EXPECT_EQ(melodyOf({{0, 480, 60}, {960, 0, 64}}, 480), "0\t60\n1\t0\n2\t0\n");
}

TEST(MelodistPrint, EndFollowsTheLastNoteInSortedOrder) {
    // A long low note starting last but one does not move the end.
    EXPECT_EQ(melodyOf({{0, 1920, 48}, {480, 240, 72}}, 480), "0\t48\n1\t72\n1.5\t0\n");
}

TEST(MelodistPrint, TimesAreInQuarterNotesWithSixDigits) {
    EXPECT_EQ(melodyOf({{0, 160, 60}, {160, 160, 61}}, 480), "0\t60\n0.333333\t61\n0.666667\t0\n");
}

TEST(MelodistPrint, NothingWithoutNotes) {
    EXPECT_EQ(melodyOf({}, 480), "");
}

TEST(MelodistPrint, FromTrackToText) {
    const auto notes = melodist::extractNotes(track({{0, {0x90, 60, 100}},
                                                     {0, {0x90, 64, 100}},
                                                     {0, {0x90, 67, 100}},
                                                     {120, {0x80, 60, 0}},
                                                     {120, {0x80, 64, 0}},
                                                     {120, {0x80, 67, 0}},
                                                     {240, {0x90, 62, 100}},
                                                     {300, {0x90, 62, 0}}}));
    EXPECT_EQ(melodyOf(notes, 120), "0\t67\n1\t0\n2\t62\n2.5\t0\n");
}

}  // namespace
