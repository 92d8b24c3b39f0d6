// smfdump: prints MIDI files as commented hexscribe text, as hexscribe text
// without comments (-C) or as plain hexadecimal bytes (-x).
#include <iostream>

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
    frame::processOptions(options, argc, argv);
    const Form form = chosenForm(options);

    // Standard input when no file is named; three newlines between files.
    smf::Tunefolio file;
    bool first = true;
    const int status = frame::forEachMidiInput(options.getArgList(), file, [&](const frame::Input&) {
        if (!first) {
            std::cout << "\n\n\n";
        }
        first = false;
        if (!printFile(file, form)) {
            frame::error("Error: could not write to standard output");
            return false;
        }
        return true;
    });
    std::cout.flush();
    return status;
}
