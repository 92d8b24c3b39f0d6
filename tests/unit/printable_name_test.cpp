#include <gtest/gtest.h>

#include <string>

#include "smf/printable_name.h"

namespace {

TEST(PrintableName, KeepsOrdinaryAndUtf8NamesAsTheyAre) {
    EXPECT_EQ(smf::printableName("songs/duet 2.mid"), "songs/duet 2.mid");
    EXPECT_EQ(smf::printableName("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5.mid"), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5.mid");
    EXPECT_EQ(smf::printableName("a\\b"), "a\\b");
    EXPECT_EQ(smf::printableName(""), "");
}

TEST(PrintableName, EscapesControlCharacters) {
    EXPECT_EQ(smf::printableName("a\nb\tc\rd"), "a\\nb\\tc\\rd");
    EXPECT_EQ(smf::printableName("\033[2J"), "\\033[2J");
    EXPECT_EQ(smf::printableName(std::string("x\0y", 3)), "x\\000y");
    EXPECT_EQ(smf::printableName("\x7F\a\b\v\f"), "\\177\\a\\b\\v\\f");
}

// A terminal may take a raw 0x9B, or U+009B in UTF-8, as the start of an
// escape sequence; bytes that are not UTF-8 cannot be shown as they are.
TEST(PrintableName, EscapesC1ControlsAndBytesThatAreNotUtf8) {
    EXPECT_EQ(smf::printableName("\x9B" "2J"), "\\2332J");
    EXPECT_EQ(smf::printableName("\xC2\x9B" "2J"), "\\302\\2332J");
    EXPECT_EQ(smf::printableName("\xC2\xA0"), "\xC2\xA0");
    EXPECT_EQ(smf::printableName("caf\xE9.mid"), "caf\\351.mid");
    EXPECT_EQ(smf::printableName("\xC3"), "\\303");                 // cut short
    EXPECT_EQ(smf::printableName("\xC0\xAF"), "\\300\\257");        // overlong
    EXPECT_EQ(smf::printableName("\xED\xA0\x80"), "\\355\\240\\200");  // surrogate
    EXPECT_EQ(smf::printableName("\xF4\x90\x80\x80"), "\\364\\220\\200\\200");  // beyond U+10FFFF
}

// Text printed within a line of output: controls become blanks, one each,
// so a name cannot add a line; letters of any encoding stay.
TEST(BlankControls, BlanksControlsAndKeepsLetters) {
    EXPECT_EQ(smf::blankControls("Piano\nNoteOn\r"), "Piano NoteOn ");
    EXPECT_EQ(smf::blankControls("\033[31mred\x7F"), " [31mred ");
    EXPECT_EQ(smf::blankControls("a\tb"), "a\tb");
    EXPECT_EQ(smf::blankControls(std::string("x\0y", 3)), "x y");
    EXPECT_EQ(smf::blankControls("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(smf::blankControls("caf\xE9"), "caf\xE9");  // Latin-1
    EXPECT_EQ(smf::blankControls("\xC2\x9B" "2J \x9B" "2J"), " 2J  2J");
    EXPECT_EQ(smf::blankControls(""), "");
}

}  // namespace
