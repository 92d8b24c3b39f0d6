// Reading MIDI files: every accepted form, every recovery from damage with
// the problem it reports, and what stays refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "midi_bytes.h"
#include "smf/midi_reader.h"
#include "smf/tunefolio.h"

using namespace testbytes;

namespace {

smf::Tunefolio readOk(const Bytes& bytes) {
    smf::Tunefolio file;
    EXPECT_TRUE(file.readBytes(bytes)) << file.getReadError();
    return file;
}

void expectUnreadable(const Bytes& bytes, const std::string& why) {
    smf::Tunefolio file;
    EXPECT_FALSE(file.readBytes(bytes)) << why;
    EXPECT_FALSE(file.status()) << why;
    EXPECT_FALSE(file.getReadError().empty()) << why;
    // A failed read leaves a new, empty object behind.
    EXPECT_EQ(file.getTrackCount(), 1) << why;
    EXPECT_EQ(file.getEventCount(0), 0) << why;
}

Bytes oneTrack(std::initializer_list<int> events) {
    return file(header(0, 1, 96), {track(events)});
}

}  // namespace

TEST(MidiReader, FormatZeroGivesAbsoluteTicksAndTrackNumbers) {
    auto f = readOk(oneTrack({0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}));
    ASSERT_EQ(f.getTrackCount(), 1);
    EXPECT_EQ(f.getTicksPerQuarterNote(), 96);
    EXPECT_TRUE(f.isAbsoluteTicks());
    ASSERT_EQ(f.getEventCount(0), 3);
    EXPECT_EQ(f[0][1].tick, 96);
    EXPECT_EQ(f[0][1].track, 0);
    EXPECT_TRUE(f[0][2].isEndOfTrack());
}

TEST(MidiReader, FormatsOneAndTwoKeepEveryTrack) {
    for (int format : {1, 2}) {
        auto f = readOk(file(header(format, 3, 480),
                             {track({0x00, 0xFF, 0x2F, 0x00}), track({0x00, 0x91, 64, 1, 0x00, 0xFF, 0x2F, 0x00}),
                              track({0x10, 0xC2, 5})}));
        ASSERT_EQ(f.getTrackCount(), 3);
        EXPECT_EQ(f[1][0].track, 1);
        EXPECT_EQ(f[2][0].tick, 16);
        EXPECT_EQ(f[2][0].getP1(), 5);
    }
}

TEST(MidiReader, RunningStatusSuppliesTheStatusByte) {
    auto f = readOk(oneTrack({0x00, 0x90, 60, 100, 0x10, 62, 90, 0x10, 60, 0, 0x00, 0xC0, 7, 0x00, 8}));
    ASSERT_EQ(f.getEventCount(0), 5);
    EXPECT_EQ(f[0][1].getP0(), 0x90);
    EXPECT_EQ(f[0][1].getP1(), 62);
    EXPECT_TRUE(f[0][2].isNoteOff());
    EXPECT_EQ(f[0][4].getP0(), 0xC0);
    EXPECT_EQ(f[0][4].size(), 2u);
}

TEST(MidiReader, SysexIsKeptWithoutItsLength) {
    auto f = readOk(oneTrack({0x00, 0xF0, 0x03, 0x43, 0x12, 0xF7, 0x00, 0xF7, 0x02, 0x01, 0xF7}));
    ASSERT_EQ(f.getEventCount(0), 2);
    EXPECT_EQ(f[0][0], (smf::MidiMessage{0xF0, 0x43, 0x12, 0xF7}));
    EXPECT_EQ(f[0][1], (smf::MidiMessage{0xF7, 0x01, 0xF7}));
    EXPECT_TRUE(f[0][0].isSysex());
}

TEST(MidiReader, MetaMessagesKeepTypeLengthAndData) {
    auto f = readOk(oneTrack({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x03, 0x02, 'H', 'i'}));
    EXPECT_EQ(f[0][0].getMetaType(), 0x51);
    EXPECT_EQ(f[0][0].getTempoMicroseconds(), 500000);
    EXPECT_DOUBLE_EQ(f[0][0].getTempoBPM(), 120.0);
    EXPECT_EQ(f[0][1].getMetaContent(), "Hi");
    EXPECT_EQ(f[0][1].size(), 5u);
}

TEST(MidiReader, UnknownChunksAreSkippedAndHeaderMayBeLonger) {
    Bytes head = header(1, 1, 96, 8);
    append(head, {0xAA, 0xBB});
    auto f = readOk(file(head, {chunk("XFIH", {1, 2, 3}), track({0x00, 0x90, 1, 2})}));
    ASSERT_EQ(f.getTrackCount(), 1);
    EXPECT_EQ(f.getEventCount(0), 1);
}

TEST(MidiReader, TrackWithoutEndOfTrackIsAccepted) {
    auto f = readOk(oneTrack({0x00, 0x90, 60, 100}));
    EXPECT_EQ(f.getEventCount(0), 1);
}

TEST(MidiReader, BytesAfterEndOfTrackAreNotEvents) {
    auto f = readOk(oneTrack({0x00, 0xFF, 0x2F, 0x00, 0x00, 0x90, 60}));
    EXPECT_EQ(f.getEventCount(0), 1);
}

TEST(MidiReader, RiffWrapperIsUnwrapped) {
    Bytes smf = oneTrack({0x00, 0x90, 60, 100});
    Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
    const auto size = static_cast<std::uint32_t>(smf.size());
    append(riff, {int(size & 0xFF), int((size >> 8) & 0xFF), int((size >> 16) & 0xFF), int(size >> 24)});
    riff.insert(riff.end(), smf.begin(), smf.end());
    auto f = readOk(riff);
    EXPECT_EQ(f.getEventCount(0), 1);
}

TEST(MidiReader, SmpteDivisionIsKeptAndTimesFollowTheFrameRate) {
    // 25 frames per second, 40 ticks per frame: 1000 ticks per second.
    auto f = readOk(file(header(0, 1, 0xE728), {track({0x00, 0x90, 60, 100, 0x87, 0x68, 0x80, 60, 0})}));
    EXPECT_TRUE(f.isSmpte());
    EXPECT_EQ(f.getSmpteFramesPerSecond(), 25);
    EXPECT_EQ(f.getSmpteTicksPerFrame(), 40);
    f.doTimeAnalysis();
    EXPECT_DOUBLE_EQ(f[0][1].seconds, 1.0);
    EXPECT_EQ(f.getFileBytes()[12], 0xE7);
    EXPECT_EQ(f.getFileBytes()[13], 0x28);
}

TEST(MidiReader, HexscribeTextIsCompiledAndRead) {
    const std::string text =
        "+M +T +h +d 4'6 2'0 2'1 2'96 ; header\n"
        "+M +T +r +k 4'8\n"
        "v0 90 '60 '100\n"
        "v96 80 3c 00 ; off\n";
    smf::Tunefolio f;
    ASSERT_TRUE(f.readBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) << f.getReadError();
    ASSERT_EQ(f.getEventCount(0), 2);
    EXPECT_EQ(f[0][1].tick, 96);
}

TEST(MidiReader, ReadsFromAStream) {
    Bytes bytes = oneTrack({0x00, 0x90, 60, 100});
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    smf::Tunefolio f;
    EXPECT_TRUE(f.read(in));
    EXPECT_EQ(f.getEventCount(0), 1);
}

TEST(MidiReader, MissingFileIsUnreadable) {
    smf::Tunefolio f("/nonexistent/file.mid");
    EXPECT_FALSE(f.status());
}

TEST(MidiReader, WhatCannotBeAMidiFileIsRefused) {
    expectUnreadable({}, "empty input");
    expectUnreadable({'M', 'T', 'h', 'd', 0, 0}, "truncated header");
    expectUnreadable(header(0, 1, 96, 5), "header shorter than 6");
    expectUnreadable(file(header(0, 1, 0), {track({0x00, 0x90, 1, 1})}), "zero ticks per quarter note");
    expectUnreadable(file(header(0, 1, 0xE528), {track({})}), "27 frames per second");
    const std::string badText = "+M +T +h +d zz\n";
    expectUnreadable(Bytes(badText.begin(), badText.end()), "bad hexscribe token");
    const std::string notMidi = "01 02 03\n";
    expectUnreadable(Bytes(notMidi.begin(), notMidi.end()), "text compiling to something that is not MIDI");
}

TEST(MidiReader, DamagedInputIsReadAsFarAsItGoes) {
    struct Case {
        Bytes bytes;
        int events;
        const char* why;
    };
    Bytes truncated = oneTrack({0x00, 0x90, 60, 100});
    truncated.pop_back();
    const Case cases[] = {
        {file(header(3, 1, 96), {track({0x00, 0x90, 1, 1})}), 1, "format 3"},
        {file(header(1, 2, 96), {track({0x00, 0x90, 1, 1})}), 1, "fewer tracks than announced"},
        {file(header(1, 1, 96), {track({}), track({})}), 0, "more tracks than announced"},
        {truncated, 0, "chunk longer than the file"},
        {oneTrack({0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 1, 1}), 0, "five-byte VARLEN"},
        {oneTrack({0x80}), 0, "truncated VARLEN"},
        {oneTrack({0x00}), 0, "delta without event"},
        {oneTrack({0x00, 60, 100}), 0, "running status without status"},
        {oneTrack({0x00, 0x90, 60, 0x80}), 0, "data byte above 0x7F"},
        {oneTrack({0x00, 0x90, 60}), 0, "truncated channel message"},
        {oneTrack({0x00, 0xF1, 0x01}), 0, "system common message"},
        {oneTrack({0x00, 0xFF, 0x03, 0x05, 'a'}), 0, "meta longer than track"},
        {oneTrack({0x00, 0xFF, 0x80, 0x00}), 0, "meta type above 0x7F"},
        {oneTrack({0x00, 0xF0, 0x05, 0x01}), 0, "sysex longer than track"},
    };
    for (const Case& c : cases) {
        smf::Tunefolio f;
        ASSERT_TRUE(f.readBytes(c.bytes)) << c.why << ": " << f.getReadError();
        EXPECT_FALSE(f.getReadResult().problems().empty()) << c.why;
        EXPECT_EQ(f.getEventCount(0), c.events) << c.why;
    }
}

TEST(MidiReader, HugeLengthFieldsAllocateNothing) {
    // A 0x0FFFFFFF length in a tiny file sizes nothing: what is there is read.
    Bytes head = header(0, 1, 96);
    Bytes big = head;
    append(big, {'M', 'T', 'r', 'k', 0x0F, 0xFF, 0xFF, 0xFF, 0x00, 0x90, 1, 1});
    EXPECT_EQ(readOk(big).getEventCount(0), 1);
    EXPECT_EQ(readOk(oneTrack({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 'x'})).getEventCount(0), 0);
    EXPECT_EQ(readOk(oneTrack({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0x01})).getEventCount(0), 0);
}

TEST(MidiReader, ReadResultKeepsTheProblems) {
    smf::Tunefolio f;
    ASSERT_TRUE(f.readBytes(file(header(1, 2, 96), {track({0x00, 0x90, 1, 1})})));
    ASSERT_EQ(f.getReadResult().problems().size(), 2u);
    EXPECT_EQ(f.getReadResult().problems()[0].what, "no end-of-track event");
    EXPECT_EQ(f.getReadResult().problems()[1].what, "the header announces 2 tracks, the file holds 1");
    f.clear();
    EXPECT_TRUE(f.getReadResult().problems().empty());
}

TEST(MidiEventList, TruncateUndoesLinksToDroppedEvents) {
    smf::MidiEventList list;
    list.append(smf::MidiEvent(0, 0, smf::MidiMessage{0x90, 60, 1}));
    list.append(smf::MidiEvent(0, 0, smf::MidiMessage{0x90, 62, 1}));
    list.append(smf::MidiEvent(5, 0, smf::MidiMessage{0x80, 60, 0}));
    list.linkNotePairs();
    ASSERT_TRUE(list[0].isLinked());
    list.truncate(2);
    EXPECT_EQ(list.size(), 2);
    EXPECT_FALSE(list[0].isLinked());
    list.truncate(5);
    EXPECT_EQ(list.size(), 2);
    list.truncate(-1);
    EXPECT_TRUE(list.empty());
}

// ---- recovering from damage, problem by problem ----

namespace {

struct Read {
    smf::Tunefolio file;
    smf::Result result;
    smf::ReadDetails details;
};

Read readAll(const Bytes& bytes) {
    Read read;
    read.result = smf::readMidi(bytes, read.file, &read.details);
    EXPECT_TRUE(read.result.ok()) << read.result.reason();
    return read;
}

Read readText(const std::string& text) {
    return readAll(Bytes(text.begin(), text.end()));
}

std::string describe(const Read& read) {
    std::string text;
    for (const smf::Problem& p : read.result.problems()) {
        text += "byte " + std::to_string(p.offset) + ", track " + std::to_string(p.track) + ": " + p.what + "; " +
                p.action + "\n";
    }
    return text;
}

// Expects exactly one problem and returns it, without reporting it as a failure.
const smf::Problem& single(const Read& read) {
    static const smf::Problem none;
    EXPECT_EQ(read.result.problems().size(), 1u) << describe(read);
    return read.result.problems().empty() ? none : read.result.problems().front();
}

bool mentions(const smf::Problem& problem, const std::string& words) {
    return (problem.what + "; " + problem.action).find(words) != std::string::npos;
}

// "key@tick" for every note-on, "off key@tick" for every note-off, "eot@tick".
std::string notes(const smf::MidiEventList& track) {
    std::string text;
    for (const smf::MidiEvent& e : track) {
        if (!text.empty()) {
            text += ' ';
        }
        if (e.isNoteOn()) {
            text += std::to_string(e.getKeyNumber()) + "@" + std::to_string(e.tick);
        } else if (e.isNoteOff()) {
            text += "off" + std::to_string(e.getKeyNumber()) + "@" + std::to_string(e.tick);
        } else if (e.isEndOfTrack()) {
            text += "eot@" + std::to_string(e.tick);
        } else {
            text += "other@" + std::to_string(e.tick);
        }
    }
    return text;
}

const Bytes kNote = {0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0};
const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};


}  // namespace

// ---- the header and the chunks ----

TEST(ReaderRecovery, MoreTracksAnnouncedThanFound) {
    Read r = readAll(concat({header(1, 3, 96), trackOf(concat({kNote, kEnd}))}));
    ASSERT_EQ(r.file.getTrackCount(), 1);
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96 eot@96");
    const smf::Problem& p = single(r);
    EXPECT_EQ(p.offset, 10u);
    EXPECT_EQ(p.track, -1);
    EXPECT_EQ(p.what, "the header announces 3 tracks, the file holds 1");
    EXPECT_EQ(p.action, "the tracks found are read");
    EXPECT_EQ(r.details.declaredTracks, 3);
    EXPECT_EQ(r.details.format, 1);
}

TEST(ReaderRecovery, FewerTracksAnnouncedThanFound) {
    Read r = readAll(concat({header(1, 1, 96), trackOf(concat({kNote, kEnd})), trackOf(concat({kEnd}))}));
    ASSERT_EQ(r.file.getTrackCount(), 2);
    EXPECT_EQ(notes(r.file[1]), "eot@0");
    EXPECT_TRUE(mentions(single(r), "announces 1 track, the file holds 2"));
}

TEST(ReaderRecovery, ZeroTracksDeclaredAndFoundIsNoProblem) {
    Read r = readAll(header(1, 0, 96));
    EXPECT_EQ(r.file.getTrackCount(), 1);
    EXPECT_TRUE(r.result.problems().empty()) << describe(r);
}

TEST(ReaderRecovery, BytesAfterTheLastChunkAreIgnored) {
    const Bytes song = concat({header(0, 1, 96), trackOf(concat({kNote, kEnd}))});
    Read padded = readAll(concat({song, {0, 0, 0}}));
    EXPECT_EQ(notes(padded.file[0]), "60@0 off60@96 eot@96");
    EXPECT_EQ(single(padded).offset, song.size());
    EXPECT_EQ(single(padded).what, "3 bytes after the last chunk");
    Read appended = readAll(concat({song, {'a', 'p', 'p', 'e', 'n', 'd', 'e', 'd', ' ', 't', 'e', 'x', 't'}}));
    EXPECT_EQ(notes(appended.file[0]), "60@0 off60@96 eot@96");
    EXPECT_EQ(single(appended).what, "13 bytes after the last chunk that are no whole chunk");
}

TEST(ReaderRecovery, ChunksOfUnknownTypeAreSkipped) {
    Read r = readAll(concat({header(0, 1, 96), chunk("XFIH", {1, 2, 3}), trackOf(concat({kNote, kEnd}))}));
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96 eot@96");
    EXPECT_EQ(single(r).offset, 14u);
    EXPECT_EQ(single(r).what, "chunk of unknown type \"XFIH\"");
    EXPECT_EQ(single(r).action, "it is skipped");
}

TEST(ReaderRecovery, FormatsOutsideTheStandardAreReadAsTheyStand) {
    Read seven = readAll(concat({header(7, 1, 96), trackOf(concat({kNote, kEnd}))}));
    EXPECT_EQ(notes(seven.file[0]), "60@0 off60@96 eot@96");
    EXPECT_EQ(single(seven).what, "format 7 is none of 0, 1 and 2");
    Read zero = readAll(concat({header(0, 2, 96), trackOf(concat({kNote, kEnd})), trackOf(concat({kEnd}))}));
    EXPECT_EQ(zero.file.getTrackCount(), 2);
    EXPECT_EQ(single(zero).what, "format 0 (one track) with 2 tracks");
}

// ---- track lengths ----

TEST(ReaderRecovery, TrackLengthTooLargeEndsAtTheEndOfTrackBeforeTheNextChunk) {
    const Bytes first = concat({kNote, kEnd});
    Read r = readAll(concat({header(1, 2, 96), trackWithLength(first, static_cast<std::uint32_t>(first.size() + 9)),
                           trackOf(concat({{0x00, 0x91, 64, 1}, kEnd}))}));
    ASSERT_EQ(r.file.getTrackCount(), 2);
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96 eot@96");
    EXPECT_EQ(notes(r.file[1]), "64@0 eot@0");
    const smf::Problem& p = single(r);
    EXPECT_EQ(p.offset, 18u);
    EXPECT_EQ(p.track, 0);
    EXPECT_EQ(p.what, "the track length 21 disagrees with its end-of-track, after 12 bytes");
    EXPECT_EQ(p.action, "the track is read up to its end-of-track");
}

TEST(ReaderRecovery, TrackLengthTooSmallEndsAtTheEndOfTrackBeforeTheNextChunk) {
    const Bytes first = concat({kNote, {0x00, 0x90, 62, 100, 0x60, 0x80, 62, 0}, kEnd});
    Read r = readAll(concat({header(1, 2, 96), trackWithLength(first, 12), trackOf(concat({kEnd}))}));
    ASSERT_EQ(r.file.getTrackCount(), 2);
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96 62@96 off62@192 eot@192");
    EXPECT_EQ(single(r).what, "the track length 12 disagrees with its end-of-track, after 20 bytes");
}

TEST(ReaderRecovery, TrackLengthTooSmallAtTheEndOfTheFile) {
    const Bytes data = concat({kNote, kEnd});
    Read r = readAll(concat({header(0, 1, 96), trackWithLength(data, 5)}));
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96 eot@96");
    EXPECT_TRUE(mentions(single(r), "disagrees with its end-of-track, after 12 bytes"));
}

TEST(ReaderRecovery, AnEndOfTrackPastTheLengthIsTrustedOnlyWhereAChunkOrTheEndFollows) {
    // Past the length: an end-of-track, then bytes that are no chunk. The
    // length holds, and nothing read past it stays.
    const Bytes data = concat({kNote, {0x00, 0x90, 62, 100}, kEnd, {0x01, 0x02, 0x03}});
    Read r = readAll(concat({header(0, 1, 96), trackWithLength(data, 8)}));
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96");
    EXPECT_TRUE(mentions(r.result.problems().front(), "no end-of-track event where the track's length ends it"))
        << describe(r);
}

TEST(ReaderRecovery, ReadingPastTheLengthNeverSwallowsAnotherTrack) {
    // The first track has no end-of-track and a length that stops short of
    // bytes that are no chunk; the second track's end-of-track must not be
    // taken for the first one's.
    Bytes first = kNote;
    Bytes garbage = {0x00, 0x90, 62};
    Bytes f = concat({header(1, 2, 96), trackOf(first), garbage, trackOf(concat({kEnd}))});
    Read r = readAll(f);
    ASSERT_EQ(r.file.getTrackCount(), 1);
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96");
}

TEST(ReaderRecovery, TrackLengthRunningPastTheEndOfTheFile) {
    const Bytes data = concat({kNote, kEnd});
    Read ended = readAll(concat({header(0, 1, 96), trackWithLength(data, 400)}));
    EXPECT_EQ(notes(ended.file[0]), "60@0 off60@96 eot@96");
    EXPECT_TRUE(mentions(single(ended), "the track length 400 disagrees with its end-of-track, after 12 bytes"));
    Read open = readAll(concat({header(0, 1, 96), trackWithLength(kNote, 400)}));
    EXPECT_EQ(notes(open.file[0]), "60@0 off60@96");
    EXPECT_EQ(single(open).what, "the track length 400 runs past the end of the file");
    EXPECT_EQ(single(open).action, "the track ends with the file");
}

TEST(ReaderRecovery, FileCutInsideATrackKeepsTheCompleteEvents) {
    Bytes f = concat({header(0, 1, 96), trackOf(concat({kNote, {0x00, 0x90, 62, 100}, kEnd}))});
    f.resize(f.size() - 6);  // inside the second note-on
    Read r = readAll(f);
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96");
    EXPECT_EQ(single(r).what, "the track length 16 runs past the end of the file, which cuts an event short");
    EXPECT_EQ(single(r).action, "the events before it are kept");
    // Cut inside a long meta event and inside a system exclusive message.
    Bytes meta = concat({header(0, 1, 96), trackOf(concat({kNote, {0x00, 0xFF, 0x01, 0x20, 'a', 'b'}}))});
    EXPECT_EQ(notes(readAll(meta).file[0]), "60@0 off60@96");
    Bytes sysex = concat({header(0, 1, 96), trackWithLength(concat({kNote, {0x00, 0xF0, 0x7F, 0x7F, 0xFF}}), 0x0FFFFFFF)});
    EXPECT_EQ(notes(readAll(sysex).file[0]), "60@0 off60@96");
}

TEST(ReaderRecovery, TrackCutInItsLastEventByItsLength) {
    // The length stops inside the last event and the next chunk follows.
    Read r = readAll(concat({header(1, 2, 96), trackOf(concat({kNote, {0x00, 0x90, 62}})), trackOf(concat({kEnd}))}));
    ASSERT_EQ(r.file.getTrackCount(), 2);
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96");
    EXPECT_EQ(single(r).what, "the track's length cuts its last event short");
    EXPECT_EQ(single(r).action, "the incomplete event is dropped");
}

TEST(ReaderRecovery, MissingEndOfTrack) {
    Read r = readAll(concat({header(1, 2, 96), trackOf(kNote), trackOf(concat({kEnd}))}));
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96");
    EXPECT_EQ(single(r).what, "no end-of-track event");
    EXPECT_EQ(single(r).offset, 30u);
    EXPECT_EQ(single(r).track, 0);
}

TEST(ReaderRecovery, BytesAfterTheEndOfTrackInsideTheTrack) {
    Read r = readAll(concat({header(0, 1, 96), trackOf(concat({kEnd, kNote}))}));
    EXPECT_EQ(notes(r.file[0]), "eot@0");
    EXPECT_EQ(single(r).what, "8 bytes after the end-of-track");
    EXPECT_EQ(single(r).offset, 26u);
}

// ---- inside a track ----

TEST(ReaderRecovery, StatusByteWhereADataByteIsExpected) {
    // The note-on is cut short by a program change, which is read at the same tick.
    Read r = readAll(concat({header(0, 1, 96), trackOf(concat({{0x10, 0x90, 60, 0xC0, 5, 0x10, 0x80, 60, 0}, kEnd}))}));
    ASSERT_EQ(r.file.getEventCount(0), 3);
    EXPECT_EQ(r.file[0][0].tick, 16);
    EXPECT_TRUE(r.file[0][0].isPatchChange());
    EXPECT_EQ(r.file[0][0].getP1(), 5);
    EXPECT_TRUE(r.file[0][1].isNoteOff());
    EXPECT_EQ(r.file[0][1].tick, 32);
    EXPECT_EQ(single(r).offset, 25u);
    EXPECT_EQ(single(r).what, "a byte above 0x7F where a data byte is expected");
}

TEST(ReaderRecovery, DataBytesWithNoStatusAreSkippedToTheNextStatusByte) {
    Read r = readAll(concat({header(0, 1, 96), trackOf(concat({{0x00, 60, 100, 0x00, 0x90, 62, 100}, kEnd}))}));
    EXPECT_EQ(notes(r.file[0]), "62@0 eot@0");
    EXPECT_EQ(single(r).offset, 23u);
    EXPECT_EQ(single(r).what, "data bytes with no status byte before them");
}

TEST(ReaderRecovery, SystemMessagesAreSkippedWithTheirDataBytes) {
    Read r = readAll(concat({header(0, 1, 96), trackOf(concat({{0x00, 0xF2, 1, 2, 0x10, 0xF8, 0x10, 0x90, 60, 1}, kEnd}))}));
    EXPECT_EQ(notes(r.file[0]), "60@32 eot@32");
    EXPECT_EQ(single(r).what, "system message that a file cannot hold");
    EXPECT_EQ(single(r).repeats, 1);
}

TEST(ReaderRecovery, MetaEventOfATypeAbove7FIsSkipped) {
    Read r = readAll(concat({header(0, 1, 96), trackOf(concat({{0x00, 0xFF, 0x80, 0x02, 1, 2}, kNote, kEnd}))}));
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96 eot@96");
    EXPECT_EQ(single(r).what, "meta event of a type above 0x7F");
}

TEST(ReaderRecovery, UndecodableBytesEndTheTrackKeepingWhatCameBefore) {
    Read varlen = readAll(concat({header(0, 1, 96), trackOf(concat({kNote, {0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 1, 1}}))}));
    EXPECT_EQ(notes(varlen.file[0]), "60@0 off60@96");
    EXPECT_EQ(single(varlen).what, "variable-length value longer than four bytes");
    EXPECT_EQ(single(varlen).action, "the rest of the track is ignored");
    Bytes far;
    for (int i = 0; i < 9; ++i) {
        append(far, {0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1});
    }
    Read late = readAll(concat({header(0, 1, 96), trackOf(far)}));
    EXPECT_EQ(late.file.getEventCount(0), 8);
    EXPECT_EQ(single(late).what, "time beyond 2^31 - 1 ticks");
}

TEST(ReaderRecovery, RunningStatusAcrossAMetaEventIsReadAndReported) {
    Read r = readAll(concat({header(0, 1, 96), trackOf(concat({{0x00, 0x90, 60, 100, 0x00, 0xFF, 0x01, 0x01, 'x', 0x60,
                                                               60, 0, 0x00, 62, 100, 0x00, 0xF0, 0x01, 0xF7, 0x10,
                                                               62, 0},
                                                              kEnd}))}));
    EXPECT_EQ(notes(r.file[0]), "60@0 other@0 off60@96 62@96 other@96 off62@112 eot@112");
    EXPECT_EQ(single(r).what, "running status carried across a meta or system exclusive event");
    EXPECT_EQ(single(r).offset, 32u);
    EXPECT_EQ(single(r).repeats, 1);
}

TEST(ReaderRecovery, ProblemsInsideARiffWrapperCountFromTheFileStart) {
    Bytes smf = concat({header(1, 2, 96), trackOf(concat({kNote, kEnd}))});
    Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
    const auto size = static_cast<std::uint32_t>(smf.size());
    append(riff, {int(size & 0xFF), int((size >> 8) & 0xFF), int((size >> 16) & 0xFF), int(size >> 24)});
    riff.insert(riff.end(), smf.begin(), smf.end());
    Read r = readAll(riff);
    EXPECT_EQ(single(r).offset, 20u + 10u);
    EXPECT_EQ(r.details.eventOffsets.at(0).at(0), 20u + 23u);
}

// ---- hexscribe text ----

namespace {

// A one-track file as smftext writes it, with a line added.
const std::string kEditedText =
    "+M +T +h +d\n4'6\n2'0\n2'1\n2'96\n\n"
    "+M +T +r +k\n"
    "4'12\n"
    "\n"
    "v0\t90 3c 64\n"
    "v96\t80 3c 00\n"
    "v0\t90 3e 64\n"   // added by hand
    "v96\t80 3e 00\n"  // added by hand
    "v0\tff 2f 00\n";

}  // namespace

TEST(ReaderRecovery, HandEditedHexscribeTextWithAStaleByteCount) {
    Read r = readText(kEditedText);
    EXPECT_TRUE(r.details.fromText);
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96 62@96 off62@192 eot@192");
    const smf::Problem& p = single(r);
    EXPECT_EQ(p.what, "the track's byte count 4'12 disagrees with its end-of-track, after 20 bytes");
    EXPECT_EQ(p.action, "the track is read up to its end-of-track (the count should be 4'20)");
    EXPECT_EQ(p.offset, 18u);
    EXPECT_EQ(r.details.lines.lineOf(p.offset), 8);
    EXPECT_EQ(r.details.lines.lineOf(r.details.eventOffsets[0][2]), 12);
}

TEST(ReaderRecovery, HexscribeTextWithAByteCountTooLarge) {
    std::string text = kEditedText;
    text.replace(text.find("4'12"), 4, "4'27");
    Read r = readText(text);
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96 62@96 off62@192 eot@192");
    EXPECT_EQ(single(r).action, "the track is read up to its end-of-track (the count should be 4'20)");
}

TEST(ReaderRecovery, RepairedFileReadsWithoutProblems) {
    Read damaged = readText(kEditedText);
    smf::Tunefolio repaired;
    smf::Result again = smf::readMidi(damaged.file.getFileBytes(), repaired);
    ASSERT_TRUE(again.ok());
    EXPECT_TRUE(again.problems().empty());
    EXPECT_EQ(notes(repaired[0]), notes(damaged.file[0]));
}

// ---- what stays refused ----

TEST(ReaderRecovery, WhatCannotBeAMidiFileIsStillRefused) {
    struct Case {
        Bytes bytes;
        std::string reason;
    };
    const std::string notMidi = "01 02 03\n";
    const std::string badText = "+M +T +h +d zz\n";
    const Case cases[] = {
        {{}, "empty file"},
        {{'M', 'T', 'h', 'd'}, "header chunk cut short"},
        {header(0, 1, 96, 5), "header chunk shorter than 6 bytes"},
        {concat({header(0, 1, 96, 0xFFFFFFFF), trackOf(kEnd)}), "header chunk cut short (it declares 4294967295 bytes)"},
        {concat({header(0, 1, 0), trackOf(kEnd)}), "zero ticks per quarter note"},
        {concat({header(0, 1, 0xE528), trackOf(kEnd)}), "invalid SMPTE time division"},
        {concat({header(0, 1, 0xE700), trackOf(kEnd)}), "invalid SMPTE time division"},
        {{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, "RIFF file that is not RMID"},
        {{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'R', 'M', 'I', 'D'}, "RIFF RMID file without a data chunk"},
        {Bytes(notMidi.begin(), notMidi.end()), "hexscribe text describing bytes without an MThd header"},
        {Bytes(badText.begin(), badText.end()),
         "no MThd header, and not hexscribe text: line 1: not a hexscribe number: \"zz\""},
        {{0x00, 0x01, 0x02}, "no MThd header, and not hexscribe text: line 1: not a hexscribe number: \"\\x00\\x01\\x02\""},
        {{' ', '\n'}, "hexscribe text describing no bytes"},
    };
    for (const Case& c : cases) {
        smf::Tunefolio file;
        file.addNoteOn(0, 0, 0, 60, 1);
        smf::Result result = smf::readMidi(c.bytes, file);
        EXPECT_FALSE(result.ok()) << c.reason;
        EXPECT_EQ(result.reason(), c.reason);
        EXPECT_EQ(file.getEventCount(0), 0) << "a failed read leaves a new, empty object";
    }
}

// ---- well-formed files ----

TEST(ReaderRecovery, WellFormedFilesReadWithoutProblems) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TUNEFOLIO_CORPUS_DIR)) {
        smf::Tunefolio file;
        smf::ReadDetails details;
        const smf::Result result = smf::readMidiFile(entry.path().string(), file, &details);
        ASSERT_TRUE(result.ok()) << entry.path() << ": " << result.reason();
        EXPECT_TRUE(result.problems().empty()) << entry.path() << ": " << result.problems().front().what;
        ASSERT_EQ(details.eventOffsets.size(), static_cast<std::size_t>(file.getTrackCount()));
        for (int t = 0; t < file.getTrackCount(); ++t) {
            EXPECT_EQ(details.eventOffsets[static_cast<std::size_t>(t)].size(),
                      static_cast<std::size_t>(file.getEventCount(t)));
        }
        ++files;
    }
    EXPECT_GT(files, 10);
}

TEST(ReaderRecovery, ProblemsOfOneKindInOneTrackAreCountedOnce) {
    Bytes data;
    for (int i = 0; i < 1000; ++i) {
        append(data, {0x00, 0xF8});
    }
    Read r = readAll(concat({header(0, 1, 96), trackOf(concat({data, kNote, kEnd}))}));
    EXPECT_EQ(notes(r.file[0]), "60@0 off60@96 eot@96");
    EXPECT_EQ(single(r).repeats, 999);
}
