// MIDI variable-length values (VARLEN): seven value bits per byte, most
// significant group first, the top bit set on every byte but the last.
// Delta times, meta and system exclusive lengths in a file use them; four
// bytes hold at most 0x0FFFFFFF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace smf {

inline constexpr std::uint32_t kLargestVarlen = 0x0FFFFFFF;
// A larger 32-bit value takes a fifth byte, which files never hold.
inline constexpr int kLongestVarlen = 5;

// The number of bytes that encode value.
constexpr int varlenSize(std::uint32_t value) {
    if (value < 0x80) {
        return 1;
    }
    if (value < 0x4000) {
        return 2;
    }
    if (value < 0x200000) {
        return 3;
    }
    return value <= kLargestVarlen ? 4 : 5;
}

// The byte that carries a group of seven bits of value (group 0 is the
// last byte).
constexpr std::uint8_t varlenByte(std::uint32_t value, int group) {
    const auto bits = static_cast<std::uint8_t>((value >> (7 * group)) & 0x7F);
    return group > 0 ? static_cast<std::uint8_t>(bits | 0x80) : bits;
}

// Writes the encoding of value at out (room for varlenSize(value) bytes);
// returns the end.
constexpr std::uint8_t* writeVarlen(std::uint8_t* out, std::uint32_t value) {
    for (int group = varlenSize(value) - 1; group >= 0; --group) {
        *out++ = varlenByte(value, group);
    }
    return out;
}

inline void appendVarlen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int group = varlenSize(value) - 1; group >= 0; --group) {
        out.push_back(varlenByte(value, group));
    }
}

// A value read from the front of some bytes.
struct VarlenRead {
    enum class Status { Complete, Truncated, TooLong };
    Status status = Status::Complete;
    std::uint32_t value = 0;
    std::size_t length = 0;  // bytes read (Complete only)
};

// Reads at most four bytes: Truncated when the bytes end before a byte
// without the top bit, TooLong when the fourth byte still has it.
constexpr VarlenRead readVarlen(std::span<const std::uint8_t> bytes) {
    VarlenRead read;
    for (std::size_t i = 0; i < 4; ++i) {
        if (i >= bytes.size()) {
            read.status = VarlenRead::Status::Truncated;
            return read;
        }
        read.value = (read.value << 7) | (bytes[i] & 0x7Fu);
        if ((bytes[i] & 0x80) == 0) {
            read.length = i + 1;
            return read;
        }
    }
    read.status = VarlenRead::Status::TooLong;
    return read;
}

}  // namespace smf
