#include "varlen_value.h"

#include <array>
#include <charconv>
#include <cstdlib>

namespace varlen {

std::int32_t readNumber(const std::string& text, int base) {
    // strtol saturates beyond the range of long; what is kept is the low
    // 32 bits of its result, as the conversion to a 32-bit number does.
    const long number = std::strtol(text.c_str(), nullptr, base);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::vector<std::uint8_t> encode(std::uint32_t value) {
    if (value > kLargestValue) {
        return {};
    }
    std::array<std::uint32_t, 4> groups{(value >> 21) & 0x7F, (value >> 14) & 0x7F, (value >> 7) & 0x7F,
                                        value & 0x7F};
    // Every group before the last one printed carries the continuation bit.
    if (value >= 0x200000) {
        groups[0] |= 0x80;
        groups[1] |= 0x80;
        groups[2] |= 0x80;
    } else if (groups[1] != 0) {
        groups[1] |= 0x80;
        groups[2] |= 0x80;
    } else if (groups[2] != 0) {
        groups[2] |= 0x80;
    }
    std::size_t first = 0;
    while (first < 3 && groups[first] < 0x80) {
        ++first;
    }
    return std::vector<std::uint8_t>(groups.begin() + static_cast<std::ptrdiff_t>(first), groups.end());
}

bool isValidByte(std::int32_t number, bool last) {
    if (last) {
        return static_cast<std::uint32_t>(number) < 0x80;
    }
    return number >= 0x80 && number <= 0xFF;
}

std::uint32_t decode(std::span<const std::int32_t> bytes) {
    std::uint32_t value = 0;
    for (const std::int32_t byte : bytes) {
        value = (value << 7) + (static_cast<std::uint32_t>(byte) & 0x7F);
    }
    return value;
}

std::string formatNumber(std::uint32_t value, int base) {
    std::array<char, 40> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value, base);
    std::string text(digits.data(), result.ptr);
    if (base == 16 && text.size() < 2) {
        text.insert(text.begin(), '0');
    }
    return text;
}

}  // namespace varlen
