#include "smf/hexscribe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes compiled(std::string_view text) {
    Bytes bytes;
    smf::Result result = smf::compileHexscribe(text, bytes);
    EXPECT_TRUE(result.ok()) << "text: " << text << "\n" << result.reason();
    return bytes;
}

// The reason of a failure: "line 3: <why>: \"<token>\"".
std::string failure(std::string_view text) {
    Bytes bytes;
    smf::Result result = smf::compileHexscribe(text, bytes);
    EXPECT_FALSE(result.ok()) << "text unexpectedly compiled: " << text;
    return result.reason();
}

bool fails(std::string_view text) {
    Bytes bytes;
    return !smf::compileHexscribe(text, bytes).ok();
}

int failureLine(std::string_view text) {
    const std::string reason = failure(text);
    return reason.rfind("line ", 0) == 0 ? std::atoi(reason.c_str() + 5) : -1;
}

Bytes allByteValues() {
    Bytes bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i));
    }
    return bytes;
}

std::string listing(const smf::Hexscribe& converter, const Bytes& bytes) {
    std::ostringstream out;
    converter.writeListing(out, bytes);
    return out.str();
}

std::string asciiListing(const Bytes& bytes, int lineLength = 75) {
    smf::Hexscribe converter;
    converter.setLineLength(lineLength);
    std::ostringstream out;
    converter.writeAsciiListing(out, bytes);
    return out.str();
}

Bytes toBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A scratch file name unique to the running test, removed afterwards.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& suffix) {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::path(testing::TempDir()) /
                 (std::string("hexscribe_") + info->name() + "_" + suffix);
        std::filesystem::remove(m_path);
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    std::string name() const { return m_path.string(); }
    void write(std::string_view content) const {
        std::ofstream file(m_path, std::ios::binary);
        file.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    std::string read() const {
        std::ifstream file(m_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    bool exists() const { return std::filesystem::exists(m_path); }

private:
    std::filesystem::path m_path;
};

// --- hexadecimal -------------------------------------------------------

TEST(HexscribeHex, OneAndTwoDigitsInEitherCase) {
    EXPECT_EQ(compiled("1"), (Bytes{0x01}));
    EXPECT_EQ(compiled("e"), (Bytes{0x0e}));
    EXPECT_EQ(compiled("7f"), (Bytes{0x7f}));
    EXPECT_EQ(compiled("7F Ff 00 A"), (Bytes{0x7f, 0xff, 0x00, 0x0a}));
}

TEST(HexscribeHex, MoreThanTwoDigitsOrNonHexIsAnError) {
    EXPECT_TRUE(fails("abc"));
    EXPECT_TRUE(fails("1ff"));
    EXPECT_TRUE(fails("g"));
    EXPECT_TRUE(fails("0x7f"));
    EXPECT_TRUE(fails("-1"));
}

// --- binary ------------------------------------------------------------

TEST(HexscribeBinary, CommaSplitsNibbles) {
    EXPECT_EQ(compiled("1,1"), (Bytes{17}));
    EXPECT_EQ(compiled("0001,0001"), (Bytes{17}));
    EXPECT_EQ(compiled("1000,0000"), (Bytes{128}));
    EXPECT_EQ(compiled("0100,0001"), (Bytes{0x41}));
    EXPECT_EQ(compiled("1111,1"), (Bytes{0xf1}));
}

TEST(HexscribeBinary, LongerThanThreeCharacters) {
    EXPECT_EQ(compiled("0000"), (Bytes{0}));
    EXPECT_EQ(compiled("1111"), (Bytes{15}));
    EXPECT_EQ(compiled("10000000"), (Bytes{128}));
    EXPECT_EQ(compiled("11111111"), (Bytes{255}));
}

TEST(HexscribeBinary, TwoCharactersAreHexadecimal) {
    EXPECT_EQ(compiled("10"), (Bytes{0x10}));
    EXPECT_EQ(compiled("11"), (Bytes{0x11}));
    EXPECT_EQ(compiled("1"), (Bytes{0x01}));
}

TEST(HexscribeBinary, ThreeDigitsAreNeitherHexNorBinary) {
    EXPECT_EQ(failure("101"), "line 1: three digits are neither a hexadecimal nor a binary number: \"101\"");
    EXPECT_TRUE(fails("000"));
}

TEST(HexscribeBinary, MalformedNumbers) {
    EXPECT_TRUE(fails("111111111"));   // 9 digits
    EXPECT_TRUE(fails("11111,1"));     // high half of 5 digits
    EXPECT_TRUE(fails("1,11111"));     // low half of 5 digits
    EXPECT_TRUE(fails(",11"));
    EXPECT_TRUE(fails("11,"));
    EXPECT_TRUE(fails("1,"));
    EXPECT_TRUE(fails(","));
    EXPECT_TRUE(fails("1,1,1"));
    EXPECT_TRUE(fails("1,,1"));
    EXPECT_TRUE(fails("1,2"));
    EXPECT_TRUE(fails("1 ,1"));        // blank before the comma
}

// --- decimal -----------------------------------------------------------

TEST(HexscribeDecimal, ApostropheAndStarMarkOneByte) {
    EXPECT_EQ(compiled("'60"), (Bytes{60}));
    EXPECT_EQ(compiled("*60"), (Bytes{60}));
    EXPECT_EQ(compiled("'0 '255 '-1 '-128"), (Bytes{0, 255, 0xff, 0x80}));
    EXPECT_EQ(compiled("'007"), (Bytes{7}));
}

TEST(HexscribeDecimal, OneByteRangeWithoutCount) {
    EXPECT_EQ(failure("'256"), "line 1: number exceeds one byte (-128 to 255): \"'256\"");
    EXPECT_TRUE(fails("*256"));
    EXPECT_TRUE(fails("'-129"));
    EXPECT_TRUE(fails("u'256"));
}

TEST(HexscribeDecimal, CountOneTruncatesAnyInteger) {
    EXPECT_EQ(compiled("1'256"), (Bytes{0}));
    EXPECT_EQ(compiled("1*257"), (Bytes{1}));
    EXPECT_EQ(compiled("1'-1"), (Bytes{0xff}));
    EXPECT_EQ(compiled("1'-257"), (Bytes{0xff}));
    // Far beyond 64 bits the low byte must still come out right:
    // 10^30 + 300 ends in the byte 300 % 256.
    EXPECT_EQ(compiled("1'1000000000000000000000000000300"), (Bytes{44}));
    EXPECT_EQ(compiled("1'-99999999999999999999999"), (Bytes{0x01}));
}

TEST(HexscribeDecimal, MultiByteIntegersMostSignificantFirst) {
    EXPECT_EQ(compiled("4'6"), (Bytes{0, 0, 0, 6}));
    EXPECT_EQ(compiled("2'1"), (Bytes{0, 1}));
    EXPECT_EQ(compiled("4*44100"), (Bytes{0x00, 0x00, 0xac, 0x44}));
    EXPECT_EQ(compiled("4'44100"), (Bytes{0x00, 0x00, 0xac, 0x44}));
    EXPECT_EQ(compiled("3'500000"), (Bytes{0x07, 0xa1, 0x20}));
}

TEST(HexscribeDecimal, UWritesLeastSignificantFirstInEitherOrder) {
    EXPECT_EQ(compiled("4'453"), (Bytes{0x00, 0x00, 0x01, 0xc5}));
    EXPECT_EQ(compiled("4u'453"), (Bytes{0xc5, 0x01, 0x00, 0x00}));
    EXPECT_EQ(compiled("u4'453"), (Bytes{0xc5, 0x01, 0x00, 0x00}));
    EXPECT_EQ(compiled("2u*0"), (Bytes{0, 0}));
    EXPECT_EQ(compiled("u2'258"), (Bytes{0x02, 0x01}));
    EXPECT_EQ(compiled("u3'65536"), (Bytes{0x00, 0x00, 0x01}));
    EXPECT_EQ(compiled("u'9"), (Bytes{9}));
}

TEST(HexscribeDecimal, NegativeNumbersAreTwosComplement) {
    EXPECT_EQ(compiled("2'-1"), (Bytes{0xff, 0xff}));
    EXPECT_EQ(compiled("2'-32768"), (Bytes{0x80, 0x00}));
    EXPECT_EQ(compiled("4'-2"), (Bytes{0xff, 0xff, 0xff, 0xfe}));
    EXPECT_EQ(compiled("4'-2147483648"), (Bytes{0x80, 0x00, 0x00, 0x00}));
    EXPECT_EQ(compiled("u2'-2"), (Bytes{0xfe, 0xff}));
}

TEST(HexscribeDecimal, RangeOfEachWidth) {
    EXPECT_EQ(compiled("2'65535"), (Bytes{0xff, 0xff}));
    EXPECT_TRUE(fails("2'65536"));
    EXPECT_TRUE(fails("2'-32769"));
    EXPECT_EQ(compiled("3'16777215"), (Bytes{0xff, 0xff, 0xff}));
    EXPECT_TRUE(fails("3'16777216"));
    EXPECT_TRUE(fails("3'-1"));
    EXPECT_EQ(compiled("4'4294967295"), (Bytes{0xff, 0xff, 0xff, 0xff}));
    EXPECT_TRUE(fails("4'4294967296"));
    EXPECT_TRUE(fails("4'-2147483649"));
    EXPECT_TRUE(fails("4'99999999999999999999999999999999"));
    EXPECT_TRUE(fails("4'-9223372036854775808"));
    EXPECT_TRUE(fails("4'18446744073709551616"));
}

TEST(HexscribeDecimal, FloatingPoint) {
    EXPECT_EQ(compiled("'1.5"), (Bytes{0x3f, 0xc0, 0x00, 0x00}));
    EXPECT_EQ(compiled("4'1.5"), (Bytes{0x3f, 0xc0, 0x00, 0x00}));
    EXPECT_EQ(compiled("u'1.5"), (Bytes{0x00, 0x00, 0xc0, 0x3f}));
    EXPECT_EQ(compiled("'-0.25"), (Bytes{0xbe, 0x80, 0x00, 0x00}));
    EXPECT_EQ(compiled("8'3.1415"), (Bytes{0x40, 0x09, 0x21, 0xca, 0xc0, 0x83, 0x12, 0x6f}));
    EXPECT_EQ(compiled("8u'3.1415"), (Bytes{0x6f, 0x12, 0x83, 0xc0, 0xca, 0x21, 0x09, 0x40}));
    EXPECT_EQ(compiled("8'3"), (Bytes{0x40, 0x08, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(compiled("'.5 '1. '1.5e3"),
              (Bytes{0x3f, 0x00, 0x00, 0x00, 0x3f, 0x80, 0x00, 0x00, 0x44, 0xbb, 0x80, 0x00}));
}

TEST(HexscribeDecimal, FloatingPointErrors) {
    EXPECT_TRUE(fails("1'1.5"));
    EXPECT_TRUE(fails("2'1.5"));
    EXPECT_TRUE(fails("3'1.5"));
    EXPECT_TRUE(fails("'1.5.5"));
    EXPECT_TRUE(fails("'."));
    EXPECT_TRUE(fails("'1.0e50"));      // beyond a 4-byte float
    EXPECT_TRUE(fails("8'1.0e400"));    // beyond a double
    EXPECT_TRUE(fails("8'inf"));
    EXPECT_TRUE(fails("8'nan"));
    EXPECT_TRUE(fails("'0x1.8p0"));
}

TEST(HexscribeDecimal, BadCountsAndPrefixes) {
    EXPECT_TRUE(fails("5'1"));
    EXPECT_TRUE(fails("0'1"));
    EXPECT_TRUE(fails("8u'"));
    EXPECT_TRUE(fails("44'1"));
    EXPECT_TRUE(fails("uu'1"));
    EXPECT_TRUE(fails("4uu'1"));
    EXPECT_TRUE(fails("U4'1"));
    EXPECT_TRUE(fails("x'5"));
    EXPECT_TRUE(fails("'"));
    EXPECT_TRUE(fails("4'"));
    EXPECT_TRUE(fails("'-"));
    EXPECT_TRUE(fails("'abc"));
    EXPECT_TRUE(fails("'5'6"));
    EXPECT_TRUE(fails("'+5"));
}

TEST(HexscribeDecimal, ReasonsOfMalformedNumbers) {
    EXPECT_EQ(failure("'+5"), "line 1: not a decimal number: \"'+5\"");
    EXPECT_EQ(failure("'+1.5"), "line 1: not a decimal number: \"'+1.5\"");
    EXPECT_EQ(failure("'1e5"), "line 1: not a decimal number: \"'1e5\"");
    EXPECT_EQ(failure("8'1e400x"), "line 1: not a decimal number: \"8'1e400x\"");
    EXPECT_EQ(failure("8'1e400e"), "line 1: number out of floating-point range: \"8'1e400e\"");
    EXPECT_EQ(failure("8'1e-400"), "line 1: number out of floating-point range: \"8'1e-400\"");
    EXPECT_EQ(failure("v+5"), "line 1: variable-length value needs a decimal number after v: \"v+5\"");
    EXPECT_EQ(failure("v1e3"), "line 1: variable-length value needs a decimal number after v: \"v1e3\"");
}

TEST(HexscribeDecimal, BlankAroundMarkerSplitsTokens) {
    // "4" and "'6" are separate tokens: hex 04, then decimal 6.
    EXPECT_EQ(compiled("4 '6"), (Bytes{0x04, 0x06}));
    EXPECT_TRUE(fails("4' 6"));
}

// --- characters and variable-length values ----------------------------

TEST(HexscribeCharacter, PlusAndOneCharacter) {
    EXPECT_EQ(compiled("+M +T +h +d"), toBytes("MThd"));
    EXPECT_EQ(compiled("+; +' +* ++"), toBytes(";'*+"));
    EXPECT_TRUE(fails("+"));
    EXPECT_TRUE(fails("+ab"));
    EXPECT_TRUE(fails("+\xc3\xa9"));  // a two-byte character is not one byte
}

TEST(HexscribeVarlen, Values) {
    EXPECT_EQ(compiled("v0"), (Bytes{0x00}));
    EXPECT_EQ(compiled("v127"), (Bytes{0x7f}));
    EXPECT_EQ(compiled("v128"), (Bytes{0x81, 0x00}));
    EXPECT_EQ(compiled("v480"), (Bytes{0x83, 0x60}));
    EXPECT_EQ(compiled("v268435455"), (Bytes{0xff, 0xff, 0xff, 0x7f}));
}

TEST(HexscribeVarlen, ErrorsAndLimits) {
    EXPECT_TRUE(fails("v268435456"));
    EXPECT_TRUE(fails("v99999999999999999999999999"));
    EXPECT_TRUE(fails("v"));
    EXPECT_TRUE(fails("v-1"));
    EXPECT_TRUE(fails("vx"));
    EXPECT_TRUE(fails("v1.5"));
}

// --- comments, separators and errors -----------------------------------

TEST(HexscribeComments, RunToEndOfLine) {
    EXPECT_EQ(compiled("90 ;note on 'zz 999\n80"), (Bytes{0x90, 0x80}));
    EXPECT_EQ(compiled("01\t;tab before\n02"), (Bytes{1, 2}));
    EXPECT_EQ(compiled(";whole line\n;;\n; \n7f ;last line without newline"), (Bytes{0x7f}));
    EXPECT_EQ(compiled("01 ;old mac line end\r02"), (Bytes{1, 2}));
    EXPECT_EQ(compiled("01 ;windows\r\n02"), (Bytes{1, 2}));
    EXPECT_EQ(compiled(""), Bytes{});
    EXPECT_EQ(compiled(" \t\r\n "), Bytes{});
}

TEST(HexscribeComments, SemicolonGluedToANumberIsAnError) {
    EXPECT_EQ(failure("00\n90;x"), "line 2: a blank must precede a comment: \"90;x\"");
    EXPECT_TRUE(fails("'5;"));
    EXPECT_TRUE(fails("v1;"));
}

TEST(HexscribeErrors, LineNumbers) {
    EXPECT_EQ(failureLine("zz"), 1);
    EXPECT_EQ(failureLine("01\n02\n\nzz"), 4);
    EXPECT_EQ(failureLine("01 ; comment zz\n02 zz"), 2);
    EXPECT_EQ(failureLine("01\r\n02\r\nzz"), 3);
    EXPECT_EQ(failureLine("01\r02\rzz"), 3);
    EXPECT_EQ(failureLine("01\n\r\nzz"), 3);
}

TEST(HexscribeErrors, StopAtFirstBadToken) {
    EXPECT_EQ(failure("01 02 qq 03 rr"), "line 1: not a hexscribe number: \"qq\"");
}

TEST(HexscribeErrors, LongTokenIsTruncated) {
    std::string token(100000, 'z');
    EXPECT_EQ(failure("00 " + token), "line 1: not a hexscribe number: \"" + std::string(64, 'z') + "\"");
}

TEST(HexscribeErrors, ControlBytesAreTokenCharacters) {
    using namespace std::string_literals;
    EXPECT_EQ(failure("00 1\0"s), "line 1: not a hexscribe number: \"1\\x00\"");
    EXPECT_TRUE(fails("\x0b"));
    EXPECT_TRUE(fails("\x0c" "01"));
}

TEST(HexscribeErrors, FormattedMessageIsOnePrintableLine) {
    using namespace std::string_literals;
    EXPECT_EQ(failure("\n\n\n\n\n\n01 a\x1b\\b"), "line 7: not a hexscribe number: \"a\\x1b\\x5cb\"");
    EXPECT_EQ(failure("01 a\x7f\xff"), "line 1: not a hexscribe number: \"a\\x7f\\xff\"");
}

TEST(HexscribeRobustness, RandomBytesNeverCrashAndStayBounded) {
    std::mt19937 random(12345);
    const std::string alphabet = "0123456789abcdefABCDEF,'*+uv;-. \t\r\n";
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 64, '\0');
        for (char& c : text) {
            c = round % 2 == 0 ? static_cast<char>(random() & 0xff)
                               : alphabet[random() % alphabet.size()];
        }
        Bytes bytes;
        smf::Result result = smf::compileHexscribe(text, bytes);
        EXPECT_LE(bytes.size(), 3 * text.size());
        if (!result) {
            EXPECT_EQ(result.reason().rfind("line ", 0), 0u);
            EXPECT_EQ(result.reason().find('\n'), std::string::npos);
        }
    }
}

TEST(HexscribeRobustness, TenMegabyteSingleLine) {
    std::string text;
    text.reserve(10'000'000);
    while (text.size() + 3 <= 10'000'000) {
        text += "7f ";
    }
    auto start = std::chrono::steady_clock::now();
    Bytes bytes;
    smf::Result result = smf::compileHexscribe(text, bytes);
    auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(bytes.size(), text.size() / 3);
    EXPECT_LT(elapsed, std::chrono::seconds(20));

    // One huge comment line, then one bad token on the next line.
    std::string comment = ";" + std::string(10'000'000, 'x') + "\nzz";
    EXPECT_EQ(failureLine(comment), 2);
}

// --- listings ----------------------------------------------------------

TEST(HexscribeListing, DefaultLayout) {
    smf::Hexscribe converter;
    converter.setLineBytes(3);
    Bytes bytes{0x41, 0x42, 0x00, 0x20, 0x7f};
    EXPECT_EQ(listing(converter, bytes),
              " 41 42 00 \n"
              ";A  B\n"
              "\n"
              " 20 7f \n"
              ";\n"
              "\n");
}

TEST(HexscribeListing, DefaultTwentyFiveBytesToALine) {
    smf::Hexscribe converter;
    Bytes bytes(26, 0x2e);
    std::string expected;
    for (int i = 0; i < 25; ++i) {
        expected += " 2e";
    }
    expected += " \n;";
    for (int i = 0; i < 25; ++i) {
        expected += i == 0 ? "." : "  .";
    }
    expected += "\n\n 2e \n;.\n\n";
    EXPECT_EQ(listing(converter, bytes), expected);
}

TEST(HexscribeListing, BytesOnlyLayout) {
    smf::Hexscribe converter;
    converter.setBytes(1);
    converter.setLineBytes(3);
    EXPECT_EQ(listing(converter, Bytes{0x41, 0x42, 0x00, 0x20, 0x7f}), " 41 42 00 \n 20 7f \n");
}

TEST(HexscribeListing, EmptyInputListsNothing) {
    smf::Hexscribe converter;
    EXPECT_EQ(listing(converter, Bytes{}), "");
    converter.setBytes(1);
    EXPECT_EQ(listing(converter, Bytes{}), "");
    EXPECT_EQ(asciiListing(Bytes{}), "");
}

TEST(HexscribeListing, CharacterLinesHoldOnlyPrintableAscii) {
    smf::Hexscribe converter;
    std::string text = listing(converter, allByteValues());
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] == ';') {
            for (char c : line) {
                auto byte = static_cast<unsigned char>(c);
                EXPECT_TRUE(byte == ' ' || (byte >= 0x21 && byte <= 0x7e)) << int(byte);
            }
            EXPECT_NE(line.back(), ' ');
        }
    }
}

TEST(HexscribeListing, BothListingsCompileBackForAllByteValues) {
    const Bytes bytes = allByteValues();
    for (int bytesOnly : {0, 1}) {
        for (int perLine : {1, 2, 7, 25, 256, 1000}) {
            smf::Hexscribe converter;
            converter.setBytes(bytesOnly);
            converter.setLineBytes(perLine);
            EXPECT_EQ(compiled(listing(converter, bytes)), bytes)
                << "bytesOnly " << bytesOnly << " per line " << perLine;
        }
    }
}

TEST(HexscribeListing, LargeRandomFileRoundTrip) {
    std::mt19937 random(99);
    Bytes bytes(2'000'000);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    smf::Hexscribe converter;
    std::string text = listing(converter, bytes);
    EXPECT_EQ(compiled(text), bytes);
}

TEST(HexscribeListing, LineBytesBelowOneMeansOne) {
    smf::Hexscribe converter;
    converter.setBytes(1);
    converter.setLineBytes(0);
    EXPECT_EQ(listing(converter, Bytes{1, 2}), " 01 \n 02 \n");
}

TEST(HexscribeAsciiListing, RunsOfUnprintableBytesBecomeOneBlank) {
    EXPECT_EQ(asciiListing(toBytes("\x7f" "ELF\x02\x01\x01  \t\nabc\x00")), "ELF abc\n");
    EXPECT_EQ(asciiListing(toBytes("a b")), "a b\n");
    EXPECT_EQ(asciiListing(toBytes("\x00\x01 \xff")), "");
}

TEST(HexscribeAsciiListing, WrapsAtLineLength) {
    EXPECT_EQ(asciiListing(toBytes("abcdefghij"), 5), "abcde\nfghij\n");
    EXPECT_EQ(asciiListing(toBytes("abcdefghijk"), 5), "abcde\nfghij\nk\n");
    // A run falling at the wrap becomes the line break, never a trailing
    // or leading blank.
    EXPECT_EQ(asciiListing(toBytes("abcd efg"), 5), "abcd\nefg\n");
    EXPECT_EQ(asciiListing(toBytes("abcde fg"), 5), "abcde\nfg\n");
    EXPECT_EQ(asciiListing(toBytes("abc de"), 5), "abc d\ne\n");
    EXPECT_EQ(asciiListing(toBytes("a b c"), 1), "a\nb\nc\n");
}

// --- files -------------------------------------------------------------

TEST(HexscribeFiles, ReadFromBinaryListsTheFile) {
    ScratchFile input("input.bin");
    input.write(std::string("\x00\x01MThd", 6));
    smf::Hexscribe converter;
    std::ostringstream out;
    EXPECT_TRUE(converter.readFromBinary(out, input.name()));
    EXPECT_EQ(out.str(), " 00 01 4d 54 68 64 \n;      M  T  h  d\n\n");
}

TEST(HexscribeFiles, ReadFromBinaryOfMissingFileIsFalse) {
    ScratchFile missing("missing.bin");
    smf::Hexscribe converter;
    std::ostringstream out;
    EXPECT_FALSE(converter.readFromBinary(out, missing.name()));
    EXPECT_EQ(out.str(), "");
}

TEST(HexscribeFiles, ListingCompilesBackThroughFiles) {
    ScratchFile original("original.bin");
    ScratchFile text("listing.txt");
    ScratchFile copy("copy.bin");
    Bytes bytes = allByteValues();
    original.write(std::string(bytes.begin(), bytes.end()));
    smf::Hexscribe converter;
    std::ostringstream out;
    ASSERT_TRUE(converter.readFromBinary(out, original.name()));
    text.write(out.str());
    EXPECT_TRUE(converter.writePacksmf(copy.name(), text.name()));
    EXPECT_EQ(copy.read(), original.read());
}

TEST(HexscribeFiles, EmptyTextCompilesToEmptyFile) {
    ScratchFile text("empty.txt");
    ScratchFile output("empty.bin");
    text.write("");
    smf::Hexscribe converter;
    EXPECT_TRUE(converter.writePacksmf(output.name(), text.name()));
    EXPECT_TRUE(output.exists());
    EXPECT_EQ(output.read(), "");
}

TEST(HexscribeFiles, CompileErrorLeavesNoOutputFile) {
    ScratchFile text("bad.txt");
    ScratchFile output("bad.bin");
    text.write("+R +I +F +F\n4u'36\n'999\n");
    smf::Hexscribe converter;
    smf::Result result = converter.writePacksmf(output.name(), text.name());
    EXPECT_EQ(result.reason(), text.name() + ": line 3: number exceeds one byte (-128 to 255): \"'999\"");
    EXPECT_FALSE(output.exists());
}

TEST(HexscribeFiles, CompileErrorLeavesAnExistingOutputAlone) {
    ScratchFile text("bad.txt");
    ScratchFile output("kept.bin");
    text.write("zz");
    output.write("earlier");
    smf::Hexscribe converter;
    EXPECT_FALSE(converter.writePacksmf(output.name(), text.name()));
    EXPECT_EQ(output.read(), "earlier");
}

TEST(HexscribeFiles, UnreadableInputLeavesNoOutputFile) {
    ScratchFile missing("missing.txt");
    ScratchFile output("never.bin");
    smf::Hexscribe converter;
    smf::Result result = converter.writePacksmf(output.name(), missing.name());
    EXPECT_EQ(result.reason(), "could not read file " + missing.name());
    EXPECT_FALSE(output.exists());
}

TEST(HexscribeFiles, UnwritableOutputIsReported) {
    ScratchFile text("good.txt");
    text.write("01 02");
    smf::Hexscribe converter;
    smf::Result result = converter.writePacksmf(text.name() + ".no/such/dir/out.bin", text.name());
    EXPECT_EQ(result.reason(), "could not write file " + text.name() + ".no/such/dir/out.bin");
}

TEST(HexscribeFiles, HandWrittenSoundHeader) {
    ScratchFile text("snd.txt");
    ScratchFile output("snd.bin");
    text.write(
        "+. +s +n +d      ; magic number (characters .snd)\n"
        "4*28             ; data offset\n"
        "4*10             ; data size\n"
        "4*3 4*8000 4*1   ; 16-bit linear, 8000 Hz, mono\n"
        "2u*0 2u*0 2u*0 2u*0 2u*0\n");
    smf::Hexscribe converter;
    ASSERT_TRUE(converter.writePacksmf(output.name(), text.name()));
    std::string expected(".snd", 4);
    expected += std::string("\0\0\0\x1c\0\0\0\x0a\0\0\0\x03\0\0\x1f\x40\0\0\0\x01", 20);
    expected += std::string(10, '\0');
    EXPECT_EQ(output.read(), expected);
}

}  // namespace
