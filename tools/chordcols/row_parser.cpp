#include "row_parser.h"

#include "smf/chars.h"

#include <charconv>
#include <limits>
#include <optional>

namespace chordcols {

namespace {

// The blanks of the C locale, which separate the numbers of a row.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

using smf::isDigit;

// Reads one integer at `pos` (after any blanks) and moves past it; nothing
// when the text there is not a number that fits an int.
std::optional<int> readInteger(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && isBlank(line[pos])) {
        ++pos;
    }
    std::size_t start = pos;
    bool negative = false;
    if (start < line.size() && (line[start] == '+' || line[start] == '-')) {
        negative = line[start] == '-';
        ++start;
    }
    std::size_t end = start;
    while (end < line.size() && isDigit(line[end])) {
        ++end;
    }
    if (end == start) {
        return std::nullopt;
    }
    // Parsed with the sign so that the most negative int is accepted.
    long long magnitude = 0;
    const auto [last, error] = std::from_chars(line.data() + start, line.data() + end, magnitude);
    if (error != std::errc() || last != line.data() + end) {
        return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    pos = end;
    return static_cast<int>(value);
}

}  // namespace

Row parseRow(std::string_view line) {
    Row row;
    std::size_t pos = 0;
    while (const std::optional<int> value = readInteger(line, pos)) {
        row.push_back(*value);
    }
    return row;
}

Rows readRows(std::string_view text, smf::TextBuffer& echo) {
    Rows rows;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        echo << "LINE = " << line << '\n';
        Row row = parseRow(line);
        if (!row.empty()) {
            rows.push_back(std::move(row));
        }
        start = end + 1;
    }
    return rows;
}

}  // namespace chordcols
