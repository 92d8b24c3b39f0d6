// notematrix's tables, note memory and row order (shared with notespans).
#include <gtest/gtest.h>

#include "legend.h"
#include "note_rows.h"

namespace {

TEST(NotematrixTest, ControllerLinesPadTheirDescriptions) {
    EXPECT_EQ(matrix::controllerLine(7), "  7   Main Volume (coarse)               0..127");
    EXPECT_EQ(matrix::controllerLine(98), " 98   Non-Registered Parameter Number (coarse)0..127");
    EXPECT_EQ(matrix::controllerLine(99), " 99   Non-Registered Parameter Number (fine)  0..127");
    EXPECT_EQ(matrix::controllerLine(100), "100   Registered Parameter Number (coarse)    0..127");
    EXPECT_EQ(matrix::controllerLine(101), "101   Registered Parameter Number (fine) 0..127");
    EXPECT_EQ(matrix::controllerLine(0), "  0   Bank Select (coarse)               0..127");
    EXPECT_EQ(matrix::controllerLine(127), "127   Polyphonic Mode On (mono=off)      ignored");
}

TEST(NotematrixTest, ControllerRanges) {
    EXPECT_EQ(matrix::controllerLine(10), " 10   Pan (coarse)                       0=left 127=right");
    EXPECT_EQ(matrix::controllerLine(32), " 32   Bank Select (fine)                 0..127 usu.ignored");
    EXPECT_EQ(matrix::controllerLine(43), " 43   Expression (sub-Volume) (fine)     0..127 usu. ignored");
    EXPECT_EQ(matrix::controllerLine(64), " 64   Hold pedal (Sustain) on/off        0..63=off  64..127=on");
    EXPECT_EQ(matrix::controllerLine(80), " 80   General Purpose Button             0..63=off 64..127=on");
    EXPECT_EQ(matrix::controllerLine(122), "122   Local Keyboard On/Off              0..63=off 64..127=on");
    EXPECT_EQ(matrix::controllerLine(110), "110   Undefined                          ?");
    EXPECT_EQ(matrix::controllerLine(126), "126   Monophonic Mode On                 **");
    EXPECT_EQ(matrix::controllerLine(96), " 96   Data entry +1                      ignored");
    EXPECT_EQ(matrix::controllerLine(51), " 51   Continuous controller #19          0..127");
    EXPECT_EQ(matrix::controllerLine(63), " 63   Continuous controller #31 (fine)   0..127");
}

TEST(NotematrixTest, EveryControllerLineHasItsColumns) {
    for (int controller = 0; controller < 128; ++controller) {
        const std::string line = matrix::controllerLine(controller);
        EXPECT_EQ(std::stoi(line.substr(0, 3)), controller);
        EXPECT_EQ(line.substr(3, 3), "   ");
        EXPECT_GE(line.size(), 6u + 35u + 1u) << line;
        EXPECT_NE(line.back(), ' ') << line;
    }
}

TEST(NotematrixTest, InstrumentShortNames) {
    EXPECT_EQ(matrix::instrumentShortName(0), "acpiano");
    EXPECT_EQ(matrix::instrumentShortName(44), "marcato");
    EXPECT_EQ(matrix::instrumentShortName(48), "marcato");
    EXPECT_EQ(matrix::instrumentShortName(95), "sweeper");
    EXPECT_EQ(matrix::instrumentShortName(102), "sweeper");
    EXPECT_EQ(matrix::instrumentShortName(127), "ringwhsl");
    for (int program = 0; program < 128; ++program) {
        EXPECT_FALSE(matrix::instrumentShortName(program).empty());
        EXPECT_LE(matrix::instrumentShortName(program).size(), 9u);
    }
}

TEST(NotematrixTest, OpcodeNames) {
    EXPECT_EQ(matrix::opcodeName(1000), "NOTE");
    EXPECT_EQ(matrix::opcodeName(6000), "KEYSIG");
    EXPECT_EQ(matrix::opcodeName(7000), "");
    EXPECT_EQ(matrix::opcodeName(1500), "");
}

TEST(NotematrixTest, NoteMemoryKeepsTheLatestOnset) {
    matrix::NoteOnMemory memory;
    matrix::Row row{};
    memory.fillNoteRow(row, 60, 2.0, 0, 1);
    EXPECT_EQ(row, (matrix::Row{-1.0, 1000.0, 3.0, 60.0, -1.0, 0.0, 1.0}));
    EXPECT_EQ(memory.onsetSource(60), -1);
    memory.noteOn(60, 1.0, 90, 4);
    memory.noteOn(60, 1.5, 80, 7);
    memory.fillNoteRow(row, 60, 2.0, 3, 2);
    EXPECT_EQ(row, (matrix::Row{1.5, 1000.0, 0.5, 60.0, 80.0, 3.0, 2.0}));
    EXPECT_EQ(memory.onsetSource(60), 7);
}

matrix::RowList rowsAt(const std::vector<std::pair<double, std::int32_t>>& timesAndSources) {
    matrix::RowList list;
    for (const auto& [time, source] : timesAndSources) {
        matrix::Row row{};
        row[0] = time;
        list.add(row, source);
    }
    return list;
}

TEST(NotematrixTest, TimeOrderSortsByTimeThenSource) {
    // Made in note-off order: sources say where each time came from.
    const matrix::RowList list = rowsAt({{0.0, 0}, {1.0, 3}, {0.5, 1}, {-1.0, -1}, {0.5, 2}, {1.0, 3}});
    EXPECT_EQ(matrix::timeOrder(list), (std::vector<std::uint32_t>{3, 0, 2, 4, 1, 5}));
}

TEST(NotematrixTest, TimeOrderSortsTimesThatDoNotFollowTheirSources) {
    // A later tempo can give a later event an earlier time.
    const matrix::RowList list = rowsAt({{4.0, 0}, {5.0, 1}, {2.0, 2}, {2.5, 3}, {4.0, 4}, {1.0, 5}});
    EXPECT_EQ(matrix::timeOrder(list), (std::vector<std::uint32_t>{5, 2, 3, 0, 4, 1}));
    EXPECT_TRUE(matrix::timeOrder(matrix::RowList()).empty());
}

TEST(NotematrixTest, NoteKinds) {
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x90, 60, 100}), matrix::NoteKind::On);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x93, 60, 0}), matrix::NoteKind::Off);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x80, 60, 64}), matrix::NoteKind::Off);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x90, 60}), matrix::NoteKind::None);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x90, 200, 100}), matrix::NoteKind::None);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0xB0, 7, 100}), matrix::NoteKind::None);
}

}  // namespace
