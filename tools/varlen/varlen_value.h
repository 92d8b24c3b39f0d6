// What varlen does with the numbers of its command line: reads them in the
// input base, turns them into VARLEN bytes (smf/varlen.h) or checks them as
// such bytes and decodes them, and prints numbers in the output base.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "smf/varlen.h"

namespace varlen {

inline constexpr std::uint32_t kLargestValue = smf::kLargestVarlen;

// The number at the front of the text in base 2, 10 or 16, read as strtol
// reads it (leading blanks, a sign, "0x" in base 16; reading stops at the
// first non-digit; no digits give 0), kept to its low 32 bits.
std::int32_t readNumber(const std::string& text, int base);

// The VARLEN bytes of a value up to kLargestValue; empty for a larger one.
std::vector<std::uint8_t> encode(std::uint32_t value);

// Whether a number can stand at its place in a VARLEN value: a byte with its
// top bit set before the last, a byte below 128 last.
bool isValidByte(std::int32_t number, bool last);

// The value of checked VARLEN bytes (at most four).
std::uint32_t decode(std::span<const std::int32_t> bytes);

// A number in base 16 (lower case, at least two digits), 10 or 2 (no
// leading zeros).
std::string formatNumber(std::uint32_t value, int base);

}  // namespace varlen
