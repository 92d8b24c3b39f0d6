#include "annotate.h"

#include <cstdint>
#include <ostream>
#include <string>

#include "smf/hexscribe.h"
#include "smf/text_buffer.h"
#include "smf/varlen.h"

namespace {

using smf::MidiEvent;
using smf::MidiEventList;
using smf::TextBuffer;

bool isNoteMessage(const MidiEvent& event) {
    return !event.empty() && event[0] >= 0x80 && event[0] <= 0x9F;
}

// A delta as the file holds it; the events of a file as read are in time
// order, so deltas are never negative.
std::uint32_t deltaOf(const MidiEvent& event) {
    return static_cast<std::uint32_t>(event.tick);
}

// Bytes the event takes in its track chunk. A system exclusive message is
// held without its length, which the file (and so the text) carries after
// the status byte.
std::uint64_t fileSize(const MidiEvent& event) {
    std::uint64_t size = static_cast<std::uint64_t>(smf::varlenSize(deltaOf(event))) + event.size();
    if (event.isSysex()) {
        size += static_cast<std::uint64_t>(smf::varlenSize(static_cast<std::uint32_t>(event.size() - 1)));
    }
    return size;
}

std::uint64_t trackSize(const MidiEventList& track) {
    std::uint64_t size = 0;
    for (const MidiEvent& event : track) {
        size += fileSize(event);
    }
    return size;
}

void putField(TextBuffer& out, std::string_view tokens, std::string_view tabs, std::string_view comment) {
    out.put(tokens).put(tabs).put("; ").put(comment).put('\n');
}

// The resolution field: ticks per quarter note, or for SMPTE timing the
// negative frame rate and the ticks per frame, each one byte.
void putDivision(TextBuffer& out, const smf::Tunefolio& file) {
    if (!file.isSmpte()) {
        out.put("2'").putInt(file.getTicksPerQuarterNote()).put("\t\t\t\t; ticks per quarter note\n");
        return;
    }
    const int fps = file.getSmpteFramesPerSecond();
    const int ticks = file.getSmpteTicksPerFrame();
    out.put("'-").putInt(fps).put(" '").putInt(ticks);
    out.put("\t\t\t; SMPTE timing: ").putInt(fps).put(" frames per second, ");
    out.putInt(ticks).put(" ticks per frame\n");
}

void putHeader(TextBuffer& out, const smf::Tunefolio& file) {
    const int tracks = file.getTrackCount();
    putField(out, "+M +T +h +d", "\t\t\t", "MIDI file header chunk marker");
    putField(out, "4'6", "\t\t\t\t", "bytes in header to follow");
    if (tracks <= 1) {
        putField(out, "2'0", "\t\t\t\t", "format: Type-0 (single track)");
    } else {
        putField(out, "2'1", "\t\t\t\t", "format: Type-1 (multi-track)");
    }
    out.put("2'").putInt(tracks).put("\t\t\t\t; track count: ").putInt(tracks);
    out.put(tracks == 1 ? " track\n" : " tracks\n");
    putDivision(out, file);
}

void putEvent(TextBuffer& out, const MidiEvent& event) {
    out.put('v').putInt(deltaOf(event)).put('\t');
    if (event.empty()) {
        out.put('\n');
        return;
    }
    out.putHex2(event[0]);
    if (event.isSysex()) {
        out.put(" v").putInt(static_cast<long long>(event.size() - 1));
    }
    const bool decimal = isNoteMessage(event);
    for (std::size_t i = 1; i < event.size(); ++i) {
        if (decimal) {
            out.put(" '").putInt(event[i]);
        } else {
            out.put(' ').putHex2(event[i]);
        }
    }
    out.put('\n');
}

void putTrack(TextBuffer& out, const MidiEventList& track) {
    out.put('\n');
    putField(out, "+M +T +r +k", "\t\t\t", "Track chunk marker");
    out.put("4'").putInt(static_cast<long long>(trackSize(track)));
    out.put("\t\t\t\t; number of bytes to follow in track\n");
    out.put('\n');
    for (const MidiEvent& event : track) {
        putEvent(out, event);
    }
}

}  // namespace

bool writeAnnotated(std::ostream& output, const smf::Tunefolio& file) {
    TextBuffer out(output);
    putHeader(out, file);
    for (int t = 0; t < file.getTrackCount(); ++t) {
        putTrack(out, file[t]);
    }
    return out.flushStream();
}
