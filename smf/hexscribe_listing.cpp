// Listing bytes as hexscribe text.
#include "smf/hexscribe.h"

#include <algorithm>
#include <ostream>

#include "smf/file_io.h"
#include "smf/printable_name.h"
#include "smf/text_buffer.h"

namespace smf {

namespace {

bool isPrintable(std::uint8_t byte) {
    return byte >= 0x21 && byte <= 0x7e;
}

void putCodeLine(TextBuffer& out, std::span<const std::uint8_t> line) {
    char* at = out.claim(3 * line.size() + 2);
    for (std::uint8_t byte : line) {
        *at++ = ' ';
        at = toCharsHex2(at, byte);
    }
    *at++ = ' ';
    *at++ = '\n';
    out.commit(at);
}

// The characters sit under the first digit of their codes; the line starts
// with ";" so that compiling skips it, holds only printable ASCII and ends
// at its last character.
void putCharacterLine(TextBuffer& out, std::span<const std::uint8_t> line) {
    const auto last = std::find_if(line.rbegin(), line.rend(), isPrintable);
    const auto shown = static_cast<std::size_t>(line.rend() - last);
    char* at = out.claim(3 * shown + 2);
    *at++ = ';';
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) {
            *at++ = ' ';
            *at++ = ' ';
        }
        *at++ = isPrintable(line[i]) ? static_cast<char>(line[i]) : ' ';
    }
    *at++ = '\n';
    out.commit(at);
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

void Hexscribe::writeListing(std::ostream& output, std::span<const std::uint8_t> bytes) const {
    const auto perLine = static_cast<std::size_t>(m_lineBytes);
    TextBuffer out(output);
    for (std::size_t start = 0; start < bytes.size(); start += perLine) {
        const auto line = bytes.subspan(start, std::min(perLine, bytes.size() - start));
        putCodeLine(out, line);
        if (!m_bytesOnly) {
            putCharacterLine(out, line);
            out.put('\n');
        }
    }
}

void Hexscribe::writeAsciiListing(std::ostream& output, std::span<const std::uint8_t> bytes) const {
    const auto width = static_cast<std::size_t>(m_lineLength);
    TextBuffer out(output);
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
                out.put('\n');
                column = 0;
            } else {
                out.put(' ');
                ++column;
            }
        }
        gap = false;
        if (column == width) {
            out.put('\n');
            column = 0;
        }
        out.put(static_cast<char>(byte));
        ++column;
    }
    if (column > 0) {
        out.put('\n');
    }
}

}  // namespace smf
