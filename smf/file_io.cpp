#include "smf/file_io.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace smf {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The mode a newly created file gets: read and write for all, less the umask.
mode_t defaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

namespace {

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

bool writeAll(std::FILE* file, std::span<const std::uint8_t> bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// The regular file a name stands for once links are followed, or nothing
// when it names something else (a device, a pipe) or nothing readable.
std::optional<std::string> regularFileTarget(const std::string& name, bool& exists) {
    struct stat info {};
    exists = ::stat(name.c_str(), &info) == 0;
    if (!exists) {
        return name;
    }
    if (!S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(name.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : name;
}

}  // namespace

bool writeFileBytes(const std::string& name, std::span<const std::uint8_t> bytes) {
    bool exists = false;
    const std::optional<std::string> target = regularFileTarget(name, exists);
    if (!target) {
        // A device or a pipe is written in place; nothing there to protect.
        File file(std::fopen(name.c_str(), "wb"));
        if (!file) {
            return false;
        }
        const bool ok = writeAll(file.get(), bytes);
        return std::fclose(file.release()) == 0 && ok;
    }
    // A regular file is replaced only once its new contents are complete:
    // they go to a scratch file beside it, which then takes its name. A
    // failed write (a full disk) leaves the old file as it was, even when it
    // is also the input of the run.
    std::string scratch = *target + ".XXXXXX";
    const int descriptor = ::mkstemp(scratch.data());
    if (descriptor < 0) {
        return false;
    }
    File file(::fdopen(descriptor, "wb"));
    if (!file) {
        ::close(descriptor);
        std::remove(scratch.c_str());
        return false;
    }
    struct stat old {};
    const mode_t mode = exists && ::stat(target->c_str(), &old) == 0 ? (old.st_mode & 07777) : defaultFileMode();
    bool ok = ::fchmod(descriptor, mode) == 0;
    ok = writeAll(file.get(), bytes) && ok;
    ok = std::fclose(file.release()) == 0 && ok;
    ok = ok && std::rename(scratch.c_str(), target->c_str()) == 0;
    if (!ok) {
        std::remove(scratch.c_str());
    }
    return ok;
}

}  // namespace smf
