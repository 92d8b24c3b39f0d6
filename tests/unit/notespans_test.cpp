// notespans' rounding and channel filter.
#include <gtest/gtest.h>

#include <limits>

#include "spans.h"

namespace {

TEST(NotespansTest, RoundHalfUpTruncatesTowardZero) {
    EXPECT_EQ(spans::roundHalfUp(999.5), 1000);
    EXPECT_EQ(spans::roundHalfUp(999.49), 999);
    EXPECT_EQ(spans::roundHalfUp(0.0), 0);
    // A note never struck starts at -1: -1000 + 0.5 truncates to -999.
    EXPECT_EQ(spans::roundHalfUp(-1000.0), -999);
    EXPECT_EQ(spans::roundHalfUp(-0.7), 0);
    EXPECT_EQ(spans::roundHalfUp(3e12), 3000000000000);
}

TEST(NotespansTest, RoundHalfUpClampsWhatNoIntegerHolds) {
    EXPECT_EQ(spans::roundHalfUp(1e300), std::numeric_limits<long long>::max());
    EXPECT_EQ(spans::roundHalfUp(-1e300), std::numeric_limits<long long>::min());
    EXPECT_EQ(spans::roundHalfUp(std::numeric_limits<double>::quiet_NaN()), std::numeric_limits<long long>::min());
}

TEST(NotespansTest, ExcludeDigitsHideChannels) {
    spans::ChannelFilter filter;
    filter.hideDigits("9ab");
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_EQ(filter.shows(channel), channel < 9 || channel > 11) << channel;
    }
}

TEST(NotespansTest, ExcludeIgnoresWhatIsNoHexDigit) {
    spans::ChannelFilter filter;
    filter.hideDigits("G-, x");
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_TRUE(filter.shows(channel));
    }
    filter.hideDigits("0F");
    EXPECT_FALSE(filter.shows(0));
    EXPECT_FALSE(filter.shows(15));
    EXPECT_FALSE(filter.shows(16));
    EXPECT_FALSE(filter.shows(-1));
}

}  // namespace
