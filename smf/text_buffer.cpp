#include "smf/text_buffer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

namespace smf {

namespace {

// The six decimal digits of a number from 100000 to 999999, two at a time.
void writeSixDigits(char* out, int value) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    for (int i = 4; i >= 0; i -= 2) {
        const int pair = value % 100;
        value /= 100;
        out[i] = kPairs[2 * pair];
        out[i + 1] = kPairs[2 * pair + 1];
    }
}

// "%g" of a value whose six significant digits all lie between 1e-4 and
// 1e6, the range of times and durations in listings, without the general
// conversion's cost: scale to six digits and place the decimal point. Gives
// up (returns nullptr) wherever the scaled value is too close to a rounding
// tie for the product's error to be ruled out, or rounds up to a new decade.
char* formatShortDecimal(char* first, double value) {
    static constexpr double kPowers[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5};
    static constexpr double kScales[] = {1e9, 1e8, 1e7, 1e6, 1e5, 1e4, 1e3, 1e2, 1e1, 1e0};
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e6)) {
        return nullptr;
    }
    int decade = 9;  // magnitude lies in [kPowers[decade], 10 x kPowers[decade])
    while (magnitude < kPowers[decade]) {
        --decade;
    }
    const double scaled = magnitude * kScales[decade];  // in [1e5, 1e6), error below 1e-9
    const double below = static_cast<double>(static_cast<long>(scaled));  // floor: scaled is positive
    if (std::fabs(scaled - below - 0.5) < 1e-6) {
        return nullptr;
    }
    const auto digits = static_cast<long>(scaled - below > 0.5 ? below + 1 : below);
    if (digits < 100000 || digits > 999999) {
        return nullptr;
    }
    char six[6];
    writeSixDigits(six, static_cast<int>(digits));
    int used = 6;  // trailing zeros are dropped
    while (used > 0 && six[used - 1] == '0') {
        --used;
    }
    char* out = first;
    if (value < 0) {
        *out++ = '-';
    }
    const int exponent = decade - 4;  // of the leading digit
    if (exponent >= 0) {
        const int whole = exponent + 1;
        for (int i = 0; i < whole; ++i) {
            *out++ = six[i];
        }
        if (used > whole) {
            *out++ = '.';
            for (int i = whole; i < used; ++i) {
                *out++ = six[i];
            }
        }
    } else {
        *out++ = '0';
        *out++ = '.';
        for (int i = -1; i > exponent; --i) {
            *out++ = '0';
        }
        for (int i = 0; i < used; ++i) {
            *out++ = six[i];
        }
    }
    return out;
}

}  // namespace

char* toCharsGeneral(char* first, char* last, double value) {
    // Whole numbers of magnitude below a million come out of "%g" as plain
    // integers; listings are full of them (keys, channels, markers), and the
    // integer conversion is several times faster. -0 keeps its sign below.
    if (value > -1e6 && value < 1e6) {
        const auto whole = static_cast<long>(value);
        if (static_cast<double>(whole) == value) {
            if (whole != 0 || !std::signbit(value)) {
                return std::to_chars(first, last, whole).ptr;
            }
        } else if (char* end = formatShortDecimal(first, value)) {
            return end;
        }
    }
    return std::to_chars(first, last, value, std::chars_format::general, 6).ptr;
}

TextBuffer::TextBuffer(std::ostream& output, std::size_t blockSize)
    : m_output(&output), m_blockSize(std::max<std::size_t>(blockSize, 1)) {
    m_blocks.push_back(std::make_unique_for_overwrite<char[]>(m_blockSize));
    m_end = m_blocks.back().get();
    m_limit = m_end + m_blockSize;
}

TextBuffer::TextBuffer(std::size_t blockSize) : m_output(nullptr), m_blockSize(std::max<std::size_t>(blockSize, 1)) {
    m_blocks.push_back(std::make_unique_for_overwrite<char[]>(m_blockSize));
    m_end = m_blocks.back().get();
    m_limit = m_end + m_blockSize;
}

TextBuffer::~TextBuffer() {
    flush();
}

void TextBuffer::nextBlock() {
    if (m_output != nullptr) {
        flush();
        return;
    }
    m_blocks.push_back(std::make_unique_for_overwrite<char[]>(m_blockSize));
    m_end = m_blocks.back().get();
    m_limit = m_end + m_blockSize;
}

TextBuffer& TextBuffer::putAcross(std::string_view text) {
    if (m_output != nullptr) {
        flush();
        if (text.size() > room()) {
            // Longer than a whole block: straight to the stream.
            m_output->write(text.data(), static_cast<std::streamsize>(text.size()));
            return *this;
        }
        std::memcpy(m_end, text.data(), text.size());
        m_end += text.size();
        return *this;
    }
    while (!text.empty()) {
        if (m_end == m_limit) {
            nextBlock();
        }
        const std::size_t piece = std::min(text.size(), room());
        std::memcpy(m_end, text.data(), piece);
        m_end += piece;
        text.remove_prefix(piece);
    }
    return *this;
}

TextBuffer& TextBuffer::putIntAside(long long value) {
    char digits[kNumberRoom];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

TextBuffer& TextBuffer::putDoubleAside(double value) {
    char digits[kNumberRoom];
    const char* end = toCharsGeneral(digits, digits + sizeof digits, value);
    return put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

char* TextBuffer::claimAside(std::size_t size) {
    if (m_output != nullptr) {
        flush();
        if (size <= room()) {
            m_claimedAside = false;
            return m_end;
        }
    }
    if (m_aside.size() < size) {
        m_aside.resize(size);
    }
    m_claimedAside = true;
    return m_aside.data();
}

void TextBuffer::commitAside(const char* end) {
    m_claimedAside = false;
    put(std::string_view(m_aside.data(), static_cast<std::size_t>(end - m_aside.data())));
}

TextBuffer& TextBuffer::putPadded(std::string_view text, std::size_t width) {
    put(text);
    for (std::size_t n = text.size(); n < width; ++n) {
        put(' ');
    }
    return *this;
}

bool TextBuffer::flush() {
    if (m_output == nullptr) {
        return true;
    }
    char* begin = m_blocks.front().get();
    if (m_end != begin) {
        m_output->write(begin, m_end - begin);
        m_end = begin;
    }
    return static_cast<bool>(*m_output);
}

bool TextBuffer::flushStream() {
    flush();
    if (m_output == nullptr) {
        return true;
    }
    m_output->flush();
    return static_cast<bool>(*m_output);
}

std::size_t TextBuffer::used(std::size_t block) const {
    if (block + 1 < m_blocks.size()) {
        return m_blockSize;
    }
    return static_cast<std::size_t>(m_end - m_blocks[block].get());
}

std::size_t TextBuffer::size() const {
    return (m_blocks.size() - 1) * m_blockSize + used(m_blocks.size() - 1);
}

void TextBuffer::putCopy(std::size_t from, std::size_t to) {
    to = std::min(to, size());
    while (from < to) {
        // Blocks never move, so the source stays valid while put() adds blocks.
        const char* source = m_blocks[from / m_blockSize].get() + from % m_blockSize;
        const std::size_t piece = std::min(to - from, m_blockSize - from % m_blockSize);
        put(std::string_view(source, piece));
        from += piece;
    }
}

void TextBuffer::writeTo(std::ostream& output) const {
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        output.write(m_blocks[i].get(), static_cast<std::streamsize>(used(i)));
    }
}

std::string TextBuffer::str() const {
    std::string text;
    text.reserve(size());
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        text.append(m_blocks[i].get(), used(i));
    }
    return text;
}

std::string formatDouble(double value) {
    char digits[kNumberRoom];
    char* end = toCharsGeneral(digits, digits + sizeof digits, value);
    return std::string(digits, end);
}

std::string formatFixed(double value, int digits) {
    // Fixed notation of a huge value can be long; size the buffer for it.
    digits = std::max(digits, 0);
    std::string text(400 + static_cast<std::size_t>(digits), '\0');
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, digits);
    text.resize(result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - text.data()) : 0);
    return text;
}

}  // namespace smf
