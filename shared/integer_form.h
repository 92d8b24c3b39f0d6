// The integer converters binform and hexform: one program that prints a
// 32-bit integer given on the command line in binary or hexadecimal
// notation, built twice. Neither takes options: the raw argument list is
// read, and "-5" is a number.
#pragma once

#include <cstdint>
#include <string>

namespace integerform {

enum class Notation { Binary, Hexadecimal };

// The whole run: with exactly one argument its integer is printed, else the
// usage text (exit code 1). Returns the exit code.
int run(int argc, char** argv, Notation notation);

// Hexadecimal when the text holds an "x" anywhere ("0x10", "-0x1f"),
// otherwise decimal; a value beyond 32 bits keeps its low 32 bits.
std::uint32_t readInteger(const char* text);

// 32 binary digits, a blank after each group of four (the last included).
std::string binaryForm(std::uint32_t value);

// "0x" and the lower-case hexadecimal digits, without leading zeros.
std::string hexForm(std::uint32_t value);

}  // namespace integerform
