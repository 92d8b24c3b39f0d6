#include "skini.h"

#include <string_view>

#include "smf/printable_name.h"
#include "smf/tempo_map.h"

namespace stkscore {

namespace {

constexpr int kVolumeController = 7;
constexpr int kTrackNameMeta = 0x03;
constexpr int kTempoMeta = 0x51;
constexpr std::size_t kTimeField = 9;

bool isDataByte(std::uint8_t byte) {
    return byte < 0x80;
}

}  // namespace

SkiniWriter::SkiniWriter(smf::TextBuffer& out, int ticksPerQuarter, int trackSelection)
    : m_out(out), m_ticksPerQuarter(ticksPerQuarter), m_selection(trackSelection) {}

void SkiniWriter::write(const smf::MidiEvent& event) {
    advanceTo(event.tick);
    const int status = event.empty() ? -1 : event[0];
    switch (status & 0xF0) {
        case 0x80:
        case 0x90:
            writeNote(event);
            return;
        case 0xB0:
            writeController(event);
            return;
        default:
            break;
    }
    if (status == 0xFF) {
        writeMeta(event);
    } else {
        writeMidiData(event);
    }
}

void SkiniWriter::advanceTo(int tick) {
    // Each step is timed at the tempo in force before the event, so a tempo
    // change affects only the ticks after it.
    if (m_started) {
        m_seconds += smf::ticksToSeconds(static_cast<double>(tick - m_previousTick), m_tempo, m_ticksPerQuarter);
    }
    m_started = true;
    m_previousTick = tick;
}

bool SkiniWriter::isSelected(int track) const {
    return m_selection < 0 || m_selection == track;
}

void SkiniWriter::writeNote(const smf::MidiEvent& event) {
    // A note without its key and velocity, or with a key that is no data
    // byte, has nothing SKINI can say.
    if (event.size() < 3 || !isDataByte(event[1]) || !isSelected(event.track)) {
        return;
    }
    putMessageStart(event.isNoteOn() ? "NoteOn\t\t=" : "NoteOff\t\t=", event.track);
    m_out.put('\t').putInt(event[1]).put('\t').putInt(event[2]).put('\n');
}

void SkiniWriter::writeController(const smf::MidiEvent& event) {
    if (event.size() < 3 || !isDataByte(event[1]) || !isSelected(event.track)) {
        return;
    }
    if (event[1] == kVolumeController) {
        putMessageStart("Volume\t\t=", event.track);
        m_out.put("\t\t").putInt(event[2]).put('\n');
    } else {
        putMessageStart("ControlChange\t=", event.track);
        m_out.put('\t').putInt(event[1]).put('\t').putInt(event[2]).put('\n');
    }
}

void SkiniWriter::writeMeta(const smf::MidiEvent& event) {
    const int type = event.getMetaType();
    if (type == kTempoMeta && event.size() >= 4) {
        // A tempo of 0 microseconds per quarter note has no rate: like a
        // tempo message too short to hold its number, it is left out, as
        // the library's own tempo map does.
        const int microseconds = event.getTempoMicroseconds();
        if (microseconds > 0) {
            writeTempo(microseconds);
        }
        return;
    }
    if (type == kTrackNameMeta && event.size() >= 4) {
        writeTrackName(event);
        return;
    }
    writeMidiData(event);
}

void SkiniWriter::writeTempo(int microseconds) {
    m_tempo = 1000000.0 / microseconds * 60.0;
    m_out.put("// time:=").putDouble(m_seconds).put(" tempo: ").putDouble(m_tempo).put('\n');
}

void SkiniWriter::writeTrackName(const smf::MidiEvent& event) {
    if (!isSelected(event.track)) {
        return;
    }
    putCommentStart(event.track);
    m_out.put(" text: ");
    // The name's bytes follow its length, which takes more than one byte
    // for names of 128 bytes or more.
    // Control characters are blanked: a name holding a newline must not
    // write a line of its own (a note the file does not hold).
    const auto name = event.getMetaData();
    m_out.put(smf::blankControls(std::string_view(reinterpret_cast<const char*>(name.data()), name.size())));
    m_out.put('\n');
}

void SkiniWriter::writeMidiData(const smf::MidiEvent& event) {
    if (!isSelected(event.track)) {
        return;
    }
    putCommentStart(event.track);
    m_out.put(" midi-data: ");
    for (std::uint8_t byte : event.bytes()) {
        m_out.putInt(byte).put(' ');
    }
    m_out.put('\n');
}

void SkiniWriter::putMessageStart(std::string_view name, int track) {
    m_out.put(name).putPadded(smf::formatDouble(m_seconds), kTimeField).put('\t').putInt(track);
}

void SkiniWriter::putCommentStart(int track) {
    m_out.put("// time:=").putDouble(m_seconds).put(" track:").putInt(track);
}

}  // namespace stkscore
