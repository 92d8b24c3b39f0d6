// Ticks to seconds through the tempo map of the whole file.
#include <gtest/gtest.h>

#include "smf/tunefolio.h"


TEST(Time, TempoMapOfAllTracksWithDefaultBeforeTheFirst) {
    smf::Tunefolio f;
    f.setTicksPerQuarterNote(100);
    f.addTrack(2);
    f.addNoteOn(0, 100, 0, 60, 1);      // 0.5 s at the default 120 bpm
    f.addTempo(1, 200, 60.0);           // from 1.0 s: 1 s per quarter
    f.addNoteOn(2, 300, 0, 60, 1);      // 2.0 s
    f.addTempo(2, 400, 240.0);          // from 3.0 s: 0.25 s per quarter
    f.addNoteOn(0, 600, 0, 60, 1);      // 3.5 s
    f.doTimeAnalysis();
    EXPECT_DOUBLE_EQ(f[0][0].seconds, 0.5);
    EXPECT_DOUBLE_EQ(f[2][0].seconds, 2.0);
    EXPECT_DOUBLE_EQ(f[0][1].seconds, 3.5);
    EXPECT_DOUBLE_EQ(f.getTimeInSeconds(400), 3.0);
    EXPECT_DOUBLE_EQ(f.getTimeInSeconds(0, 1), 3.5);
    EXPECT_DOUBLE_EQ(f.getFileDurationInSeconds(), 3.5);
    f.deltaTicks();
    f.doTimeAnalysis();
    EXPECT_DOUBLE_EQ(f[0][1].seconds, 3.5);
}

TEST(Time, QueriesFollowTheFileAsItStandsWithoutAnAnalysisFirst) {
    smf::Tunefolio f;
    f.setTicksPerQuarterNote(100);
    f.addNoteOn(0, 200, 0, 60, 1);
    const smf::Tunefolio& file = f;
    EXPECT_DOUBLE_EQ(file.getTimeInSeconds(200), 1.0);
    EXPECT_DOUBLE_EQ(file.getFileDurationInSeconds(), 1.0);
    // A tempo changed in place, after an earlier analysis, counts at once.
    f.addTempo(0, 0, 60.0);
    f.doTimeAnalysis();
    f.getEvent(0, 1).setMetaTempo(30.0);
    EXPECT_DOUBLE_EQ(file.getTimeInSeconds(0, 0), 4.0);
    EXPECT_DOUBLE_EQ(file.getFileDurationInSeconds(), 4.0);
    EXPECT_DOUBLE_EQ(file.getTempoMap().secondsAt(100), 2.0);
    EXPECT_DOUBLE_EQ(f[0][0].seconds, 2.0) << "seconds change only by an analysis";
    EXPECT_EQ(file.getTimeInSeconds(0, 5), -1.0);
    EXPECT_EQ(smf::Tunefolio().getFileDurationInSeconds(), 0.0);
}

TEST(Time, TicksToSecondsAtOneTempo) {
    EXPECT_DOUBLE_EQ(smf::ticksToSeconds(480, 120.0, 480), 0.5);
    EXPECT_DOUBLE_EQ(smf::ticksToSeconds(90, 60.0, 30), 3.0);
    EXPECT_EQ(smf::ticksToSeconds(0, 100.0, 7), 0.0);
}

TEST(Time, DurationsInSecondsFollowTheTempo) {
    smf::Tunefolio f;
    f.setTicksPerQuarterNote(100);
    f.addTempo(0, 0, 60.0);
    f.addNoteOn(0, 100, 0, 60, 1);
    f.addNoteOff(0, 250, 0, 60);
    f.linkNotePairs();
    f.doTimeAnalysis();
    EXPECT_DOUBLE_EQ(f[0][1].getDurationInSeconds(), 1.5);
}
