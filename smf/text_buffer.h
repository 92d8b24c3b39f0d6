// TextBuffer: fast text output to a stream.
//
// Text is gathered in memory and handed to the stream in large blocks, with
// numbers formatted by std::to_chars; listing millions of events stays cheap.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace smf {

// "%g" of value written at first; the room up to last must hold at least 32
// characters. Returns the end of what was written. For lines built in a
// local buffer and handed to a TextBuffer at once.
char* toCharsGeneral(char* first, char* last, double value);

class TextBuffer {
public:
    explicit TextBuffer(std::ostream& output, std::size_t blockSize = 1 << 16);
    // Flushes what is left.
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    // The common calls are inline: a listing makes several per event.
    TextBuffer& put(std::string_view text) {
        if (text.size() > static_cast<std::size_t>(m_limit - m_end)) {
            return putLong(text);
        }
        std::memcpy(m_end, text.data(), text.size());
        m_end += text.size();
        return *this;
    }
    TextBuffer& put(char c) {
        makeRoom(1);
        *m_end++ = c;
        return *this;
    }
    TextBuffer& putInt(long long value) {
        makeRoom(kNumberRoom);
        m_end = std::to_chars(m_end, m_limit, value).ptr;
        return *this;
    }
    // As printf "%g": six significant digits, no trailing zeros.
    TextBuffer& putDouble(double value) {
        makeRoom(kNumberRoom);
        m_end = toCharsGeneral(m_end, m_limit, value);
        return *this;
    }
    // As printf "%.<digits>f".
    TextBuffer& putFixed(double value, int digits);
    // Two lower-case hexadecimal digits.
    TextBuffer& putHex2(std::uint8_t byte) {
        constexpr char kDigits[] = "0123456789abcdef";
        makeRoom(2);
        *m_end++ = kDigits[byte >> 4];
        *m_end++ = kDigits[byte & 0x0F];
        return *this;
    }
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
    // Room that any number, integer or "%g", fits in.
    static constexpr std::ptrdiff_t kNumberRoom = 32;

    void makeRoom(std::ptrdiff_t bytes) {
        if (m_limit - m_end < bytes) {
            flush();
        }
    }
    TextBuffer& putLong(std::string_view text);

    std::ostream& m_output;
    std::unique_ptr<char[]> m_block;
    char* m_end;    // where the next character goes
    char* m_limit;  // the end of the block
};

// Number formatting shared by the writers and the tools.
std::string formatDouble(double value);            // "%g"
std::string formatFixed(double value, int digits);  // "%.<digits>f"

}  // namespace smf
