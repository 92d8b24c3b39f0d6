// Any bytes, read as a MIDI file: never a crash; every event kept stands in
// the bytes read; and whatever reads writes back, through bytes and through
// hexscribe text, to the same file, which then reads without a problem.
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "smf/midi_reader.h"
#include "smf/tunefolio.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    smf::Tunefolio file;
    smf::ReadDetails details;
    if (!smf::readMidi({data, size}, file, &details)) {
        return 0;
    }
    if (details.eventOffsets.size() > static_cast<std::size_t>(file.getTrackCount())) {
        std::abort();
    }
    for (std::size_t t = 0; t < details.eventOffsets.size(); ++t) {
        if (details.eventOffsets[t].size() != static_cast<std::size_t>(file.getEventCount(static_cast<int>(t)))) {
            std::abort();
        }
        for (std::uint64_t offset : details.eventOffsets[t]) {
            // Hexscribe text describes at most 8 bytes for every 3 characters.
            if (offset >= (details.fromText ? 3 * size : size)) {
                std::abort();
            }
        }
    }
    const std::vector<std::uint8_t> bytes = file.getFileBytes();
    if (bytes.empty()) {
        return 0;  // e.g. a delta beyond what a file may hold: refused, not corrupted
    }
    smf::Tunefolio again;
    const smf::Result reread = smf::readMidi(bytes, again);
    if (!reread || !reread.problems().empty() || again.getFileBytes() != bytes) {
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
