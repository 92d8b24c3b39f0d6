#include <gtest/gtest.h>

#include <vector>

#include "onsets.h"

namespace {

std::string_view verdictOf(std::vector<int> distances) {
    return quantcheck::verdict(quantcheck::summarize(distances));
}

std::vector<int> repeated(int distance, int count) {
    return std::vector<int>(static_cast<std::size_t>(count), distance);
}

std::vector<int> joined(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(QuantcheckSummary, RunsAreDistinctDistancesInAscendingOrder) {
    std::vector<int> distances{5, 0, 5, 3, 0, 0};
    const std::vector<quantcheck::Run> runs = quantcheck::summarize(distances);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].distance, 0);
    EXPECT_EQ(runs[0].count, 3);
    EXPECT_EQ(runs[1].distance, 3);
    EXPECT_EQ(runs[1].count, 1);
    EXPECT_EQ(runs[2].distance, 5);
    EXPECT_EQ(runs[2].count, 2);
}

TEST(QuantcheckVerdict, ChoraleNeedsElevenZerosAndANextDistanceOfTen) {
    EXPECT_EQ(verdictOf(joined({repeated(0, 11), {10, 20}})), "Quantized");
    EXPECT_EQ(verdictOf(joined({repeated(0, 10), {10, 20}})), "Unknown");
    EXPECT_EQ(verdictOf(joined({repeated(0, 11), {9, 20}})), "Unknown");
}

TEST(QuantcheckVerdict, FourOrFiveDistinctDistancesAreUnknown) {
    EXPECT_EQ(verdictOf({1, 2, 3, 4}), "Unknown");
    EXPECT_EQ(verdictOf({1, 2, 3, 4, 5}), "Unknown");
}

TEST(QuantcheckVerdict, SixthSmallestDistanceDecidesBetweenKnownAndUnknown) {
    EXPECT_EQ(verdictOf({1, 2, 3, 4, 5, 9}), "Performance");
    EXPECT_EQ(verdictOf({1, 2, 3, 4, 5, 10}), "Unknown");
}

TEST(QuantcheckVerdict, SmallestCountAgainstTheNextFour) {
    // 4 against 1 + 1 + 1 + 1: not fewer, so a grid.
    EXPECT_EQ(verdictOf(joined({repeated(0, 4), {1, 2, 3, 4, 5}})), "Quantized");
    EXPECT_EQ(verdictOf(joined({repeated(0, 3), {1, 2, 3, 4, 5}})), "Performance");
}

TEST(QuantcheckOnsets, DistancesOfTheLimitOrMoreAreNotCounted) {
    smf::Tunefolio file;
    file.addNoteOn(0, 0, 0, 60, 64);
    file.addNoteOn(0, quantcheck::kDistanceLimit - 1, 0, 60, 64);
    file.addNoteOn(0, 2 * quantcheck::kDistanceLimit - 1, 0, 60, 64);
    file.addNoteOn(0, 2 * quantcheck::kDistanceLimit + 9, 0, 60, 64);
    EXPECT_EQ(quantcheck::onsetDistances(file), (std::vector<int>{quantcheck::kDistanceLimit - 1, 10}));
}

TEST(QuantcheckOnsets, TracksAreTakenTogetherInTimeOrder) {
    smf::Tunefolio file;
    file.addTrack();
    file.addNoteOn(0, 0, 0, 60, 64);
    file.addNoteOn(0, 100, 0, 62, 64);
    file.addNoteOn(1, 0, 1, 48, 64);
    file.addNoteOn(1, 40, 1, 50, 64);
    file.addNoteOn(1, 100, 1, 52, 0);  // a note-off
    EXPECT_EQ(quantcheck::onsetDistances(file), (std::vector<int>{0, 40, 60}));
}

}  // namespace
