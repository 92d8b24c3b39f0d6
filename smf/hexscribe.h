// Hexscribe: the converter between any bytes and hexscribe text, the suite's
// commented hexadecimal notation (compiling rules: smf/hexscribe_compile.h;
// MIDI files as hexscribe text: smf/midi_text.h).
//
// The default listing is made of line pairs: a line of byte codes (each a
// blank and two lower-case hex digits, a trailing blank at the end), then a
// comment line starting ";" with each printable character (0x21..0x7e)
// under the first digit of its code, then an empty line. With setBytes(1)
// only the code lines are written. Both compile back to the listed bytes.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

#include "smf/hexscribe_compile.h"
#include "smf/result.h"

namespace smf {

class Hexscribe {
public:
    Hexscribe() = default;

    // 1: list only the byte codes (no character lines); 0: codes and characters.
    void setBytes(int bytesOnly) { m_bytesOnly = bytesOnly != 0; }
    // Number of byte codes on a line of the listing (at least 1).
    void setLineBytes(int count) { m_lineBytes = count < 1 ? 1 : count; }
    // Line length of the character-only listing (at least 1).
    void setLineLength(int length) { m_lineLength = length < 1 ? 1 : length; }

    // ---- listing (smf/hexscribe_listing.cpp) ----
    // Writes the listing of the named file; fails if it cannot be read (or
    // the listing could not be written to out).
    Result readFromBinary(std::ostream& out, const std::string& inputName) const;
    // The listing of bytes already in memory.
    void writeListing(std::ostream& out, std::span<const std::uint8_t> bytes) const;
    // The character-only listing: printable characters, each run of
    // unprintable bytes and blanks as one blank, lines wrapped at the line
    // length. Lines carry no leading or trailing blanks (a line break stands
    // for the blank where a run falls at a wrap). It does not compile back.
    void writeAsciiListing(std::ostream& out, std::span<const std::uint8_t> bytes) const;

    // ---- compiling (smf/hexscribe_compile.cpp) ----
    // Compiles the hexscribe text of inputName and writes the bytes to
    // outputName. When the input cannot be read or does not compile, the
    // output name is not touched (no file is created; an existing one is
    // left as it was). A failed write removes the half-written file. The
    // reason of a failure is a whole phrase naming the file: "could not read
    // file NAME", "NAME: line 3: ..." or "could not write file NAME".
    Result writePacksmf(const std::string& outputName, const std::string& inputName) const;

private:
    bool m_bytesOnly = false;
    int m_lineBytes = 25;
    int m_lineLength = 75;
};

}  // namespace smf
