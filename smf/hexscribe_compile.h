// Compiling hexscribe text, the suite's commented hexadecimal notation for
// bytes, into the bytes it describes. Independent of MIDI.
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
#include <span>
#include <string_view>
#include <vector>

#include "smf/result.h"

namespace smf {

// Which line of the text each compiled byte came from, so that a message
// about the bytes can point into the text.
class HexscribeLineMap {
public:
    // The line of the byte at offset (0 before the first compiled byte).
    int lineOf(std::uint64_t offset) const;
    // Records that the bytes from offset on come from line.
    void note(std::uint64_t offset, int line);

private:
    struct Start {
        std::uint64_t offset;
        int line;
    };
    std::vector<Start> m_starts;
};

// Compiles hexscribe text into bytes (replacing their contents). Runs in
// linear time; never allocates more than a small multiple of the text's
// size (a token of n characters yields at most 8 bytes and n >= 3 for
// that). A failure's reason is one printable line: "line 3: <reason>:
// \"<token>\"", bytes of the token outside printable ASCII written as \xNN
// so that a binary token cannot garble a terminal or split the message.
// With lines, also records the line of every byte.
Result compileHexscribe(std::string_view text, std::vector<std::uint8_t>& bytes,
                        HexscribeLineMap* lines = nullptr);

}  // namespace smf
