#include "svg_text.h"

#include <algorithm>

#include "smf/text_buffer.h"

namespace notegraph {

SvgText& SvgText::putFixed(double value, int digits) {
    return put(smf::formatFixed(value, digits));
}

void SvgText::addBlock() {
    m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    m_cursor = m_blocks.back().get();
    m_end = m_cursor + kBlockSize;
}

void SvgText::putAcrossBlocks(std::string_view text) {
    while (!text.empty()) {
        if (m_cursor == m_end) {
            addBlock();
        }
        const std::size_t piece = std::min(text.size(), room());
        std::memcpy(m_cursor, text.data(), piece);
        m_cursor += piece;
        text.remove_prefix(piece);
    }
}

SvgText& SvgText::putIntAcrossBlocks(long long value) {
    char digits[kNumberRoom];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

SvgText& SvgText::putDoubleAcrossBlocks(double value) {
    char digits[kNumberRoom];
    const char* end = smf::toCharsGeneral(digits, digits + sizeof digits, value);
    return put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void SvgText::putCopy(std::size_t from, std::size_t to) {
    to = std::min(to, size());
    while (from < to) {
        // Blocks never move, so the source stays valid while put() adds blocks.
        const char* source = m_blocks[from / kBlockSize].get() + from % kBlockSize;
        const std::size_t piece = std::min(to - from, kBlockSize - from % kBlockSize);
        put(std::string_view(source, piece));
        from += piece;
    }
}

std::size_t SvgText::size() const {
    if (m_blocks.empty()) {
        return 0;
    }
    // Every block but the last is full.
    return (m_blocks.size() - 1) * kBlockSize + static_cast<std::size_t>(m_cursor - m_blocks.back().get());
}

void SvgText::writeTo(std::ostream& output) const {
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        const bool last = i + 1 == m_blocks.size();
        const std::size_t used = last ? static_cast<std::size_t>(m_cursor - m_blocks[i].get()) : kBlockSize;
        output.write(m_blocks[i].get(), static_cast<std::streamsize>(used));
    }
}

std::string SvgText::str() const {
    std::string text;
    text.reserve(size());
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        const bool last = i + 1 == m_blocks.size();
        const std::size_t used = last ? static_cast<std::size_t>(m_cursor - m_blocks[i].get()) : kBlockSize;
        text.append(m_blocks[i].get(), used);
    }
    return text;
}

}  // namespace notegraph
