#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "stretch.h"

namespace {

smf::Tunefolio sample(int resolution) {
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(resolution);
    file.addEvent(0, 0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 500000 us
    file.addNoteOn(0, 0, 0, 60, 100);
    file.addNoteOff(0, 1000, 0, 60);
    file.addEvent(0, 1500, {0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});  // 1000000 us
    return file;
}

TEST(ElastickStretch, DurationOnlyRaisesResolutionAndSlowsTempo) {
    smf::Tunefolio file = sample(480);
    ASSERT_TRUE(elastick::stretch(file, 1.0, 2.0));
    EXPECT_EQ(file.getTicksPerQuarterNote(), 24576);
    EXPECT_EQ(file[0][2].tick, 51200);  // 1000 x 51.2
    EXPECT_EQ(file[0][3].tick, 76800);
    EXPECT_EQ(file[0][0].getTempoMicroseconds(), 1000000);
    EXPECT_EQ(file[0][3].getTempoMicroseconds(), 2000000);
}

TEST(ElastickStretch, BarFactorKeepsSoundingTime) {
    smf::Tunefolio file = sample(480);
    file.doTimeAnalysis();
    const double before = file.getTimeInSeconds(0, 2);
    ASSERT_TRUE(elastick::stretch(file, 2.0, 1.0));
    EXPECT_EQ(file[0][2].tick, 25600);
    EXPECT_EQ(file[0][0].getTempoMicroseconds(), 1000000);
    file.doTimeAnalysis();
    EXPECT_NEAR(file.getTimeInSeconds(0, 2), before, 1e-9);
}

TEST(ElastickStretch, BothFactorsMultiplyTheTempo) {
    smf::Tunefolio file = sample(480);
    ASSERT_TRUE(elastick::stretch(file, 0.5, 3.0));
    EXPECT_EQ(file[0][0].getTempoMicroseconds(), 750000);
    EXPECT_EQ(file[0][2].tick, 102400);
}

TEST(ElastickStretch, FinerResolutionIsKept) {
    smf::Tunefolio file = sample(30000);
    ASSERT_TRUE(elastick::stretch(file, 4.0, 1.0));
    EXPECT_EQ(file.getTicksPerQuarterNote(), 30000);
    EXPECT_EQ(file[0][2].tick, 250);
    EXPECT_EQ(file[0][3].tick, 375);
}

TEST(ElastickStretch, TicksAreTruncated) {
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(7);
    file.addNoteOn(0, 1, 0, 60, 100);
    file.addNoteOff(0, 2, 0, 60);
    ASSERT_TRUE(elastick::stretch(file, 3.0, 1.0));
    EXPECT_EQ(file[0][0].tick, 1170);  // 24576 / 7 / 3 = 1170.28...
    EXPECT_EQ(file[0][1].tick, 2340);
}

TEST(ElastickStretch, TicksBeyondIntAreRefusedAndTheFileStays) {
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(1);
    file.addNoteOn(0, 0, 0, 60, 100);
    file.addNoteOff(0, 100000, 0, 60);  // x 245760 is past 2^31
    EXPECT_FALSE(elastick::stretch(file, 0.1, 1.0));
    EXPECT_EQ(file.getTicksPerQuarterNote(), 1);
    EXPECT_EQ(file[0][1].tick, 100000);
}

TEST(ElastickStretch, LargestTickStillFits) {
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(24576);
    file.addNoteOn(0, 0, 0, 60, 100);
    file.addNoteOff(0, INT_MAX, 0, 60);
    ASSERT_TRUE(elastick::stretch(file, 1.0, 1.0));
    EXPECT_EQ(file[0][1].tick, INT_MAX);
    EXPECT_FALSE(elastick::stretch(file, 0.5, 1.0));
}

TEST(ElastickStretch, TempoBeyondThreeBytesIsRefused) {
    smf::Tunefolio file = sample(480);
    file.addEvent(0, 1600, {0xFF, 0x51, 0x03, 0x20, 0x00, 0x00});  // 2097152 us x 10 x 10
    EXPECT_FALSE(elastick::stretch(file, 10.0, 10.0));
    EXPECT_EQ(file[0][0].getTempoMicroseconds(), 500000);
    EXPECT_TRUE(elastick::stretch(file, 2.0, 3.0));
    EXPECT_EQ(file[0][4].getTempoMicroseconds(), 0x200000 * 6);
}

TEST(ElastickStretch, MalformedTempoMessageIsLeftAlone) {
    smf::Tunefolio file;
    file.addEvent(0, 0, {0xFF, 0x51, 0x00});
    ASSERT_TRUE(elastick::stretch(file, 1.0, 2.0));
    EXPECT_EQ(file[0][0].size(), 3u);
}

TEST(ElastickStretch, FactorRange) {
    EXPECT_TRUE(elastick::factorInRange(0.1));
    EXPECT_TRUE(elastick::factorInRange(10.0));
    EXPECT_FALSE(elastick::factorInRange(0.09));
    EXPECT_FALSE(elastick::factorInRange(10.5));
}

TEST(ElastickCorpus, StretchedFilesReadBack) {
    for (const auto& entry : std::filesystem::directory_iterator(TUNEFOLIO_CORPUS_DIR)) {
        for (const auto& [bars, duration] : {std::pair{0.1, 10.0}, std::pair{10.0, 0.1}, std::pair{1.0, 1.0}}) {
            smf::Tunefolio file;
            ASSERT_TRUE(file.read(entry.path().string())) << entry.path();
            ASSERT_TRUE(elastick::stretch(file, bars, duration)) << entry.path();
            smf::Tunefolio copy;
            EXPECT_TRUE(copy.readBytes(file.getFileBytes())) << entry.path() << " " << bars << " " << duration;
        }
    }
}

}  // namespace
