// Text output: number formatting as free functions, and TextBuffer, which
// gathers text in blocks and either hands each full block to a stream or
// keeps them all in memory.
//
// Listings of millions of events and SVG drawings of hundreds of megabytes
// go through here, so the common calls are inline, numbers are formatted
// with std::to_chars (doubles through a measured fast path for "%g"), and
// a whole line can be written in place with a single room check.
#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace smf {

// Room that any integer or "%g" number fits in.
inline constexpr std::size_t kNumberRoom = 32;

// "%g" of value (six significant digits, no trailing zeros, exponent form
// for very large or small values) written at first; the room up to last
// must hold kNumberRoom characters. Returns the end of what was written.
char* toCharsGeneral(char* first, char* last, double value);

// The lower-case hexadecimal digit of a value from 0 to 15.
constexpr char hexDigit(unsigned value) {
    return "0123456789abcdef"[value & 0x0F];
}

// The two digits of every byte value side by side: one load per byte in
// listings of millions of bytes.
inline constexpr std::array<char, 512> kHexPairs = [] {
    std::array<char, 512> pairs{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        pairs[2 * byte] = hexDigit(byte >> 4);
        pairs[2 * byte + 1] = hexDigit(byte);
    }
    return pairs;
}();

// The two lower-case hexadecimal digits of a byte written at out; returns
// the end.
inline char* toCharsHex2(char* out, std::uint8_t byte) {
    std::memcpy(out, &kHexPairs[2 * std::size_t{byte}], 2);
    return out + 2;
}

// std::to_chars for an unsigned value, with the values below 1000 that
// most delta times are written at once. The room must hold 10 digits.
inline char* toCharsUnsigned(char* out, char* last, std::uint32_t value) {
    if (value < 10) {
        *out = static_cast<char>('0' + value);
        return out + 1;
    }
    if (value < 100) {
        out[0] = static_cast<char>('0' + value / 10);
        out[1] = static_cast<char>('0' + value % 10);
        return out + 2;
    }
    if (value < 1000) {
        out[0] = static_cast<char>('0' + value / 100);
        out[1] = static_cast<char>('0' + value / 10 % 10);
        out[2] = static_cast<char>('0' + value % 10);
        return out + 3;
    }
    return std::to_chars(out, last, value).ptr;
}

std::string formatDouble(double value);            // "%g"
std::string formatFixed(double value, int digits);  // "%.<digits>f"

class TextBuffer {
public:
    static constexpr std::size_t kStreamBlockSize = std::size_t{1} << 16;
    static constexpr std::size_t kKeptBlockSize = std::size_t{1} << 20;

    // Hands each full block to the stream, and what is left to it on flush()
    // and on destruction.
    explicit TextBuffer(std::ostream& output, std::size_t blockSize = kStreamBlockSize);
    // Keeps every block: the text stays in memory, is never copied or moved
    // while it grows, and is read with size(), str() and writeTo().
    explicit TextBuffer(std::size_t blockSize = kKeptBlockSize);
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    TextBuffer& put(std::string_view text) {
        if (text.size() > room()) {
            return putAcross(text);
        }
        std::memcpy(m_end, text.data(), text.size());
        m_end += text.size();
        return *this;
    }
    TextBuffer& put(char c) {
        if (m_end == m_limit) {
            nextBlock();
        }
        *m_end++ = c;
        return *this;
    }
    TextBuffer& putInt(long long value) {
        if (room() < kNumberRoom) {
            return putIntAside(value);
        }
        m_end = std::to_chars(m_end, m_limit, value).ptr;
        return *this;
    }
    // As printf "%g".
    TextBuffer& putDouble(double value) {
        if (room() < kNumberRoom) {
            return putDoubleAside(value);
        }
        m_end = toCharsGeneral(m_end, m_limit, value);
        return *this;
    }
    // As printf "%.<digits>f".
    TextBuffer& putFixed(double value, int digits) { return put(formatFixed(value, digits)); }
    TextBuffer& putHex2(std::uint8_t byte) {
        if (room() < 2) {
            const char digits[2] = {hexDigit(byte >> 4), hexDigit(byte)};
            return put(std::string_view(digits, 2));
        }
        m_end = toCharsHex2(m_end, byte);
        return *this;
    }
    // The text, then blanks up to width characters.
    TextBuffer& putPadded(std::string_view text, std::size_t width);

    // A piece of at most `size` characters written in place with the free
    // functions above (or std::to_chars), then ended with commit(end): one
    // room check for a whole line instead of one per field.
    char* claim(std::size_t size) {
        if (size > room()) {
            return claimAside(size);
        }
        m_claimedAside = false;
        return m_end;
    }
    void commit(char* end) {
        if (m_claimedAside) {
            commitAside(end);
            return;
        }
        m_end = end;
    }

    TextBuffer& operator<<(std::string_view text) { return put(text); }
    TextBuffer& operator<<(const char* text) { return put(std::string_view(text)); }
    TextBuffer& operator<<(const std::string& text) { return put(std::string_view(text)); }
    TextBuffer& operator<<(char c) { return put(c); }
    TextBuffer& operator<<(int value) { return putInt(value); }
    TextBuffer& operator<<(long value) { return putInt(value); }
    TextBuffer& operator<<(long long value) { return putInt(value); }
    TextBuffer& operator<<(unsigned value) { return putInt(value); }
    TextBuffer& operator<<(double value) { return putDouble(value); }

    // Streaming: hands the gathered text to the stream; false if the stream
    // failed. Keeping: only tells whether nothing went wrong.
    bool flush();
    // flush(), then flushes the stream itself.
    bool flushStream();

    // Keeping only: the characters held, and a copy of those already held
    // between two earlier sizes, appended (the source stays valid: blocks
    // never move).
    std::size_t size() const;
    void putCopy(std::size_t from, std::size_t to);
    // Keeping only: every block in order to the stream, or as one string.
    void writeTo(std::ostream& output) const;
    std::string str() const;

private:
    std::size_t room() const { return static_cast<std::size_t>(m_limit - m_end); }
    // A full block: streaming writes it out, keeping starts another. So
    // that offsets stay simple, every kept block but the last is full, and
    // what does not fit at a block's end is formatted aside and split.
    void nextBlock();
    TextBuffer& putAcross(std::string_view text);
    TextBuffer& putIntAside(long long value);
    TextBuffer& putDoubleAside(double value);
    char* claimAside(std::size_t size);
    void commitAside(const char* end);
    std::size_t used(std::size_t block) const;

    std::ostream* m_output;  // null when keeping
    std::size_t m_blockSize;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_end;    // where the next character goes
    char* m_limit;  // the end of the current block
    std::vector<char> m_aside;  // a claimed piece that did not fit
    bool m_claimedAside = false;
};

}  // namespace smf
