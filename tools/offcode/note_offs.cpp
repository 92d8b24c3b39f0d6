#include "note_offs.h"

namespace offcode {

namespace {

constexpr int kNoteOffCommand = 0x80;

}  // namespace

int rewriteNoteOffs(smf::Tunefolio& file) {
    int changed = 0;
    for (int track = 0; track < file.getTrackCount(); ++track) {
        for (smf::MidiEvent& event : file[track]) {
            if (event.isNoteOff() && event.getCommandNibble() != kNoteOffCommand) {
                event.setCommandNibble(kNoteOffCommand);
                ++changed;
            }
        }
    }
    return changed;
}

}  // namespace offcode
