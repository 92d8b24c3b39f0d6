// Whole-file reading and writing, the only file access of the library.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace smf {

// The bytes of the named file; nothing if it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& name);

// Everything left on the stream; nothing if the stream reports an error.
std::optional<std::vector<std::uint8_t>> readStreamBytes(std::istream& in);

// Writes the bytes to the named file, replacing it. On failure the file is
// removed rather than left half written (unless the name is a device or a
// link, which are left in place), and the result is false.
bool writeFileBytes(const std::string& name, std::span<const std::uint8_t> bytes);

}  // namespace smf
