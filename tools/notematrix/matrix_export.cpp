#include "matrix_export.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include "smf/time_order.h"

namespace matrix {

namespace {

// Turns events into rows one at a time. Each row starts as seven markers;
// the row kind fills what it uses.
class Converter {
public:
    Converter(const MatrixSettings& settings, Matrix& matrix) : m_settings(settings), m_matrix(matrix) {}

    // The event at the position in time order, from the track.
    void convert(const smf::MidiEvent& event, int track, std::int32_t position) {
        const std::span<const std::uint8_t> bytes = event.bytes();
        if (bytes.empty()) {
            return;
        }
        const int status = bytes[0];
        if (status >= 0x80 && status < 0xF0) {
            convertChannelMessage(event, bytes, track, position);
        } else if (status == 0xFF) {
            convertMetaMessage(event, position);
        }
    }

private:
    double timeOf(const smf::MidiEvent& event) const {
        switch (m_settings.unit) {
            case TimeUnit::Ticks:
                return event.tick;
            case TimeUnit::Beats:
                return static_cast<double>(event.tick) / m_settings.ticksPerQuarterNote;
            case TimeUnit::Seconds:
                return event.seconds;
            case TimeUnit::Milliseconds:
                return event.seconds * 1000.0;
        }
        return event.tick;
    }

    // A new row of markers with its time and opcode; the opcode counts as
    // present even when its rows are dropped for equalling the marker.
    Row& startRow(double time, Opcode opcode) {
        m_matrix.presence.opcodes[static_cast<std::size_t>(opcode / 1000)] = true;
        m_row.fill(m_settings.unusedMarker);
        m_row[0] = time;
        m_row[1] = opcode;
        return m_row;
    }

    void finishRow(std::int32_t source) {
        if (m_row[1] != m_settings.unusedMarker) {
            m_matrix.rows.add(m_row, source);
        }
    }

    void convertChannelMessage(const smf::MidiEvent& event, std::span<const std::uint8_t> bytes, int track,
                               std::int32_t position) {
        const int channel = bytes[0] & 0x0F;
        if (const NoteKind kind = noteKind(event); kind != NoteKind::None) {
            convertNote(event, kind, channel, track, position);
            return;
        }
        switch (bytes[0] & 0xF0) {
            case 0xB0:
                if (bytes.size() >= 3 && bytes[1] < 128) {
                    m_matrix.presence.controllers[bytes[1]] = true;
                    Row& row = startRow(timeOf(event), kController);
                    row[2] = bytes[1];
                    row[3] = bytes[2];
                    row[5] = channel;
                    row[6] = track;
                    finishRow(position);
                }
                break;
            case 0xC0:
                if (bytes.size() >= 2 && bytes[1] < 128) {
                    m_matrix.presence.instruments[bytes[1]] = true;
                    Row& row = startRow(timeOf(event), kInstrument);
                    row[2] = bytes[1];
                    row[5] = channel;
                    row[6] = track;
                    finishRow(position);
                }
                break;
            default:
                break;
        }
    }

    // A note-on is remembered; a note-off (or a note-on of velocity 0)
    // makes the NOTE row from what its key remembers.
    void convertNote(const smf::MidiEvent& event, NoteKind kind, int channel, int track, std::int32_t position) {
        const int key = event[1];
        if (kind == NoteKind::On) {
            m_memory.noteOn(key, timeOf(event), event[2], position);
            return;
        }
        m_matrix.presence.opcodes[kNote / 1000] = true;
        m_row.fill(m_settings.unusedMarker);
        m_memory.fillNoteRow(m_row, key, timeOf(event), channel, track);
        finishRow(m_memory.onsetSource(key));
    }

    // Tempo, meter and key signature rows; other meta events, and ones too
    // short to hold what their row needs, make none.
    void convertMetaMessage(const smf::MidiEvent& event, std::int32_t position) {
        const int type = event.getMetaType();
        if (type == 0x51) {
            // A tempo of zero microseconds per quarter note has no beats per minute.
            if (event.getTempoMicroseconds() > 0) {
                startRow(timeOf(event), kTempo)[2] = event.getTempoBPM();
                finishRow(position);
            }
            return;
        }
        if (type != 0x58 && type != 0x59) {
            return;
        }
        const std::span<const std::uint8_t> data = event.getMetaData();
        if (data.size() < 2) {
            return;
        }
        if (type == 0x58) {
            Row& row = startRow(timeOf(event), kMeter);
            row[2] = data[0];
            row[3] = std::ldexp(1.0, data[1]);
        } else {
            Row& row = startRow(timeOf(event), kKeySignature);
            row[2] = static_cast<std::int8_t>(data[0]);
            row[3] = data[1];
        }
        finishRow(position);
    }

    const MatrixSettings& m_settings;
    Matrix& m_matrix;
    NoteOnMemory m_memory;
    Row m_row{};
};

}  // namespace

void convertEvents(const smf::Tunefolio& file, const MatrixSettings& settings, Matrix& matrix) {
    std::size_t eventCount = 0;
    for (int track = 0; track < file.getTrackCount(); ++track) {
        eventCount += static_cast<std::size_t>(file[track].size());
    }
    matrix.rows.reserve(eventCount);
    std::int32_t position = 0;
    Converter converter(settings, matrix);
    smf::forEachEventInTimeOrder(file, [&](const smf::MidiEvent& event, int track) {
        converter.convert(event, track, position++);
    });
}

void writeArray(smf::TextBuffer& out, std::string_view name, const std::vector<Row>& rows,
                const std::vector<std::uint32_t>& order, bool numericOpcodes) {
    out << name << " = [\n";
    // Seven numbers (or an opcode name) of at most kNumberRoom characters,
    // six separators and the end, written in place as one line.
    constexpr std::size_t kLineRoom = 7 * smf::kNumberRoom + 16;
    for (std::uint32_t index : order) {
        const Row& row = rows[index];
        char* at = out.claim(kLineRoom);
        for (std::size_t column = 0; column < row.size(); ++column) {
            if (column > 0) {
                *at++ = ',';
                *at++ = '\t';
            }
            if (column == 1 && !numericOpcodes) {
                const std::string_view opcode = opcodeName(static_cast<int>(row[1]));
                at = std::copy(opcode.begin(), opcode.end(), at);
            } else {
                at = smf::toCharsGeneral(at, at + smf::kNumberRoom, row[column]);
            }
        }
        *at++ = ';';
        *at++ = '\n';
        out.commit(at);
    }
    out << "];\n";
}

}  // namespace matrix
