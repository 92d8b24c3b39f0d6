#include "matrix_export.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "smf/time_order.h"

namespace matrix {

namespace {

// Which rows a walk keeps, by the event their time comes from.
enum class Keep {
    All,
    TimedFromStart,   // only the rows of keys never struck (timed -1)
    TimedFromEvents,  // every other row
};

double timeOf(const smf::MidiEvent& event, const MatrixSettings& settings) {
    switch (settings.unit) {
        case TimeUnit::Ticks:
            return event.tick;
        case TimeUnit::Beats:
            return static_cast<double>(event.tick) / settings.ticksPerQuarterNote;
        case TimeUnit::Seconds:
            return event.seconds;
        case TimeUnit::Milliseconds:
            return event.seconds * 1000.0;
    }
    return event.tick;
}

// Records what row the event (of the note kind given) makes in the
// legend's flags: the opcode of its row (a note-on makes none, its note-off
// does) and its controller or program. The conditions are the converter's,
// below.
void recordPresence(const smf::MidiEvent& event, NoteKind kind, Presence& presence) {
    const std::span<const std::uint8_t> bytes = event.bytes();
    if (bytes.empty()) {
        return;
    }
    const int status = bytes[0];
    if (status >= 0x80 && status < 0xF0) {
        if (kind != NoteKind::None) {
            presence.opcodes[kNote / 1000] = presence.opcodes[kNote / 1000] || kind == NoteKind::Off;
        } else if ((status & 0xF0) == 0xB0 && bytes.size() >= 3 && bytes[1] < 128) {
            presence.controllers[bytes[1]] = true;
            presence.opcodes[kController / 1000] = true;
        } else if ((status & 0xF0) == 0xC0 && bytes.size() >= 2 && bytes[1] < 128) {
            presence.instruments[bytes[1]] = true;
            presence.opcodes[kInstrument / 1000] = true;
        }
        return;
    }
    if (status != 0xFF) {
        return;
    }
    const int type = event.getMetaType();
    if (type == 0x51) {
        presence.opcodes[kTempo / 1000] = presence.opcodes[kTempo / 1000] || event.getTempoMicroseconds() > 0;
    } else if ((type == 0x58 || type == 0x59) && event.getMetaData().size() >= 2) {
        presence.opcodes[(type == 0x58 ? kMeter : kKeySignature) / 1000] = true;
    }
}

// Turns events into rows one at a time. Each row starts as seven markers;
// the row kind fills what it uses.
class Converter {
public:
    // uses: how far each note-on is used, when a survey found it out.
    Converter(const MatrixSettings& settings, const NoteUses* uses = nullptr, Keep keep = Keep::All)
        : m_settings(settings), m_uses(uses), m_keep(keep) {}

    // The event at the position in time order, from the track; the rows it
    // makes go to the sink (anything with add(row, source)).
    template <class Sink>
    void convert(const smf::MidiEvent& event, int track, std::int32_t position, Sink& sink) {
        const std::span<const std::uint8_t> bytes = event.bytes();
        if (bytes.empty()) {
            return;
        }
        const int status = bytes[0];
        if (status >= 0x80 && status < 0xF0) {
            convertChannelMessage(event, bytes, track, position, sink);
        } else if (status == 0xFF) {
            convertMetaMessage(event, position, sink);
        }
    }

    std::int32_t earliestSourceFrom(std::int32_t position) const { return m_memory.earliestSourceFrom(position); }

private:
    Row& startRow(double time, Opcode opcode) {
        m_row.fill(m_settings.unusedMarker);
        m_row[0] = time;
        m_row[1] = opcode;
        return m_row;
    }

    // A row whose opcode equals the marker is dropped.
    template <class Sink>
    void finishRow(std::int32_t source, Sink& sink) {
        const bool kept = m_keep == Keep::All || (m_keep == Keep::TimedFromStart) == (source == kNoPosition);
        if (kept && m_row[1] != m_settings.unusedMarker) {
            sink.add(m_row, source);
        }
    }

    template <class Sink>
    void convertChannelMessage(const smf::MidiEvent& event, std::span<const std::uint8_t> bytes, int track,
                               std::int32_t position, Sink& sink) {
        const int channel = bytes[0] & 0x0F;
        if (const NoteKind kind = noteKind(event); kind != NoteKind::None) {
            convertNote(event, kind, channel, track, position, sink);
            return;
        }
        switch (bytes[0] & 0xF0) {
            case 0xB0:
                if (bytes.size() >= 3 && bytes[1] < 128) {
                    Row& row = startRow(timeOf(event, m_settings), kController);
                    row[2] = bytes[1];
                    row[3] = bytes[2];
                    row[5] = channel;
                    row[6] = track;
                    finishRow(position, sink);
                }
                break;
            case 0xC0:
                if (bytes.size() >= 2 && bytes[1] < 128) {
                    Row& row = startRow(timeOf(event, m_settings), kInstrument);
                    row[2] = bytes[1];
                    row[5] = channel;
                    row[6] = track;
                    finishRow(position, sink);
                }
                break;
            default:
                break;
        }
    }

    // A note-on is remembered; a note-off (or a note-on of velocity 0)
    // makes the NOTE row from what its key remembers.
    template <class Sink>
    void convertNote(const smf::MidiEvent& event, NoteKind kind, int channel, int track, std::int32_t position,
                     Sink& sink) {
        const int key = event[1];
        if (kind == NoteKind::On) {
            const std::int32_t lastUse = m_uses != nullptr ? m_uses->lastUse(m_noteOns++) : kNoLaterPosition;
            m_memory.noteOn(key, timeOf(event, m_settings), event[2], position, lastUse);
            return;
        }
        m_row.fill(m_settings.unusedMarker);
        m_memory.fillNoteRow(m_row, key, timeOf(event, m_settings), channel, track);
        finishRow(m_memory.onsetSource(key), sink);
    }

    // Tempo, meter and key signature rows; other meta events, and ones too
    // short to hold what their row needs, make none.
    template <class Sink>
    void convertMetaMessage(const smf::MidiEvent& event, std::int32_t position, Sink& sink) {
        const int type = event.getMetaType();
        if (type == 0x51) {
            // A tempo of zero microseconds per quarter note has no beats per minute.
            if (event.getTempoMicroseconds() > 0) {
                startRow(timeOf(event, m_settings), kTempo)[2] = event.getTempoBPM();
                finishRow(position, sink);
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
            Row& row = startRow(timeOf(event, m_settings), kMeter);
            row[2] = data[0];
            row[3] = std::ldexp(1.0, data[1]);
        } else {
            Row& row = startRow(timeOf(event, m_settings), kKeySignature);
            row[2] = static_cast<std::int8_t>(data[0]);
            row[3] = data[1];
        }
        finishRow(position, sink);
    }

    const MatrixSettings& m_settings;
    const NoteUses* m_uses;
    Keep m_keep;
    std::size_t m_noteOns = 0;
    NoteOnMemory m_memory;
    Row m_row{};
};

// One line of the array, written in place: seven numbers (or an opcode
// name) of at most kNumberRoom characters, six separators and the end.
void writeRow(smf::TextBuffer& out, const Row& row, bool numericOpcodes) {
    constexpr std::size_t kLineRoom = 7 * smf::kNumberRoom + 16;
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

// The rows as they are made, each held only until nothing still to come
// can go before it. Rows of keys never struck (timed -1) take a walk of
// their own, as they go before everything else.
void streamRows(smf::TextBuffer& out, const smf::Tunefolio& file, const MatrixSettings& settings,
                const Survey& survey, bool numericOpcodes) {
    const auto last = static_cast<std::int32_t>(survey.order.size()) - 1;
    const std::vector<int> fromTheStart(static_cast<std::size_t>(file.getTrackCount()), 0);
    if (survey.unstruckNotes) {
        RowWalk walk(SequenceWalk(file, survey.order, 0, fromTheStart), 0, last,
                     Converter(settings, &survey.noteUses, Keep::TimedFromStart));
        while (const SourcedRow* made = walk.next()) {
            writeRow(out, made->row, numericOpcodes);
        }
    }
    RowWalk walk(SequenceWalk(file, survey.order, 0, fromTheStart), 0, last,
                 Converter(settings, &survey.noteUses, Keep::TimedFromEvents));
    while (const SourcedRow* made = walk.next()) {
        writeRow(out, made->row, numericOpcodes);
    }
}

// Every row kept, then sorted.
void keepRows(smf::TextBuffer& out, const smf::Tunefolio& file, const MatrixSettings& settings,
              bool numericOpcodes) {
    RowList rows;
    std::int32_t position = 0;
    Converter converter(settings);
    smf::forEachEventInTimeOrder(file, [&](const smf::MidiEvent& event, int track) {
        converter.convert(event, track, position++, rows);
    });
    for (std::uint32_t index : timeOrder(rows)) {
        writeRow(out, rows.rows[index], numericOpcodes);
    }
}

}  // namespace

Survey surveyEvents(const smf::Tunefolio& file, const MatrixSettings& settings) {
    Survey survey;
    // Times in ticks or beats grow with the ticks of the recorded order; in
    // seconds they are checked.
    const bool checkTimes = settings.unit == TimeUnit::Seconds || settings.unit == TimeUnit::Milliseconds;
    double latest = -std::numeric_limits<double>::infinity();
    std::int32_t position = 0;
    survey.orderRecorded = survey.order.record(file, [&](const smf::MidiEvent& event, int) {
        const NoteKind kind = noteKind(event);
        recordPresence(event, kind, survey.presence);
        if (kind == NoteKind::On) {
            survey.noteUses.noteOn(event[1]);
        } else if (kind == NoteKind::Off && !survey.noteUses.noteOff(event[1], position)) {
            survey.unstruckNotes = true;
        }
        if (checkTimes) {
            const double time = timeOf(event, settings);
            survey.timesInOrder = survey.timesInOrder && time >= latest;
            latest = time;
        }
        ++position;
    });
    if (!survey.orderRecorded) {
        // What occurs is found all the same: it goes in the legend.
        for (int track = 0; track < file.getTrackCount(); ++track) {
            for (const smf::MidiEvent& event : file[track]) {
                recordPresence(event, noteKind(event), survey.presence);
            }
        }
    }
    return survey;
}

void writeArray(smf::TextBuffer& out, std::string_view name, const smf::Tunefolio& file,
                const MatrixSettings& settings, const Survey& survey, bool numericOpcodes, RowOrdering ordering) {
    out << name << " = [\n";
    if (ordering == RowOrdering::Streamed && survey.orderRecorded && survey.timesInOrder) {
        streamRows(out, file, settings, survey, numericOpcodes);
    } else {
        keepRows(out, file, settings, numericOpcodes);
    }
    out << "];\n";
}

}  // namespace matrix
