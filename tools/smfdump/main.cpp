// smfdump: prints MIDI files as commented hexscribe text, as hexscribe text
// without comments (-C) or as plain hexadecimal bytes (-x).
#include <iostream>
#include <string>

#include "frame/frame.h"

namespace {

enum class Form { Commented, Plain, Hex };

// Hexadecimal wins over plain text when both are asked for.
Form chosenForm(const smf::Options& options) {
    if (options.getBoolean("hex")) {
        return Form::Hex;
    }
    return options.getBoolean("no-comments") ? Form::Plain : Form::Commented;
}

bool printFile(const smf::Tunefolio& file, Form form) {
    switch (form) {
        case Form::Hex: return file.writeHex(std::cout, 25);
        case Form::Plain: return file.writeHexscribe(std::cout);
        case Form::Commented: break;
    }
    return static_cast<bool>(std::cout << file);
}

}  // namespace

int main(int argc, char** argv) {
    smf::Options options;
    options.define("x|hex=b", "Print as ASCII hex bytes");
    options.define("C|no-comments=b", "Print in hexscribe format with no comments");
    options.process(argc, argv, 1, 0);
    const Form form = chosenForm(options);

    smf::Tunefolio file;
    if (options.getArgCount() == 0) {
        if (!frame::readMidiStandardInput(file)) {
            return 1;
        }
        return printFile(file, form) ? 0 : frame::error("Error: could not write to standard output");
    }
    bool allRead = true;
    bool first = true;
    for (const std::string& name : options.getArgList()) {
        if (!frame::readMidiFile(file, name)) {
            allRead = false;
            continue;
        }
        if (!first) {
            std::cout << "\n\n\n";
        }
        first = false;
        if (!printFile(file, form)) {
            return frame::error("Error: could not write to standard output");
        }
    }
    std::cout.flush();
    return allRead ? 0 : 1;
}
