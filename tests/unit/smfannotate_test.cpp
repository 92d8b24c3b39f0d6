#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "annotate.h"
#include "smf/hexscribe.h"
#include "smf/tunefolio.h"

namespace {

std::string annotate(smf::Tunefolio& file) {
    file.deltaTicks();
    std::ostringstream text;
    EXPECT_TRUE(writeAnnotated(text, file));
    return text.str();
}

std::vector<std::uint8_t> compile(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    smf::Result result = smf::compileHexscribe(text, bytes);
    EXPECT_TRUE(result.ok()) << result.reason();
    return bytes;
}

std::vector<std::uint8_t> bytesOf(const smf::MidiMessage& message) {
    return {message.bytes().begin(), message.bytes().end()};
}

// Reads compiled text back and checks that every track holds the same
// events, tick for tick and byte for byte.
void expectSameEvents(smf::Tunefolio original, const std::string& text) {
    smf::Tunefolio copy;
    ASSERT_TRUE(copy.readBytes(compile(text))) << copy.getReadError();
    original.absoluteTicks();
    ASSERT_EQ(copy.getTrackCount(), original.getTrackCount());
    EXPECT_EQ(copy.isSmpte(), original.isSmpte());
    EXPECT_EQ(copy.getTicksPerQuarterNote(), original.getTicksPerQuarterNote());
    for (int t = 0; t < original.getTrackCount(); ++t) {
        ASSERT_EQ(copy.getEventCount(t), original.getEventCount(t)) << "track " << t;
        for (int i = 0; i < original.getEventCount(t); ++i) {
            const smf::MidiEvent& want = original.getEvent(t, i);
            const smf::MidiEvent& got = copy.getEvent(t, i);
            EXPECT_EQ(got.tick, want.tick) << "track " << t << " event " << i;
            EXPECT_EQ(bytesOf(got), bytesOf(want)) << "track " << t << " event " << i;
        }
    }
}

// The track chunk lengths written in compiled bytes, checked against the
// bytes that really follow each of them.
void expectChunkLengthsMatch(const std::vector<std::uint8_t>& bytes) {
    std::size_t pos = 14;
    while (pos + 8 <= bytes.size()) {
        const std::size_t length = (std::size_t{bytes[pos + 4]} << 24) | (std::size_t{bytes[pos + 5]} << 16) |
                                   (std::size_t{bytes[pos + 6]} << 8) | bytes[pos + 7];
        pos += 8 + length;
        ASSERT_LE(pos, bytes.size());
        if (pos < bytes.size()) {
            EXPECT_EQ(bytes[pos], 'M') << "a track chunk does not start where the previous one ends";
        }
    }
    EXPECT_EQ(pos, bytes.size());
}

TEST(SmfAnnotate, EveryKindOfMessageCompilesBackToTheSameEvents) {
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(480);
    file.addTempo(0, 0, 100);
    file.addEvent(0, 127, {0xC3, 0x05});
    file.addEvent(0, 255, {0xB3, 0x07, 0x64});
    file.addEvent(0, 16638, {0xE3, 0x00, 0x40});
    file.addEvent(0, 16638, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    file.addEvent(0, 16638, {0xF7});
    file.addNoteOn(0, 3000000, 3, 60, 100);
    file.addNoteOff(0, 3000000 + 0x0FFFFFFF, 3, 60, 64);
    std::string text(300, 'x');
    file.addMetaEvent(0, 3000000 + 0x0FFFFFFF, 0x01, text);
    file.addEvent(0, 3000000 + 0x0FFFFFFF, {0xFF, 0x2F, 0x00});
    const std::string annotated = annotate(file);
    expectSameEvents(file, annotated);
    expectChunkLengthsMatch(compile(annotated));
}

TEST(SmfAnnotate, SysexLengthIsWrittenAndCounted) {
    smf::Tunefolio file;
    file.addEvent(0, 0, {0xF0, 0x43, 0x12, 0xF7});
    file.addEvent(0, 0, {0xFF, 0x2F, 0x00});
    const std::string annotated = annotate(file);
    // delta 1 + status 1 + length 1 + data 3, then 4 for the end of track
    EXPECT_NE(annotated.find("4'10\t"), std::string::npos) << annotated;
    EXPECT_NE(annotated.find("v0\tf0 v3 43 12 f7\n"), std::string::npos) << annotated;
    expectSameEvents(file, annotated);
}

TEST(SmfAnnotate, DeltaOf128CountsTwoBytes) {
    smf::Tunefolio once;
    once.addEvent(0, 127, {0xC0, 0x01});
    smf::Tunefolio twice;
    twice.addEvent(0, 128, {0xC0, 0x01});
    EXPECT_NE(annotate(once).find("4'3\t"), std::string::npos);
    EXPECT_NE(annotate(twice).find("4'4\t"), std::string::npos);
}

TEST(SmfAnnotate, TracksWithoutEndOfTrackOrEventsCompileBack) {
    smf::Tunefolio file;
    file.addTrack(2);
    file.addNoteOn(1, 0, 0, 60, 90);
    file.addNoteOff(1, 96, 0, 60);
    const std::string annotated = annotate(file);
    EXPECT_NE(annotated.find("4'0\t"), std::string::npos) << annotated;
    EXPECT_EQ(annotated.find("ff 2f"), std::string::npos) << annotated;
    expectSameEvents(file, annotated);
}

TEST(SmfAnnotate, SmpteTimingSurvives) {
    smf::Tunefolio file;
    file.setSmpteTiming(29, 80);
    file.addNoteOn(0, 0, 0, 60, 90);
    file.addNoteOff(0, 80, 0, 60);
    const std::string annotated = annotate(file);
    EXPECT_NE(annotated.find("'-29 '80\t"), std::string::npos) << annotated;
    smf::Tunefolio copy;
    ASSERT_TRUE(copy.readBytes(compile(annotated)));
    EXPECT_EQ(copy.getSmpteFramesPerSecond(), 29);
    EXPECT_EQ(copy.getSmpteTicksPerFrame(), 80);
    expectSameEvents(file, annotated);
}

TEST(SmfAnnotate, FailedStreamIsReported) {
    smf::Tunefolio file;
    file.addNoteOn(0, 0, 0, 60, 90);
    file.deltaTicks();
    std::ostringstream text;
    text.setstate(std::ios::badbit);
    EXPECT_FALSE(writeAnnotated(text, file));
}

}  // namespace
