// The standard tool frame: what every tunefolio program does before and
// around its own work.
//
// A program describes itself once (family, texts, own options); the frame
// declares the options in the family's order, processes the command line and
// answers --author, --version, --help and --example. Three wording families
// exist:
//   Classic     "author of program", ...; --version prints the program path
//               and the version date; --help the usage text.
//   Dated       the program's options first, then "Author of the program",
//               ...; --version prints the version text; --help and --example
//               print two empty lines (DatedLower: the usage and example texts).
//   Bare        the program lists every option itself, standard ones
//               included; --version does not end the run.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "smf/options.h"
#include "smf/printable_name.h"
#include "smf/tunefolio.h"

namespace frame {

enum class Family { Classic, Dated, DatedLower, Bare };

// One option of a program: its definition string and help text.
struct OptionSpec {
    std::string_view definition;
    std::string_view help;
    bool hasHelp = true;  // false: declared with the definition alone
};

// Where a Classic program's own options stand among the standard ones.
// AroundStandard: the first `ownOptionsBeforeStandard` of them, then the
// standard ones, then the rest.
enum class OwnOptions { AfterStandard, BeforeStandard, AroundStandard };

struct Tool {
    Family family = Family::Classic;
    // Date in the author line: "Written by <name>, <address>, <date>".
    std::string_view authorDate;
    // Classic: the version date ("20 February 2016"); Dated and Bare: the
    // whole version line ("smftext, version 1.0 (18 Feb 2015)").
    std::string_view version;
    // The usage text for a command name; empty: --help prints nothing.
    std::function<std::string(std::string_view command)> usage;
    // The example text; empty: --example prints nothing.
    std::string example;
    // The program's own options (Bare: all options, in declaration order).
    std::vector<OptionSpec> options;
    OwnOptions order = OwnOptions::AfterStandard;
    std::size_t ownOptionsBeforeStandard = 0;  // AroundStandard only
    // Lower-case dated wording only: the help text of --example.
    std::string_view exampleHelp = "example useage of the program";
    // Replaces the two version lines when set (the program prints them).
    std::function<void(const smf::Options&)> printVersion;
    // Bare family: whether --version ends the run.
    bool versionEndsRun = false;
};

// Steps 1 to 7 of every program's option check: declare, process, and answer
// the standard options (in the order author, version, help, example; each
// prints and exits with code 0). Returns when the program should go on.
void checkStandardOptions(smf::Options& options, const Tool& tool, int argc, char** argv);

// Runs the parser on the command line it holds (or is handed) and ends the
// run where the command line says so: a refused command line prints its
// error on standard error and exits with code 1; "--options" prints the
// listing and exits with code 0. Returns when the program should go on.
void processOptions(smf::Options& options);
void processOptions(smf::Options& options, int argc, char** argv);

// Declares the options in the family's order without processing.
void declareOptions(smf::Options& options, const Tool& tool);
// Answers the standard options of an already processed command line.
void answerStandardOptions(const smf::Options& options, const Tool& tool);

// "Written by <maintainers>, <address>, <date>".
std::string authorLine(std::string_view date);
// The date the programs were built, as "Feb  1 2026".
std::string_view buildDate();
// "compiled: " and the build date.
std::string compiledLine();

// A usage text of one line: "Usage: ", the command name and the syntax
// (for example " tunefolio"), then a newline.
std::function<std::string(std::string_view command)> usageLine(std::string syntax);
// Whether exactly `count` arguments were given; if not, prints the usage
// text on standard output (the classic programs' answer) and returns false.
bool requireArguments(const smf::Options& options, const Tool& tool, int count);

// The text followed by blanks up to width characters.
std::string padded(std::string_view text, std::size_t width);

// The name as it may be printed in a message (smf/printable_name.h).
using smf::printableName;

// Prints one line (a newline is added) on standard error after flushing
// standard output; returns 1, the exit code of every failure.
int error(std::string_view line);
// The same on standard output.
int errorOnStdout(std::string_view line);
// Whether the run has reported a failure with error() or errorOnStdout():
// the end of the run then adds no message of its own.
bool failureReported();

// Reads a named MIDI file (MIDI bytes or hexscribe text). When it cannot be
// read, prints "Error: could not read MIDI file NAME" on standard error and
// returns false.
bool readMidiFile(smf::Tunefolio& file, const std::string& name);
// The same for standard input ("... from standard input").
bool readMidiStandardInput(smf::Tunefolio& file);

// Reads the one input of a single-file program: the first argument, or
// standard input when there is none.
bool readInput(smf::Tunefolio& file, const smf::Options& options);

// What "-" stands for in a comparison of names: standard input or output.
enum class Stream { Input, Output };

// Whether two names stand for the same existing regular file: the same
// device and inode, however the names are spelled.
bool sameRegularFile(const std::string& first, Stream firstStream, const std::string& second,
                     Stream secondStream);

// Whether writing the output would destroy one of the inputs: both are the
// same regular file (sameRegularFile). If so, prints "Error: output file
// OUTPUT would replace its input" (then the input's name when it is spelled
// otherwise, or "(standard input)") on standard error and returns true. For
// programs that write another kind of data than they read; the programs
// that rewrite a MIDI file read it whole first and may write it in place.
bool outputReplacesInput(const std::vector<std::string>& inputs, const std::string& output);

// For programs that rewrite a MIDI file: whether the output would replace
// an input that is hexscribe text, not MIDI bytes (the MIDI file written
// would destroy the text). If so, prints the error of outputReplacesInput
// and returns true. A MIDI file given as both is rewritten in place.
bool outputReplacesTextInput(const std::string& input, const std::string& output);

// ---- programs that read several inputs in turn ----

// One input of such a program.
struct Input {
    std::string_view name;       // as given on the command line
    int number = 1;              // 1 for the first, in command-line order
    bool standardInput = false;  // no name, or "-", was given: standard input is read
};

// Reads the input into the file without a word: the named file, or
// standard input.
bool readMidiInput(smf::Tunefolio& file, const Input& input);
// The warning for a MIDI input that cannot be read, on standard error:
// "Error: could not read MIDI file NAME" (or "... from standard input").
void warnUnreadable(const Input& input);

// What a program does with each input.
struct InputSteps {
    // Reads the input; false when it cannot be read.
    std::function<bool(const Input&)> read;
    // Works on an input that was read; false stops the run (the program has
    // said why).
    std::function<bool(const Input&)> work;
    // Says that an input could not be read.
    std::function<void(const Input&)> warn = warnUnreadable;
};

// The loop of every program that takes several inputs: each named input is
// read and worked on in turn; one that cannot be read gets its warning and
// the loop goes on with the next. Returns the exit code: 0 when every input
// was read and worked on, else 1.
int forEachInput(const std::vector<std::string>& names, const InputSteps& steps);
// The same for MIDI inputs, each read into the one file object in turn; with
// no names, standard input is the one input.
int forEachMidiInput(const std::vector<std::string>& names, smf::Tunefolio& file,
                     std::function<bool(const Input&)> work,
                     std::function<void(const Input&)> warn = warnUnreadable);

// Prints text on standard output and flushes it.
void print(std::string_view text);
// The same, returning status; a text that could not be written (a full disk,
// a closed pipe) prints "Error: could not write to standard output" on
// standard error and returns 1 instead, so it never passes for success.
int printChecked(std::string_view text, int status);

}  // namespace frame
