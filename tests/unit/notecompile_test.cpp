#include <gtest/gtest.h>

#include <string>

#include "note_line.h"

using notecompile::leadingDouble;
using notecompile::leadingInt;
using notecompile::normalizedLine;
using notecompile::parseNoteLine;

namespace {

std::optional<notecompile::Note> parse(std::string_view line) {
    return parseNoteLine(normalizedLine(line));
}

}  // namespace

TEST(NotecompileLine, LowerCasesUpToTheCommentAndDropsIt) {
    EXPECT_EQ(normalizedLine("NOTE 0.5 0.25 72 100 ; Loud NOTE"), "note 0.5 0.25 72 100 ");
    EXPECT_EQ(normalizedLine("; only a comment"), "");
    EXPECT_EQ(normalizedLine("Note\t1"), "note\t1");
}

TEST(NotecompileLine, PlainNote) {
    const auto note = parse("note 0 1 60 64");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->key, 60);
    EXPECT_EQ(note->velocity, 64);
    EXPECT_EQ(note->onTick, 0);
    EXPECT_EQ(note->offTick, 960);
}

TEST(NotecompileLine, CommentAndCapitals) {
    const auto note = parse("NOTE 0.5 0.25 72 100 ; loud");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->onTick, 480);
    EXPECT_EQ(note->offTick, 720);
}

TEST(NotecompileLine, TicksRoundHalfUp) {
    // 960 x 0.0005 = 0.48 -> 0; 960 x 0.00053 = 0.5088 -> 1.
    EXPECT_EQ(parse("note 0.0005 1 60 64")->onTick, 0);
    EXPECT_EQ(parse("note 0.00053 1 60 64")->onTick, 1);
}

TEST(NotecompileLine, ShortOrNegativeDurationLastsOneTick) {
    EXPECT_EQ(parse("note 1 0 60 64")->offTick, 961);
    EXPECT_EQ(parse("note 1 -5 60 64")->offTick, 961);
    EXPECT_EQ(parse("note 1 0.0001 60 64")->offTick, 961);
}

TEST(NotecompileLine, KeyAndVelocityRanges) {
    EXPECT_FALSE(parse("note 0 1 128 64"));
    EXPECT_FALSE(parse("note 0 1 -1 64"));
    EXPECT_FALSE(parse("note 0 1 60 128"));
    EXPECT_FALSE(parse("note 0 1 60 -1"));
    EXPECT_TRUE(parse("note 0 1 127 127"));
    const auto silent = parse("note 0 1 0 0");
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->velocity, 0);
}

TEST(NotecompileLine, NeedsFiveTokensAndTheWordNote) {
    EXPECT_FALSE(parse("note 0 1 60"));
    EXPECT_FALSE(parse(""));
    EXPECT_FALSE(parse("notes 0 1 60 64"));
    EXPECT_FALSE(parse("rest 0 1 60 64"));
    EXPECT_FALSE(parse("note 0 1 60 ; 64"));
    EXPECT_TRUE(parse("  note\t0 1\t60 64 and more words"));
}

TEST(NotecompileLine, TextThatIsNoNumberReadsAsZero) {
    const auto note = parse("note soon 1 c4 64");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->onTick, 0);
    EXPECT_EQ(note->key, 0);
}

TEST(NotecompileLine, NumbersAreReadFromTheStartOfTheirToken) {
    const auto note = parse("note 1.5s 2x 60.7 64\r");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->onTick, 1440);
    EXPECT_EQ(note->offTick, 3360);
    EXPECT_EQ(note->key, 60);
    EXPECT_EQ(note->velocity, 64);
}

TEST(NotecompileLine, TimesAFileCannotHoldAreNoNoteLine) {
    EXPECT_FALSE(parse("note nan 1 60 64"));
    EXPECT_FALSE(parse("note inf 1 60 64"));
    EXPECT_FALSE(parse("note 0 infinity 60 64"));
    EXPECT_FALSE(parse("note 1e300 1 60 64"));
    EXPECT_FALSE(parse("note 1e999 1 60 64"));
    EXPECT_FALSE(parse("note 0 1e7 60 64"));
    EXPECT_FALSE(parse("note -1 1 60 64"));
    // Just before the start still rounds to tick 0.
    EXPECT_EQ(parse("note -0.001 1 60 64")->onTick, 0);
}

TEST(NotecompileLine, LargestTimesStillGiveAnOffTick) {
    const auto note = parse("note 2236962 0 60 64");
    ASSERT_TRUE(note);
    EXPECT_EQ(note->onTick, 2147483520);
    EXPECT_EQ(note->offTick, 2147483521);
}

TEST(NotecompileLine, LongLinesAreReadInFull) {
    std::string line = "note";
    line.append(5000, ' ');
    line += "2 1 60 64";
    const auto note = parse(line);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->onTick, 1920);
}

TEST(NotecompileNumbers, LeadingDoubleLikeAtof) {
    EXPECT_EQ(leadingDouble("1.5"), 1.5);
    EXPECT_EQ(leadingDouble("+2"), 2.0);
    EXPECT_EQ(leadingDouble("-.5"), -0.5);
    EXPECT_EQ(leadingDouble("1e2x"), 100.0);
    EXPECT_EQ(leadingDouble("abc"), 0.0);
    EXPECT_EQ(leadingDouble("-"), 0.0);
    EXPECT_EQ(leadingDouble("+-1"), 0.0);
    EXPECT_FALSE(leadingDouble("1e400"));
}

TEST(NotecompileNumbers, LeadingIntLikeAtoi) {
    EXPECT_EQ(leadingInt("60"), 60);
    EXPECT_EQ(leadingInt("-3"), -3);
    EXPECT_EQ(leadingInt("+7"), 7);
    EXPECT_EQ(leadingInt("0x40"), 0);
    EXPECT_EQ(leadingInt("x"), 0);
    EXPECT_EQ(leadingInt("-2147483648"), -2147483647 - 1);
    EXPECT_FALSE(leadingInt("2147483648"));
    EXPECT_FALSE(leadingInt("99999999999999999999999"));
}
