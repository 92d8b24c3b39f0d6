// Writing a file's bytes: format, running status, end-of-track, what a file cannot hold.
#include <gtest/gtest.h>

#include <filesystem>

#include "midi_bytes.h"
#include "model_files.h"
#include "smf/tunefolio.h"

using namespace testbytes;
using modelfiles::twoTrackFile;

TEST(Writing, OneTrackIsFormatZeroWithoutRunningStatus) {
    smf::Tunefolio f;
    f.setTicksPerQuarterNote(96);
    f.addNoteOn(0, 0, 0, 60, 100);
    f.addNoteOn(0, 96, 0, 62, 100);
    const Bytes expected = file(header(0, 1, 96), {track({0x00, 0x90, 60, 100, 0x60, 0x90, 62, 100, 0x00, 0xFF, 0x2F,
                                                          0x00})});
    EXPECT_EQ(f.getFileBytes(), expected);
}

TEST(Writing, SeveralTracksAreFormatOneEachClosedOnce) {
    smf::Tunefolio f;
    f.addTrack();
    f.addEvent(0, 0, {0xFF, 0x2F, 0x00});  // an end-of-track in mid-track is dropped...
    f.addNoteOn(0, 10, 0, 60, 1);
    f.addEvent(0, 50, {0xFF, 0x2F, 0x00});  // ...the last one keeps its time
    const Bytes bytes = f.getFileBytes();
    const Bytes expected = file(header(1, 2, 120),
                                {track({0x0A, 0x90, 60, 1, 0x28, 0xFF, 0x2F, 0x00}), track({0x00, 0xFF, 0x2F, 0x00})});
    EXPECT_EQ(bytes, expected);
}

TEST(Writing, SysexGetsItsLengthBack) {
    smf::Tunefolio f;
    f.addEvent(0, 0, {0xF0, 0x43, 0x12, 0x00, 0xF7});
    f.addEvent(0, 0, {0xF7, 0x01});
    const Bytes expected =
        file(header(0, 1, 120), {track({0x00, 0xF0, 0x04, 0x43, 0x12, 0x00, 0xF7, 0x00, 0xF7, 0x01, 0x01, 0x00, 0xFF,
                                        0x2F, 0x00})});
    EXPECT_EQ(f.getFileBytes(), expected);
}

TEST(Writing, RefusesWhatAFileCannotHold) {
    {
        smf::Tunefolio f;
        f.addNoteOn(0, 0x10000000, 0, 60, 1);
        EXPECT_TRUE(f.getFileBytes().empty()) << "delta beyond 0x0FFFFFFF";
    }
    {
        smf::Tunefolio f;
        f.addNoteOn(0, 0x0FFFFFFF, 0, 60, 1);
        EXPECT_FALSE(f.getFileBytes().empty()) << "delta of exactly 0x0FFFFFFF";
    }
    {
        smf::Tunefolio f;
        f.addNoteOn(0, 10, 0, 60, 1);
        f.addNoteOn(0, 5, 0, 60, 1);
        EXPECT_TRUE(f.getFileBytes().empty()) << "negative delta";
        std::ostringstream text;
        EXPECT_FALSE(f.writeHexscribe(text));
        EXPECT_TRUE(text.str().empty()) << "nothing partial is written";
    }
    for (int tpq : {0, -5, 32768}) {
        smf::Tunefolio f;
        f.setTicksPerQuarterNote(tpq);
        EXPECT_TRUE(f.getFileBytes().empty()) << "ticks per quarter note " << tpq;
    }
    {
        smf::Tunefolio f;
        f.addEvent(0, 0, {0x90, 0x80, 1});
        EXPECT_TRUE(f.getFileBytes().empty()) << "data byte above 0x7F";
    }
}

TEST(Writing, FailedWriteLeavesNoFile) {
    const auto path = std::filesystem::temp_directory_path() / "tunefolio_refused.mid";
    std::filesystem::remove(path);
    smf::Tunefolio f;
    f.setTicksPerQuarterNote(0);
    EXPECT_FALSE(f.write(path.string()));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Writing, DeltaModeWritesTheSameBytes) {
    smf::Tunefolio f = twoTrackFile();
    const Bytes absolute = f.getFileBytes();
    f.deltaTicks();
    EXPECT_EQ(f[1][2].tick, 48);
    EXPECT_EQ(f.getFileBytes(), absolute);
    f.absoluteTicks();
    EXPECT_EQ(f[1][3].tick, 96);
}
