// sysexsplit: prints, as hexscribe text, a file holding one system exclusive
// message whole (track 1) and divided into three timed packets (track 2).
// Takes no options or arguments.
#include <iostream>

#include "frame/frame.h"

int main() {
    smf::Tunefolio file;
    file.addTrack(2);
    file.setTicksPerQuarterNote(100);

    // Messages are given without their length: the writer inserts it.
    file.addEvent(1, 0, {0xF0, 0x43, 0x12, 0x00, 0x43, 0x12, 0x00, 0x42, 0x12, 0x00, 0x43, 0x12, 0x00, 0xF7});

    // The first packet opens with F0, the later ones continue with F7; the
    // last carries the closing F7 of the message.
    file.addEvent(2, 0, {0xF0, 0x43, 0x12, 0x00});
    file.addEvent(2, 100, {0xF7, 0x43, 0x12, 0x00, 0x42, 0x12, 0x00});
    file.addEvent(2, 200, {0xF7, 0x43, 0x12, 0x00, 0xF7});

    if (!file.writeHexscribe(std::cout) || !std::cout.flush()) {
        return frame::error("Error: could not write to standard output");
    }
    return 0;
}
