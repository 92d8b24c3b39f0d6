// The frame's loop over several inputs: warn and go on, one exit status;
// and how a processed command line ends the run.
#include "frame/frame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

// Reads inputs whose name starts with "ok"; records what happened.
struct Trace {
    std::vector<std::string> events;

    frame::InputSteps steps(int stopAt = 0) {
        return {
            .read = [](const frame::Input& input) { return input.name.starts_with("ok"); },
            .work =
                [this, stopAt](const frame::Input& input) {
                    events.push_back("work " + std::string(input.name) + " " + std::to_string(input.number));
                    return input.number != stopAt;
                },
            .warn =
                [this](const frame::Input& input) {
                    events.push_back("warn " + std::string(input.name) + " " + std::to_string(input.number));
                },
        };
    }
};

TEST(FrameInputs, AnUnreadableInputIsWarnedOfAndTheRestGoOn) {
    Trace trace;
    EXPECT_EQ(frame::forEachInput({"ok1", "bad", "ok3"}, trace.steps()), 1);
    EXPECT_EQ(trace.events, (std::vector<std::string>{"work ok1 1", "warn bad 2", "work ok3 3"}));
}

TEST(FrameInputs, EveryInputReadGivesStatusZero) {
    Trace trace;
    EXPECT_EQ(frame::forEachInput({"ok1", "ok2"}, trace.steps()), 0);
    EXPECT_EQ(trace.events.size(), 2U);
    EXPECT_EQ(frame::forEachInput({}, trace.steps()), 0);
    EXPECT_EQ(trace.events.size(), 2U);
}

TEST(FrameInputs, WorkThatFailsStopsTheRun) {
    Trace trace;
    EXPECT_EQ(frame::forEachInput({"ok1", "ok2", "bad", "ok4"}, trace.steps(2)), 1);
    EXPECT_EQ(trace.events, (std::vector<std::string>{"work ok1 1", "work ok2 2"}));
}

TEST(FrameInputs, MidiInputsAreReadIntoTheOneFile) {
    smf::Tunefolio file;
    std::vector<std::string> warned;
    int worked = 0;
    const int status = frame::forEachMidiInput(
        {TUNEFOLIO_CORPUS_DIR "/missing.mid", TUNEFOLIO_CORPUS_DIR "/demo12.mid"}, file,
        [&](const frame::Input& input) {
            EXPECT_EQ(input.number, 2);
            EXPECT_GT(file.getTrackCount(), 0);
            EXPECT_FALSE(file.getFilename().empty());
            return ++worked > 0;
        },
        [&](const frame::Input& input) { warned.emplace_back(input.name); });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(worked, 1);
    EXPECT_EQ(warned, (std::vector<std::string>{TUNEFOLIO_CORPUS_DIR "/missing.mid"}));
}

// argv as the programs receive it: writable words, ended by a null pointer.
struct Words {
    std::vector<std::string> words;
    std::vector<char*> pointers;

    explicit Words(std::vector<std::string> list) : words(std::move(list)) {
        for (std::string& word : words) {
            pointers.push_back(word.data());
        }
        pointers.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(words.size()); }
    char** argv() { return pointers.data(); }
};

TEST(FrameOptionsDeathTest, RefusedCommandLineEndsWithItsErrorAndOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            smf::Options options;
            options.define("t|track=i:-1");
            Words line({"prog", "-t", "abc"});
            frame::processOptions(options, line.argc(), line.argv());
            std::exit(3);  // must not be reached
        },
        testing::ExitedWithCode(1), "^Error: option -t expects a number, got \"abc\"\n$");
}

TEST(FrameOptionsDeathTest, OptionsListingEndsTheRunWithZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            smf::Options options;
            options.define("t|track=i:-1");
            Words line({"prog", "--options"});
            frame::processOptions(options, line.argc(), line.argv());
            std::exit(3);  // must not be reached
        },
        testing::ExitedWithCode(0), "");
}

TEST(FrameOptions, AcceptedCommandLineGoesOn) {
    smf::Options options;
    options.define("t|track=i:-1");
    Words line({"prog", "-t", "2", "in.mid"});
    frame::processOptions(options, line.argc(), line.argv());
    EXPECT_EQ(options.getInteger("track"), 2);
    EXPECT_EQ(options.getArgList(), std::vector<std::string>{"in.mid"});
}

}  // namespace
