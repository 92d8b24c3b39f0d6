// The frame's loop over several inputs: warn and go on, one exit status.
#include "frame/frame.h"

#include <gtest/gtest.h>

#include <string>
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

}  // namespace
