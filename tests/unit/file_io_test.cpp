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

fs::path scratchFolder(const char* name) {
    const fs::path dir = fs::temp_directory_path() / (std::string(name) + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::vector<std::uint8_t> contents(const fs::path& path) {
    return *smf::readFileBytes(path.string());
}

TEST(WriteFileBytes, ReplacesARegularFileKeepingItsModeAndLinks) {
    const fs::path dir = scratchFolder("file_io_replace_");
    const fs::path file = dir / "song.mid";
    const fs::path link = dir / "link.mid";
    ASSERT_TRUE(smf::writeFileBytes(file.string(), std::vector<std::uint8_t>{1, 2, 3}));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(file, link);
    ASSERT_TRUE(smf::writeFileBytes(link.string(), std::vector<std::uint8_t>{4, 5}));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(file), (std::vector<std::uint8_t>{4, 5}));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Nothing but the two names is left in the folder: no scratch file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    fs::remove_all(dir);
}

TEST(WriteFileBytes, FailsCleanlyWhereNothingCanBeWritten) {
    const fs::path dir = scratchFolder("file_io_fail_");
    EXPECT_FALSE(smf::writeFileBytes(dir.string(), std::vector<std::uint8_t>{1}));
    EXPECT_FALSE(smf::writeFileBytes((dir / "missing" / "x.mid").string(), std::vector<std::uint8_t>{1}));
    EXPECT_TRUE(smf::writeFileBytes("/dev/null", std::vector<std::uint8_t>{1}));
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
}

}  // namespace
