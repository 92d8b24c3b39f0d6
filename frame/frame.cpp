#include "frame/frame.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "smf/file_io.h"

namespace frame {

namespace {

// The suite has one author line for every program: its maintainers.
constexpr std::string_view kAuthorName = "The tunefolio maintainers";
constexpr std::string_view kAuthorAddress = "maintainers@tunefolio.org";

struct StandardTexts {
    std::string_view author;
    std::string_view version;
    std::string_view example;
    std::string_view help;
};

void declare(smf::Options& options, const OptionSpec& option) {
    if (option.hasHelp) {
        options.define(option.definition, option.help);
    } else {
        options.define(option.definition);
    }
}

void declareStandard(smf::Options& options, const StandardTexts& texts) {
    options.define("author=b", texts.author);
    options.define("version=b", texts.version);
    options.define("example=b", texts.example);
    options.define("h|help=b", texts.help);
}

[[noreturn]] void finish() {
    std::cout.flush();
    std::exit(0);
}

}  // namespace

void declareOptions(smf::Options& options, const Tool& tool) {
    switch (tool.family) {
        case Family::Classic: {
            const StandardTexts classic{"author of program", "compilation info", "example usages",
                                        "short description"};
            std::size_t before = 0;
            if (tool.order == OwnOptions::BeforeStandard) {
                before = tool.options.size();
            } else if (tool.order == OwnOptions::AroundStandard) {
                before = std::min(tool.ownOptionsBeforeStandard, tool.options.size());
            }
            for (std::size_t i = 0; i < before; ++i) {
                declare(options, tool.options[i]);
            }
            declareStandard(options, classic);
            for (std::size_t i = before; i < tool.options.size(); ++i) {
                declare(options, tool.options[i]);
            }
            break;
        }
        case Family::Dated:
        case Family::DatedLower: {
            for (const OptionSpec& option : tool.options) {
                declare(options, option);
            }
            if (tool.family == Family::Dated) {
                declareStandard(options, {"Author of the program", "Version of the program",
                                          "Example useage of the program", "List of options for the program"});
            } else {
                declareStandard(options, {"author of the program", "version of the program", tool.exampleHelp,
                                          "list of options for the program"});
            }
            break;
        }
        case Family::Bare:
            for (const OptionSpec& option : tool.options) {
                declare(options, option);
            }
            break;
    }
}

void answerStandardOptions(const smf::Options& options, const Tool& tool) {
    if (options.getBoolean("author")) {
        print(authorLine(tool.authorDate) + "\n");
        finish();
    }
    if (options.getBoolean("version")) {
        if (tool.printVersion) {
            tool.printVersion(options);
        } else if (tool.family == Family::Classic) {
            print(options.getCommand() + ", version: " + std::string(tool.version) + "\n" + compiledLine() + "\n");
        } else {
            print(std::string(tool.version) + "\n" + compiledLine() + "\n");
        }
        if (tool.family != Family::Bare || tool.versionEndsRun) {
            finish();
        }
    }
    if (options.getBoolean("help")) {
        if (tool.family == Family::Dated) {
            print("\n\n");
        } else if (tool.usage) {
            print(tool.usage(options.getCommand()));
        }
        finish();
    }
    if (options.getBoolean("example")) {
        print(tool.family == Family::Dated ? std::string_view("\n\n") : std::string_view(tool.example));
        finish();
    }
}

void processOptions(smf::Options& options) {
    if (!options.process(1, 0)) {
        std::exit(error(options.getError()));
    }
    if (options.optionsRequested()) {
        print(options.listing());
        finish();
    }
}

void processOptions(smf::Options& options, int argc, char** argv) {
    options.setOptions(argc, argv);
    processOptions(options);
}

void checkStandardOptions(smf::Options& options, const Tool& tool, int argc, char** argv) {
    options.setOptions(argc, argv);
    declareOptions(options, tool);
    processOptions(options);
    answerStandardOptions(options, tool);
}

std::string authorLine(std::string_view date) {
    std::string line = "Written by ";
    line += kAuthorName;
    line += ", ";
    line += kAuthorAddress;
    line += ", ";
    line += date;
    return line;
}

std::string_view buildDate() {
    // The compiler writes the day right-aligned in two places: "Feb  1 2026".
    return __DATE__;
}

std::string compiledLine() {
    return "compiled: " + std::string(buildDate());
}

std::function<std::string(std::string_view command)> usageLine(std::string syntax) {
    return [syntax = std::move(syntax)](std::string_view command) {
        return "Usage: " + std::string(command) + syntax + "\n";
    };
}

bool requireArguments(const smf::Options& options, const Tool& tool, int count) {
    if (options.getArgCount() == count) {
        return true;
    }
    if (tool.usage) {
        print(tool.usage(options.getCommand()));
    }
    return false;
}

std::string padded(std::string_view text, std::size_t width) {
    std::string line(text);
    if (line.size() < width) {
        line.append(width - line.size(), ' ');
    }
    return line;
}

namespace {
bool reported = false;
}  // namespace

bool failureReported() {
    return reported;
}

int error(std::string_view line) {
    reported = true;
    std::cout.flush();
    std::cerr << line << '\n';
    std::cerr.flush();
    return 1;
}

int errorOnStdout(std::string_view line) {
    std::cout << line << '\n';
    std::cout.flush();
    // A message lost with the rest of standard output is not reported.
    reported = reported || static_cast<bool>(std::cout);
    return 1;
}

bool readMidiFile(smf::Tunefolio& file, const std::string& name) {
    const Input input{.name = name, .standardInput = name == smf::kStandardStream};
    if (readMidiInput(file, input)) {
        return true;
    }
    warnUnreadable(input);
    return false;
}

bool readMidiStandardInput(smf::Tunefolio& file) {
    const Input input{.standardInput = true};
    if (readMidiInput(file, input)) {
        return true;
    }
    warnUnreadable(input);
    return false;
}

namespace {

// The regular file a name stands for (links followed): its device and inode.
std::optional<std::pair<dev_t, ino_t>> regularFile(const std::string& name, Stream stream) {
    struct stat info {};
    const int descriptor = stream == Stream::Input ? STDIN_FILENO : STDOUT_FILENO;
    const int found = name == smf::kStandardStream ? ::fstat(descriptor, &info) : ::stat(name.c_str(), &info);
    if (found != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return std::pair{info.st_dev, info.st_ino};
}

}  // namespace

bool sameRegularFile(const std::string& first, Stream firstStream, const std::string& second,
                     Stream secondStream) {
    const auto file = regularFile(first, firstStream);
    return file && file == regularFile(second, secondStream);
}

bool outputReplacesInput(const std::vector<std::string>& inputs, const std::string& output) {
    for (const std::string& input : inputs) {
        if (sameRegularFile(input, Stream::Input, output, Stream::Output)) {
            std::string line = "Error: output file " + printableName(output) + " would replace its input";
            if (input == smf::kStandardStream) {
                line += " (standard input)";
            } else if (input != output) {
                line += " " + printableName(input);
            }
            error(line);
            return true;
        }
    }
    return false;
}

namespace {

// Whether the file holds MIDI bytes (a Standard MIDI File, or one in a RIFF
// wrapper) rather than text; read without moving the file's offset, so that
// standard input is still read whole afterwards.
bool holdsMidiBytes(const std::string& name) {
    const bool standardInput = name == smf::kStandardStream;
    const int descriptor = standardInput ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_NOCTTY);
    if (descriptor < 0) {
        return false;
    }
    std::array<char, 4> tag{};
    const bool read = ::pread(descriptor, tag.data(), tag.size(), 0) == static_cast<ssize_t>(tag.size());
    if (!standardInput) {
        ::close(descriptor);
    }
    const std::string_view start(tag.data(), tag.size());
    return read && (start == "MThd" || start == "RIFF");
}

}  // namespace

bool outputReplacesTextInput(const std::string& input, const std::string& output) {
    return sameRegularFile(input, Stream::Input, output, Stream::Output) && !holdsMidiBytes(input) &&
           outputReplacesInput({input}, output);
}

bool readInput(smf::Tunefolio& file, const smf::Options& options) {
    if (options.getArgCount() >= 1) {
        return file.read(options.getArg(1));
    }
    return file.read(std::cin);
}

bool readMidiInput(smf::Tunefolio& file, const Input& input) {
    return input.standardInput ? file.read(std::cin) : file.read(std::string(input.name));
}

void warnUnreadable(const Input& input) {
    if (input.standardInput) {
        error("Error: could not read MIDI file from standard input");
    } else {
        error("Error: could not read MIDI file " + printableName(input.name));
    }
}

namespace {

int forEach(const std::vector<Input>& inputs, const InputSteps& steps) {
    bool allRead = true;
    for (const Input& input : inputs) {
        if (!steps.read(input)) {
            steps.warn(input);
            allRead = false;
        } else if (!steps.work(input)) {
            return 1;
        }
    }
    return allRead ? 0 : 1;
}

std::vector<Input> namedInputs(const std::vector<std::string>& names) {
    std::vector<Input> inputs;
    for (const std::string& name : names) {
        inputs.push_back({name, static_cast<int>(inputs.size()) + 1, name == smf::kStandardStream});
    }
    return inputs;
}

}  // namespace

int forEachInput(const std::vector<std::string>& names, const InputSteps& steps) {
    return forEach(namedInputs(names), steps);
}

int forEachMidiInput(const std::vector<std::string>& names, smf::Tunefolio& file,
                     std::function<bool(const Input&)> work, std::function<void(const Input&)> warn) {
    const std::vector<Input> inputs = names.empty() ? std::vector<Input>{{.standardInput = true}} : namedInputs(names);
    return forEach(inputs, {
                               .read = [&file](const Input& input) { return readMidiInput(file, input); },
                               .work = std::move(work),
                               .warn = std::move(warn),
                           });
}

void print(std::string_view text) {
    std::cout << text;
    std::cout.flush();
}

int printChecked(std::string_view text, int status) {
    print(text);
    if (!std::cout) {
        return error("Error: could not write to standard output");
    }
    return status;
}

}  // namespace frame
