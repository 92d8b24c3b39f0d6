// Number output of TextBuffer: "%g" exactly as printf gives it, through
// every shortcut the formatter takes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "smf/text_buffer.h"

namespace {

std::string printfG(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void expectLikePrintf(double value) {
    EXPECT_EQ(smf::formatDouble(value), printfG(value)) << "value " << std::hexfloat << value;
}

TEST(TextBufferTest, WholeNumbersBelowAMillionArePlainIntegers) {
    for (double value : {0.0, 1.0, -1.0, 60.0, 127.0, -1000.0, 999999.0, -999999.0}) {
        expectLikePrintf(value);
    }
    EXPECT_EQ(smf::formatDouble(999999.0), "999999");
    EXPECT_EQ(smf::formatDouble(1e6), "1e+06");
    EXPECT_EQ(smf::formatDouble(-0.0), "-0");
}

TEST(TextBufferTest, SixSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(smf::formatDouble(0.5), "0.5");
    EXPECT_EQ(smf::formatDouble(1.0 / 3.0), "0.333333");
    EXPECT_EQ(smf::formatDouble(123456.7), "123457");
    EXPECT_EQ(smf::formatDouble(1234567.0), "1.23457e+06");
    EXPECT_EQ(smf::formatDouble(0.0001), "0.0001");
    EXPECT_EQ(smf::formatDouble(0.00001), "1e-05");
    EXPECT_EQ(smf::formatDouble(35124.9), "35124.9");
}

TEST(TextBufferTest, RoundingAtDecadesAndTies) {
    // Rounding up to the next power of ten, and exact binary ties at the
    // seventh digit (printf rounds those to even).
    for (double value : {9.9999995, 9.99999949999, 99999.95, 999999.5, 999999.4, 0.00099999995, 0.000099999996,
                         123456.5, 123457.5, 0.1234565, 1.0000005, 2.5e-4, 0.000125}) {
        expectLikePrintf(value);
        expectLikePrintf(-value);
    }
}

TEST(TextBufferTest, NonFiniteValues) {
    expectLikePrintf(std::numeric_limits<double>::infinity());
    expectLikePrintf(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(smf::formatDouble(std::numeric_limits<double>::quiet_NaN()), "nan");
}

TEST(TextBufferTest, AgreesWithPrintfOverManyValues) {
    std::mt19937_64 random(20150218);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 200000; ++i) {
        // Every decade from 1e-7 to 1e8, both signs.
        const double value = std::pow(10.0, -7.0 + 15.0 * unit(random));
        expectLikePrintf(i % 2 ? -value : value);
        // Times as the listings make them: ticks over a resolution, and
        // seconds from a tempo.
        const auto tick = static_cast<double>(random() % 100000000);
        const auto resolution = static_cast<double>(1 + random() % 1000);
        expectLikePrintf(tick / resolution);
        expectLikePrintf(tick * 60.0 / static_cast<double>(40 + random() % 200) / resolution * 1000.0);
        // Values next to a power of ten.
        const double decade = std::pow(10.0, static_cast<double>(random() % 12) - 5.0);
        expectLikePrintf(std::nextafter(decade, 0.0));
        expectLikePrintf(std::nextafter(decade, 1e300));
    }
}

TEST(TextBufferTest, PutDoubleWritesTheSameText) {
    std::ostringstream out;
    {
        smf::TextBuffer buffer(out);
        buffer.putDouble(0.25).put(' ').putDouble(-1000.0).put(' ').putDouble(1e-5);
    }
    EXPECT_EQ(out.str(), "0.25 -1000 1e-05");
}

TEST(TextBufferTest, ToCharsGeneralWritesIntoABuffer) {
    char text[32];
    char* end = smf::toCharsGeneral(text, text + sizeof text, -1.23456789e-300);
    EXPECT_EQ(std::string(text, end), "-1.23457e-300");
}

}  // namespace
