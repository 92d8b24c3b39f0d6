#include "body_store.h"

#include <algorithm>
#include <cstring>

namespace notegraph {

std::streamsize BodyStore::xsputn(const char* text, std::streamsize count) {
    std::size_t left = static_cast<std::size_t>(count);
    while (left > 0) {
        const std::size_t used = m_size % kBlockSize;
        if (used == 0 && m_size / kBlockSize == m_blocks.size()) {
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        }
        const std::size_t piece = std::min(left, kBlockSize - used);
        std::memcpy(m_blocks.back().get() + used, text, piece);
        text += piece;
        left -= piece;
        m_size += piece;
    }
    return count;
}

BodyStore::int_type BodyStore::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
}

void BodyStore::writeTo(std::ostream& output) const {
    std::size_t left = m_size;
    for (const auto& block : m_blocks) {
        const std::size_t piece = std::min(left, kBlockSize);
        output.write(block.get(), static_cast<std::streamsize>(piece));
        left -= piece;
    }
}

}  // namespace notegraph
