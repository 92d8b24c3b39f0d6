// Character classes for the parsers of numbers, hexscribe text and option
// values. They ignore the locale: MIDI tools read the same text the same
// way everywhere.
#pragma once

namespace smf {

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a hexadecimal digit of either case, or -1.
constexpr int hexDigitValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace smf
