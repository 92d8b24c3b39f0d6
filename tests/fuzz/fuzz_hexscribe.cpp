// Any text, compiled as hexscribe: never a crash; and any bytes, listed,
// compile back to themselves.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "smf/hexscribe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    smf::HexscribeResult compiled = smf::compileHexscribe(text);
    if (compiled.bytes.size() > 8 * size + 8) {
        std::abort();
    }
    for (int bytesOnly : {0, 1}) {
        smf::Hexscribe lister;
        lister.setBytes(bytesOnly);
        lister.setLineBytes(1 + size % 30);
        std::ostringstream listing;
        lister.writeListing(listing, {data, size});
        smf::HexscribeResult back = smf::compileHexscribe(listing.str());
        if (!back.ok() || back.bytes != std::vector<std::uint8_t>(data, data + size)) {
            std::abort();
        }
    }
    return 0;
}
