#include "varlen_value.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "smf/number_scan.h"
#include "smf/varlen.h"

namespace varlen {

std::int32_t readNumber(const std::string& text, int base) {
    // strtol saturates beyond the range of long; what is kept is the low
    // 32 bits of its result, as the conversion to a 32-bit number does.
    const long long number = smf::scanNumber(text, smf::cLibraryInteger(base)).saturated();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::vector<std::uint8_t> encode(std::uint32_t value) {
    if (value > kLargestValue) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    smf::appendVarlen(bytes, value);
    return bytes;
}

bool isValidByte(std::int32_t number, bool last) {
    if (last) {
        return static_cast<std::uint32_t>(number) < 0x80;
    }
    return number >= 0x80 && number <= 0xFF;
}

std::uint32_t decode(std::span<const std::int32_t> bytes) {
    std::array<std::uint8_t, 4> checked{};
    const std::size_t count = std::min(bytes.size(), checked.size());
    for (std::size_t i = 0; i < count; ++i) {
        checked[i] = static_cast<std::uint8_t>(bytes[i]);
    }
    return smf::readVarlen(std::span(checked.data(), count)).value;
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
