#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "resolution.h"

namespace {

smf::Tunefolio atResolution(int resolution, std::initializer_list<int> ticks) {
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(resolution);
    for (int tick : ticks) {
        file.addEvent(0, tick, {0xB0, 0x07, 0x64});
    }
    return file;
}

TEST(RetickerRescale, RoundsHalvesUp) {
    smf::Tunefolio file = atResolution(480, {1, 2, 6, 1000});
    ASSERT_TRUE(reticker::changeResolution(file, 120));
    EXPECT_EQ(file.getTicksPerQuarterNote(), 120);
    EXPECT_EQ(file[0][0].tick, 0);    // 0.25
    EXPECT_EQ(file[0][1].tick, 1);    // 0.5
    EXPECT_EQ(file[0][2].tick, 2);    // 1.5
    EXPECT_EQ(file[0][3].tick, 250);
}

TEST(RetickerRescale, DoublingIsExact) {
    smf::Tunefolio file = atResolution(96, {0, 1, 95, 96, 12345});
    ASSERT_TRUE(reticker::changeResolution(file, 192));
    EXPECT_EQ(file[0][1].tick, 2);
    EXPECT_EQ(file[0][2].tick, 190);
    EXPECT_EQ(file[0][4].tick, 24690);
}

TEST(RetickerRescale, EachTickFromItsOwnValue) {
    // Thirds of a tick would add up to a drift if each tick followed the last.
    smf::Tunefolio file = atResolution(3, {1, 2, 3, 4, 5, 6, 300});
    ASSERT_TRUE(reticker::changeResolution(file, 1));
    EXPECT_EQ(file[0][0].tick, 0);
    EXPECT_EQ(file[0][1].tick, 1);
    EXPECT_EQ(file[0][5].tick, 2);
    EXPECT_EQ(file[0][6].tick, 100);
}

TEST(RetickerRescale, ResolutionIsRecordedUnchecked) {
    smf::Tunefolio file = atResolution(480, {480});
    ASSERT_TRUE(reticker::changeResolution(file, 0));
    EXPECT_EQ(file.getTicksPerQuarterNote(), 0);
    EXPECT_EQ(file[0][0].tick, 0);
    EXPECT_TRUE(file.getFileBytes().empty());
}

TEST(RetickerRescale, TicksBeyondIntAreRefusedAndTheFileStays) {
    smf::Tunefolio file = atResolution(1, {0, 100000});
    EXPECT_FALSE(reticker::changeResolution(file, 32767));
    EXPECT_EQ(file.getTicksPerQuarterNote(), 1);
    EXPECT_EQ(file[0][1].tick, 100000);
    EXPECT_FALSE(reticker::changeResolution(file, -32767));
}

TEST(RetickerRescale, LargestTickFits) {
    smf::Tunefolio file = atResolution(2, {INT_MAX - 1});
    ASSERT_TRUE(reticker::changeResolution(file, 2));
    EXPECT_EQ(file[0][0].tick, INT_MAX - 1);
}

TEST(RetickerRescale, NegativeResolutionMovesTicksBelowZero) {
    EXPECT_EQ(reticker::rescaledTick(3, -1.0), -2.0);  // -3 + 0.5 toward zero
}

TEST(RetickerCorpus, RescaledFilesReadBack) {
    for (const auto& entry : std::filesystem::directory_iterator(TUNEFOLIO_CORPUS_DIR)) {
        for (int resolution : {1, 120, 32767}) {
            smf::Tunefolio file;
            ASSERT_TRUE(file.read(entry.path().string())) << entry.path();
            ASSERT_TRUE(reticker::changeResolution(file, resolution)) << entry.path();
            smf::Tunefolio copy;
            EXPECT_TRUE(copy.readBytes(file.getFileBytes())) << entry.path() << " " << resolution;
            EXPECT_EQ(copy.getTicksPerQuarterNote(), resolution);
        }
    }
}

}  // namespace
