// packflat: turns hexscribe text (or MIDI bytes) into a Standard MIDI File
// of one track, every track joined into it in time order.
#include "shared/packer.h"

int main(int argc, char** argv) {
    return packer::run(argc, argv, packer::Tracks::JoinedIntoOne);
}
