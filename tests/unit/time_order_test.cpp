// Walking the events of all tracks in time order without joining them.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "smf/time_order.h"
#include "smf/tunefolio.h"

namespace {

struct Seen {
    int tick;
    int track;
    std::vector<std::uint8_t> bytes;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> walked(const smf::Tunefolio& file) {
    std::vector<Seen> seen;
    smf::forEachEventInTimeOrder(file, [&seen](const smf::MidiEvent& event, int track) {
        seen.push_back({event.tick, track, {event.begin(), event.end()}});
    });
    return seen;
}

std::vector<Seen> listed(const smf::Tunefolio& file) {
    std::vector<Seen> seen;
    for (const smf::EventPlace& place : smf::eventsInTimeOrder(file)) {
        const smf::MidiEvent& event = file[place.track][place.index];
        seen.push_back({event.tick, place.track, {event.begin(), event.end()}});
    }
    return seen;
}

// What joinTracks gives, in absolute ticks.
std::vector<Seen> joined(smf::Tunefolio file) {
    file.absoluteTicks();
    file.joinTracks();
    std::vector<Seen> seen;
    for (const smf::MidiEvent& event : file[0]) {
        seen.push_back({event.tick, event.track, {event.begin(), event.end()}});
    }
    return seen;
}

std::vector<Seen> inAbsoluteTicks(std::vector<Seen> seen, const smf::Tunefolio& file) {
    smf::Tunefolio copy = file;
    copy.absoluteTicks();
    const std::vector<Seen> absolute = walked(copy);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        seen[i].tick = absolute[i].tick;
    }
    return seen;
}

smf::Tunefolio threeTracks() {
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
    return file;
}

TEST(TimeOrderTest, SameOrderAsJoinTracks) {
    const smf::Tunefolio file = threeTracks();
    EXPECT_EQ(walked(file), joined(file));
    EXPECT_EQ(listed(file), joined(file));
    // At tick 10 the lower track comes first, then list order.
    const std::vector<Seen> seen = walked(file);
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen[3].track, 0);
    EXPECT_EQ(seen[4].track, 1);
    EXPECT_EQ(seen[5].track, 1);
    EXPECT_EQ(seen[6].track, 2);
}

TEST(TimeOrderTest, TracksOutOfTickOrderAreSortedStably) {
    smf::Tunefolio file = threeTracks();
    file.addNoteOn(1, 5, 0, 67, 80);  // appended after tick 30
    file.addNoteOn(2, 0, 1, 69, 80);
    EXPECT_EQ(walked(file), joined(file));
    EXPECT_EQ(listed(file), joined(file));
}

TEST(TimeOrderTest, ALoneTrackKeepsItsListOrder) {
    smf::Tunefolio file;
    file.addNoteOn(0, 20, 0, 60, 100);
    file.addNoteOn(0, 10, 0, 62, 100);
    const std::vector<Seen> seen = walked(file);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].tick, 20);
    EXPECT_EQ(seen, joined(file));
    EXPECT_EQ(listed(file), joined(file));
}

TEST(TimeOrderTest, DeltaTicksGiveTheSameOrder) {
    smf::Tunefolio file = threeTracks();
    const std::vector<Seen> expected = joined(file);
    file.deltaTicks();
    EXPECT_EQ(inAbsoluteTicks(walked(file), file), expected);
    EXPECT_EQ(inAbsoluteTicks(listed(file), file), expected);
}

TEST(TimeOrderTest, EmptyTracksAndFiles) {
    smf::Tunefolio file;
    file.addTrack(3);
    file.addNoteOn(2, 5, 0, 60, 100);
    EXPECT_EQ(walked(file), joined(file));
    EXPECT_TRUE(walked(smf::Tunefolio()).empty());
}

TEST(TimeOrderTest, CorpusFilesWalkAsJoined) {
    for (const auto& entry : std::filesystem::directory_iterator(TUNEFOLIO_CORPUS_DIR)) {
        smf::Tunefolio file;
        ASSERT_TRUE(file.read(entry.path().string())) << entry.path();
        EXPECT_EQ(walked(file), joined(file)) << entry.path();
    }
}

TEST(TimeOrderTest, NaturalMergeSortIsStable) {
    struct Item {
        int key;
        int order;
    };
    std::vector<Item> items{{3, 0}, {1, 1}, {3, 2}, {2, 3}, {1, 4}, {5, 5}, {0, 6}, {3, 7}};
    smf::naturalMergeSort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.key < b.key; });
    const std::vector<std::pair<int, int>> expected{{0, 6}, {1, 1}, {1, 4}, {2, 3}, {3, 0}, {3, 2}, {3, 7}, {5, 5}};
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].key, expected[i].first);
        EXPECT_EQ(items[i].order, expected[i].second);
    }
    std::vector<int> none;
    smf::naturalMergeSort(none.begin(), none.end(), std::less<>());
    EXPECT_TRUE(none.empty());
}

}  // namespace
