#include "smf/file_io.h"

#include <cstdio>
#include <cstdlib>
#include <istream>
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

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& name) {
    File file(std::fopen(name.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    // Size the buffer from the file when it is a regular file; pipes and
    // devices are read in growing chunks instead. A directory opens on some
    // systems and reports a huge size at its end, so it is not asked.
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    std::uint8_t chunk[65536];
    for (;;) {
        std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) {
            break;
        }
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> readStreamBytes(std::istream& in) {
    std::vector<std::uint8_t> bytes;
    char chunk[65536];
    while (in) {
        in.read(chunk, sizeof chunk);
        std::streamsize got = in.gcount();
        bytes.insert(bytes.end(), reinterpret_cast<std::uint8_t*>(chunk),
                     reinterpret_cast<std::uint8_t*>(chunk) + got);
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
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
