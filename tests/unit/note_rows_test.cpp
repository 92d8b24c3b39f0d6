// The note rows that notematrix and notespans share: opcode names, the
// note-on memory and the order of the rows.
#include "shared/note_rows.h"

#include <gtest/gtest.h>

namespace {

TEST(NoteRowsTest, OpcodeNames) {
    EXPECT_EQ(matrix::opcodeName(1000), "NOTE");
    EXPECT_EQ(matrix::opcodeName(6000), "KEYSIG");
    EXPECT_EQ(matrix::opcodeName(7000), "");
    EXPECT_EQ(matrix::opcodeName(1500), "");
}

TEST(NoteRowsTest, NoteMemoryKeepsTheLatestOnset) {
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

TEST(NoteRowsTest, TimeOrderSortsByTimeThenSource) {
    // Made in note-off order: sources say where each time came from.
    const matrix::RowList list = rowsAt({{0.0, 0}, {1.0, 3}, {0.5, 1}, {-1.0, -1}, {0.5, 2}, {1.0, 3}});
    EXPECT_EQ(matrix::timeOrder(list), (std::vector<std::uint32_t>{3, 0, 2, 4, 1, 5}));
}

TEST(NoteRowsTest, TimeOrderSortsTimesThatDoNotFollowTheirSources) {
    // A later tempo can give a later event an earlier time.
    const matrix::RowList list = rowsAt({{4.0, 0}, {5.0, 1}, {2.0, 2}, {2.5, 3}, {4.0, 4}, {1.0, 5}});
    EXPECT_EQ(matrix::timeOrder(list), (std::vector<std::uint32_t>{5, 2, 3, 0, 4, 1}));
    EXPECT_TRUE(matrix::timeOrder(matrix::RowList()).empty());
}

TEST(NoteRowsTest, NoteKinds) {
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x90, 60, 100}), matrix::NoteKind::On);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x93, 60, 0}), matrix::NoteKind::Off);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x80, 60, 64}), matrix::NoteKind::Off);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x90, 60}), matrix::NoteKind::None);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0x90, 200, 100}), matrix::NoteKind::None);
    EXPECT_EQ(matrix::noteKind(smf::MidiMessage{0xB0, 7, 100}), matrix::NoteKind::None);
}

}  // namespace
