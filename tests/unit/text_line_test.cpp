#include <gtest/gtest.h>

#include "smf/text_buffer.h"
#include "smf/text_line.h"

TEST(TextLine, FormatsNumbersAsTheTextBufferDoes) {
    smf::TextLine<64> line;
    line.putInt(-42).put('\t').putDouble(1000000.0).put(' ').putDouble(0.1 + 0.2).put(' ').putHex2(0xAF);
    EXPECT_EQ(line.text(), "-42\t1e+06 0.3 af");
    for (double value : {0.0, 1.15, 2083.333333, 1e-7, 123456789.0, -0.5}) {
        smf::TextLine<32> one;
        one.putDouble(value);
        EXPECT_EQ(one.text(), smf::formatDouble(value));
    }
}

TEST(TextLine, LeavesOutWhatDoesNotFit) {
    smf::TextLine<6> line;
    line.put("abcd").putInt(12345).put("xyz").put('e').put('f').put('g');
    EXPECT_EQ(line.text(), "abcdef");
    EXPECT_EQ(line.room(), 0u);
    line.putHex2(0x12).putDouble(1.5);
    EXPECT_EQ(line.text(), "abcdef");
}

TEST(TextLine, DoublesFitIntoTheLastFreeCharacters) {
    smf::TextLine<24> line;
    line.put("0123456789").putDouble(1.25).put(' ').putDouble(0.000123456).putDouble(0.5);
    EXPECT_EQ(line.text(), "01234567891.25 0.5");  // 0.000123456 needs 11
    smf::TextLine<10> narrow;
    narrow.putDouble(123456789.0);
    EXPECT_EQ(narrow.text(), "");
}

TEST(TextLine, ClearStartsAgain) {
    smf::TextLine<8> line;
    line.put("1234567");
    line.clear();
    line.putInt(9);
    EXPECT_EQ(line.text(), "9");
}
