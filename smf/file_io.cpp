#include "smf/file_io.h"

#include <cstdio>
#include <istream>
#include <memory>

namespace smf {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& name) {
    File file(std::fopen(name.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    // Size the buffer from the file when it can be told (a regular file);
    // pipes and devices are read in growing chunks instead.
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        long size = std::ftell(file.get());
        if (size > 0) {
            bytes.reserve(static_cast<std::size_t>(size));
        }
        std::rewind(file.get());
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
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    ok = std::fclose(file.release()) == 0 && ok;
    if (!ok) {
        std::remove(name.c_str());
    }
    return ok;
}

}  // namespace smf
