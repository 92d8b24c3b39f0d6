// The file object: what a new or cleared file holds, and tracks made on demand.
#include <gtest/gtest.h>

#include "model_files.h"
#include "smf/tunefolio.h"

using modelfiles::twoTrackFile;

TEST(Model, NewAndClearedObjectsHaveOneEmptyTrack) {
    smf::Tunefolio f = twoTrackFile();
    f.clear();
    EXPECT_EQ(f.getTrackCount(), 1);
    EXPECT_EQ(f.getEventCount(0), 0);
    EXPECT_EQ(f.getTicksPerQuarterNote(), 120);
    EXPECT_TRUE(f.isAbsoluteTicks());
}

TEST(Model, AddingToAMissingTrackCreatesIt) {
    smf::Tunefolio f;
    f.addNoteOn(3, 0, 0, 60, 1);
    EXPECT_EQ(f.getTrackCount(), 4);
    EXPECT_EQ(f[3][0].track, 3);
    EXPECT_EQ(f.addTrack(), 4);
    EXPECT_EQ(f.addTracks(2), 6);
}
