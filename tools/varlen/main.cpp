// varlen: converts a number to its MIDI variable-length value (VARLEN) bytes,
// or checks two to four such bytes and prints the number they encode.
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "frame/frame.h"
#include "varlen_value.h"

namespace {

std::string usageText(std::string_view command) {
    std::string text = "\nConvert/Create Variable Length Values.\n\nUsage: ";
    text += command;
    text += " [-d|-b] [-D|-B] number(s)\n"
            "\n"
            "Options:\n"
            "   -d = input numbers are given in decimal notation (hex is default)\n"
            "   -b = input numbers are given in binary notation (hex is default)\n"
            "   -D = output numbers are given in decimal notation (hex is default)\n"
            "   -B = output numbers are given in binary notation (hex is default)\n"
            "   --options = list all options, default values, and aliases\n"
            "\n";
    return text;
}

constexpr std::string_view kExample =
    "\n"
    "# convert a hex number to VARLEN bytes:\n"
    "varlen 3fff\n"
    "\n"
    "# convert a hex number to VARLEN bytes in decimal notation:\n"
    "varlen -D 3fff\n"
    "\n"
    "# convert a decimal number to VARLEN bytes in decimal notation:\n"
    "varlen -d -D 54632\n"
    "\n"
    "# convert hex VARLEN bytes into hex number:\n"
    "varlen 81 80 F4 00\n"
    "\n"
    "# convert hex VARLEN bytes into dec number:\n"
    "varlen -D 81 80 F4 00\n"
    "\n";

const frame::Tool kTool{
    .family = frame::Family::DatedLower,
    .authorDate = "January 1999",
    .version = "varlen, version 2.0 (9 Feb 2015)",
    .usage = [](std::string_view command) { return usageText(command) + "\n"; },
    .example = std::string(kExample) + "\n",
    .options = {{"b|2|bin|binary=b", "input is binary"},
                {"d|10|dec|decimal=b", "input is decimal"},
                {"B=b", "print binary output"},
                {"D=b", "print decimal output"}},
    .exampleHelp = "example usage of the program",
};

smf::Options options;
int inputBase = 16;
int outputBase = 16;

void checkOptions(int argc, char** argv) {
    frame::checkStandardOptions(options, kTool, argc, argv);
    inputBase = options.getBoolean("binary") ? 2 : options.getBoolean("decimal") ? 10 : 16;
    outputBase = options.getBoolean("B") ? 2 : options.getBoolean("D") ? 10 : 16;
}

// Prints the result line; a full disk or closed pipe must not pass for
// success.
int printResult(const std::string& line) {
    frame::print(line + "\n");
    if (!std::cout) {
        return frame::error("Error: could not write to standard output");
    }
    return 0;
}

int encodeNumber(std::int32_t number) {
    const std::vector<std::uint8_t> bytes = varlen::encode(static_cast<std::uint32_t>(number));
    if (bytes.empty()) {
        return frame::errorOnStdout("Error: number too large to handle");
    }
    std::string line;
    for (const std::uint8_t byte : bytes) {
        if (!line.empty()) {
            line += ' ';
        }
        line += varlen::formatNumber(byte, outputBase);
    }
    return printResult(line);
}

}  // namespace

int main(int argc, char** argv) {
    checkOptions(argc, argv);
    const int count = options.getArgCount();
    if (count == 0) {
        frame::print(usageText(options.getCommand()));
        return 1;
    }
    if (count > 4) {
        return frame::errorOnStdout("Error: VARLEN values cannot have more than four bytes");
    }
    const bool decoding = count > 1;

    std::vector<std::int32_t> numbers;
    numbers.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        const std::string argument = options.getArg(i);
        numbers.push_back(varlen::readNumber(argument, inputBase));
        if (decoding && !varlen::isValidByte(numbers.back(), i == count)) {
            return frame::errorOnStdout("Invalid VARLEN byte: " + argument);
        }
    }

    if (!decoding) {
        return encodeNumber(numbers.front());
    }
    return printResult(varlen::formatNumber(varlen::decode(numbers), outputBase));
}
