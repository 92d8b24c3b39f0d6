#include "smf/file_io.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace smf {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t kFirstPiece = std::size_t{1} << 16;
constexpr std::size_t kLargestPiece = std::size_t{1} << 26;

// Reads everything `readSome(buffer, count)` gives (the count read, short
// only at the end or on an error) into memory, at most `limit` bytes:
// nothing when there is more, or when `failed()` reports an error. The
// bytes are gathered in pieces, so that an endless input (a device, a pipe)
// costs no more than the limit and a reading that fails frees everything.
// `expected` is the size the input announces (0: unknown).
template <class ReadSome, class Failed>
std::optional<std::vector<std::uint8_t>> readLimited(ReadSome readSome, Failed failed, std::size_t expected,
                                                     std::size_t limit) {
    std::vector<std::vector<std::uint8_t>> pieces;
    std::size_t total = 0;
    // One byte more than announced or allowed tells the end from more to come.
    std::size_t pieceSize = expected > 0 ? std::min(expected, limit) + 1 : kFirstPiece;
    for (;;) {
        std::vector<std::uint8_t>& piece = pieces.emplace_back(std::min(pieceSize, limit + 1 - total));
        const std::size_t got = readSome(piece.data(), piece.size());
        total += got;
        if (total > limit || failed()) {
            return std::nullopt;
        }
        if (got < piece.size()) {
            piece.resize(got);
            break;
        }
        pieceSize = std::min(2 * pieceSize, kLargestPiece);
    }
    if (pieces.size() == 1) {
        return std::move(pieces.front());
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(total);
    for (std::vector<std::uint8_t>& piece : pieces) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
        std::vector<std::uint8_t>().swap(piece);
    }
    return bytes;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& name, std::size_t limit) {
    if (name == kStandardStream) {
        return readStreamBytes(std::cin, limit);
    }
    File file(std::fopen(name.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    // A regular file announces its size, and one beyond the limit is refused
    // unread. A directory opens on some systems and reports a huge size at its
    // end, so only regular files are asked.
    std::size_t expected = 0;
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        if (static_cast<std::uintmax_t>(info.st_size) > limit) {
            return std::nullopt;
        }
        expected = static_cast<std::size_t>(info.st_size);
    }
    std::FILE* stream = file.get();
    return readLimited([stream](std::uint8_t* buffer, std::size_t count) { return std::fread(buffer, 1, count, stream); },
                       [stream] { return std::ferror(stream) != 0; }, expected, limit);
}

std::optional<std::vector<std::uint8_t>> readStreamBytes(std::istream& in, std::size_t limit) {
    // Standard input redirected from a regular file announces its size like
    // a named file, and one beyond the limit is refused unread.
    std::size_t expected = 0;
    if (&in == &std::cin) {
        struct stat info {};
        const off_t offset = ::lseek(STDIN_FILENO, 0, SEEK_CUR);
        if (::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode) && offset >= 0 && info.st_size > offset) {
            const auto remaining = static_cast<std::uintmax_t>(info.st_size - offset);
            if (remaining > limit) {
                return std::nullopt;
            }
            expected = static_cast<std::size_t>(remaining);
        }
    }
    return readLimited(
        [&in](std::uint8_t* buffer, std::size_t count) {
            in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(count));
            return static_cast<std::size_t>(in.gcount());
        },
        [&in] { return in.bad(); }, expected, limit);
}

namespace {

// A file descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int descriptor = -1) : m_descriptor(descriptor) {}
    Descriptor(Descriptor&& other) noexcept : m_descriptor(std::exchange(other.m_descriptor, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;
    ~Descriptor() {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
    }
    int get() const { return m_descriptor; }
    explicit operator bool() const { return m_descriptor >= 0; }
    // Closes now; false when closing reports an error (a delayed write).
    bool close() {
        const int descriptor = std::exchange(m_descriptor, -1);
        return ::close(descriptor) == 0;
    }

private:
    int m_descriptor;
};

bool writeAll(int descriptor, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// The scratch file being written, removed by the signal handlers below when
// the run is interrupted. A fixed buffer: a handler may not allocate.
std::array<char, PATH_MAX> g_scratchName{};
volatile std::sig_atomic_t g_scratchSet = 0;

constexpr std::array<int, 3> kInterruptions{SIGINT, SIGTERM, SIGHUP};

extern "C" void removeScratchAndEnd(int signal) {
    if (g_scratchSet != 0) {
        ::unlink(g_scratchName.data());
    }
    // The run then ends by the signal as it would have without the handler,
    // so the caller (a shell, make) sees the interruption.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// While a scratch file exists, an interruption (SIGINT, SIGTERM, SIGHUP)
// removes it before the program ends. A signal the caller ignores stays
// ignored.
class ScratchGuard {
public:
    ScratchGuard() {
        sigset_t interruptions;
        sigemptyset(&interruptions);
        for (const int signal : kInterruptions) {
            sigaddset(&interruptions, signal);
        }
        // No interruption between creating the file and noting its name.
        ::sigprocmask(SIG_BLOCK, &interruptions, &m_mask);
        struct sigaction handler {};
        handler.sa_handler = removeScratchAndEnd;
        sigemptyset(&handler.sa_mask);
        for (std::size_t i = 0; i < kInterruptions.size(); ++i) {
            ::sigaction(kInterruptions[i], nullptr, &m_previous[i]);
            if (m_previous[i].sa_handler != SIG_IGN) {
                ::sigaction(kInterruptions[i], &handler, nullptr);
            }
        }
    }
    ScratchGuard(const ScratchGuard&) = delete;
    ScratchGuard& operator=(const ScratchGuard&) = delete;
    ~ScratchGuard() {
        forget();
        for (std::size_t i = 0; i < kInterruptions.size(); ++i) {
            ::sigaction(kInterruptions[i], &m_previous[i], nullptr);
        }
        ::sigprocmask(SIG_SETMASK, &m_mask, nullptr);
    }

    // Creates the scratch file from a mkstemp pattern (which becomes its name).
    Descriptor create(std::string& pattern) {
        Descriptor file(::mkstemp(pattern.data()));
        if (file && pattern.size() < g_scratchName.size()) {
            std::copy(pattern.begin(), pattern.end(), g_scratchName.begin());
            g_scratchName[pattern.size()] = '\0';
            g_scratchSet = 1;
        }
        ::sigprocmask(SIG_SETMASK, &m_mask, nullptr);
        return file;
    }
    // The scratch file took its final name or is gone: nothing to remove.
    void forget() { g_scratchSet = 0; }

private:
    sigset_t m_mask{};
    std::array<struct sigaction, kInterruptions.size()> m_previous{};
};

// The mode a newly created file gets: read and write for all, less the umask.
mode_t defaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The folder part of a path ("." when there is none) and the last part.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Where a name leads once symbolic links are followed.
struct LinkEnd {
    std::string path;         // the last name of the chain (which may not exist)
    bool descriptor = false;  // reached through a descriptor link (/proc/self/fd/N)
};

// Whether the folder holding `path` is a process's table of open
// descriptors, whose entries look like links but stand for open files.
bool inDescriptorFolder(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> folder(::realpath(splitPath(path).first.c_str(), nullptr), &std::free);
    if (!folder) {
        return false;
    }
    const std::string_view real(folder.get());
    return real.starts_with("/proc/") && real.ends_with("/fd");
}

// Follows the links of `name` one by one; nothing for a loop or a link that
// cannot be read.
std::optional<LinkEnd> followLinks(const std::string& name) {
    LinkEnd end{name};
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(end.path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return end;
        }
        if (inDescriptorFolder(end.path)) {
            end.descriptor = true;
            return end;
        }
        std::array<char, PATH_MAX> buffer{};
        const ssize_t length = ::readlink(end.path.c_str(), buffer.data(), buffer.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
            return std::nullopt;
        }
        const std::string target(buffer.data(), static_cast<std::size_t>(length));
        end.path = target.front() == '/' ? target : splitPath(end.path).first + "/" + target;
    }
    return std::nullopt;
}

// The scratch name pattern beside `target`: its name and ".XXXXXX", the name
// shortened so that the whole fits the folder's limit on names.
std::string scratchPattern(const std::string& target) {
    const auto [folder, name] = splitPath(target);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : 255;
    constexpr std::string_view kSuffix = ".XXXXXX";
    const std::size_t kept = std::min(name.size(), nameMax - kSuffix.size());
    return (folder == "/" ? "/" : folder + "/") + name.substr(0, kept) + std::string(kSuffix);
}

bool isDenied(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

// Rewrites an open file in place: emptied, then written and flushed to disk.
bool rewriteInPlace(Descriptor& file, std::span<const std::uint8_t> bytes) {
    bool ok = ::ftruncate(file.get(), 0) == 0;
    ok = ok && writeAll(file.get(), bytes) && ::fsync(file.get()) == 0;
    return file.close() && ok;
}

// Writes what is not a regular file (a device, a pipe) in place.
bool writeInPlace(const std::string& name, std::span<const std::uint8_t> bytes) {
    Descriptor file(::open(name.c_str(), O_WRONLY | O_NOCTTY));
    if (!file) {
        return false;
    }
    const bool ok = writeAll(file.get(), bytes);
    return file.close() && ok;
}

// Writes a complete new file beside `target` and gives it that name, with
// the old file's mode, owner and group when it replaces one (`old`).
bool replaceByScratch(const std::string& target, const struct stat* old, std::span<const std::uint8_t> bytes,
                      int& error) {
    std::string scratch = scratchPattern(target);
    ScratchGuard guard;
    Descriptor file = guard.create(scratch);
    if (!file) {
        error = errno;
        return false;
    }
    bool ok = true;
    if (old != nullptr) {
        // Owner first: changing it clears the set-user-ID bits of the mode.
        if (::fchown(file.get(), old->st_uid, old->st_gid) != 0) {
            [[maybe_unused]] const int groupOnly = ::fchown(file.get(), static_cast<uid_t>(-1), old->st_gid);
        }
        ok = ::fchmod(file.get(), old->st_mode & 07777) == 0;
    } else {
        ok = ::fchmod(file.get(), defaultFileMode()) == 0;
    }
    ok = ok && writeAll(file.get(), bytes) && ::fsync(file.get()) == 0;
    ok = file.close() && ok;
    ok = ok && ::rename(scratch.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(scratch.c_str());
    }
    guard.forget();
    error = 0;
    return ok;
}

}  // namespace

bool writeFileBytes(const std::string& name, std::span<const std::uint8_t> bytes) {
    if (name == kStandardStream) {
        std::cout.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(std::cout.flush());
    }
    const std::optional<LinkEnd> end = followLinks(name);
    if (!end) {
        return false;
    }
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0) {
        // Nothing there yet, or a link to nothing: the file is created
        // where the link points, and the link stays. A descriptor that is
        // not open is no place to create a file.
        int error = 0;
        return errno == ENOENT && !end->descriptor && replaceByScratch(end->path, nullptr, bytes, error);
    }
    if (!S_ISREG(info.st_mode)) {
        return writeInPlace(name, bytes);
    }
    // A regular file is written only where the user may write it; opening it
    // asks the system, which knows the modes, the owner and the mounts.
    Descriptor existing(::open(name.c_str(), O_WRONLY | O_NOCTTY));
    if (!existing) {
        return false;
    }
    // Every name of a file with several (hard links) must see the new
    // contents, and an open descriptor must keep its file: such a file is
    // rewritten in place rather than replaced.
    if (info.st_nlink > 1 || end->descriptor) {
        return rewriteInPlace(existing, bytes);
    }
    int error = 0;
    if (replaceByScratch(end->path, &info, bytes, error)) {
        return true;
    }
    // No scratch file is possible in a folder the user may not write: the
    // file, which the user may write, is rewritten in place instead.
    return isDenied(error) && rewriteInPlace(existing, bytes);
}

}  // namespace smf
