// The integer reading and the two notations of binform and hexform.
#include "shared/integer_form.h"

#include <gtest/gtest.h>

namespace {

TEST(IntegerFormTest, AnXAnywhereReadsHexadecimal) {
    EXPECT_EQ(integerform::readInteger("10"), 10U);
    EXPECT_EQ(integerform::readInteger("0x10"), 16U);
    EXPECT_EQ(integerform::readInteger("-0x1f"), static_cast<std::uint32_t>(-31));
    EXPECT_EQ(integerform::readInteger("010"), 10U);
    EXPECT_EQ(integerform::readInteger("-1"), 0xFFFFFFFFU);
    EXPECT_EQ(integerform::readInteger("4294967297"), 1U);
    EXPECT_EQ(integerform::readInteger("word"), 0U);
}

TEST(IntegerFormTest, BinaryDigitsInGroupsOfFour) {
    EXPECT_EQ(integerform::binaryForm(5), "0000 0000 0000 0000 0000 0000 0000 0101 ");
    EXPECT_EQ(integerform::binaryForm(0x80000000U), "1000 0000 0000 0000 0000 0000 0000 0000 ");
}

TEST(IntegerFormTest, HexadecimalWithoutLeadingZeros) {
    EXPECT_EQ(integerform::hexForm(0), "0x0");
    EXPECT_EQ(integerform::hexForm(255), "0xff");
    EXPECT_EQ(integerform::hexForm(0xFFFFFFFFU), "0xffffffff");
}

}  // namespace
