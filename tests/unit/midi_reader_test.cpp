// Reading Standard MIDI File bytes: every accepted form and every malformed one.
#include <gtest/gtest.h>

#include <sstream>

#include "midi_bytes.h"
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

TEST(MidiReader, MalformedInputIsRefused) {
    expectUnreadable({}, "empty input");
    expectUnreadable({'M', 'T', 'h', 'd', 0, 0}, "truncated header");
    expectUnreadable(header(0, 1, 96, 5), "header shorter than 6");
    expectUnreadable(file(header(3, 1, 96), {track({0x00, 0x90, 1, 1})}), "format 3");
    expectUnreadable(file(header(0, 1, 0), {track({0x00, 0x90, 1, 1})}), "zero ticks per quarter note");
    expectUnreadable(file(header(0, 1, 0xE528), {track({})}), "27 frames per second");
    expectUnreadable(file(header(1, 2, 96), {track({0x00, 0x90, 1, 1})}), "fewer tracks than announced");
    expectUnreadable(file(header(1, 1, 96), {track({}), track({})}), "more tracks than announced");
    Bytes truncated = oneTrack({0x00, 0x90, 60, 100});
    truncated.pop_back();
    expectUnreadable(truncated, "chunk longer than the file");
    expectUnreadable(oneTrack({0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 1, 1}), "five-byte VARLEN");
    expectUnreadable(oneTrack({0x80}), "truncated VARLEN");
    expectUnreadable(oneTrack({0x00}), "delta without event");
    expectUnreadable(oneTrack({0x00, 60, 100}), "running status without status");
    expectUnreadable(oneTrack({0x00, 0x90, 60, 0x80}), "data byte above 0x7F");
    expectUnreadable(oneTrack({0x00, 0x90, 60}), "truncated channel message");
    expectUnreadable(oneTrack({0x00, 0xF1, 0x01}), "system common message");
    expectUnreadable(oneTrack({0x00, 0xFF, 0x03, 0x05, 'a'}), "meta longer than track");
    expectUnreadable(oneTrack({0x00, 0xFF, 0x80, 0x00}), "meta type above 0x7F");
    expectUnreadable(oneTrack({0x00, 0xF0, 0x05, 0x01}), "sysex longer than track");
    expectUnreadable(oneTrack({0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1, 0xFF, 0xFF,
                               0xFF, 0x7F, 0x90, 1, 1, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1, 0xFF, 0xFF, 0xFF, 0x7F,
                               0x90, 1, 1, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1,
                               0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1, 1}),
                     "ticks beyond 2^31 - 1");
    const std::string badText = "+M +T +h +d zz\n";
    expectUnreadable(Bytes(badText.begin(), badText.end()), "bad hexscribe token");
    const std::string notMidi = "01 02 03\n";
    expectUnreadable(Bytes(notMidi.begin(), notMidi.end()), "text compiling to something that is not MIDI");
}

TEST(MidiReader, HugeLengthFieldsAllocateNothing) {
    // A 0x0FFFFFFF length in a tiny file is refused before anything is sized by it.
    Bytes head = header(0, 1, 96);
    Bytes big = head;
    append(big, {'M', 'T', 'r', 'k', 0x0F, 0xFF, 0xFF, 0xFF, 0x00, 0x90, 1, 1});
    expectUnreadable(big, "chunk length 0x0FFFFFFF");
    expectUnreadable(oneTrack({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 'x'}), "meta length 0x0FFFFFFF");
    expectUnreadable(oneTrack({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0x01}), "sysex length 0x0FFFFFFF");
}
