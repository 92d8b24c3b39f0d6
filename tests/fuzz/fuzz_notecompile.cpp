// Any text line as a note line: never a crash, and an accepted note keeps
// its key, velocity and tick order within range.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "note_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string normalized = notecompile::normalizedLine(line);
    const auto note = notecompile::parseNoteLine(normalized);
    if (note) {
        if (note->key < 0 || note->key > 127 || note->velocity < 0 || note->velocity > 127 ||
            note->offTick <= note->onTick || note->onTick < 0) {
            std::abort();
        }
    }
    return 0;
}
