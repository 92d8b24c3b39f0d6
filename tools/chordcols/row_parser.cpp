#include "row_parser.h"

#include <optional>
#include <string>

#include "smf/number_scan.h"
#include "smf/printable_name.h"

namespace chordcols {

namespace {

// A number of a row: decimal, after any blanks of the C locale.
constexpr smf::NumberSyntax kRowNumber = smf::cLibraryInteger(10);

// A line as echoed: control characters blanked, so that a line of the file
// cannot pass for several or drive the terminal. The carriage return that
// ends a line of CRLF text is kept.
std::string echoed(std::string_view line) {
    const bool crlf = !line.empty() && line.back() == '\r';
    std::string text = smf::blankControls(crlf ? line.substr(0, line.size() - 1) : line);
    if (crlf) {
        text += '\r';
    }
    return text;
}

}  // namespace

Row parseRow(std::string_view line) {
    Row row;
    while (true) {
        const smf::ScannedNumber number = smf::scanNumber(line, kRowNumber);
        const std::optional<int> value = number.toInt();
        if (number.length == 0 || !value) {
            return row;
        }
        row.push_back(*value);
        line.remove_prefix(number.length);
    }
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
        echo << "LINE = " << echoed(line) << '\n';
        Row row = parseRow(line);
        if (!row.empty()) {
            rows.push_back(std::move(row));
        }
        start = end + 1;
    }
    return rows;
}

}  // namespace chordcols
