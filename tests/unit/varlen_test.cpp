#include "varlen_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t decodeBytes(const Bytes& bytes) {
    std::vector<std::int32_t> numbers(bytes.begin(), bytes.end());
    return varlen::decode(numbers);
}

TEST(VarlenTest, EncodesAtGroupBoundaries) {
    EXPECT_EQ(varlen::encode(0), (Bytes{0x00}));
    EXPECT_EQ(varlen::encode(0x7F), (Bytes{0x7F}));
    EXPECT_EQ(varlen::encode(0x80), (Bytes{0x81, 0x00}));
    EXPECT_EQ(varlen::encode(0x3FFF), (Bytes{0xFF, 0x7F}));
    EXPECT_EQ(varlen::encode(0x4000), (Bytes{0x81, 0x80, 0x00}));
    EXPECT_EQ(varlen::encode(0x1FFFFF), (Bytes{0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(varlen::encode(0x200000), (Bytes{0x81, 0x80, 0x80, 0x00}));
    EXPECT_EQ(varlen::encode(0x0FFFFFFF), (Bytes{0xFF, 0xFF, 0xFF, 0x7F}));
}

TEST(VarlenTest, InnerZeroGroupsKeepTheirContinuationBit) {
    // Only leading zero groups are dropped; a zero group in the middle is
    // still a byte with its top bit set.
    EXPECT_EQ(varlen::encode(0x100000), (Bytes{0xC0, 0x80, 0x00}));
    EXPECT_EQ(varlen::encode(0x8000000), (Bytes{0xC0, 0x80, 0x80, 0x00}));
    EXPECT_EQ(varlen::encode(0x4001), (Bytes{0x81, 0x80, 0x01}));
}

TEST(VarlenTest, TooLargeValuesHaveNoBytes) {
    EXPECT_TRUE(varlen::encode(0x10000000).empty());
    EXPECT_TRUE(varlen::encode(0xFFFFFFFF).empty());
}

TEST(VarlenTest, EncodeThenDecodeGivesTheValueBack) {
    for (std::uint32_t value = 0; value <= varlen::kLargestValue; value = value * 3 + 1) {
        const Bytes bytes = varlen::encode(value);
        ASSERT_FALSE(bytes.empty()) << value;
        ASSERT_LE(bytes.size(), 4U);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            EXPECT_TRUE(varlen::isValidByte(bytes[i], i + 1 == bytes.size())) << value;
        }
        EXPECT_EQ(decodeBytes(bytes), value);
    }
}

TEST(VarlenTest, ByteChecks) {
    EXPECT_TRUE(varlen::isValidByte(0x80, false));
    EXPECT_TRUE(varlen::isValidByte(0xFF, false));
    EXPECT_FALSE(varlen::isValidByte(0x7F, false));
    EXPECT_FALSE(varlen::isValidByte(0x100, false));
    EXPECT_FALSE(varlen::isValidByte(-1, false));
    EXPECT_TRUE(varlen::isValidByte(0, true));
    EXPECT_TRUE(varlen::isValidByte(0x7F, true));
    EXPECT_FALSE(varlen::isValidByte(0x80, true));
    EXPECT_FALSE(varlen::isValidByte(-1, true));
}

TEST(VarlenTest, DecodesRedundantLeadingGroup) {
    EXPECT_EQ(decodeBytes({0x80, 0x00}), 0U);
    EXPECT_EQ(decodeBytes({0x81, 0x80, 0xF4, 0x00}), 0x203A00U);
}

TEST(VarlenTest, ReadsNumbersInEachBase) {
    EXPECT_EQ(varlen::readNumber("3fff", 16), 0x3FFF);
    EXPECT_EQ(varlen::readNumber("0x3FFF", 16), 0x3FFF);
    EXPECT_EQ(varlen::readNumber("  -10", 16), -16);
    EXPECT_EQ(varlen::readNumber("54632", 10), 54632);
    EXPECT_EQ(varlen::readNumber("101", 2), 5);
    EXPECT_EQ(varlen::readNumber("12", 2), 1);   // stops at the first non-digit
    EXPECT_EQ(varlen::readNumber("zz", 16), 0);
    EXPECT_EQ(varlen::readNumber("", 10), 0);
    EXPECT_EQ(varlen::readNumber("100000005", 16), 5);   // low 32 bits
}

TEST(VarlenTest, FormatsNumbers) {
    EXPECT_EQ(varlen::formatNumber(0, 16), "00");
    EXPECT_EQ(varlen::formatNumber(0xF, 16), "0f");
    EXPECT_EQ(varlen::formatNumber(0x203A00, 16), "203a00");
    EXPECT_EQ(varlen::formatNumber(2112000, 10), "2112000");
    EXPECT_EQ(varlen::formatNumber(0, 2), "0");
    EXPECT_EQ(varlen::formatNumber(5, 2), "101");
    EXPECT_EQ(varlen::formatNumber(0xFFFFFFFF, 2), std::string(32, '1'));
}

}  // namespace
