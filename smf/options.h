// Command-line option parser shared by every tunefolio program.
//
// A program declares its options with definition strings such as
// "t|track=i:-1" (names joined by "|", "=", a type letter and an optional
// ":default"), hands over the command line, then asks for values and for the
// arguments that are not options.
//
// Command-line rules:
//   - One-letter options: "-t 5" or "-t5"; one-letter booleans may be bundled
//     ("-ab"); a value option inside a bundle takes the rest of the word
//     ("-at5") or, at the end of the bundle, the next word.
//   - Every name may be written with "--": "--track 5" or "--track=5".
//   - A value option takes the next word as its value even when that word
//     starts with "-" ("-c -3").
//   - Where an option could start, a word that begins with "-" and reads as
//     a whole number ("-5", "-25", "-0x10", "-1.5", "-1e3") is an argument,
//     unless the declared one-letter options claim it whole: the word is
//     exactly one declared one-letter option ("-2" with an option "2"
//     declared; a missing value is then an error), or the word is a bundle
//     that reads without any error, attached and next-word values included
//     ("-22" with a boolean "2"; "-12" with an integer option "1"). So with
//     a boolean "2" and no option "5", "-25" is the number -25, and with an
//     integer option "1", "-1.5" is the number -1.5 (".5" is no integer).
//     Programs taking negative numbers as arguments therefore keep them even
//     when they declare digit options. A word that does not read as a number
//     is always read as options ("-5x" is an unknown option).
//     "--" ends the options; "-" alone is an argument.
//   - Integer values: decimal or "0x" hexadecimal, optional sign, within the
//     range of int. Floating-point values: decimal syntax with optional
//     fraction and exponent (or "0x" hexadecimal integers), finite.
//   - "--options" (unless the program declares an option of that name) prints
//     every declared option with its aliases, type and default.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace smf {

class Options {
public:
    Options() = default;
    Options(int argc, const char* const* argv);

    // Hands over the command line for a later process(errorCheck, suppress).
    void setOptions(int argc, const char* const* argv);

    // Declares one option. All declarations come before process().
    // Throws std::invalid_argument for a malformed definition string (a
    // programming error, never caused by user input).
    void define(std::string_view definition);
    void define(std::string_view definition, std::string_view help);

    // Parses the command line and returns; it neither prints nor ends the
    // process, so the caller decides what a refused command line costs
    // (frame::processOptions prints the error and exits). The result is
    // false on an error (see getError()); "--options" sets
    // optionsRequested(). `errorCheck` and `suppress` are accepted for
    // compatibility and have no effect.
    [[nodiscard]] bool process(int argc, const char* const* argv, int errorCheck = 1, int suppress = 0);
    [[nodiscard]] bool process(int errorCheck = 1, int suppress = 0);

    // True when the option (asked by any of its names) was given on the
    // command line. Also answers for value options: was a value given?
    bool getBoolean(std::string_view name) const;

    // The value given on the command line, else the declared default. A
    // default with words after its number ("4.0 seconds") reads as its
    // leading number. Unknown names give 0, 0.0 or "".
    int getInteger(std::string_view name) const;
    double getDouble(std::string_view name) const;
    std::string getString(std::string_view name) const;

    // Non-option arguments, numbered from 1 in command-line order.
    int getArgCount() const;
    std::string getArg(int index) const;
    const std::vector<std::string>& getArgList() const { return m_arguments; }

    // The program path exactly as typed (argv[0]).
    const std::string& getCommand() const { return m_command; }

    // The error of the last process() call, empty when it succeeded
    // ("Error: unknown option --foo").
    const std::string& getError() const { return m_error; }
    bool optionsRequested() const { return m_optionsRequested; }

    // The "--options" listing: one line per option.
    std::string listing() const;

private:
    enum class Type { Boolean, Integer, Double, String };
    struct Definition {
        std::vector<std::string> names;
        Type type = Type::Boolean;
        // Empty optional: declared without ":" (the listing tells "no default"
        // apart from an empty one).
        std::optional<std::string> defaultValue;
        std::string help;
        bool given = false;
        std::string value;
    };

    Definition* find(std::string_view name);
    const Definition* find(std::string_view name) const;
    bool isOneLetterOption(char letter) const;
    std::string_view effectiveText(const Definition& def) const;
    void reset();
    bool fail(std::string message);
    // One option of a bundle of one-letter options, with its value when it
    // takes one (attached to the bundle or the next word).
    struct LetterUse {
        std::size_t definition = 0;
        std::string_view value;
        bool takesNextWord = false;
    };
    struct BundleReading {
        std::vector<LetterUse> uses;
        std::string error;   // empty when the whole word reads as options
    };

    std::string valueError(const Definition& def, std::string_view spelled,
                           std::string_view value) const;
    bool assignValue(Definition& def, std::string_view spelled, std::string_view value);
    bool parseWords();
    bool parseLongOption(std::size_t& index);
    BundleReading readLetterBundle(std::size_t index) const;
    bool parseLetterBundle(std::size_t& index);
    bool startsOption(std::size_t index) const;

    std::vector<Definition> m_definitions;
    // Every name of every option, pointing into m_definitions.
    std::map<std::string, std::size_t, std::less<>> m_index;
    std::vector<std::string> m_words;   // argv[1..]
    std::vector<std::string> m_arguments;
    std::string m_command;
    std::string m_error;
    bool m_optionsRequested = false;
};

}  // namespace smf
