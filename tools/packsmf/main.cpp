// packsmf: turns hexscribe text (or MIDI bytes) into a Standard MIDI File.
#include "shared/packer.h"

int main(int argc, char** argv) {
    return packer::run(argc, argv, packer::Tracks::AsRead);
}
