#include "smf/text_buffer.h"

#include <charconv>
#include <ostream>

namespace smf {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// Writes into buffer (at least 64 bytes); returns the end.
char* formatGeneral(char* first, char* last, double value) {
    return std::to_chars(first, last, value, std::chars_format::general, 6).ptr;
}

char* formatFixedInto(char* first, char* last, double value, int digits) {
    auto result = std::to_chars(first, last, value, std::chars_format::fixed, digits);
    return result.ec == std::errc() ? result.ptr : first;
}

}  // namespace

TextBuffer::TextBuffer(std::ostream& output, std::size_t blockSize)
    : m_output(output), m_blockSize(blockSize) {
    m_text.reserve(blockSize + 512);
}

TextBuffer::~TextBuffer() {
    flush();
}

void TextBuffer::reserveRoom(std::size_t bytes) {
    if (m_text.size() + bytes > m_blockSize) {
        flush();
    }
}

TextBuffer& TextBuffer::put(std::string_view text) {
    reserveRoom(text.size());
    m_text.append(text);
    return *this;
}

TextBuffer& TextBuffer::put(char c) {
    reserveRoom(1);
    m_text.push_back(c);
    return *this;
}

TextBuffer& TextBuffer::putInt(long long value) {
    char digits[24];
    char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

TextBuffer& TextBuffer::putDouble(double value) {
    char digits[64];
    char* end = formatGeneral(digits, digits + sizeof digits, value);
    return put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

TextBuffer& TextBuffer::putFixed(double value, int digits) {
    return put(formatFixed(value, digits));
}

TextBuffer& TextBuffer::putHex2(std::uint8_t byte) {
    reserveRoom(2);
    m_text.push_back(kHexDigits[byte >> 4]);
    m_text.push_back(kHexDigits[byte & 0x0F]);
    return *this;
}

TextBuffer& TextBuffer::putPadded(std::string_view text, std::size_t width) {
    put(text);
    for (std::size_t n = text.size(); n < width; ++n) {
        put(' ');
    }
    return *this;
}

bool TextBuffer::flush() {
    if (!m_text.empty()) {
        m_output.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
        m_text.clear();
    }
    return static_cast<bool>(m_output);
}

bool TextBuffer::flushStream() {
    flush();
    m_output.flush();
    return static_cast<bool>(m_output);
}

std::string formatDouble(double value) {
    char digits[64];
    char* end = formatGeneral(digits, digits + sizeof digits, value);
    return std::string(digits, end);
}

std::string formatFixed(double value, int digits) {
    // Fixed notation of a huge value can be long; size the buffer for it.
    std::string text(400 + static_cast<std::size_t>(digits < 0 ? 0 : digits), '\0');
    char* end = formatFixedInto(text.data(), text.data() + text.size(), value, digits < 0 ? 0 : digits);
    text.resize(static_cast<std::size_t>(end - text.data()));
    return text;
}

}  // namespace smf
