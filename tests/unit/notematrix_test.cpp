// notematrix's legend tables, and its rows streamed in time order as the
// same rows kept and sorted.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "legend.h"
#include "matrix_export.h"
#include "random_notes.h"

namespace {

TEST(NotematrixTest, ControllerLinesPadTheirDescriptions) {
    EXPECT_EQ(matrix::controllerLine(7), "  7   Main Volume (coarse)               0..127");
    EXPECT_EQ(matrix::controllerLine(98), " 98   Non-Registered Parameter Number (coarse)0..127");
    EXPECT_EQ(matrix::controllerLine(99), " 99   Non-Registered Parameter Number (fine)  0..127");
    EXPECT_EQ(matrix::controllerLine(100), "100   Registered Parameter Number (coarse)    0..127");
    EXPECT_EQ(matrix::controllerLine(101), "101   Registered Parameter Number (fine) 0..127");
    EXPECT_EQ(matrix::controllerLine(0), "  0   Bank Select (coarse)               0..127");
    EXPECT_EQ(matrix::controllerLine(127), "127   Polyphonic Mode On (mono=off)      ignored");
}

TEST(NotematrixTest, ControllerRanges) {
    EXPECT_EQ(matrix::controllerLine(10), " 10   Pan (coarse)                       0=left 127=right");
    EXPECT_EQ(matrix::controllerLine(32), " 32   Bank Select (fine)                 0..127 usu.ignored");
    EXPECT_EQ(matrix::controllerLine(43), " 43   Expression (sub-Volume) (fine)     0..127 usu. ignored");
    EXPECT_EQ(matrix::controllerLine(64), " 64   Hold pedal (Sustain) on/off        0..63=off  64..127=on");
    EXPECT_EQ(matrix::controllerLine(80), " 80   General Purpose Button             0..63=off 64..127=on");
    EXPECT_EQ(matrix::controllerLine(122), "122   Local Keyboard On/Off              0..63=off 64..127=on");
    EXPECT_EQ(matrix::controllerLine(110), "110   Undefined                          ?");
    EXPECT_EQ(matrix::controllerLine(126), "126   Monophonic Mode On                 **");
    EXPECT_EQ(matrix::controllerLine(96), " 96   Data entry +1                      ignored");
    EXPECT_EQ(matrix::controllerLine(51), " 51   Continuous controller #19          0..127");
    EXPECT_EQ(matrix::controllerLine(63), " 63   Continuous controller #31 (fine)   0..127");
}

TEST(NotematrixTest, EveryControllerLineHasItsColumns) {
    for (int controller = 0; controller < 128; ++controller) {
        const std::string line = matrix::controllerLine(controller);
        EXPECT_EQ(std::stoi(line.substr(0, 3)), controller);
        EXPECT_EQ(line.substr(3, 3), "   ");
        EXPECT_GE(line.size(), 6u + 35u + 1u) << line;
        EXPECT_NE(line.back(), ' ') << line;
    }
}

TEST(NotematrixTest, InstrumentShortNames) {
    EXPECT_EQ(matrix::instrumentShortName(0), "acpiano");
    EXPECT_EQ(matrix::instrumentShortName(44), "marcato");
    EXPECT_EQ(matrix::instrumentShortName(48), "marcato");
    EXPECT_EQ(matrix::instrumentShortName(95), "sweeper");
    EXPECT_EQ(matrix::instrumentShortName(102), "sweeper");
    EXPECT_EQ(matrix::instrumentShortName(127), "ringwhsl");
    for (int program = 0; program < 128; ++program) {
        EXPECT_FALSE(matrix::instrumentShortName(program).empty());
        EXPECT_LE(matrix::instrumentShortName(program).size(), 9u);
    }
}

// The array as writeArray writes it, its rows put in order either way.
std::string arrayOf(const smf::Tunefolio& file, matrix::TimeUnit unit, double marker, bool numeric,
                    matrix::RowOrdering ordering) {
    std::ostringstream text;
    {
        smf::TextBuffer out(text);
        const matrix::MatrixSettings settings{unit, marker, file.getTicksPerQuarterNote()};
        const matrix::Survey survey = matrix::surveyEvents(file, settings);
        matrix::writeArray(out, "data", file, settings, survey, numeric, ordering);
    }
    return text.str();
}

constexpr matrix::TimeUnit kUnits[] = {matrix::TimeUnit::Ticks, matrix::TimeUnit::Beats, matrix::TimeUnit::Seconds,
                                       matrix::TimeUnit::Milliseconds};

TEST(NotematrixRows, StreamedAsKeptAndSorted) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        smf::Tunefolio file = testfiles::randomNotes(seed);
        file.doTimeAnalysis();
        for (matrix::TimeUnit unit : kUnits) {
            for (double marker : {-1000.0, 1000.0, 2000.0}) {
                const std::string kept = arrayOf(file, unit, marker, false, matrix::RowOrdering::Kept);
                EXPECT_EQ(arrayOf(file, unit, marker, false, matrix::RowOrdering::Streamed), kept)
                    << "seed " << seed << ", unit " << static_cast<int>(unit) << ", marker " << marker;
            }
        }
    }
}

TEST(NotematrixRows, CorpusStreamedAsKeptAndSorted) {
    for (const auto& entry : std::filesystem::directory_iterator(TUNEFOLIO_CORPUS_DIR)) {
        smf::Tunefolio file;
        ASSERT_TRUE(file.read(entry.path().string())) << entry.path();
        file.doTimeAnalysis();
        for (matrix::TimeUnit unit : kUnits) {
            EXPECT_EQ(arrayOf(file, unit, -1000.0, true, matrix::RowOrdering::Streamed),
                      arrayOf(file, unit, -1000.0, true, matrix::RowOrdering::Kept))
                << entry.path();
        }
    }
}

TEST(NotematrixRows, NotesNeverStruckComeFirst) {
    smf::Tunefolio file;
    file.setTicksPerQuarterNote(10);
    file.addNoteOn(0, 0, 0, 60, 90);
    file.addNoteOff(0, 10, 0, 60, 0);
    file.addNoteOff(0, 20, 0, 60, 0);  // timed again from the note-on at 0
    file.addNoteOff(0, 30, 1, 62, 0);  // 62 was never struck
    file.addController(0, 30, 0, 7, 100);
    EXPECT_EQ(arrayOf(file, matrix::TimeUnit::Ticks, -1000.0, false, matrix::RowOrdering::Streamed),
              "data = [\n"
              "-1,\tNOTE,\t31,\t62,\t-1,\t1,\t0;\n"
              "0,\tNOTE,\t10,\t60,\t90,\t0,\t0;\n"
              "0,\tNOTE,\t20,\t60,\t90,\t0,\t0;\n"
              "30,\tCONT,\t7,\t100,\t-1000,\t0,\t0;\n"
              "];\n");
}

TEST(NotematrixRows, SurveyFindsWhatOccurs) {
    smf::Tunefolio file;
    file.addPatchChange(0, 0, 0, 40);
    file.addNoteOff(0, 5, 0, 62, 0);
    const matrix::Survey survey = matrix::surveyEvents(file, {matrix::TimeUnit::Beats, -1000.0, 120});
    EXPECT_TRUE(survey.presence.opcodes[1]);
    EXPECT_TRUE(survey.presence.opcodes[3]);
    EXPECT_FALSE(survey.presence.opcodes[2]);
    EXPECT_TRUE(survey.presence.instruments[40]);
    EXPECT_TRUE(survey.orderRecorded);
    EXPECT_TRUE(survey.unstruckNotes);
    EXPECT_TRUE(survey.timesInOrder);
}

}  // namespace
