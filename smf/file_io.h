// Whole-file reading and writing, the only file access of the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace smf {

// The name "-" stands for standard input when read and for standard output
// when written, as in other Unix programs (a file named "-" is "./-").
inline constexpr std::string_view kStandardStream = "-";

// The largest input read: far beyond any MIDI file or hexscribe text, it
// keeps an endless input (a device, a pipe) from filling the memory.
inline constexpr std::size_t kMaxInputBytes = std::size_t{1} << 30;

// The bytes of the named file; nothing if it cannot be opened or read, or
// holds more than `limit` bytes. A regular file that large is refused
// before anything is read; any other input once `limit` bytes are read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& name,
                                                       std::size_t limit = kMaxInputBytes);

// Everything left on the stream; nothing if the stream reports an error or
// holds more than `limit` bytes (then read up to that point).
std::optional<std::vector<std::uint8_t>> readStreamBytes(std::istream& in, std::size_t limit = kMaxInputBytes);

// Writes the bytes to the named file. A regular file is replaced only when
// the new contents are complete: they are written beside it and flushed to
// disk first, so a failed or interrupted write (SIGINT, SIGTERM, SIGHUP
// remove the scratch file) leaves the old file whole; the new file keeps the
// old one's mode, owner and group (as far as the process may set them). A
// file the user may not write is left alone (false). Rewritten in place
// instead: a file with several names (hard links), a writable file in a
// folder the user may not write, a file reached through an open descriptor
// (/proc/self/fd/N), a device or a pipe. Symbolic links are followed; one
// that points to nothing creates its target. False when anything failed.
bool writeFileBytes(const std::string& name, std::span<const std::uint8_t> bytes);

}  // namespace smf
