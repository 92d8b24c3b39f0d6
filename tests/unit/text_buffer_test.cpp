// Number output of TextBuffer: "%g" exactly as printf gives it, through
// every shortcut the formatter takes.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
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

TEST(TextBufferTest, KeepsTextAcrossBlocks) {
    smf::TextBuffer text;
    std::string expected;
    const std::string wide(smf::TextBuffer::kKeptBlockSize + 7, 'w');
    for (int i = 0; i < 300000; ++i) {
        const std::string piece = std::to_string(i) + ",";
        text.put(piece).put('|').putInt(-i).putDouble(i / 7.0);
        expected += piece + "|" + std::to_string(-i) + smf::formatDouble(i / 7.0);
        if (i % 100000 == 5) {
            text.put(wide);
            expected += wide;
        }
    }
    text.putFixed(51.42857142857143, 6);
    expected += "51.428571";
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_GT(expected.size(), 3 * smf::TextBuffer::kKeptBlockSize);
    EXPECT_EQ(text.str(), expected);
    std::ostringstream out;
    text.writeTo(out);
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(smf::TextBuffer{}.size(), 0u);
    EXPECT_EQ(smf::TextBuffer{}.str(), "");
}

TEST(TextBufferTest, CopiesItsOwnTextAcrossBlocks) {
    smf::TextBuffer text;
    text.put("head|");
    const std::size_t from = text.size();
    std::string copied;
    for (int i = 0; i < 200000; ++i) {
        text.putInt(i).put(' ');
        copied += std::to_string(i) + " ";
    }
    const std::size_t to = text.size();
    text.put('|');
    text.putCopy(from, to);
    text.putCopy(to, to);
    EXPECT_EQ(text.str(), "head|" + copied + "|" + copied);
}

TEST(TextBufferTest, HexDigitsOfEveryByte) {
    for (int byte = 0; byte < 256; ++byte) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02x", byte);
        char digits[2];
        EXPECT_EQ(smf::toCharsHex2(digits, static_cast<std::uint8_t>(byte)), digits + 2);
        EXPECT_EQ(std::string(digits, 2), expected);
    }
    EXPECT_EQ(smf::hexDigit(10), 'a');
    EXPECT_EQ(smf::hexDigit(0x1F), 'f');  // only the low four bits count
}

// Writes the same mixture of pieces to a buffer and to a string: text
// shorter and longer than a block, numbers and hex digits that meet a
// block's end, and claimed lines larger than the room left or than a block.
template <class Buffer>
std::string writeMixture(Buffer& buffer) {
    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        buffer.put("ab").putInt(-i * 7919).put(' ').putDouble(i / 3.0).putHex2(static_cast<std::uint8_t>(i));
        expected += "ab" + std::to_string(-i * 7919) + " " + smf::formatDouble(i / 3.0);
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", i & 0xFF);
        expected += hex;
        const std::size_t claimed = i % 5 == 0 ? 100 : 24;
        char* at = buffer.claim(claimed);
        at = std::to_chars(at, at + smf::kNumberRoom, i).ptr;
        *at++ = '|';
        buffer.commit(at);
        expected += std::to_string(i) + "|";
        if (i % 400 == 3) {
            const std::string wide(37, static_cast<char>('a' + i % 26));
            buffer.put(wide).put('\n');
            expected += wide + "\n";
        }
    }
    return expected;
}

TEST(TextBufferTest, StreamingGivesTheStreamEveryPieceInOrder) {
    for (std::size_t blockSize : {1, 16, 33, 4096}) {
        std::ostringstream out;
        std::string expected;
        {
            smf::TextBuffer buffer(out, blockSize);
            expected = writeMixture(buffer);
            EXPECT_TRUE(buffer.flush());
        }
        EXPECT_EQ(out.str(), expected) << "block size " << blockSize;
    }
}

TEST(TextBufferTest, KeepingHoldsEveryPieceInOrder) {
    for (std::size_t blockSize : {1, 16, 33, 4096}) {
        smf::TextBuffer buffer(blockSize);
        const std::string expected = writeMixture(buffer);
        EXPECT_EQ(buffer.size(), expected.size());
        EXPECT_EQ(buffer.str(), expected) << "block size " << blockSize;
        // Offsets stay exact however the pieces met the blocks' ends.
        buffer.putCopy(10, 90);
        EXPECT_EQ(buffer.str(), expected + expected.substr(10, 80));
    }
}

TEST(TextBufferTest, StreamingReportsAFailedStream) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    smf::TextBuffer buffer(out);
    buffer.put("text");
    EXPECT_FALSE(buffer.flush());
    EXPECT_FALSE(buffer.flushStream());
}

}  // namespace
