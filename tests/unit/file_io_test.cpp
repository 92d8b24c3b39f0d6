#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

namespace {

namespace fs = std::filesystem;

fs::path fileOfSize(const fs::path& dir, std::size_t size) {
    const fs::path path = dir / ("size_" + std::to_string(size));
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    EXPECT_TRUE(smf::writeFileBytes(path.string(), bytes));
    return path;
}

// Inputs are read whole in pieces; what comes back is exactly the input,
// at every size around the piece boundaries.
TEST(ReadFileBytes, ReadsEveryByteUpToTheLimit) {
    const fs::path dir = fs::temp_directory_path() / ("file_io_limit_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65535}, std::size_t{65536},
                                   std::size_t{65537}, std::size_t{300000}}) {
        const fs::path path = fileOfSize(dir, size);
        const auto whole = smf::readFileBytes(path.string());
        ASSERT_TRUE(whole) << size;
        EXPECT_EQ(whole->size(), size);
        std::ifstream stream(path, std::ios::binary);
        const auto streamed = smf::readStreamBytes(stream);
        ASSERT_TRUE(streamed) << size;
        EXPECT_EQ(*streamed, *whole);
        // A limit of exactly the size still holds the input; one byte less
        // refuses it, read from a file or from a stream.
        EXPECT_TRUE(smf::readFileBytes(path.string(), size));
        if (size > 0) {
            EXPECT_FALSE(smf::readFileBytes(path.string(), size - 1)) << size;
            std::ifstream again(path, std::ios::binary);
            EXPECT_FALSE(smf::readStreamBytes(again, size - 1)) << size;
        }
    }
    fs::remove_all(dir);
}

// A regular file beyond the limit is refused unread; its size alone tells.
TEST(ReadFileBytes, RefusesALargeSparseFileUnread) {
    const fs::path dir = fs::temp_directory_path() / ("file_io_sparse_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path path = dir / "sparse.mid";
    { std::ofstream create(path); }
    fs::resize_file(path, std::uintmax_t{2} << 30);
    EXPECT_FALSE(smf::readFileBytes(path.string()));
    fs::remove_all(dir);
}

// An endless device is read up to the limit and then refused.
TEST(ReadFileBytes, RefusesAnEndlessDeviceAtTheLimit) {
    if (!fs::is_character_file("/dev/zero")) {
        GTEST_SKIP() << "no /dev/zero on this system";
    }
    EXPECT_FALSE(smf::readFileBytes("/dev/zero", 1 << 20));
    std::ifstream zeros("/dev/zero", std::ios::binary);
    EXPECT_FALSE(smf::readStreamBytes(zeros, 1 << 20));
}

}  // namespace
