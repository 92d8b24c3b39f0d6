// Files as hexscribe text, with and without comments, and back.
#include <gtest/gtest.h>

#include "midi_bytes.h"
#include "model_files.h"
#include "smf/tunefolio.h"

using namespace testbytes;
using namespace modelfiles;

TEST(Hexscribe, BothTextsReadBackToTheIdenticalFileInBothTickModes) {
    smf::Tunefolio f = twoTrackFile();
    f.addEvent(1, 150, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    f.addMetaEvent(1, 150, 0x01, std::string("line\nbreak; and a \"quote\""));
    const Bytes original = f.getFileBytes();
    for (bool delta : {false, true}) {
        if (delta) {
            f.deltaTicks();
        }
        for (bool comments : {false, true}) {
            EXPECT_EQ(readText(hexscribe(f, comments)).getFileBytes(), original)
                << "delta " << delta << " comments " << comments;
        }
    }
}

TEST(Hexscribe, CommentsNameEventsAndShowAbsoluteTicks) {
    smf::Tunefolio f = twoTrackFile();
    const std::string text = hexscribe(f, true);
    EXPECT_NE(text.find("; MIDI file header chunk marker"), std::string::npos);
    EXPECT_NE(text.find("; format: Type-1 (multi-track)"), std::string::npos);
    EXPECT_NE(text.find("; track count: 2 tracks"), std::string::npos);
    EXPECT_NE(text.find("tick 0: tempo 120 bpm"), std::string::npos);
    EXPECT_NE(text.find("tick 48: note-on E4 (64) velocity 90, channel 1"), std::string::npos);
    EXPECT_NE(text.find("track name: Piano"), std::string::npos);
    EXPECT_NE(text.find("end of track"), std::string::npos);
    f.deltaTicks();
    EXPECT_EQ(hexscribe(f, true).find("tick 48"), std::string::npos);
}

TEST(Hexscribe, WriteHexGivesTwentyFiveBytesALine) {
    smf::Tunefolio f = twoTrackFile();
    std::ostringstream out;
    ASSERT_TRUE(f.writeHex(out, 25));
    const std::string text = out.str();
    EXPECT_EQ(text.substr(0, 14), "4d 54 68 64 00");
    std::istringstream lines(text);
    std::string line;
    std::size_t total = 0;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), 25u * 3 - 1);
        total += (line.size() + 1) / 3;
    }
    EXPECT_EQ(total, f.getFileBytes().size());
}
