// notespans' rounding and channel filter, and its notes streamed in time
// order as the same notes kept and sorted.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <sstream>
#include <string>

#include "random_notes.h"
#include "spans.h"

namespace {

TEST(NotespansTest, RoundHalfUpTruncatesTowardZero) {
    EXPECT_EQ(spans::roundHalfUp(999.5), 1000);
    EXPECT_EQ(spans::roundHalfUp(999.49), 999);
    EXPECT_EQ(spans::roundHalfUp(0.0), 0);
    // A note never struck starts at -1: -1000 + 0.5 truncates to -999.
    EXPECT_EQ(spans::roundHalfUp(-1000.0), -999);
    EXPECT_EQ(spans::roundHalfUp(-0.7), 0);
    EXPECT_EQ(spans::roundHalfUp(3e12), 3000000000000);
}

TEST(NotespansTest, RoundHalfUpClampsWhatNoIntegerHolds) {
    EXPECT_EQ(spans::roundHalfUp(1e300), std::numeric_limits<long long>::max());
    EXPECT_EQ(spans::roundHalfUp(-1e300), std::numeric_limits<long long>::min());
    EXPECT_EQ(spans::roundHalfUp(std::numeric_limits<double>::quiet_NaN()), std::numeric_limits<long long>::min());
}

TEST(NotespansTest, ExcludeDigitsHideChannels) {
    spans::ChannelFilter filter;
    filter.hideDigits("9ab");
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_EQ(filter.shows(channel), channel < 9 || channel > 11) << channel;
    }
}

TEST(NotespansTest, ExcludeIgnoresWhatIsNoHexDigit) {
    spans::ChannelFilter filter;
    filter.hideDigits("G-, x");
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_TRUE(filter.shows(channel));
    }
    filter.hideDigits("0F");
    EXPECT_FALSE(filter.shows(0));
    EXPECT_FALSE(filter.shows(15));
    EXPECT_FALSE(filter.shows(16));
    EXPECT_FALSE(filter.shows(-1));
}

// The lines as writeSpans writes them, the notes put in order either way.
std::string spansOf(const smf::Tunefolio& file, const spans::SpanSettings& settings, spans::RowOrdering ordering) {
    std::ostringstream text;
    {
        smf::TextBuffer out(text);
        spans::writeSpans(out, file, settings, ordering);
    }
    return text.str();
}

spans::SpanSettings settingsFor(matrix::TimeUnit unit, int ticksPerQuarterNote) {
    spans::SpanSettings settings;
    settings.unit = unit;
    settings.ticksPerQuarterNote = ticksPerQuarterNote;
    return settings;
}

constexpr matrix::TimeUnit kUnits[] = {matrix::TimeUnit::Ticks, matrix::TimeUnit::Beats, matrix::TimeUnit::Seconds,
                                       matrix::TimeUnit::Milliseconds};

TEST(NotespansRows, StreamedAsKeptAndSorted) {
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        const smf::Tunefolio file = testfiles::randomNotes(seed, 300, 1 + static_cast<int>(seed % 4));
        for (matrix::TimeUnit unit : kUnits) {
            spans::SpanSettings settings = settingsFor(unit, file.getTicksPerQuarterNote());
            settings.debugChannel = seed % 2 == 0;
            if (seed % 3 == 0) {
                settings.filter.hide(1);
            }
            const std::string kept = spansOf(file, settings, spans::RowOrdering::Kept);
            EXPECT_EQ(spansOf(file, settings, spans::RowOrdering::Streamed), kept)
                << "seed " << seed << ", unit " << static_cast<int>(unit);
        }
    }
}

TEST(NotespansRows, CorpusStreamedAsKeptAndSorted) {
    for (const auto& entry : std::filesystem::directory_iterator(TUNEFOLIO_CORPUS_DIR)) {
        smf::Tunefolio file;
        ASSERT_TRUE(file.read(entry.path().string())) << entry.path();
        for (matrix::TimeUnit unit : kUnits) {
            const spans::SpanSettings settings = settingsFor(unit, file.getTicksPerQuarterNote());
            EXPECT_EQ(spansOf(file, settings, spans::RowOrdering::Streamed),
                      spansOf(file, settings, spans::RowOrdering::Kept))
                << entry.path();
        }
    }
}

TEST(NotespansRows, AFasterTempoBringsLaterNotesForward) {
    // 480 ticks a quarter; 60 beats a minute until tick 1300, then 120: the
    // note at 1440 is timed 1440 * 60 / 120 / 480 = 1.5 s, before the note
    // at 1200 (2.5 s at the first tempo).
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(480);
    file.addTempo(0, 0, 60.0);
    file.addNoteOn(0, 1200, 0, 60, 90);
    file.addTempo(0, 1300, 120.0);
    file.addNoteOff(0, 1500, 0, 60, 0);
    file.addNoteOn(0, 1440, 0, 62, 90);
    file.addNoteOff(0, 1920, 0, 62, 0);
    file.sortTracks();
    EXPECT_EQ(spansOf(file, settingsFor(matrix::TimeUnit::Seconds, 480), spans::RowOrdering::Streamed),
              "Note\t1500\t2000\t62\n"
              "Note\t2500\t1563\t60\n");
}

}  // namespace
