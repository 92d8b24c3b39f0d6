// Messages: kinds, keys, tempo, and storage inline or on the heap.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "smf/midi_message.h"


TEST(Message, KindsKeysAndTempo) {
    smf::MidiMessage on(0x93, 60, 100);
    EXPECT_TRUE(on.isNoteOn());
    EXPECT_EQ(on.getChannelNibble(), 3);
    on.setKeyNumber(72);
    EXPECT_EQ(on.getKeyNumber(), 72);
    on.setCommandNibble(0x80);
    EXPECT_TRUE(on.isNoteOff());
    EXPECT_EQ(on.getChannelNibble(), 3);
    smf::MidiMessage meta;
    meta.setMetaTempo(100.0);
    EXPECT_EQ(meta.getTempoMicroseconds(), 600000);
    meta.setTempoMicroseconds(250000);
    EXPECT_DOUBLE_EQ(meta.getTempoBPM(), 240.0);
    EXPECT_EQ(smf::MidiMessage(0xC0, 5).getKeyNumber(), -1);
    EXPECT_EQ(smf::MidiMessage{0xFF}.getMetaType(), -1);
    EXPECT_EQ(smf::keyName(60), "C4");
    EXPECT_EQ(smf::keyName(61), "C#4");
    EXPECT_EQ(smf::keyName(0), "C-1");
}

TEST(Message, LongMessagesGrowAndCopy) {
    smf::MidiMessage m;
    for (int i = 0; i < 1000; ++i) {
        m.push_back(static_cast<std::uint8_t>(i));
    }
    smf::MidiMessage copy = m;
    EXPECT_EQ(copy, m);
    smf::MidiMessage moved = std::move(copy);
    EXPECT_EQ(moved.size(), 1000u);
    EXPECT_EQ(moved[999], static_cast<std::uint8_t>(999));
    moved.resize(2);
    EXPECT_EQ(moved.size(), 2u);
    std::string text(300, 'x');
    smf::MidiMessage meta;
    meta.makeMetaMessage(0x01, text);
    EXPECT_EQ(meta[2], 0x82);  // 300 as a two-byte VARLEN
    EXPECT_EQ(meta.getMetaContent(), text);
}

TEST(Message, StorageMovesBetweenInlineAndHeapKeepingBytes) {
    smf::MidiMessage m{1, 2, 3, 4, 5, 6, 7, 8};
    m.push_back(9);  // leaves the inline storage
    EXPECT_EQ(m, (smf::MidiMessage{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    m.resize(3);  // back inside
    EXPECT_EQ(m, (smf::MidiMessage{1, 2, 3}));
    m.resize(20);
    EXPECT_EQ(m.size(), 20u);
    EXPECT_EQ(m[2], 3);
    EXPECT_EQ(m[19], 0);
    m.assign(m.bytes().subspan(1, 2));  // from its own heap block into place
    EXPECT_EQ(m, (smf::MidiMessage{2, 3}));
    smf::MidiMessage big(std::vector<std::uint8_t>(100, 7));
    smf::MidiMessage moved(std::move(big));
    EXPECT_TRUE(big.empty());
    EXPECT_EQ(moved.size(), 100u);
    big = moved;
    moved = std::move(m);
    EXPECT_EQ(moved, (smf::MidiMessage{2, 3}));
    EXPECT_EQ(big.size(), 100u);
}
