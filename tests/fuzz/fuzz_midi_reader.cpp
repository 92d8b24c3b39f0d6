// Any bytes, read as a MIDI file: never a crash, and whatever reads writes
// back, through bytes and through hexscribe text, to the same file.
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "smf/tunefolio.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    smf::Tunefolio file;
    if (!file.readBytes({data, size})) {
        return 0;
    }
    const std::vector<std::uint8_t> bytes = file.getFileBytes();
    if (bytes.empty()) {
        return 0;  // e.g. a delta beyond what a file may hold: refused, not corrupted
    }
    smf::Tunefolio again;
    if (!again.readBytes(bytes) || again.getFileBytes() != bytes) {
        std::abort();
    }
    std::ostringstream text;
    file.deltaTicks();
    text << file;
    const std::string s = text.str();
    smf::Tunefolio fromText;
    if (!fromText.readBytes({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}) ||
        fromText.getFileBytes() != bytes) {
        std::abort();
    }
    file.absoluteTicks();
    file.linkNotePairs();
    file.joinTracks();
    file.doTimeAnalysis();
    return 0;
}
