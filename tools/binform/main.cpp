// binform: prints a 32-bit integer as 32 binary digits in groups of four.
// Built a second time as hexform, which prints it in hexadecimal with "0x".
// Neither takes options: the raw argument list is read, and "-5" is a number.
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "frame/frame.h"

#ifndef TUNEFOLIO_HEX_FORM
#define TUNEFOLIO_HEX_FORM 0
#endif

namespace {

constexpr std::string_view kPurpose = TUNEFOLIO_HEX_FORM ? "Converts an integer into hexadecimal form."
                                                         : "Converts an integer into binary form.";

std::string usageText(std::string_view command) {
    std::string text = "\n";
    text += kPurpose;
    text += "\n\nUsage: ";
    text += command;
    text += " integer\n"
            "\n"
            "   integer = [-2147483648..2147483647] \n"
            "             [-0x80000000..0x7fffffff] \n"
            "\n";
    return text;
}

// Hexadecimal when the text holds an "x" anywhere ("0x10", "-0x1f"),
// otherwise decimal; a value beyond 32 bits keeps its low 32 bits.
std::uint32_t readInteger(const char* text) {
    const int base = std::string_view(text).find('x') != std::string_view::npos ? 16 : 10;
    return static_cast<std::uint32_t>(std::strtol(text, nullptr, base));
}

std::string binaryForm(std::uint32_t value) {
    std::string line;
    for (int bit = 31; bit >= 0; --bit) {
        line += ((value >> bit) & 1U) != 0 ? '1' : '0';
        if (bit % 4 == 0) {
            line += ' ';
        }
    }
    return line;
}

std::string hexForm(std::uint32_t value) {
    std::array<char, 8> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16);
    return "0x" + std::string(digits.data(), result.ptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return frame::printChecked(usageText(argc > 0 ? argv[0] : ""), 1);
    }
    const std::uint32_t value = readInteger(argv[1]);
    return frame::printChecked((TUNEFOLIO_HEX_FORM ? hexForm(value) : binaryForm(value)) + "\n", 0);
}
