#include <gtest/gtest.h>

#include "clock_form.h"

using tunespan::clockForm;

TEST(TunespanClock, SecondsBelowAMinute) {
    EXPECT_EQ(clockForm(0), "0:00");
    EXPECT_EQ(clockForm(5), "0:05");
    EXPECT_EQ(clockForm(9.49), "0:09");
    EXPECT_EQ(clockForm(9.5), "0:10");
}

TEST(TunespanClock, RoundsHalvesUp) {
    EXPECT_EQ(clockForm(75.4), "1:15");
    EXPECT_EQ(clockForm(75.5), "1:16");
    EXPECT_EQ(clockForm(0.5), "0:01");
}

TEST(TunespanClock, RoundingCarriesIntoTheMinute) {
    EXPECT_EQ(clockForm(59.6), "1:00");
    EXPECT_EQ(clockForm(119.5), "2:00");
}

TEST(TunespanClock, HoursFromSixtyMinutes) {
    EXPECT_EQ(clockForm(600), "10:00");
    EXPECT_EQ(clockForm(3599.4), "59:59");
    EXPECT_EQ(clockForm(3599.5), "1:00:00");
    EXPECT_EQ(clockForm(3725), "1:02:05");
    EXPECT_EQ(clockForm(36000 + 600 + 1), "10:10:01");
}

TEST(TunespanClock, NegativeTimesKeepTheirSign) {
    EXPECT_EQ(clockForm(-75.4), "-1:15");
}
