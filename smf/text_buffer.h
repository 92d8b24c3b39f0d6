// TextBuffer: fast text output to a stream.
//
// Text is gathered in memory and handed to the stream in large blocks, with
// numbers formatted by std::to_chars; listing millions of events stays cheap.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace smf {

class TextBuffer {
public:
    explicit TextBuffer(std::ostream& output, std::size_t blockSize = 1 << 16);
    // Flushes what is left.
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    TextBuffer& put(std::string_view text);
    TextBuffer& put(char c);
    TextBuffer& putInt(long long value);
    // As printf "%g": six significant digits, no trailing zeros.
    TextBuffer& putDouble(double value);
    // As printf "%.<digits>f".
    TextBuffer& putFixed(double value, int digits);
    // Two lower-case hexadecimal digits.
    TextBuffer& putHex2(std::uint8_t byte);
    // The text, then blanks up to width characters.
    TextBuffer& putPadded(std::string_view text, std::size_t width);

    TextBuffer& operator<<(std::string_view text) { return put(text); }
    TextBuffer& operator<<(const char* text) { return put(std::string_view(text)); }
    TextBuffer& operator<<(const std::string& text) { return put(std::string_view(text)); }
    TextBuffer& operator<<(char c) { return put(c); }
    TextBuffer& operator<<(int value) { return putInt(value); }
    TextBuffer& operator<<(long value) { return putInt(value); }
    TextBuffer& operator<<(long long value) { return putInt(value); }
    TextBuffer& operator<<(unsigned value) { return putInt(value); }
    TextBuffer& operator<<(double value) { return putDouble(value); }

    // Hands the gathered text to the stream; false if the stream failed.
    bool flush();
    // Flushes and also flushes the stream itself.
    bool flushStream();

private:
    void reserveRoom(std::size_t bytes);

    std::ostream& m_output;
    std::size_t m_blockSize;
    std::string m_text;
};

// Number formatting shared by the writers and the tools.
std::string formatDouble(double value);            // "%g"
std::string formatFixed(double value, int digits);  // "%.<digits>f"
// "%g" of value written at first; the room up to last must hold at least 32
// characters. Returns the end of what was written. For lines built in a
// local buffer and handed to a TextBuffer at once.
char* toCharsGeneral(char* first, char* last, double value);

}  // namespace smf
