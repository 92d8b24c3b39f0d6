// A program of someone else's, built against the installed library.
#include <iostream>
#include <smf/tunefolio.h>

int main() {
    smf::Tunefolio file;
    file.addNoteOn(0, 0, 0, 60, 100);
    file.addNoteOff(0, 120, 0, 60);
    return file.writeHexscribe(std::cout) ? 0 : 1;
}
