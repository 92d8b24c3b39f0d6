#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include <unistd.h>

#include "smf/file_io.h"

namespace {

namespace fs = std::filesystem;

// A failed write must not remove what the name stands for when that is not
// the regular file written: here a link to a device that refuses every byte.
TEST(WriteFileBytes, FailedWriteThroughALinkKeepsTheLink) {
    if (!fs::is_character_file("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    const fs::path dir = fs::temp_directory_path() / ("file_io_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path link = dir / "output";
    fs::create_symlink("/dev/full", link);
    const std::vector<std::uint8_t> bytes(100, 0x55);
    EXPECT_FALSE(smf::writeFileBytes(link.string(), bytes));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
    fs::remove_all(dir);
}

}  // namespace
