#include "smf/file_io.h"

#include <cstdio>
#include <istream>
#include <memory>

#include <sys/stat.h>

namespace smf {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Whether the name itself is the regular file that was opened. Only such a
// file is removed after a failed write: a device, or a link such as
// /dev/stdout on a full disk, must survive the failure.
bool namesRegularFile(const std::string& name, std::FILE* file) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(::fileno(file), &opened) == 0 && S_ISREG(opened.st_mode) &&
           ::lstat(name.c_str(), &named) == 0 && S_ISREG(named.st_mode) && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
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

bool writeFileBytes(const std::string& name, std::span<const std::uint8_t> bytes) {
    File file(std::fopen(name.c_str(), "wb"));
    if (!file) {
        return false;
    }
    const bool removable = namesRegularFile(name, file.get());
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    ok = std::fclose(file.release()) == 0 && ok;
    if (!ok && removable) {
        std::remove(name.c_str());
    }
    return ok;
}

}  // namespace smf
