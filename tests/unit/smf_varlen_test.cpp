// MIDI variable-length values: encoding at every size boundary, and
// reading them back from bytes that may end early or run on too long.
#include "smf/varlen.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Status = smf::VarlenRead::Status;

TEST(Varlen, AppendWriteAndSizeAtEveryBoundary) {
    struct Case {
        std::uint32_t value;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {0x00}},
        {0x7f, {0x7f}},
        {0x80, {0x81, 0x00}},
        {0x3fff, {0xff, 0x7f}},
        {0x4000, {0x81, 0x80, 0x00}},
        {0x1fffff, {0xff, 0xff, 0x7f}},
        {0x200000, {0x81, 0x80, 0x80, 0x00}},
        {0x0fffffff, {0xff, 0xff, 0xff, 0x7f}},
        {0x10000000, {0x81, 0x80, 0x80, 0x80, 0x00}},
        {0xffffffff, {0x8f, 0xff, 0xff, 0xff, 0x7f}},
    };
    for (const Case& c : cases) {
        Bytes out{0xaa};
        smf::appendVarlen(out, c.value);
        Bytes expected{0xaa};
        expected.insert(expected.end(), c.bytes.begin(), c.bytes.end());
        EXPECT_EQ(out, expected) << c.value;
        EXPECT_EQ(smf::varlenSize(c.value), static_cast<int>(c.bytes.size())) << c.value;
        std::uint8_t written[smf::kLongestVarlen];
        EXPECT_EQ(Bytes(written, smf::writeVarlen(written, c.value)), c.bytes) << c.value;
    }
}

TEST(Varlen, ReadsWhatWasWritten) {
    for (std::uint32_t value = 0; value <= smf::kLargestVarlen; value = value * 5 + 3) {
        Bytes bytes;
        smf::appendVarlen(bytes, value);
        bytes.push_back(0x90);  // the next event's status must not be read
        const smf::VarlenRead read = smf::readVarlen(bytes);
        ASSERT_EQ(read.status, Status::Complete) << value;
        EXPECT_EQ(read.value, value);
        EXPECT_EQ(read.length, bytes.size() - 1);
    }
}

TEST(Varlen, ReadingStopsAtTheEndOfTheBytes) {
    EXPECT_EQ(smf::readVarlen(Bytes{}).status, Status::Truncated);
    EXPECT_EQ(smf::readVarlen(Bytes{0x81}).status, Status::Truncated);
    EXPECT_EQ(smf::readVarlen(Bytes{0xff, 0xff, 0xff}).status, Status::Truncated);
}

TEST(Varlen, ReadingStopsAfterFourBytes) {
    EXPECT_EQ(smf::readVarlen(Bytes{0x80, 0x80, 0x80, 0x80, 0x00}).status, Status::TooLong);
    EXPECT_EQ(smf::readVarlen(Bytes{0x8f, 0xff, 0xff, 0xff, 0x7f}).status, Status::TooLong);
    // A redundant leading group is still a value.
    const smf::VarlenRead padded = smf::readVarlen(Bytes{0x80, 0x80, 0x80, 0x05});
    EXPECT_EQ(padded.status, Status::Complete);
    EXPECT_EQ(padded.value, 5u);
    EXPECT_EQ(padded.length, 4u);
}

}  // namespace
