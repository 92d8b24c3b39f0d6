#include "shared/twinkle_tune.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void expectContiguous(const std::vector<twinkle::Note>& notes) {
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.front().onset, 0);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_GT(notes[i].end, notes[i].onset);
        if (i > 0) {
            EXPECT_EQ(notes[i].onset, notes[i - 1].end);
        }
    }
    EXPECT_EQ(notes.back().end, 16 * twinkle::kTicksPerQuarter);
}

TEST(TwinkleTuneTest, BothPartsFillSixteenQuarters) {
    expectContiguous(twinkle::melody());
    expectContiguous(twinkle::bass());
    EXPECT_EQ(twinkle::melody().size(), 14U);
    EXPECT_EQ(twinkle::bass().size(), 15U);
}

TEST(TwinkleTuneTest, HalfNotesCloseEachPhrase) {
    const auto melody = twinkle::melody();
    EXPECT_EQ(melody[6].key, 79);
    EXPECT_EQ(melody[6].end - melody[6].onset, 240);
    EXPECT_EQ(melody[13].key, 72);
    EXPECT_EQ(melody[13].onset, 1680);
    const auto bass = twinkle::bass();
    EXPECT_EQ(bass[14].key, 48);
    EXPECT_EQ(bass[14].onset, 1680);
}

}  // namespace
