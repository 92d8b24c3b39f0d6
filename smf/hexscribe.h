// Hexscribe: the suite's commented hexadecimal text notation for bytes.
//
// This header holds the notation itself, independent of MIDI: compiling
// hexscribe text into bytes, and listing arbitrary bytes as hexscribe text.
// (MIDI files are written as hexscribe text by smf/tunefolio.h.)
//
// Compile rules, token by token (tokens are separated by blanks, tabs, CR
// and LF; a line ends at LF, CR LF or a lone CR):
//   ;comment     a token starting with ";" comments out the rest of the line;
//                a ";" inside a token ("90;x") is an error, since a comment
//                after a number needs a blank before it
//   7f, e, E     one or two hexadecimal digits, either case: one byte
//   0100,0001    binary: only 0/1 digits, and either more than three
//                characters or a comma; at most 8 digits; a comma splits two
//                halves of at most 4 digits each (high and low nibble: "1,1"
//                is 17) and may not start or end the number. "10" is hex, and
//                a three-digit token such as "101" is neither (an error)
//   '60, *60     decimal after an apostrophe (or "*"): one byte, -128..255;
//                with a period: a 4-byte float
//   4'6, 2u'1    a byte count (1-4 for integers, 4 or 8 for floating point)
//                and/or "u" in either order before the marker; "u" writes the
//                least significant byte first, otherwise the most significant
//                comes first. Count 1 truncates any integer to one byte;
//                counts 2 and 4 take the signed and unsigned ranges of their
//                width; 3 bytes are positive only; count 8 is always a double.
//                Negative numbers are written in two's complement
//   +c           the byte of the character c (exactly two characters)
//   v480         a MIDI variable-length value, 0..0x0FFFFFFF
// Anything else stops compiling with the line, the token and a reason.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace smf {

// Where and why compiling stopped.
struct HexscribeError {
    int line = 0;          // 1-based line number of the bad token
    std::string token;     // the token as written (truncated to 64 characters)
    std::string reason;    // short explanation, e.g. "not a hexadecimal byte"
};

// The error as one printable line: "line 3: <reason>: \"<token>\"", with
// bytes of the token outside printable ASCII written as \xNN so that a
// binary token cannot garble a terminal or split the message.
std::string formatHexscribeError(const HexscribeError& error);

struct HexscribeResult {
    std::vector<std::uint8_t> bytes;
    std::optional<HexscribeError> error;
    bool ok() const { return !error; }
};

// Compiles hexscribe text into bytes. Runs in linear time; never allocates
// more than a small multiple of the text's size (a token of n characters
// yields at most 8 bytes and n >= 3 for that).
HexscribeResult compileHexscribe(std::string_view text);

// Appends the MIDI variable-length encoding of value (at most 0x0FFFFFFF
// fits in four bytes; larger values take five).
void appendVarlen(std::vector<std::uint8_t>& out, std::uint32_t value);
int varlenSize(std::uint32_t value);

// Lists bytes as hexscribe text, and compiles hexscribe text files.
//
// The default listing is made of line pairs: a line of byte codes (each a
// blank and two lower-case hex digits, a trailing blank at the end), then a
// comment line starting ";" with each printable character (0x21..0x7e)
// under the first digit of its code, then an empty line. With setBytes(1)
// only the code lines are written. Both compile back to the listed bytes.
class Hexscribe {
public:
    Hexscribe() = default;

    // 1: list only the byte codes (no character lines); 0: codes and characters.
    void setBytes(int bytesOnly) { m_bytesOnly = bytesOnly != 0; }
    // Number of byte codes on a line of the listing (at least 1).
    void setLineBytes(int count) { m_lineBytes = count < 1 ? 1 : count; }
    // Line length of the character-only listing (at least 1).
    void setLineLength(int length) { m_lineLength = length < 1 ? 1 : length; }

    // Writes the listing of the named file; false if it cannot be read (or
    // the listing could not be written to out).
    bool readFromBinary(std::ostream& out, const std::string& inputName) const;
    // The listing of bytes already in memory.
    void writeListing(std::ostream& out, std::span<const std::uint8_t> bytes) const;
    // The character-only listing: printable characters, each run of
    // unprintable bytes and blanks as one blank, lines wrapped at the line
    // length. Lines carry no leading or trailing blanks (a line break stands
    // for the blank where a run falls at a wrap). It does not compile back.
    void writeAsciiListing(std::ostream& out, std::span<const std::uint8_t> bytes) const;

    // Compiles the hexscribe text of inputName and writes the bytes to
    // outputName. When the input cannot be read or does not compile, the
    // output name is not touched (no file is created; an existing one is
    // left as it was). A failed write removes the half-written file.
    // The result says what went wrong.
    struct FileResult {
        bool ok = false;
        bool inputUnreadable = false;
        bool outputUnwritable = false;
        std::optional<HexscribeError> error;
    };
    FileResult writePacksmf(const std::string& outputName, const std::string& inputName) const;

private:
    bool m_bytesOnly = false;
    int m_lineBytes = 25;
    int m_lineLength = 75;
};

}  // namespace smf
