#include "smf/options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Holds a command line as argc/argv for the parser.
class CommandLine {
public:
    CommandLine(std::initializer_list<const char*> words) : m_words(words) {
        m_pointers.assign(m_words.begin(), m_words.end());
        m_pointers.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(m_words.size()); }
    const char* const* argv() const { return m_pointers.data(); }

private:
    std::vector<const char*> m_words;
    std::vector<const char*> m_pointers;
};

// Parses without exiting; returns the parser for inspection.
bool parse(smf::Options& opts, std::initializer_list<const char*> words) {
    const CommandLine line(words);
    return opts.process(line.argc(), line.argv(), 0, 0);
}

// A parser with the kinds of declarations the tools use.
smf::Options toolOptions() {
    smf::Options opts;
    opts.define("a|ascii=b", "printable text only");
    opts.define("b|binary|bytes=b", "byte codes only");
    opts.define("t|track=i:-1", "which track");
    opts.define("p|pause=d:2.0", "pause after each file");
    opts.define("c|compile=s:", "compile into this file");
    opts.define("n|name=s:data", "array name");
    opts.define("pm|perc|percussion-map=s", "percussion map");
    opts.define("mr|rest|max-rest=d:4.0 seconds", "longest rest");
    opts.define("2|bin2=b", "digit option");
    opts.define("h|help=b", "short description");
    return opts;
}

std::vector<std::string> args(const smf::Options& opts) { return opts.getArgList(); }

using Strings = std::vector<std::string>;

TEST(OptionsTest, DefaultsWhenNothingGiven) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog"}));
    EXPECT_FALSE(opts.getBoolean("ascii"));
    EXPECT_FALSE(opts.getBoolean("track"));
    EXPECT_EQ(opts.getInteger("track"), -1);
    EXPECT_DOUBLE_EQ(opts.getDouble("pause"), 2.0);
    EXPECT_EQ(opts.getString("compile"), "");
    EXPECT_EQ(opts.getString("name"), "data");
    EXPECT_EQ(opts.getString("percussion-map"), "");
    EXPECT_EQ(opts.getArgCount(), 0);
    EXPECT_EQ(opts.getError(), "");
}

TEST(OptionsTest, DefaultWithTrailingWordsReadsLeadingNumber) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog"}));
    EXPECT_DOUBLE_EQ(opts.getDouble("max-rest"), 4.0);
    EXPECT_EQ(opts.getInteger("mr"), 4);
    EXPECT_EQ(opts.getString("rest"), "4.0 seconds");
}

TEST(OptionsTest, EveryAliasAnswers) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "--bytes", "--perc", "map.txt"}));
    EXPECT_TRUE(opts.getBoolean("b"));
    EXPECT_TRUE(opts.getBoolean("binary"));
    EXPECT_TRUE(opts.getBoolean("bytes"));
    EXPECT_EQ(opts.getString("pm"), "map.txt");
    EXPECT_EQ(opts.getString("percussion-map"), "map.txt");
    EXPECT_TRUE(opts.getBoolean("pm"));
}

TEST(OptionsTest, UnknownNamesAskedByProgramGiveEmptyValues) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-a"}));
    EXPECT_FALSE(opts.getBoolean("nothing"));
    EXPECT_EQ(opts.getInteger("nothing"), 0);
    EXPECT_DOUBLE_EQ(opts.getDouble("nothing"), 0.0);
    EXPECT_EQ(opts.getString("nothing"), "");
}

TEST(OptionsTest, OneLetterValueAttachedOrNextWord) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-t1", "file.mid"}));
    EXPECT_EQ(opts.getInteger("track"), 1);
    EXPECT_TRUE(opts.getBoolean("track"));
    EXPECT_EQ(args(opts), Strings{"file.mid"});

    ASSERT_TRUE(parse(opts, {"prog", "-t", "7", "file.mid"}));
    EXPECT_EQ(opts.getInteger("t"), 7);
    EXPECT_EQ(args(opts), Strings{"file.mid"});
}

TEST(OptionsTest, LongNameWithEqualsOrNextWord) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "--track=3", "--pause", "0.5"}));
    EXPECT_EQ(opts.getInteger("track"), 3);
    EXPECT_DOUBLE_EQ(opts.getDouble("pause"), 0.5);
    EXPECT_EQ(opts.getArgCount(), 0);
}

TEST(OptionsTest, EqualsValueMayContainEqualsAndBeEmpty) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "--name=a=b", "--compile="}));
    EXPECT_EQ(opts.getString("name"), "a=b");
    EXPECT_TRUE(opts.getBoolean("compile"));
    EXPECT_EQ(opts.getString("compile"), "");
}

TEST(OptionsTest, OneLetterNameWrittenWithTwoDashes) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "--t", "4", "--a", "--p=1.5"}));
    EXPECT_EQ(opts.getInteger("track"), 4);
    EXPECT_TRUE(opts.getBoolean("ascii"));
    EXPECT_DOUBLE_EQ(opts.getDouble("pause"), 1.5);
}

TEST(OptionsTest, MultiLetterAliasNeedsTwoDashes) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "--mr", "2.5"}));
    EXPECT_DOUBLE_EQ(opts.getDouble("max-rest"), 2.5);
    // "-mr" is not the alias: "m" is no one-letter option.
    EXPECT_FALSE(parse(opts, {"prog", "-mr", "2.5"}));
    EXPECT_EQ(opts.getError(), "Error: unknown option -mr");
}

TEST(OptionsTest, BundledBooleans) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-ab", "x"}));
    EXPECT_TRUE(opts.getBoolean("ascii"));
    EXPECT_TRUE(opts.getBoolean("binary"));
    EXPECT_FALSE(opts.getBoolean("help"));
    EXPECT_EQ(args(opts), Strings{"x"});
}

TEST(OptionsTest, ValueOptionInsideBundleTakesRestOfWord) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-at5", "x"}));
    EXPECT_TRUE(opts.getBoolean("ascii"));
    EXPECT_EQ(opts.getInteger("track"), 5);
    EXPECT_EQ(args(opts), Strings{"x"});
}

TEST(OptionsTest, ValueOptionEndingBundleTakesNextWord) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-abt", "6", "x"}));
    EXPECT_TRUE(opts.getBoolean("a"));
    EXPECT_TRUE(opts.getBoolean("b"));
    EXPECT_EQ(opts.getInteger("t"), 6);
    EXPECT_EQ(args(opts), Strings{"x"});
}

TEST(OptionsTest, StringValueAttachedToLetterKeepsRestVerbatim) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-cab"}));
    EXPECT_EQ(opts.getString("compile"), "ab");
    EXPECT_FALSE(opts.getBoolean("ascii"));
}

TEST(OptionsTest, NegativeValueAsNextWord) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-c", "-3", "-t", "-1", "--pause", "-0.25"}));
    EXPECT_EQ(opts.getString("compile"), "-3");
    EXPECT_EQ(opts.getInteger("track"), -1);
    EXPECT_TRUE(opts.getBoolean("track"));
    EXPECT_DOUBLE_EQ(opts.getDouble("pause"), -0.25);
    EXPECT_EQ(opts.getArgCount(), 0);
}

TEST(OptionsTest, ValueOptionTakesOptionLookingWordAsValue) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-c", "-a", "--name", "--", "x"}));
    EXPECT_EQ(opts.getString("compile"), "-a");
    EXPECT_FALSE(opts.getBoolean("ascii"));
    EXPECT_EQ(opts.getString("name"), "--");
    EXPECT_EQ(args(opts), Strings{"x"});
}

TEST(OptionsTest, NumberLikeWordsAreArguments) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-5", "-0x10", "-1.5", "-.5", "-1e3", "+7", "x"}));
    EXPECT_EQ(args(opts), (Strings{"-5", "-0x10", "-1.5", "-.5", "-1e3", "+7", "x"}));
}

TEST(OptionsTest, DeclaredDigitLetterIsAnOption) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-2", "-3"}));
    EXPECT_TRUE(opts.getBoolean("bin2"));
    EXPECT_EQ(args(opts), Strings{"-3"});
}

TEST(OptionsTest, NumberStartingWithDigitOptionIsAnArgument) {
    auto opts = toolOptions();
    // "5" is no option, so "-25" cannot be the bundle "-2" "-5".
    ASSERT_TRUE(parse(opts, {"prog", "-25", "-2.5", "-2e3", "-20"}));
    EXPECT_FALSE(opts.getBoolean("bin2"));
    EXPECT_EQ(args(opts), (Strings{"-25", "-2.5", "-2e3", "-20"}));
}

TEST(OptionsTest, ValidBundleOfDigitOptionsStaysOptions) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-22", "x"}));
    EXPECT_TRUE(opts.getBoolean("bin2"));
    EXPECT_EQ(args(opts), Strings{"x"});
}

TEST(OptionsTest, DigitValueOptionClaimsNumberWhenItsValueIsValid) {
    smf::Options opts;
    opts.define("1|one=i:0");
    opts.define("2|two=b");
    // "-12" is the option 1 with the value 2.
    ASSERT_TRUE(parse(opts, {"prog", "-12"}));
    EXPECT_EQ(opts.getInteger("one"), 2);
    EXPECT_EQ(opts.getArgCount(), 0);
    // ".5" is no integer, so "-1.5" is a number.
    ASSERT_TRUE(parse(opts, {"prog", "-1.5"}));
    EXPECT_FALSE(opts.getBoolean("one"));
    EXPECT_EQ(args(opts), Strings{"-1.5"});
    // "-21" ends with the value option: it takes the next word, if valid.
    ASSERT_TRUE(parse(opts, {"prog", "-21", "7"}));
    EXPECT_TRUE(opts.getBoolean("two"));
    EXPECT_EQ(opts.getInteger("one"), 7);
    EXPECT_EQ(opts.getArgCount(), 0);
    ASSERT_TRUE(parse(opts, {"prog", "-21", "x"}));
    EXPECT_FALSE(opts.getBoolean("two"));
    EXPECT_EQ(args(opts), (Strings{"-21", "x"}));
    ASSERT_TRUE(parse(opts, {"prog", "-21"}));
    EXPECT_EQ(args(opts), Strings{"-21"});
}

TEST(OptionsTest, DigitOptionAloneIsAlwaysTheOption) {
    smf::Options opts;
    opts.define("1|one=i:0");
    EXPECT_FALSE(parse(opts, {"prog", "-1"}));
    EXPECT_EQ(opts.getError(), "Error: option -1 needs a value");
    EXPECT_FALSE(parse(opts, {"prog", "-1", "x"}));
    EXPECT_EQ(opts.getError(), "Error: option -1 expects a number, got \"x\"");
}

TEST(OptionsTest, DigitOptionValueMayBeNegativeNumber) {
    smf::Options opts;
    opts.define("2|two=i:0");
    ASSERT_TRUE(parse(opts, {"prog", "-2", "-25", "-7"}));
    EXPECT_EQ(opts.getInteger("two"), -25);
    EXPECT_EQ(args(opts), Strings{"-7"});
    // An attached value is a valid use of the option: "-25" is "-2" "5".
    ASSERT_TRUE(parse(opts, {"prog", "-25"}));
    EXPECT_EQ(opts.getInteger("two"), 5);
    EXPECT_EQ(opts.getArgCount(), 0);
}

TEST(OptionsTest, HexNumberWordWithDeclaredHexLetters) {
    smf::Options opts;
    opts.define("0=b");
    opts.define("x=b");
    opts.define("1=b");
    // Every letter of "-0x1" is a declared boolean: the bundle wins.
    ASSERT_TRUE(parse(opts, {"prog", "-0x1", "-0x2"}));
    EXPECT_TRUE(opts.getBoolean("0"));
    EXPECT_TRUE(opts.getBoolean("x"));
    EXPECT_TRUE(opts.getBoolean("1"));
    EXPECT_EQ(args(opts), Strings{"-0x2"});
}

TEST(OptionsTest, NumberLookalikesThatAreNotNumbersAreOptions) {
    auto opts = toolOptions();
    EXPECT_FALSE(parse(opts, {"prog", "-5x"}));
    EXPECT_EQ(opts.getError(), "Error: unknown option -5x");
    EXPECT_FALSE(parse(opts, {"prog", "-inf"}));
    EXPECT_EQ(opts.getError(), "Error: unknown option -inf");
}

TEST(OptionsTest, DoubleDashEndsOptions) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-a", "--", "-b", "--track", "--", "y"}));
    EXPECT_TRUE(opts.getBoolean("ascii"));
    EXPECT_FALSE(opts.getBoolean("binary"));
    EXPECT_EQ(args(opts), (Strings{"-b", "--track", "--", "y"}));
}

TEST(OptionsTest, LoneDashAndEmptyWordAreArguments) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-", "", "-a"}));
    EXPECT_EQ(args(opts), (Strings{"-", ""}));
    EXPECT_TRUE(opts.getBoolean("ascii"));
}

TEST(OptionsTest, ArgumentsKeepOrderAmongOptions) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "one", "-a", "two", "-t", "3", "three"}));
    EXPECT_EQ(opts.getArgCount(), 3);
    EXPECT_EQ(opts.getArg(1), "one");
    EXPECT_EQ(opts.getArg(2), "two");
    EXPECT_EQ(opts.getArg(3), "three");
    EXPECT_EQ(opts.getArg(0), "");
    EXPECT_EQ(opts.getArg(4), "");
    EXPECT_EQ(opts.getArg(-1), "");
}

TEST(OptionsTest, LastValueWins) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-t1", "--track=2", "-t", "3"}));
    EXPECT_EQ(opts.getInteger("track"), 3);
}

TEST(OptionsTest, UnknownOptionsReportedAsTyped) {
    auto opts = toolOptions();
    EXPECT_FALSE(parse(opts, {"prog", "--foo"}));
    EXPECT_EQ(opts.getError(), "Error: unknown option --foo");
    EXPECT_FALSE(parse(opts, {"prog", "-x"}));
    EXPECT_EQ(opts.getError(), "Error: unknown option -x");
    EXPECT_FALSE(parse(opts, {"prog", "--foo=3"}));
    EXPECT_EQ(opts.getError(), "Error: unknown option --foo");
    EXPECT_FALSE(parse(opts, {"prog", "-ax"}));
    EXPECT_EQ(opts.getError(), "Error: unknown option -x in -ax");
    // Option letters are case-sensitive.
    EXPECT_FALSE(parse(opts, {"prog", "-A"}));
    EXPECT_EQ(opts.getError(), "Error: unknown option -A");
}

TEST(OptionsTest, UnknownNonAsciiLetterReportedWhole) {
    auto opts = toolOptions();
    EXPECT_FALSE(parse(opts, {"prog", "-a\xC3\xA9"}));
    EXPECT_EQ(opts.getError(), "Error: unknown option -\xC3\xA9 in -a\xC3\xA9");
}

TEST(OptionsTest, MissingValue) {
    auto opts = toolOptions();
    EXPECT_FALSE(parse(opts, {"prog", "-t"}));
    EXPECT_EQ(opts.getError(), "Error: option -t needs a value");
    EXPECT_FALSE(parse(opts, {"prog", "x", "--track"}));
    EXPECT_EQ(opts.getError(), "Error: option --track needs a value");
    EXPECT_FALSE(parse(opts, {"prog", "-ac"}));
    EXPECT_EQ(opts.getError(), "Error: option -c needs a value");
    EXPECT_FALSE(parse(opts, {"prog", "--perc"}));
    EXPECT_EQ(opts.getError(), "Error: option --perc needs a value");
}

TEST(OptionsTest, MalformedNumbers) {
    auto opts = toolOptions();
    EXPECT_FALSE(parse(opts, {"prog", "-t", "abc"}));
    EXPECT_EQ(opts.getError(), "Error: option -t expects a number, got \"abc\"");
    EXPECT_FALSE(parse(opts, {"prog", "-t5x"}));
    EXPECT_EQ(opts.getError(), "Error: option -t expects a number, got \"5x\"");
    EXPECT_FALSE(parse(opts, {"prog", "--pause=1.5s"}));
    EXPECT_EQ(opts.getError(), "Error: option --pause expects a number, got \"1.5s\"");
    EXPECT_FALSE(parse(opts, {"prog", "--pause", ""}));
    EXPECT_EQ(opts.getError(), "Error: option --pause expects a number, got \"\"");
    EXPECT_FALSE(parse(opts, {"prog", "-p", " 1"}));
    EXPECT_EQ(opts.getError(), "Error: option -p expects a number, got \" 1\"");
    EXPECT_FALSE(parse(opts, {"prog", "-p", "0x"}));
    EXPECT_EQ(opts.getError(), "Error: option -p expects a number, got \"0x\"");
}

TEST(OptionsTest, NonFiniteDoublesRejected) {
    auto opts = toolOptions();
    EXPECT_FALSE(parse(opts, {"prog", "-p", "inf"}));
    EXPECT_EQ(opts.getError(), "Error: option -p expects a number, got \"inf\"");
    EXPECT_FALSE(parse(opts, {"prog", "-p", "nan"}));
    EXPECT_EQ(opts.getError(), "Error: option -p expects a number, got \"nan\"");
    EXPECT_FALSE(parse(opts, {"prog", "-p", "1e999"}));
    EXPECT_EQ(opts.getError(), "Error: option -p value \"1e999\" is out of range");
    EXPECT_FALSE(parse(opts, {"prog", "-p", "-1e999"}));
    EXPECT_EQ(opts.getError(), "Error: option -p value \"-1e999\" is out of range");
}

TEST(OptionsTest, TinyDoubleUnderflowIsAccepted) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-p", "1e-400"}));
    EXPECT_GE(opts.getDouble("pause"), 0.0);
    EXPECT_LT(opts.getDouble("pause"), 1e-300);
}

TEST(OptionsTest, IntegerSyntaxAndRange) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-t", "0x10"}));
    EXPECT_EQ(opts.getInteger("track"), 16);
    ASSERT_TRUE(parse(opts, {"prog", "-t", "-0X1f"}));
    EXPECT_EQ(opts.getInteger("track"), -31);
    ASSERT_TRUE(parse(opts, {"prog", "-t", "+12"}));
    EXPECT_EQ(opts.getInteger("track"), 12);
    ASSERT_TRUE(parse(opts, {"prog", "-t", "010"}));
    EXPECT_EQ(opts.getInteger("track"), 10);
    ASSERT_TRUE(parse(opts, {"prog", "-t", "2147483647"}));
    EXPECT_EQ(opts.getInteger("track"), 2147483647);
    ASSERT_TRUE(parse(opts, {"prog", "-t", "-2147483648"}));
    EXPECT_EQ(opts.getInteger("track"), -2147483647 - 1);

    EXPECT_FALSE(parse(opts, {"prog", "-t", "2147483648"}));
    EXPECT_EQ(opts.getError(), "Error: option -t value \"2147483648\" is out of range");
    EXPECT_FALSE(parse(opts, {"prog", "-t", "0xffffffff"}));
    EXPECT_EQ(opts.getError(), "Error: option -t value \"0xffffffff\" is out of range");
    EXPECT_FALSE(parse(opts, {"prog", "-t", "99999999999999999999999"}));
    EXPECT_EQ(opts.getError(),
              "Error: option -t value \"99999999999999999999999\" is out of range");
    EXPECT_FALSE(parse(opts, {"prog", "-t", "1.5"}));
    EXPECT_EQ(opts.getError(), "Error: option -t expects an integer, got \"1.5\"");
    EXPECT_FALSE(parse(opts, {"prog", "-t", "1e3"}));
    EXPECT_EQ(opts.getError(), "Error: option -t expects an integer, got \"1e3\"");
}

TEST(OptionsTest, DoubleSyntax) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-p", ".5"}));
    EXPECT_DOUBLE_EQ(opts.getDouble("pause"), 0.5);
    ASSERT_TRUE(parse(opts, {"prog", "-p", "3."}));
    EXPECT_DOUBLE_EQ(opts.getDouble("pause"), 3.0);
    ASSERT_TRUE(parse(opts, {"prog", "-p", "-2.5E-1"}));
    EXPECT_DOUBLE_EQ(opts.getDouble("pause"), -0.25);
    ASSERT_TRUE(parse(opts, {"prog", "-p", "7"}));
    EXPECT_DOUBLE_EQ(opts.getDouble("pause"), 7.0);
    ASSERT_TRUE(parse(opts, {"prog", "-p", "0x20"}));
    EXPECT_DOUBLE_EQ(opts.getDouble("pause"), 32.0);
}

TEST(OptionsTest, CrossTypeRequestsReadTheNumber) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-p", "2.7", "-t", "0x10", "-n", "12abc"}));
    EXPECT_EQ(opts.getInteger("pause"), 2);
    EXPECT_DOUBLE_EQ(opts.getDouble("track"), 16.0);
    EXPECT_EQ(opts.getString("track"), "0x10");
    EXPECT_EQ(opts.getInteger("name"), 12);
    ASSERT_TRUE(parse(opts, {"prog", "-p", "-2.7"}));
    EXPECT_EQ(opts.getInteger("pause"), -2);
    ASSERT_TRUE(parse(opts, {"prog", "-p", "1e300"}));
    EXPECT_EQ(opts.getInteger("pause"), 2147483647);
    ASSERT_TRUE(parse(opts, {"prog", "-n", "words"}));
    EXPECT_EQ(opts.getInteger("name"), 0);
    EXPECT_DOUBLE_EQ(opts.getDouble("name"), 0.0);
}

TEST(OptionsTest, BooleanGivenValueIsAnError) {
    auto opts = toolOptions();
    EXPECT_FALSE(parse(opts, {"prog", "--help=1"}));
    EXPECT_EQ(opts.getError(), "Error: option --help does not take a value");
    EXPECT_FALSE(parse(opts, {"prog", "--help="}));
    EXPECT_EQ(opts.getError(), "Error: option --help does not take a value");
}

TEST(OptionsTest, OptionsListingRequested) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "--options"}));
    EXPECT_TRUE(opts.optionsRequested());
    const std::string text = opts.listing();
    // One line per declared option.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
    EXPECT_NE(text.find("-t, --track"), std::string::npos);
    EXPECT_NE(text.find("integer, default -1"), std::string::npos);
    EXPECT_NE(text.find("--pm, --perc, --percussion-map"), std::string::npos);
    EXPECT_NE(text.find("string, no default"), std::string::npos);
    EXPECT_NE(text.find("string, default \"\""), std::string::npos);
    EXPECT_NE(text.find("double, default 4.0 seconds"), std::string::npos);
    EXPECT_NE(text.find("-2, --bin2"), std::string::npos);
    EXPECT_NE(text.find("which track"), std::string::npos);
    EXPECT_EQ(text.find(" \n"), std::string::npos);   // no trailing blanks

    ASSERT_TRUE(parse(opts, {"prog"}));
    EXPECT_FALSE(opts.optionsRequested());
    EXPECT_FALSE(parse(opts, {"prog", "--options=yes"}));
    EXPECT_EQ(opts.getError(), "Error: option --options does not take a value");
}

TEST(OptionsTest, ListingHelpColumnsLineUp) {
    smf::Options opts;
    opts.define("x=b", "first");
    opts.define("long-name=i:3", "second");
    const std::string text = opts.listing();
    const auto firstLine = text.substr(0, text.find('\n'));
    const auto secondLine = text.substr(text.find('\n') + 1);
    EXPECT_EQ(firstLine.find("first"), secondLine.find("second"));
}

TEST(OptionsTest, DeclaredOptionsNameOverridesListing) {
    smf::Options opts;
    opts.define("options=s:none");
    ASSERT_TRUE(parse(opts, {"prog", "--options", "mine"}));
    EXPECT_FALSE(opts.optionsRequested());
    EXPECT_EQ(opts.getString("options"), "mine");
}

TEST(OptionsTest, SecondProcessingStartsAfresh) {
    auto opts = toolOptions();
    ASSERT_TRUE(parse(opts, {"prog", "-a", "-t", "4", "one", "--options"}));
    EXPECT_FALSE(parse(opts, {"prog", "--bad"}));
    ASSERT_TRUE(parse(opts, {"other", "two"}));
    EXPECT_FALSE(opts.getBoolean("ascii"));
    EXPECT_FALSE(opts.getBoolean("track"));
    EXPECT_EQ(opts.getInteger("track"), -1);
    EXPECT_FALSE(opts.optionsRequested());
    EXPECT_EQ(opts.getError(), "");
    EXPECT_EQ(args(opts), Strings{"two"});
    EXPECT_EQ(opts.getCommand(), "other");
}

TEST(OptionsTest, CommandLineHandedOverEarly) {
    const CommandLine line({"./bin/tool", "-t", "9", "in.mid"});
    smf::Options built(line.argc(), line.argv());
    built.define("t|track=i:0");
    ASSERT_TRUE(built.process(0, 0));
    EXPECT_EQ(built.getCommand(), "./bin/tool");
    EXPECT_EQ(built.getInteger("track"), 9);
    EXPECT_EQ(built.getArg(1), "in.mid");

    smf::Options later;
    later.setOptions(line.argc(), line.argv());
    later.define("t|track=i:0");
    ASSERT_TRUE(later.process(1, 0));
    EXPECT_EQ(later.getCommand(), "./bin/tool");
    EXPECT_EQ(later.getInteger("t"), 9);
}

TEST(OptionsTest, EmptyCommandLine) {
    smf::Options opts;
    opts.define("a=b");
    ASSERT_TRUE(opts.process(0, nullptr, 0, 0));
    EXPECT_EQ(opts.getCommand(), "");
    EXPECT_EQ(opts.getArgCount(), 0);
}

TEST(OptionsTest, MalformedDefinitionsThrow) {
    smf::Options opts;
    EXPECT_THROW(opts.define("track"), std::invalid_argument);
    EXPECT_THROW(opts.define("t|track="), std::invalid_argument);
    EXPECT_THROW(opts.define("t|track=x"), std::invalid_argument);
    EXPECT_THROW(opts.define("t|track=i5"), std::invalid_argument);
    EXPECT_THROW(opts.define("t||track=i"), std::invalid_argument);
    EXPECT_THROW(opts.define("=b"), std::invalid_argument);
    EXPECT_THROW(opts.define("-t=b"), std::invalid_argument);
    EXPECT_THROW(opts.define("a b=b"), std::invalid_argument);
    EXPECT_THROW(opts.define("t|t=b"), std::invalid_argument);
    EXPECT_THROW(opts.define("h=b:1"), std::invalid_argument);
    EXPECT_THROW(opts.define("n=i:many"), std::invalid_argument);
    EXPECT_THROW(opts.define("n=d:seconds 4"), std::invalid_argument);
    opts.define("t|track=i:1");
    EXPECT_THROW(opts.define("track=b"), std::invalid_argument);
    EXPECT_THROW(opts.define("x|t=s"), std::invalid_argument);
}

TEST(OptionsTest, DefaultsMayHoldSeparatorCharacters) {
    smf::Options opts;
    opts.define("S|shapes=s:rectangle,rectangle");
    opts.define("sc|staff-color=s:#555555");
    opts.define("odd=s:a|b=c:d");
    opts.define("n=i:");
    ASSERT_TRUE(parse(opts, {"prog"}));
    EXPECT_EQ(opts.getString("S"), "rectangle,rectangle");
    EXPECT_EQ(opts.getString("staff-color"), "#555555");
    EXPECT_EQ(opts.getString("odd"), "a|b=c:d");
    EXPECT_EQ(opts.getInteger("n"), 0);
}

TEST(OptionsTest, CaseSensitiveOneLetterAliases) {
    smf::Options opts;
    opts.define("s|scale=d:1.0");
    opts.define("S|shapes=s:rectangle");
    ASSERT_TRUE(parse(opts, {"prog", "-s2", "-S", "oval"}));
    EXPECT_DOUBLE_EQ(opts.getDouble("scale"), 2.0);
    EXPECT_EQ(opts.getString("shapes"), "oval");
}

// The parser only reports: printing and ending the run are the caller's.
TEST(OptionsTest, ProcessReturnsWithoutPrinting) {
    for (const int errorCheck : {0, 1}) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        auto refused = toolOptions();
        const CommandLine unknown({"prog", "--foo"});
        EXPECT_FALSE(refused.process(unknown.argc(), unknown.argv(), errorCheck, 0));
        EXPECT_EQ(refused.getError(), "Error: unknown option --foo");

        auto listed = toolOptions();
        const CommandLine listing({"prog", "--options"});
        EXPECT_TRUE(listed.process(listing.argc(), listing.argv(), errorCheck, 0));
        EXPECT_TRUE(listed.optionsRequested());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
}

}  // namespace
