// Any text, compiled as hexscribe: never a crash; and any bytes, listed,
// compile back to themselves.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "smf/hexscribe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::uint8_t> compiled;
    smf::compileHexscribe(text, compiled);
    if (compiled.size() > 8 * size + 8) {
        std::abort();
    }
    for (int bytesOnly : {0, 1}) {
        smf::Hexscribe lister;
        lister.setBytes(bytesOnly);
        lister.setLineBytes(1 + size % 30);
        std::ostringstream listing;
        lister.writeListing(listing, {data, size});
        std::vector<std::uint8_t> back;
        if (!smf::compileHexscribe(listing.str(), back) || back != std::vector<std::uint8_t>(data, data + size)) {
            std::abort();
        }
    }
    return 0;
}
