// The number scanner: the option syntax, the C library's lenient parses
// (checked against the C library itself on many texts), and the limits of
// each conversion.
#include "smf/number_scan.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace {

using smf::NumberSyntax;
using smf::ScannedNumber;

std::size_t lengthOf(std::string_view text, const NumberSyntax& syntax) {
    return smf::scanNumber(text, syntax).length;
}

TEST(NumberScan, OptionSyntax) {
    const auto whole = [](std::string_view text) { return smf::scanWholeNumber(text, smf::kOptionNumber); };
    EXPECT_EQ(whole("-25")->integer(), -25);
    EXPECT_EQ(whole("+7")->integer(), 7);
    EXPECT_EQ(whole("0x1F")->integer(), 31);
    EXPECT_EQ(whole("-0x10")->integer(), -16);
    EXPECT_EQ(whole("0x10")->real, 16.0);
    EXPECT_EQ(whole("2.5")->real, 2.5);
    EXPECT_FALSE(whole("2.5")->integral);
    EXPECT_EQ(whole(".5")->real, 0.5);
    EXPECT_EQ(whole("1e3")->real, 1000.0);
    EXPECT_FALSE(whole("1e3")->integral);
    for (std::string_view text : {"", "-", "+", "x", "inf", "nan", "--5", "+-5", "0x", "1.5x", "- 5", " 5", "."}) {
        EXPECT_FALSE(whole(text)) << text;
    }
    // A number at the front of a longer text: "4.0 seconds".
    EXPECT_EQ(lengthOf("4.0 seconds", smf::kOptionNumber), 3u);
    EXPECT_EQ(smf::scanNumber("4.0 seconds", smf::kOptionNumber).real, 4.0);
    EXPECT_EQ(lengthOf("0xg", smf::kOptionNumber), 1u);  // "0", then no hexadecimal digit
}

TEST(NumberScan, IntegerLimits) {
    const auto integer = [](std::string_view text) {
        return smf::scanNumber(text, smf::kDecimalInteger).integer();
    };
    EXPECT_EQ(integer("9223372036854775807"), std::numeric_limits<long long>::max());
    EXPECT_EQ(integer("-9223372036854775808"), std::numeric_limits<long long>::min());
    EXPECT_FALSE(integer("9223372036854775808"));
    EXPECT_FALSE(integer("-9223372036854775809"));
    EXPECT_FALSE(integer("99999999999999999999999"));
    const auto toInt = [](std::string_view text) { return smf::scanNumber(text, smf::kDecimalInteger).toInt(); };
    EXPECT_EQ(toInt("2147483647"), 2147483647);
    EXPECT_EQ(toInt("-2147483648"), -2147483647 - 1);
    EXPECT_FALSE(toInt("2147483648"));
    EXPECT_FALSE(toInt("-2147483649"));
    EXPECT_FALSE(smf::scanNumber("1.5", smf::kOptionNumber).integer());
}

TEST(NumberScan, MagnitudeKeepsItsLowBitsBeyond64Bits) {
    // 2^64 + 300 wraps to 300 and says it overflowed.
    const ScannedNumber number = smf::scanNumber("18446744073709551916", smf::kDecimalInteger);
    EXPECT_TRUE(number.overflow);
    EXPECT_EQ(number.magnitude, 300u);
    EXPECT_FALSE(smf::scanNumber("18446744073709551615", smf::kDecimalInteger).overflow);
}

TEST(NumberScan, SignsAreTheSyntaxs) {
    const NumberSyntax minusOnly{.signs = "-"};
    EXPECT_EQ(smf::scanNumber("-5", minusOnly).integer(), -5);
    EXPECT_EQ(lengthOf("+5", minusOnly), 0u);
    const NumberSyntax unsignedDigits{.signs = ""};
    EXPECT_EQ(lengthOf("-5", unsignedDigits), 0u);
    EXPECT_EQ(lengthOf("15", unsignedDigits), 2u);
}

TEST(NumberScan, RealsBeyondTheRangeOfDouble) {
    const ScannedNumber huge = smf::scanNumber("1e400", smf::kOptionNumber);
    EXPECT_TRUE(huge.rangeError);
    EXPECT_TRUE(std::isinf(huge.real));
    const ScannedNumber tiny = smf::scanNumber("-1e-400", smf::kOptionNumber);
    EXPECT_TRUE(tiny.rangeError);
    EXPECT_EQ(tiny.real, 0.0);
    EXPECT_TRUE(std::signbit(tiny.real));
    EXPECT_FALSE(smf::scanNumber("1e300", smf::kOptionNumber).rangeError);
}

// Texts built from the characters that matter to a number's syntax.
std::string randomText(std::mt19937_64& random, std::string_view alphabet) {
    std::string text;
    const auto length = random() % 12;
    for (std::size_t i = 0; i < length; ++i) {
        text += alphabet[random() % alphabet.size()];
    }
    return text;
}

TEST(NumberScan, CLibraryIntegersAgreeWithTheCLibrary) {
    std::mt19937_64 random(20150209);
    const std::string edges[] = {"9223372036854775807", "9223372036854775808", "-9223372036854775808",
                                 "-9223372036854775809", "18446744073709551615", "18446744073709551616",
                                 "-18446744073709551615", "-18446744073709551616", "0x", " 0x", "0xg", "-0x1",
                                 "  \t+12", "\v\f\r\n7", "0X7fffffffffffffff", "0x10000000000000000"};
    for (int base : {2, 10, 16}) {
        for (int i = 0; i < 40000 + 16; ++i) {
            const std::string text = i < 16 ? edges[i] : randomText(random, " \t+-0x1789aAfFgX");
            const ScannedNumber number = smf::scanNumber(text, smf::cLibraryInteger(base));
            char* end = nullptr;
            errno = 0;
            const long expected = std::strtol(text.c_str(), &end, base);
            EXPECT_EQ(number.saturated(), expected) << "strtol \"" << text << "\" base " << base;
            EXPECT_EQ(number.length, static_cast<std::size_t>(end - text.c_str())) << "\"" << text << "\"";
            const unsigned long expectedUnsigned = std::strtoul(text.c_str(), nullptr, base);
            EXPECT_EQ(number.wrapped(), expectedUnsigned) << "strtoul \"" << text << "\" base " << base;
        }
    }
}

TEST(NumberScan, CLibraryRealsAgreeWithTheCLibrary) {
    std::mt19937_64 random(20020122);
    const std::string edges[] = {"inf", "-Infinity", "nan", " +.5", "1e", "1e+", "5.", "-.e1", "1e400", "1e-400"};
    for (int i = 0; i < 100000 + 10; ++i) {
        // No "x" or "p": the C library also reads hexadecimal floats, which
        // the suite's texts never hold.
        const std::string text = i < 10 ? edges[i] : randomText(random, " \t+-.019eEinf");
        const ScannedNumber number = smf::scanNumber(text, smf::kCLibraryReal);
        char* end = nullptr;
        const double expected = std::strtod(text.c_str(), &end);
        EXPECT_EQ(number.length, static_cast<std::size_t>(end - text.c_str())) << "\"" << text << "\"";
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(number.real)) << "\"" << text << "\"";
        } else {
            EXPECT_EQ(number.real, expected) << "\"" << text << "\"";
        }
    }
}

}  // namespace
