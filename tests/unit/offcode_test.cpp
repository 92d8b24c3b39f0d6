#include <gtest/gtest.h>

#include <vector>

#include "note_offs.h"

namespace {

std::vector<int> bytesOf(const smf::MidiEvent& event) {
    return std::vector<int>(event.begin(), event.end());
}

TEST(OffcodeRewrite, SilentNoteOnBecomesNoteOffOnTheSameChannel) {
    smf::Tunefolio file;
    file.addEvent(0, 0, {0x92, 60, 100});
    file.addEvent(0, 96, {0x92, 60, 0});
    EXPECT_EQ(offcode::rewriteNoteOffs(file), 1);
    EXPECT_EQ(bytesOf(file[0][0]), (std::vector<int>{0x92, 60, 100}));
    EXPECT_EQ(bytesOf(file[0][1]), (std::vector<int>{0x82, 60, 0}));
    EXPECT_EQ(file[0][1].tick, 96);
}

TEST(OffcodeRewrite, TrueNoteOffsKeepTheirReleaseVelocity) {
    smf::Tunefolio file;
    file.addEvent(0, 0, {0x8F, 61, 0x40});
    EXPECT_EQ(offcode::rewriteNoteOffs(file), 0);
    EXPECT_EQ(bytesOf(file[0][0]), (std::vector<int>{0x8F, 61, 0x40}));
}

TEST(OffcodeRewrite, OtherMessagesAreLeftAlone) {
    smf::Tunefolio file;
    const std::vector<std::vector<int>> others{{0x90, 60, 1},  {0xA0, 60, 0}, {0xB0, 7, 0}, {0xC0, 0},
                                               {0xD0, 0},      {0xE0, 0, 0},  {0x90, 60},   {0xFF, 0x2F, 0x00},
                                               {0xF0, 0x7E, 0xF7}};
    for (const auto& bytes : others) {
        std::vector<std::uint8_t> raw(bytes.begin(), bytes.end());
        file.addEvent(0, 0, std::span<const std::uint8_t>(raw));
    }
    EXPECT_EQ(offcode::rewriteNoteOffs(file), 0);
    for (int i = 0; i < file.getEventCount(0); ++i) {
        EXPECT_EQ(bytesOf(file[0][i]), others[static_cast<std::size_t>(i)]);
    }
}

TEST(OffcodeRewrite, EveryTrackIsRewritten) {
    smf::Tunefolio file;
    file.addTrack(2);
    file.addEvent(1, 0, {0x90, 60, 0});
    file.addEvent(2, 0, {0x99, 38, 0});
    EXPECT_EQ(offcode::rewriteNoteOffs(file), 2);
    EXPECT_EQ(bytesOf(file[1][0]), (std::vector<int>{0x80, 60, 0}));
    EXPECT_EQ(bytesOf(file[2][0]), (std::vector<int>{0x89, 38, 0}));
}

}  // namespace
