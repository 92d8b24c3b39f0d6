// Tracks: joining and sorting by tick, and the links between note pairs.
#include <gtest/gtest.h>

#include "smf/tunefolio.h"


TEST(Order, JoinIsAStableMergeByTick) {
    smf::Tunefolio f;
    f.addTrack(2);
    f.addEvent(0, 10, {0xC0, 1});
    f.addEvent(1, 0, {0xC1, 2});
    f.addEvent(1, 10, {0xC1, 3});
    f.addEvent(2, 10, {0xC2, 4});
    f.addEvent(2, 10, {0xC2, 5});
    f.addEvent(0, 20, {0xC0, 6});
    f.joinTracks();
    ASSERT_EQ(f.getTrackCount(), 1);
    std::vector<int> programs;
    std::vector<int> tracks;
    for (const smf::MidiEvent& e : f[0]) {
        programs.push_back(e.getP1());
        tracks.push_back(e.track);
    }
    EXPECT_EQ(programs, (std::vector<int>{2, 1, 3, 4, 5, 6}));
    EXPECT_EQ(tracks, (std::vector<int>{1, 0, 1, 2, 2, 0}));
}

TEST(Order, JoinOfUnsortedTracksSortsStablyAndKeepsLinks) {
    smf::Tunefolio f;
    f.addTrack();
    f.addNoteOn(0, 30, 0, 60, 1);
    f.addNoteOff(0, 40, 0, 60);
    f.addNoteOn(0, 10, 0, 61, 1);  // out of order
    f.addNoteOff(0, 20, 0, 61);
    f.addEvent(1, 10, {0xC1, 9});
    f.linkNotePairs();
    f.joinTracks();
    std::vector<int> ticks;
    for (const smf::MidiEvent& e : f[0]) {
        ticks.push_back(e.tick);
    }
    EXPECT_EQ(ticks, (std::vector<int>{10, 10, 20, 30, 40}));
    EXPECT_EQ(f[0][0].getKeyNumber(), 61);
    EXPECT_EQ(f[0][1].track, 1);
    EXPECT_EQ(f[0][0].getLinkedEvent(), &f[0][2]);
    EXPECT_EQ(f[0][3].getLinkedEvent(), &f[0][4]);
}

TEST(Order, SortTracksIsStableByTick) {
    smf::Tunefolio f;
    f.addEvent(0, 30, {0xC0, 1});
    f.addEvent(0, 10, {0xC0, 2});
    f.addEvent(0, 30, {0xC0, 3});
    f.addEvent(0, 10, {0xC0, 4});
    f.sortTracks();
    std::vector<int> programs;
    for (const smf::MidiEvent& e : f[0]) {
        programs.push_back(e.getP1());
    }
    EXPECT_EQ(programs, (std::vector<int>{2, 4, 1, 3}));
}

TEST(Links, PairFirstInFirstOutPerChannelAndKey) {
    smf::Tunefolio f;
    f.addNoteOn(0, 0, 0, 60, 100);   // 0
    f.addNoteOn(0, 10, 0, 60, 100);  // 1
    f.addNoteOn(0, 10, 1, 60, 100);  // 2 other channel
    f.addNoteOff(0, 20, 0, 60);      // 3 closes 0
    f.addEvent(0, 30, {0x90, 60, 0});  // 4 closes 1
    f.addNoteOff(0, 40, 1, 60);      // 5 closes 2
    f.addNoteOff(0, 50, 0, 60);      // 6 unmatched
    EXPECT_EQ(f.linkNotePairs(), 3);
    EXPECT_EQ(f[0][0].getLinkedEvent(), &f[0][3]);
    EXPECT_EQ(f[0][1].getLinkedEvent(), &f[0][4]);
    EXPECT_EQ(f[0][2].getLinkedEvent(), &f[0][5]);
    EXPECT_EQ(f[0][0].getTickDuration(), 20);
    EXPECT_EQ(f[0][3].getTickDuration(), 20);
    EXPECT_FALSE(f[0][6].isLinked());
    EXPECT_EQ(f[0][6].getTickDuration(), 0);
    EXPECT_DOUBLE_EQ(f[0][6].getDurationInSeconds(), 0.0);
}

TEST(Links, SurviveJoinSortGrowthAndCopies) {
    smf::Tunefolio f;
    f.addTrack();
    f.addNoteOn(0, 0, 0, 60, 100);
    f.addNoteOff(0, 100, 0, 60);
    f.addNoteOn(1, 50, 0, 60, 100);
    f.addNoteOff(1, 60, 0, 60);
    f.linkNotePairs();
    f.joinTracks();
    // Joined order: on@0 (t0), on@50 (t1), off@60 (t1), off@100 (t0).
    ASSERT_EQ(f.getEventCount(0), 4);
    EXPECT_EQ(f[0][0].getLinkedEvent(), &f[0][3]);
    EXPECT_EQ(f[0][1].getLinkedEvent(), &f[0][2]);
    for (int i = 0; i < 1000; ++i) {
        f.addEvent(0, 200 + i, {0xC0, 1});  // forces the list to grow
    }
    EXPECT_EQ(f[0][0].getTickDuration(), 100);
    f[0][1].tick = 500;  // out of order now
    f.sortTracks();
    int found = 0;
    for (const smf::MidiEvent& e : f[0]) {
        if (e.isNoteOn() && e.tick == 500) {
            ASSERT_TRUE(e.isLinked());
            EXPECT_EQ(e.getLinkedEvent()->tick, 60);
            EXPECT_EQ(e.getLinkedEvent()->getLinkedEvent(), &e);
            ++found;
        }
    }
    EXPECT_EQ(found, 1);
    smf::Tunefolio copy = f;
    // Sorted: on@0, off@60, off@100, ...: the copy links within itself.
    EXPECT_EQ(copy[0][0].getLinkedEvent(), &copy[0][2]);
    smf::MidiEvent loose = f[0][0];
    EXPECT_FALSE(loose.isLinked());
    f[0][0] = loose;  // assigning unlinks both sides
    EXPECT_FALSE(f[0][0].isLinked());
    EXPECT_FALSE(f[0][2].isLinked());
}
