// notematrix's legend tables.
#include <gtest/gtest.h>

#include "legend.h"

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

}  // namespace
