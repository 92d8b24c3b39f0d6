#include "shared/integer_form.h"

#include <array>
#include <charconv>
#include <string_view>

#include "frame/frame.h"
#include "smf/number_scan.h"

namespace integerform {

namespace {

std::string usageText(std::string_view command, Notation notation) {
    std::string text = "\n";
    text += notation == Notation::Hexadecimal ? "Converts an integer into hexadecimal form."
                                              : "Converts an integer into binary form.";
    text += "\n\nUsage: ";
    text += command;
    text += " integer\n"
            "\n"
            "   integer = [-2147483648..2147483647] \n"
            "             [-0x80000000..0x7fffffff] \n"
            "\n";
    return text;
}

}  // namespace

int run(int argc, char** argv, Notation notation) {
    if (argc != 2) {
        return frame::printChecked(usageText(argc > 0 ? argv[0] : "", notation), 1);
    }
    const std::uint32_t value = readInteger(argv[1]);
    return frame::printChecked((notation == Notation::Hexadecimal ? hexForm(value) : binaryForm(value)) + "\n", 0);
}

std::uint32_t readInteger(const char* text) {
    const int base = std::string_view(text).find('x') != std::string_view::npos ? 16 : 10;
    return static_cast<std::uint32_t>(smf::scanNumber(text, smf::cLibraryInteger(base)).saturated());
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

}  // namespace integerform
