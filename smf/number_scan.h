// Reading numbers from text: one scanner for the option parser, the
// hexscribe compiler and the programs that read numbers from their
// arguments or input files. Where a program documents a parse of its own
// (the C library's lenient conversions, say), that parse is a named syntax
// here rather than a copy of the scanner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace smf {

// What a number may be made of.
struct NumberSyntax {
    bool skipsSpace = false;       // leading white space (C locale) is skipped
    std::string_view signs = "+-";  // the characters that may stand as its sign
    int base = 10;                 // of the digits: 2, 10 or 16
    bool hexPrefix = false;        // "0x" or "0X" before hexadecimal digits; in
                                   // base 10 it switches the number to base 16
    bool fraction = false;         // base 10: a fraction and an exponent may follow
    bool specialValues = false;    // with fraction: "inf", "infinity", "nan"
};

// Option values: "0x" and hexadecimal digits, or decimal digits with an
// optional fraction and exponent ("-5", "0x1F", "2.5", ".5", "1e3").
inline constexpr NumberSyntax kOptionNumber{.hexPrefix = true, .fraction = true};
// A decimal integer ("60", "-3").
inline constexpr NumberSyntax kDecimalInteger{};
// The C library's strtol, strtoul and atoi in a base (atoi: base 10):
// leading blanks skipped, "0x" accepted in base 16.
constexpr NumberSyntax cLibraryInteger(int base) {
    return {.skipsSpace = true, .base = base, .hexPrefix = base == 16};
}
// The C library's atof and strtod on decimal text, "inf" and "nan" included.
inline constexpr NumberSyntax kCLibraryReal{.skipsSpace = true, .fraction = true, .specialValues = true};

struct ScannedNumber {
    std::size_t length = 0;       // characters read, skipped blanks included;
                                  // 0 when the text holds no number
    bool negative = false;
    bool integral = true;         // digits only: no fraction, exponent or special value
    std::uint64_t magnitude = 0;  // integral: the digits' value modulo 2^64
    bool overflow = false;        // integral: the digits' value is 2^64 or more
    bool rangeError = false;      // not integral: beyond the range of double
                                  // (real is then infinite, or 0 or subnormal)
    double real = 0.0;            // the value as a double, sign included

    // Integral: the value when it lies in the range of long long.
    std::optional<long long> integer() const;
    // Integral: the value when it lies in the range of int.
    std::optional<int> toInt() const;
    // As strtol gives it: the value clamped to the range of long long.
    long long saturated() const;
    // As strtoul gives it: the magnitude, negated modulo 2^64 after a minus
    // sign; the largest value when the digits overflow.
    std::uint64_t wrapped() const;
};

// The number at the front of text (after blanks when the syntax skips them).
ScannedNumber scanNumber(std::string_view text, const NumberSyntax& syntax);

// The number that is the whole text, or nothing.
std::optional<ScannedNumber> scanWholeNumber(std::string_view text, const NumberSyntax& syntax);

}  // namespace smf
