#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "chord_file.h"
#include "row_parser.h"

namespace {

using chordcols::Row;
using chordcols::Rows;

// ---- one row ----

TEST(ChordcolsRow, ReadsBlankSeparatedIntegers) {
    EXPECT_EQ(chordcols::parseRow("60 64\t67"), (Row{60, 64, 67}));
    EXPECT_EQ(chordcols::parseRow("  -1 +5 0 "), (Row{-1, 5, 0}));
}

TEST(ChordcolsRow, BlankLinesHoldNoNumbers) {
    EXPECT_TRUE(chordcols::parseRow("").empty());
    EXPECT_TRUE(chordcols::parseRow(" \t \r").empty());
}

TEST(ChordcolsRow, TextEndsTheRowButKeepsTheNumbersBefore) {
    EXPECT_EQ(chordcols::parseRow("60 64 x 67"), (Row{60, 64}));
    EXPECT_EQ(chordcols::parseRow("60abc 5"), (Row{60}));
    EXPECT_EQ(chordcols::parseRow("1.5 2"), (Row{1}));
    EXPECT_EQ(chordcols::parseRow("60,64"), (Row{60}));
    EXPECT_TRUE(chordcols::parseRow("- 5").empty());
    EXPECT_TRUE(chordcols::parseRow("+-5").empty());
    EXPECT_TRUE(chordcols::parseRow("C4 60").empty());
}

TEST(ChordcolsRow, ASignStartsTheNextNumberWithoutABlank) {
    EXPECT_EQ(chordcols::parseRow("60-5+7"), (Row{60, -5, 7}));
}

TEST(ChordcolsRow, WindowsLineEndIsABlank) {
    EXPECT_EQ(chordcols::parseRow("60 62\r"), (Row{60, 62}));
}

TEST(ChordcolsRow, NumbersBeyondIntEndTheRow) {
    EXPECT_EQ(chordcols::parseRow("2147483647 -2147483648"), (Row{INT_MAX, INT_MIN}));
    EXPECT_EQ(chordcols::parseRow("60 2147483648 62"), (Row{60}));
    EXPECT_EQ(chordcols::parseRow("60 -2147483649"), (Row{60}));
    EXPECT_EQ(chordcols::parseRow("61 " + std::string(400, '9')), (Row{61}));
}

TEST(ChordcolsRow, ReadsNothingBeyondTheView) {
    const std::string text = "60 64 67";
    EXPECT_EQ(chordcols::parseRow(std::string_view(text).substr(0, 4)), (Row{60, 6}));
}

// ---- a whole text ----

Rows readText(std::string_view text, std::string& echoed) {
    std::ostringstream stream;
    Rows rows;
    {
        smf::TextBuffer echo(stream);
        rows = chordcols::readRows(text, echo);
    }
    echoed = stream.str();
    return rows;
}

TEST(ChordcolsRows, EchoesEveryLineAndKeepsRowsWithNumbers) {
    std::string echoed;
    const Rows rows = readText("60 64 67\n\n   \n62 65\n", echoed);
    EXPECT_EQ(rows, (Rows{{60, 64, 67}, {62, 65}}));
    EXPECT_EQ(echoed, "LINE = 60 64 67\nLINE = \nLINE =    \nLINE = 62 65\n");
}

TEST(ChordcolsRows, LastLineWithoutNewlineCounts) {
    std::string echoed;
    EXPECT_EQ(readText("60\n62", echoed), (Rows{{60}, {62}}));
    EXPECT_EQ(echoed, "LINE = 60\nLINE = 62\n");
}

TEST(ChordcolsRows, EmptyTextHasNoLines) {
    std::string echoed;
    EXPECT_TRUE(readText("", echoed).empty());
    EXPECT_EQ(echoed, "");
}

TEST(ChordcolsRows, LinesAfterStrayTextAreReadAfresh) {
    std::string echoed;
    EXPECT_EQ(readText("60 oops 61\n62 64\nx\n65\n", echoed), (Rows{{60}, {62, 64}, {65}}));
}

TEST(ChordcolsRows, CarriageReturnsAreEchoedAsRead) {
    std::string echoed;
    EXPECT_EQ(readText("60 64\r\n", echoed), (Rows{{60, 64}}));
    EXPECT_EQ(echoed, "LINE = 60 64\r\n");
}

// ---- output names ----

TEST(ChordcolsName, ReplacesTheExtension) {
    EXPECT_EQ(chordcols::outputName("notes.txt"), "notes.mid");
    EXPECT_EQ(chordcols::outputName("notes"), "notes.mid");
    EXPECT_EQ(chordcols::outputName("notes.mid"), "notes.mid");
    EXPECT_EQ(chordcols::outputName("a.b.c"), "a.b.mid");
    EXPECT_EQ(chordcols::outputName("notes."), "notes.mid");
}

TEST(ChordcolsName, StaysInTheInputsFolder) {
    EXPECT_EQ(chordcols::outputName("old.dir/notes"), "old.dir/notes.mid");
    EXPECT_EQ(chordcols::outputName("old.dir/notes.txt"), "old.dir/notes.mid");
    EXPECT_EQ(chordcols::outputName("./notes"), "./notes.mid");
    EXPECT_EQ(chordcols::outputName("../notes"), "../notes.mid");
    EXPECT_EQ(chordcols::outputName("/tmp/x.y/rows.txt"), "/tmp/x.y/rows.mid");
}

TEST(ChordcolsName, LongNamesAreKeptWhole) {
    const std::string stem(1500, 'n');
    EXPECT_EQ(chordcols::outputName(stem + ".txt"), stem + ".mid");
    EXPECT_EQ(chordcols::outputName(stem), stem + ".mid");
}

// ---- the chords ----

struct Ev {
    int tick;
    std::vector<int> bytes;
    bool operator==(const Ev&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Ev& ev) {
    out << ev.tick << ':';
    for (int b : ev.bytes) {
        out << ' ' << std::hex << b << std::dec;
    }
    return out;
}

std::vector<Ev> eventsOf(const smf::Tunefolio& file, int track) {
    std::vector<Ev> events;
    for (const smf::MidiEvent& event : file[track]) {
        events.push_back({event.tick, std::vector<int>(event.begin(), event.end())});
    }
    return events;
}

Ev on(int tick, int key) {
    return {tick, {0x90, key, 64}};
}
Ev off(int tick, int key) {
    return {tick, {0x80, key, 64}};
}

TEST(ChordcolsChords, ColumnsSoundAsChordsOneQuarterEach) {
    smf::Tunefolio file;
    ASSERT_TRUE(chordcols::buildChords({{60, 64, 67}, {62, 65}}, file));
    EXPECT_EQ(file.getTicksPerQuarterNote(), 120);
    ASSERT_EQ(file.getTrackCount(), 2);
    ASSERT_EQ(file.getEventCount(0), 1);
    EXPECT_EQ(file[0][0].tick, 0);
    EXPECT_EQ(file[0][0].getTempoMicroseconds(), 1000000);
    EXPECT_EQ(eventsOf(file, 1), (std::vector<Ev>{on(0, 60), on(0, 62), off(120, 60), off(120, 62), on(120, 64),
                                                  on(120, 65), off(240, 64), off(240, 65), on(240, 67),
                                                  off(360, 67)}));
}

TEST(ChordcolsChords, NumbersKeepTheirLowSevenBits) {
    smf::Tunefolio file;
    ASSERT_TRUE(chordcols::buildChords({{128, 200, -1}}, file));
    EXPECT_EQ(eventsOf(file, 1), (std::vector<Ev>{on(0, 0), off(120, 0), on(120, 72), off(240, 72), on(240, 127),
                                                  off(360, 127)}));
}

TEST(ChordcolsChords, SameKeyTwiceInAColumnGivesTwoNotes) {
    smf::Tunefolio file;
    ASSERT_TRUE(chordcols::buildChords({{60}, {60}}, file));
    EXPECT_EQ(eventsOf(file, 1), (std::vector<Ev>{on(0, 60), on(0, 60), off(120, 60), off(120, 60)}));
}

TEST(ChordcolsChords, AKeyHeldOverTwoChordsIsReleasedBeforeItIsStruckAgain) {
    smf::Tunefolio file;
    ASSERT_TRUE(chordcols::buildChords({{60, 60}}, file));
    EXPECT_EQ(eventsOf(file, 1), (std::vector<Ev>{on(0, 60), off(120, 60), on(120, 60), off(240, 60)}));
}

TEST(ChordcolsChords, NoRowsGiveOnlyTheTempo) {
    smf::Tunefolio file;
    ASSERT_TRUE(chordcols::buildChords({}, file));
    ASSERT_EQ(file.getTrackCount(), 2);
    EXPECT_EQ(file.getEventCount(0), 1);
    EXPECT_EQ(file.getEventCount(1), 0);
}

TEST(ChordcolsChords, WrittenFileReadsBackWithTheSameNotes) {
    smf::Tunefolio file;
    ASSERT_TRUE(chordcols::buildChords({{60, 64, 67}, {62, 65}, {1000}}, file));
    const std::vector<std::uint8_t> bytes = file.getFileBytes();
    ASSERT_FALSE(bytes.empty());
    smf::Tunefolio back;
    ASSERT_TRUE(back.readBytes(bytes));
    ASSERT_EQ(back.getTrackCount(), 2);
    std::vector<Ev> notes;
    for (const Ev& ev : eventsOf(back, 1)) {
        if (ev.bytes[0] != 0xFF) {
            notes.push_back(ev);
        }
    }
    EXPECT_EQ(notes, eventsOf(file, 1));
}

TEST(ChordcolsChords, ReplacesWhatTheFileHeld) {
    smf::Tunefolio file;
    file.addTrack(3);
    file.addNoteOn(2, 0, 0, 60, 100);
    file.setTicksPerQuarterNote(480);
    ASSERT_TRUE(chordcols::buildChords({{70}}, file));
    EXPECT_EQ(file.getTrackCount(), 2);
    EXPECT_EQ(file.getTicksPerQuarterNote(), 120);
    EXPECT_EQ(eventsOf(file, 1), (std::vector<Ev>{on(0, 70), off(120, 70)}));
}

}  // namespace

namespace {

TEST(ChordcolsChords, MoreColumnsThanTicksCanPlaceAreRefused) {
    // The release of chord k falls at tick 120 (k + 1), which must fit an int.
    const std::size_t limit = INT_MAX / chordcols::kTicksPerChord;
    smf::Tunefolio file;
    EXPECT_FALSE(chordcols::buildChords({Row(limit + 1, 60)}, file));
    EXPECT_EQ(file.getTrackCount(), 1);
    EXPECT_EQ(file.getEventCount(0), 0);
}

}  // namespace
