// Listing bytes as hexscribe text.
#include "smf/hexscribe.h"

#include <algorithm>
#include <ostream>

#include "smf/file_io.h"
#include "smf/printable_name.h"

namespace smf {

namespace {

// Listings are gathered in a buffer of about this size before each write.
constexpr std::size_t kFlushSize = 1 << 16;
constexpr char kHexDigits[] = "0123456789abcdef";

bool isPrintable(std::uint8_t byte) {
    return byte >= 0x21 && byte <= 0x7e;
}

void appendCodeLine(std::string& buffer, std::span<const std::uint8_t> line) {
    for (std::uint8_t byte : line) {
        const char code[3] = {' ', kHexDigits[byte >> 4], kHexDigits[byte & 0x0f]};
        buffer.append(code, 3);
    }
    buffer += " \n";
}

// The characters sit under the first digit of their codes; the line starts
// with ";" so that compiling skips it, and holds only printable ASCII.
void appendCharacterLine(std::string& buffer, std::span<const std::uint8_t> line) {
    std::size_t start = buffer.size();
    buffer.append(3 * line.size(), ' ');
    buffer[start] = ';';
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (isPrintable(line[i])) {
            buffer[start + 3 * i + 1] = static_cast<char>(line[i]);
        }
    }
    while (buffer.size() > start + 1 && buffer.back() == ' ') {
        buffer.pop_back();
    }
    buffer += '\n';
}

void flushIfFull(std::ostream& out, std::string& buffer) {
    if (buffer.size() >= kFlushSize) {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    }
}

void flush(std::ostream& out, std::string& buffer) {
    if (!buffer.empty()) {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    }
}

}  // namespace

Result Hexscribe::readFromBinary(std::ostream& out, const std::string& inputName) const {
    auto bytes = readFileBytes(inputName);
    if (!bytes) {
        return Result::failure("could not read file " + printableName(inputName));
    }
    writeListing(out, *bytes);
    if (!out) {
        return Result::failure("could not write the listing");
    }
    return {};
}

void Hexscribe::writeListing(std::ostream& out, std::span<const std::uint8_t> bytes) const {
    auto perLine = static_cast<std::size_t>(m_lineBytes);
    std::string buffer;
    buffer.reserve(kFlushSize + 6 * std::min(perLine, bytes.size()) + 4);
    for (std::size_t start = 0; start < bytes.size(); start += perLine) {
        auto line = bytes.subspan(start, std::min(perLine, bytes.size() - start));
        appendCodeLine(buffer, line);
        if (!m_bytesOnly) {
            appendCharacterLine(buffer, line);
            buffer += '\n';
        }
        flushIfFull(out, buffer);
    }
    flush(out, buffer);
}

void Hexscribe::writeAsciiListing(std::ostream& out, std::span<const std::uint8_t> bytes) const {
    auto width = static_cast<std::size_t>(m_lineLength);
    std::string buffer;
    buffer.reserve(kFlushSize + 2);
    std::size_t column = 0;
    bool gap = false;  // a run of unprintable bytes since the last character
    for (std::uint8_t byte : bytes) {
        if (!isPrintable(byte)) {
            gap = true;
            continue;
        }
        if (gap && column > 0) {
            // The blank would end the line: the line break stands for it.
            if (column + 1 >= width) {
                buffer += '\n';
                column = 0;
            } else {
                buffer += ' ';
                ++column;
            }
        }
        gap = false;
        if (column == width) {
            buffer += '\n';
            column = 0;
        }
        buffer += static_cast<char>(byte);
        ++column;
        flushIfFull(out, buffer);
    }
    if (column > 0) {
        buffer += '\n';
    }
    flush(out, buffer);
}

}  // namespace smf
