// Runs a fuzz target's entry point on given files, outside the fuzzer: the
// normal test build replays every kept finding and seed this way.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "smf/file_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        auto bytes = smf::readFileBytes(argv[i]);
        if (!bytes) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        LLVMFuzzerTestOneInput(bytes->data(), bytes->size());
    }
    std::printf("replayed %d inputs\n", argc - 1);
    return 0;
}
