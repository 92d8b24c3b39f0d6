#include "spans.h"

#include <cctype>
#include <cmath>
#include <limits>

#include "smf/tempo_map.h"
#include "smf/time_order.h"

namespace spans {

namespace {

constexpr int kDrumChannel = 9;

double spanTime(int tick, const SpanSettings& settings, double tempo) {
    switch (settings.unit) {
        case matrix::TimeUnit::Ticks:
            return tick;
        case matrix::TimeUnit::Beats:
            return static_cast<double>(tick) / settings.ticksPerQuarterNote;
        case matrix::TimeUnit::Seconds:
            return smf::ticksToSeconds(tick, tempo, settings.ticksPerQuarterNote);
        case matrix::TimeUnit::Milliseconds:
            return smf::ticksToSeconds(tick, tempo, settings.ticksPerQuarterNote) * 1000.0;
    }
    return tick;
}

}  // namespace

void ChannelFilter::hideDigits(std::string_view text) {
    for (char c : text) {
        const int upper = std::toupper(static_cast<unsigned char>(c));
        if (upper >= '0' && upper <= '9') {
            hide(upper - '0');
        } else if (upper >= 'A' && upper <= 'F') {
            hide(upper - 'A' + 10);
        }
    }
}

long long roundHalfUp(double x) {
    constexpr double kLimit = 9.2e18;  // just inside the range of long long
    const double shifted = x + 0.5;
    if (std::isnan(shifted) || shifted <= -kLimit) {
        return std::numeric_limits<long long>::min();
    }
    if (shifted >= kLimit) {
        return std::numeric_limits<long long>::max();
    }
    return static_cast<long long>(shifted);
}

matrix::RowList convertNotes(const smf::Tunefolio& file, const SpanSettings& settings) {
    matrix::RowList notes;
    matrix::NoteOnMemory memory;
    matrix::Row row;
    double tempo = 60.0;
    std::int32_t position = -1;
    smf::forEachEventInTimeOrder(file, [&](const smf::MidiEvent& event, int track) {
        ++position;
        // A tempo of zero microseconds per quarter note would stop the clock.
        if (event.isTempo() && event.getTempoMicroseconds() > 0) {
            tempo = 60.0 / event.getTempoMicroseconds() * 1000000.0;
        }
        const matrix::NoteKind kind = matrix::noteKind(event);
        if (kind == matrix::NoteKind::None || (event[0] & 0x0F) == kDrumChannel) {
            return;
        }
        const double time = spanTime(event.tick, settings, tempo);
        if (kind == matrix::NoteKind::On) {
            memory.noteOn(event[1], time, event[2], position);
            return;
        }
        row.fill(settings.unusedMarker);
        memory.fillNoteRow(row, event[1], time, event[0] & 0x0F, track);
        if (row[1] != settings.unusedMarker) {
            notes.add(row, memory.onsetSource(event[1]));
        }
    });
    return notes;
}

void writeSpans(smf::TextBuffer& out, const std::vector<matrix::Row>& rows, const std::vector<std::uint32_t>& order,
                const ChannelFilter& filter, bool debugChannel) {
    for (std::uint32_t index : order) {
        const matrix::Row& row = rows[index];
        // Column 6 holds the channel.
        const long long start = roundHalfUp(row[0] * 1000.0);
        const long long channel = roundHalfUp(row[5]);
        if (start < 0 || !filter.shows(channel)) {
            continue;
        }
        out << "Note\t";
        out.putInt(start);
        out << '\t';
        out.putInt(roundHalfUp((row[0] + row[2]) * 1000.0));
        out << '\t';
        out.putInt(roundHalfUp(row[3]));
        if (debugChannel) {
            out << "\tCH_";
            out.putInt(channel + 1);
        }
        out << '\n';
    }
}

}  // namespace spans
