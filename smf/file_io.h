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

// Writes the bytes to the named file, replacing it. A regular file (or a
// link to one) is replaced only when the new contents are complete: they are
// written beside it first, so a failed write leaves the old file untouched.
// A device or a pipe is written in place. False when anything failed.
bool writeFileBytes(const std::string& name, std::span<const std::uint8_t> bytes);

}  // namespace smf
