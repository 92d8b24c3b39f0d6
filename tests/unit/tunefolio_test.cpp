// The file model: writing, tick modes, order, links and timing.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "midi_bytes.h"
#include "smf/tunefolio.h"

using namespace testbytes;

namespace {

smf::Tunefolio twoTrackFile() {
    smf::Tunefolio f;
    f.setTicksPerQuarterNote(96);
    f.addTrack();
    f.addTempo(0, 0, 120.0);
    f.addTrackName(1, 0, "Piano");
    f.addNoteOn(1, 0, 0, 60, 100);
    f.addNoteOn(1, 48, 0, 64, 90);
    f.addNoteOff(1, 96, 0, 60, 0);
    f.addEvent(1, 144, {0x90, 64, 0});
    return f;
}

std::string hexscribe(const smf::Tunefolio& f, bool comments) {
    std::ostringstream out;
    if (comments) {
        out << f;
    } else {
        EXPECT_TRUE(f.writeHexscribe(out));
    }
    return out.str();
}

smf::Tunefolio readText(const std::string& text) {
    smf::Tunefolio f;
    EXPECT_TRUE(f.readBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) << f.getReadError();
    return f;
}

}  // namespace

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

TEST(Model, NewAndClearedObjectsHaveOneEmptyTrack) {
    smf::Tunefolio f = twoTrackFile();
    f.clear();
    EXPECT_EQ(f.getTrackCount(), 1);
    EXPECT_EQ(f.getEventCount(0), 0);
    EXPECT_EQ(f.getTicksPerQuarterNote(), 120);
    EXPECT_TRUE(f.isAbsoluteTicks());
}

TEST(Model, AddingToAMissingTrackCreatesIt) {
    smf::Tunefolio f;
    f.addNoteOn(3, 0, 0, 60, 1);
    EXPECT_EQ(f.getTrackCount(), 4);
    EXPECT_EQ(f[3][0].track, 3);
    EXPECT_EQ(f.addTrack(), 4);
    EXPECT_EQ(f.addTracks(2), 6);
}

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
