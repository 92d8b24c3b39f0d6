// Any text as rows of key numbers: never a crash, and the chord file built
// from them either writes or is refused cleanly.
#include <cstdint>
#include <sstream>
#include <string_view>

#include "chord_file.h"
#include "row_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::ostringstream echo;
    chordcols::Rows rows;
    {
        smf::TextBuffer out(echo);
        rows = chordcols::readRows(text, out);
    }
    smf::Tunefolio file;
    if (chordcols::buildChords(rows, file)) {
        (void)file.getFileBytes();
    }
    (void)chordcols::outputName(text.substr(0, 200));
    return 0;
}
