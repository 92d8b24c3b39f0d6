#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "settings.h"
#include "shapes.h"
#include "staff.h"
#include "xml_text.h"
#include "smf/text_buffer.h"

namespace {

using notegraph::Settings;

std::array<int, 128> mapOf(std::string_view text) {
    std::array<int, 128> map = Settings::identityPercussionMap();
    notegraph::parsePercussionMap(text, map);
    return map;
}

template <class Write>
std::string written(Write write) {
    smf::TextBuffer out;
    write(out);
    return out.str();
}

// The settings for a command line of notegraph's own options and one file.
notegraph::Settings settingsFor(std::vector<const char*> words) {
    smf::Options options;
    for (const frame::OptionSpec& option : notegraph::optionTable()) {
        options.define(option.definition, option.help);
    }
    words.insert(words.begin(), "notegraph");
    words.push_back("in.mid");
    EXPECT_TRUE(options.process(static_cast<int>(words.size()), words.data(), 0));
    return notegraph::readSettings(options);
}

TEST(NotegraphSettings, DefaultsComeFromTheOptionTable) {
    const notegraph::Settings settings = settingsFor({});
    EXPECT_EQ(settings.aspect, 2.5);
    EXPECT_EQ(settings.maxRest, 4.0);  // "4.0 seconds"
    EXPECT_EQ(settings.staffWidth, 0.5);
    EXPECT_EQ(settings.lineWidth, 0.5);
    EXPECT_EQ(settings.staffColor, "#555555");
    EXPECT_TRUE(settings.transparency);
    EXPECT_FALSE(settings.line);
    EXPECT_EQ(settings.shapes, (std::vector<std::string>{"rectangle", "rectangle"}));
}

TEST(NotegraphSettings, CurvedAndRadiusLinesAreLines) {
    const notegraph::Settings curved = settingsFor({"--cline"});
    EXPECT_TRUE(curved.line);
    EXPECT_TRUE(curved.curvedLine);
    EXPECT_FALSE(curved.radiusLine);
    const notegraph::Settings radius = settingsFor({"--rline", "0.5"});
    EXPECT_TRUE(radius.line);
    EXPECT_TRUE(radius.curvedLine);
    EXPECT_TRUE(radius.radiusLine);
    EXPECT_EQ(radius.arcRadius, 0.5);
}

TEST(NotegraphSettings, BarlinesAddEndSpace) {
    EXPECT_EQ(settingsFor({"--final-barline", "--end-space", "1"}).endSpace, 3.0);
    EXPECT_EQ(settingsFor({"--double-barline"}).endSpace, 2.0);
    EXPECT_EQ(settingsFor({"-e", "1.5"}).endSpace, 1.5);
}

TEST(NotegraphSettings, BlackAndWhiteThinsTheStaffAndItsLines) {
    const notegraph::Settings thin = settingsFor({"--black-and-white", "--staff-width", "2"});
    EXPECT_EQ(thin.staffWidth, 0.5);
    EXPECT_EQ(thin.lineWidth, 0.5);
    EXPECT_EQ(settingsFor({"--bw", "--sw", "2", "--lw", "3"}).lineWidth, 3.0);
    EXPECT_EQ(settingsFor({"--sw", "2"}).lineWidth, 2.0);
}

TEST(NotegraphSettings, ClefsDrawStaffAndBrace) {
    const notegraph::Settings settings = settingsFor({"--clefs"});
    EXPECT_TRUE(settings.staff);
    EXPECT_TRUE(settings.brace);
    EXPECT_FALSE(settingsFor({"--staff"}).brace);
}

TEST(NotegraphSettings, APercussionMapShowsTheDrums) {
    const notegraph::Settings settings = settingsFor({"--percussion-map", "36:48"});
    EXPECT_TRUE(settings.drum);
    EXPECT_EQ(settings.percussionMap[36], 48);
    EXPECT_EQ(settings.percussionMap[35], 35);
    EXPECT_EQ(settingsFor({"-S", "r2 o|tu"}).shapes, (std::vector<std::string>{"round2", "oval", "triangleup"}));
    EXPECT_FALSE(settingsFor({"-T"}).transparency);
}

TEST(NotegraphPercussionMap, PairsSeparatedByAnyNonDigit) {
    for (std::string_view text : {"35:36 38:40", "35 36,38-40", "x35:36 38:40", "35::36 38 - 40"}) {
        const auto map = mapOf(text);
        EXPECT_EQ(map[35], 36) << text;
        EXPECT_EQ(map[38], 40) << text;
        EXPECT_EQ(map[36], 36) << text;
    }
}

TEST(NotegraphPercussionMap, TextWithoutDigitsLeavesTheMap) {
    EXPECT_EQ(mapOf(""), Settings::identityPercussionMap());
    EXPECT_EQ(mapOf("none"), Settings::identityPercussionMap());
}

TEST(NotegraphPercussionMap, TrailingKeyWithoutTargetIsIgnored) {
    auto map = mapOf("35:36 38");
    EXPECT_EQ(map[35], 36);
    EXPECT_EQ(map[38], 38);
    map = mapOf("35:36 38:");
    EXPECT_EQ(map[38], 38);
}

TEST(NotegraphPercussionMap, SecondSeparatorAfterAPairStoresZero) {
    // "0:5" is stored first, then the doubled separator after "36" maps 0 to 0.
    auto map = mapOf("0:5 35:36  ");
    EXPECT_EQ(map[35], 36);
    EXPECT_EQ(map[0], 0);
    map = mapOf("0:5");
    EXPECT_EQ(map[0], 5);
}

TEST(NotegraphPercussionMap, ValuesAreClamped) {
    const auto map = mapOf("200:300 127:999999999999999999999999 5:0");
    EXPECT_EQ(map[127], 127);
    EXPECT_EQ(map[5], 0);
}

TEST(NotegraphShapeList, SplitsAndExpands) {
    const auto shapes = notegraph::parseShapeList("r2 o|tu");
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0], "round2");
    EXPECT_EQ(shapes[1], "oval");
    EXPECT_EQ(shapes[2], "triangleup");
    EXPECT_EQ(notegraph::parseShapeList("\t:,;|\n").size(), 0u);
    const auto mixed = notegraph::parseShapeList(";;trr;;star,,C4\tR\n");
    ASSERT_EQ(mixed.size(), 4u);
    EXPECT_EQ(mixed[0], "triangleroundright");
    EXPECT_EQ(mixed[1], "star");
    EXPECT_EQ(mixed[2], "curvedouter4");
    EXPECT_EQ(mixed[3], "antiround");
}

TEST(NotegraphShapeList, HasNoLengthLimit) {
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text += "diamond,";
    }
    text += "o";
    const auto shapes = notegraph::parseShapeList(text);
    ASSERT_EQ(shapes.size(), 5001u);
    EXPECT_EQ(shapes.back(), "oval");
}

TEST(NotegraphShapeList, TracksZeroAndOneShareTheFirstEntry) {
    const std::vector<std::string> shapes{"round2", "oval", "triangleup"};
    EXPECT_EQ(notegraph::trackShapeName(shapes, 0), "round2");
    EXPECT_EQ(notegraph::trackShapeName(shapes, 1), "round2");
    EXPECT_EQ(notegraph::trackShapeName(shapes, 2), "oval");
    EXPECT_EQ(notegraph::trackShapeName(shapes, 3), "triangleup");
    EXPECT_EQ(notegraph::trackShapeName(shapes, 4), "rectangle");
    EXPECT_EQ(notegraph::trackShapeName({}, 0), "rectangle");
    EXPECT_EQ(notegraph::shapeFromName("star"), notegraph::Shape::Rectangle);
    EXPECT_EQ(notegraph::shapeFromName("Oval"), notegraph::Shape::Rectangle);
}

TEST(NotegraphDiatonic, StepsPerPitchClass) {
    EXPECT_EQ(notegraph::diatonicStep(60), 35);
    EXPECT_EQ(notegraph::diatonicStep(61), 35);
    EXPECT_EQ(notegraph::diatonicStep(71), 41);
    EXPECT_EQ(notegraph::diatonicStep(72), 42);
    EXPECT_EQ(notegraph::diatonicStep(0), 0);
    EXPECT_EQ(notegraph::diatonicStep(-1), 0);
    EXPECT_EQ(notegraph::diatonicStep(127), 74);
}

TEST(NotegraphTimeLabel, RoundsToMilliseconds) {
    auto label = [](double seconds) { return written([&](smf::TextBuffer& out) { notegraph::putTimeLabel(out, seconds); }); };
    EXPECT_EQ(label(1.5), "1d500");
    EXPECT_EQ(label(0.0004), "0d000");
    EXPECT_EQ(label(2.0625), "2d063");
    EXPECT_EQ(label(0.0), "0d000");
    EXPECT_EQ(label(12345.6789), "12345d679");
}

TEST(NotegraphXmlText, AttributesEscapeMarkupAndBadBytes) {
    auto attribute = [](std::string_view text) {
        return written([&](smf::TextBuffer& out) { notegraph::putAttributeText(out, text); });
    };
    EXPECT_EQ(attribute("#555555"), "#555555");
    EXPECT_EQ(attribute("a\"<&>"), "a&quot;&lt;&amp;&gt;");
    EXPECT_EQ(attribute("a\x01" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(attribute("\xC3\xA9"), "\xC3\xA9");                // valid two-byte character kept
    EXPECT_EQ(attribute("\xC3"), "\xEF\xBF\xBD");                // truncated sequence
    EXPECT_EQ(attribute("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // overlong form
    EXPECT_EQ(attribute("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // surrogate
}

TEST(NotegraphXmlText, InstructionsCannotBeEndedEarly) {
    auto instruction = [](std::string_view text) {
        return written([&](smf::TextBuffer& out) { notegraph::putInstructionText(out, text); });
    };
    EXPECT_EQ(instruction("a?>b"), "a? >b");
    EXPECT_EQ(instruction("?" "?>>"), "?" "? >>");
    EXPECT_EQ(instruction("a\tb"), "a\tb");
}

// A track of note-ons at the given onsets, with a note-off between each so
// that the note numbers differ from the event indices.
smf::MidiEventList noteOns(std::initializer_list<double> onsets) {
    smf::MidiEventList track;
    for (double onset : onsets) {
        smf::MidiEvent on(0x90, 60, 64);
        on.seconds = onset;
        track.append(on);
        smf::MidiEvent off(0x80, 60, 0);
        off.seconds = onset;
        track.append(off);
    }
    return track;
}

TEST(NotegraphSuccessors, FirstLaterOnsetAtOrAfterTheEnd) {
    notegraph::NoteSuccessors successors;
    successors.scan(noteOns({0, 0, 1, 1, 2}));
    EXPECT_EQ(successors.eventIndex(2), 4);
    ASSERT_EQ(successors.noteCount(), 5);
    EXPECT_EQ(successors.successor(0, 0.5), 2);   // chord partner at 0 is passed over
    EXPECT_EQ(successors.successor(0, 0.0), 1);   // a note of length 0 takes the next at once
    EXPECT_EQ(successors.successor(2, 1.0), 3);   // equal onset counts
    EXPECT_EQ(successors.successor(3, 1.5), 4);
    EXPECT_EQ(successors.successor(4, 2.0), -1);  // the last note has none
    EXPECT_EQ(successors.successor(1, 9.0), -1);
}

TEST(NotegraphSuccessors, TracksOutOfOrderAreSearchedInOrder) {
    notegraph::NoteSuccessors successors;
    successors.scan(noteOns({0, 3, 1, 2}));
    EXPECT_EQ(successors.successor(0, 0.5), 1);
    EXPECT_EQ(successors.successor(1, 3.5), -1);
    EXPECT_EQ(successors.successor(2, 1.5), 3);
}

}  // namespace
