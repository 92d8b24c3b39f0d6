// SvgText: the SVG document's text, gathered in memory.
//
// The drawing body must be complete before the first byte is written, and
// for a large file it runs to hundreds of megabytes. Text goes straight into
// fixed-size blocks: it is never copied or reallocated while it grows, costs
// little more than its own size, and short pieces are appended inline.
// Numbers are formatted with std::to_chars.
#pragma once

#include <charconv>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "smf/text_buffer.h"

namespace notegraph {

class SvgText {
public:
    static constexpr std::size_t kBlockSize = 1 << 20;

    SvgText& put(std::string_view text) {
        if (text.size() <= room()) {
            std::memcpy(m_cursor, text.data(), text.size());
            m_cursor += text.size();
        } else {
            putAcrossBlocks(text);
        }
        return *this;
    }
    SvgText& put(char c) {
        if (m_cursor == m_end) {
            addBlock();
        }
        *m_cursor++ = c;
        return *this;
    }
    SvgText& putInt(long long value) {
        if (room() < kNumberRoom) {
            return putIntAcrossBlocks(value);
        }
        m_cursor = std::to_chars(m_cursor, m_end, value).ptr;
        return *this;
    }
    // As printf "%g": six significant digits, no trailing zeros.
    SvgText& putDouble(double value) {
        if (room() < kNumberRoom) {
            return putDoubleAcrossBlocks(value);
        }
        m_cursor = smf::toCharsGeneral(m_cursor, m_end, value);
        return *this;
    }
    // As printf "%.<digits>f".
    SvgText& putFixed(double value, int digits);

    // Appends a copy of the text already held between two offsets (as
    // size() returned them earlier).
    void putCopy(std::size_t from, std::size_t to);

    std::size_t size() const;
    // Hands every block, in order, to the stream.
    void writeTo(std::ostream& output) const;
    // The whole text as one string (for tests and small documents).
    std::string str() const;

private:
    // Enough for any integer or "%g" number.
    static constexpr std::size_t kNumberRoom = 32;

    std::size_t room() const { return static_cast<std::size_t>(m_end - m_cursor); }
    // Near a block's end a number is formatted aside and may straddle two
    // blocks: every block but the last stays full.
    SvgText& putIntAcrossBlocks(long long value);
    SvgText& putDoubleAcrossBlocks(double value);
    void addBlock();
    void putAcrossBlocks(std::string_view text);

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_cursor = nullptr;
    char* m_end = nullptr;
};

}  // namespace notegraph
