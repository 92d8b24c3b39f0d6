// TextLine: one line of a listing, built in a fixed buffer on the stack and
// handed to a TextBuffer at once.
//
// A listing of millions of events costs one call per line instead of one
// per field. Numbers are formatted as TextBuffer formats them (integers by
// std::to_chars, doubles as printf "%g" by toCharsGeneral). What does not
// fit is left out rather than written beyond the buffer: size the line for
// its longest content.
#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "smf/text_buffer.h"

namespace smf {

template <std::size_t Capacity>
class TextLine {
public:
    TextLine() = default;
    TextLine(const TextLine&) = delete;
    TextLine& operator=(const TextLine&) = delete;

    // Characters still free.
    std::size_t room() const { return static_cast<std::size_t>(limit() - m_end); }

    TextLine& put(char c) {
        if (m_end < limit()) {
            *m_end++ = c;
        }
        return *this;
    }
    TextLine& put(std::string_view text) {
        if (text.size() <= room()) {
            for (char c : text) {
                *m_end++ = c;
            }
        }
        return *this;
    }
    TextLine& putInt(long long value) {
        const auto result = std::to_chars(m_end, limit(), value);
        if (result.ec == std::errc()) {
            m_end = result.ptr;
        }
        return *this;
    }
    // As printf "%g": six significant digits, no trailing zeros.
    TextLine& putDouble(double value) {
        if (room() >= kGeneralRoom) {
            m_end = toCharsGeneral(m_end, limit(), value);
            return *this;
        }
        char digits[kGeneralRoom];
        char* end = toCharsGeneral(digits, digits + kGeneralRoom, value);
        return put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    }
    // Two lower-case hexadecimal digits.
    TextLine& putHex2(std::uint8_t byte) {
        constexpr char kDigits[] = "0123456789abcdef";
        if (room() >= 2) {
            *m_end++ = kDigits[byte >> 4];
            *m_end++ = kDigits[byte & 0x0F];
        }
        return *this;
    }

    std::string_view text() const {
        return {m_text.data(), static_cast<std::size_t>(m_end - m_text.data())};
    }
    void clear() { m_end = m_text.data(); }

private:
    // What toCharsGeneral needs free to write any double.
    static constexpr std::size_t kGeneralRoom = 32;

    char* limit() { return m_text.data() + Capacity; }
    const char* limit() const { return m_text.data() + Capacity; }

    std::array<char, Capacity> m_text;
    char* m_end = m_text.data();
};

}  // namespace smf
