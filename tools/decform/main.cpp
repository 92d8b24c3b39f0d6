// decform: reads a hexadecimal 32-bit integer and prints it in decimal,
// unsigned or, with -s, signed. It takes the raw argument list: "-s" counts
// only as the first of two arguments.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "frame/frame.h"
#include "smf/number_scan.h"

namespace {

std::string usageText(std::string_view command) {
    std::string text = "\nConverts an integer into decimal form.\n\nUsage: ";
    text += command;
    text += " [-s] integer\n"
            "\n"
            "Options:\n"
            "   -s = interpret hex values as signed values\n"
            "\n"
            "   signed integer =   [-0x80000000..0x7fffffff] \n"
            "                      [-2147483648..2147483647] \n"
            "   unsigned integer = [0x00000000..0xffffffff] \n"
            "                      [0..4294967295] \n"
            "\n";
    return text;
}

// Always hexadecimal, read as strtoul reads it; a leading "o" stands for
// the zero of "0x" (ox1f). A value beyond 32 bits keeps its low 32 bits.
std::uint32_t readHexInteger(std::string text) {
    if (!text.empty() && (text.front() == 'o' || text.front() == 'O')) {
        text.front() = '0';
    }
    return static_cast<std::uint32_t>(smf::scanNumber(text, smf::cLibraryInteger(16)).wrapped());
}

std::string decimalForm(std::uint32_t value, bool asSigned) {
    return asSigned ? std::to_string(static_cast<std::int32_t>(value)) : std::to_string(value);
}

}  // namespace

int main(int argc, char** argv) {
    const bool asSigned = argc == 3 && std::strcmp(argv[1], "-s") == 0;
    if (argc != 2 && !asSigned) {
        return frame::printChecked(usageText(argc > 0 ? argv[0] : ""), 1);
    }
    const std::uint32_t value = readHexInteger(argv[argc - 1]);
    return frame::printChecked(decimalForm(value, asSigned) + "\n", 0);
}
