#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

const std::vector<std::uint8_t> kOld{1, 2, 3};
const std::vector<std::uint8_t> kNew{4, 5, 6, 7};

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
    return smf::readFileBytes(path.string()).value_or(std::vector<std::uint8_t>{});
}

ino_t inodeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_ino;
}

std::size_t entriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

// A link to nothing creates the file it points to; the link stays a link.
TEST(WriteFileBytes, DanglingLinkCreatesItsTarget) {
    const fs::path dir = scratchFolder("file_io_dangling_");
    fs::create_directories(dir / "songs");
    fs::create_symlink("songs/new.mid", dir / "link.mid");
    fs::create_symlink("link.mid", dir / "link2.mid");
    ASSERT_TRUE(smf::writeFileBytes((dir / "link2.mid").string(), kNew));
    EXPECT_TRUE(fs::is_symlink(dir / "link.mid"));
    EXPECT_TRUE(fs::is_symlink(dir / "link2.mid"));
    EXPECT_EQ(bytesOf(dir / "songs" / "new.mid"), kNew);
    EXPECT_EQ(entriesIn(dir / "songs"), 1U);
    // A loop of links is nothing to write.
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    EXPECT_FALSE(smf::writeFileBytes((dir / "loop1").string(), kNew));
    EXPECT_TRUE(fs::is_symlink(dir / "loop1"));
    fs::remove_all(dir);
}

// Every name of a file with several sees the new contents.
TEST(WriteFileBytes, HardLinkedFileIsRewrittenInPlace) {
    const fs::path dir = scratchFolder("file_io_hard_");
    ASSERT_TRUE(smf::writeFileBytes((dir / "a.mid").string(), std::vector<std::uint8_t>(1000, 9)));
    fs::create_hard_link(dir / "a.mid", dir / "b.mid");
    const ino_t inode = inodeOf(dir / "a.mid");
    ASSERT_TRUE(smf::writeFileBytes((dir / "b.mid").string(), kNew));
    EXPECT_EQ(bytesOf(dir / "a.mid"), kNew);
    EXPECT_EQ(bytesOf(dir / "b.mid"), kNew);
    EXPECT_EQ(inodeOf(dir / "a.mid"), inode);
    EXPECT_EQ(fs::hard_link_count(dir / "b.mid"), 2U);
    EXPECT_EQ(entriesIn(dir), 2U);
    fs::remove_all(dir);
}

// The scratch file's name must fit the limit on names too.
TEST(WriteFileBytes, NamesOfTheLongestLengthAreWritable) {
    const fs::path dir = scratchFolder("file_io_long_");
    const long limit = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    const fs::path file = dir / std::string(limit > 0 ? static_cast<std::size_t>(limit) : 255, 'n');
    ASSERT_TRUE(smf::writeFileBytes(file.string(), kOld));
    ASSERT_TRUE(smf::writeFileBytes(file.string(), kNew));
    EXPECT_EQ(bytesOf(file), kNew);
    EXPECT_EQ(entriesIn(dir), 1U);
    fs::remove_all(dir);
}

// A link to an open descriptor is written through that descriptor, never
// replaced by a regular file: a pipe gets the bytes, and a regular file
// open there keeps its identity.
TEST(WriteFileBytes, LinksToDescriptorsAreWrittenInPlace) {
    if (!fs::exists("/proc/self/fd")) {
        GTEST_SKIP() << "no /proc/self/fd on this system";
    }
    const fs::path dir = scratchFolder("file_io_descriptor_");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const fs::path toPipe = dir / "to_pipe";
    fs::create_symlink("/proc/self/fd/" + std::to_string(ends[1]), toPipe);
    ASSERT_TRUE(smf::writeFileBytes(toPipe.string(), kNew));
    std::uint8_t received[8] = {};
    EXPECT_EQ(::read(ends[0], received, sizeof received), static_cast<ssize_t>(kNew.size()));
    EXPECT_EQ(std::vector<std::uint8_t>(received, received + kNew.size()), kNew);
    ::close(ends[0]);
    ::close(ends[1]);
    EXPECT_TRUE(fs::is_symlink(toPipe));

    const fs::path file = dir / "open.mid";
    ASSERT_TRUE(smf::writeFileBytes(file.string(), std::vector<std::uint8_t>(100, 1)));
    const ino_t inode = inodeOf(file);
    const int open = ::open(file.c_str(), O_WRONLY);
    ASSERT_GE(open, 0);
    ASSERT_TRUE(smf::writeFileBytes("/proc/self/fd/" + std::to_string(open), kNew));
    ::close(open);
    EXPECT_EQ(inodeOf(file), inode);
    EXPECT_EQ(bytesOf(file), kNew);
    // A closed descriptor is no place to create a file.
    EXPECT_FALSE(smf::writeFileBytes("/proc/self/fd/" + std::to_string(open), kNew));
    fs::remove_all(dir);
}

// An interruption while the new contents are written removes the scratch
// file and leaves the old file whole; the program then ends by the signal.
TEST(WriteFileBytes, InterruptionRemovesTheScratchFile) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const fs::path dir = scratchFolder("file_io_signal_");
        const fs::path file = dir / "song.mid";
        ASSERT_TRUE(smf::writeFileBytes(file.string(), kOld));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Large enough that writing it lasts well beyond the moment the
            // scratch file appears.
            const std::vector<std::uint8_t> large(std::size_t{1} << 27, 0x55);
            for (;;) {
                smf::writeFileBytes(file.string(), large);
            }
        }
        // Interrupt as soon as the scratch file is there.
        bool seen = false;
        for (int tries = 0; tries < 200000 && !seen; ++tries) {
            seen = entriesIn(dir) > 1;
        }
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(seen) << "no scratch file appeared";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(entriesIn(dir), 1U) << signal;
        EXPECT_EQ(bytesOf(file), kOld) << signal;
        fs::remove_all(dir);
    }
}

}  // namespace
