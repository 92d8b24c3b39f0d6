// The note rows that notematrix and notespans share: opcode names, the
// note-on memory and the order of the rows.
#include "shared/note_rows.h"

#include <gtest/gtest.h>

#include <vector>

#include "smf/time_order.h"

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

TEST(NoteRowsTest, NoteUsesKnowTheLastNoteOffOfEachOnset) {
    matrix::NoteUses uses;
    uses.noteOn(60);                    // 0
    EXPECT_TRUE(uses.noteOff(60, 3));
    uses.noteOn(62);                    // 1
    uses.noteOn(60);                    // 2: the first one of 60 is used no more
    EXPECT_TRUE(uses.noteOff(60, 7));
    EXPECT_TRUE(uses.noteOff(60, 9));  // timed again from the same onset
    EXPECT_FALSE(uses.noteOff(64, 10)); // never struck
    ASSERT_EQ(uses.noteOnCount(), 3U);
    EXPECT_EQ(uses.lastUse(0), 3);
    EXPECT_EQ(uses.lastUse(1), matrix::kNoPosition);
    EXPECT_EQ(uses.lastUse(2), 9);
}

TEST(NoteRowsTest, OnsetsStillToBeUsedHoldRowsBack) {
    matrix::NoteOnMemory memory;
    EXPECT_EQ(memory.earliestSourceFrom(5), 5);
    memory.noteOn(60, 0.0, 90, 2, 8);
    memory.noteOn(62, 0.0, 90, 4, 6);
    EXPECT_EQ(memory.earliestSourceFrom(5), 2);
    EXPECT_EQ(memory.earliestSourceFrom(8), 2);
    EXPECT_EQ(memory.earliestSourceFrom(9), 9);
    memory.noteOn(60, 0.0, 90, 7, matrix::kNoPosition);  // never used: holds nothing back
    EXPECT_EQ(memory.earliestSourceFrom(5), 4);
}

matrix::Row rowAt(double time) {
    matrix::Row row{};
    row[0] = time;
    return row;
}

// The times of the rows the queue lets go below the bound, in order.
std::vector<double> taken(matrix::RowQueue& queue, std::int32_t bound) {
    std::vector<double> times;
    while (const matrix::SourcedRow* row = queue.takeBefore(bound)) {
        times.push_back(row->row[0]);
    }
    return times;
}

TEST(NoteRowsTest, QueuedRowsLeaveBySourceThenAsMade) {
    matrix::RowQueue queue(10);
    queue.add(rowAt(1.0), 12);
    queue.add(rowAt(2.0), 10);
    queue.add(rowAt(3.0), 12);
    queue.add(rowAt(4.0), matrix::kNoPosition);
    queue.add(rowAt(5.0), 500);  // far ahead of the others: the window grows
    EXPECT_EQ(taken(queue, 10), (std::vector<double>{4.0}));  // timed from no event: first
    EXPECT_EQ(taken(queue, 13), (std::vector<double>{2.0, 1.0, 3.0}));
    EXPECT_FALSE(queue.empty());
    queue.add(rowAt(6.0), 13);
    queue.add(rowAt(7.0), 700);
    EXPECT_EQ(taken(queue, matrix::kNoLaterPosition), (std::vector<double>{6.0, 5.0, 7.0}));
    EXPECT_TRUE(queue.empty());
}

TEST(NoteRowsTest, ARecordedOrderIsTheTimeOrder) {
    smf::Tunefolio file;
    file.addTrack(2);
    file.addTempo(0, 0, 120.0);
    file.addNoteOn(1, 0, 0, 60, 100);
    file.addNoteOn(2, 0, 1, 62, 100);
    file.addNoteOff(2, 10, 1, 62);
    file.addNoteOff(1, 10, 0, 60);
    file.addNoteOn(1, 10, 0, 64, 90);
    file.addTempo(0, 10, 90.0);
    file.addNoteOff(1, 30, 0, 64);
    std::vector<const smf::MidiEvent*> walked;
    smf::forEachEventInTimeOrder(file, [&walked](const smf::MidiEvent& event, int) { walked.push_back(&event); });
    matrix::TrackSequence order;
    std::vector<const smf::MidiEvent*> visited;
    ASSERT_TRUE(order.record(file, [&visited](const smf::MidiEvent& event, int) { visited.push_back(&event); }));
    EXPECT_EQ(visited, walked);
    ASSERT_EQ(order.size(), walked.size());
    // A walk over the record from any event takes the rest in the same order.
    std::vector<int> nextInTrack(3, 0);
    for (std::size_t from = 0; from < walked.size(); ++from) {
        matrix::SequenceWalk walk(file, order, from, nextInTrack);
        int track = 0;
        for (std::size_t position = from; position < walked.size(); ++position) {
            EXPECT_EQ(walk.next(track), walked[position]) << "from " << from;
        }
        EXPECT_EQ(walk.next(track), nullptr);
        ++nextInTrack[static_cast<std::size_t>(order[from])];
    }
}

TEST(NoteRowsTest, OnlyTracksInTickOrderAreRecorded) {
    smf::Tunefolio file;
    file.addNoteOn(0, 20, 0, 60, 100);
    file.addNoteOn(0, 10, 0, 62, 100);
    matrix::TrackSequence order;
    EXPECT_FALSE(order.record(file));
    file.sortTracks();
    EXPECT_TRUE(order.record(file));
    file.deltaTicks();
    EXPECT_FALSE(order.record(file));
    EXPECT_TRUE(order.record(smf::Tunefolio()));
    EXPECT_EQ(order.size(), 0U);
}

}  // namespace
