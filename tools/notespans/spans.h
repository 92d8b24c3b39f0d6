// notespans' note lines: each note's start and end time in thousandths of
// the time unit and its key, with channels filtered out on request.
#pragma once

#include <array>
#include <string_view>

#include "shared/note_rows.h"
#include "smf/tunefolio.h"
#include "smf/text_buffer.h"

namespace spans {

// Which channels (0 to 15) are listed.
class ChannelFilter {
public:
    ChannelFilter() { m_shown.fill(true); }
    void hide(int channel) { m_shown[static_cast<std::size_t>(channel & 0x0F)] = false; }
    // Hides the channel each hexadecimal digit of the text names ("9ab"
    // hides 9, 10 and 11); other characters are ignored.
    void hideDigits(std::string_view text);
    bool shows(long long channel) const {
        return channel >= 0 && channel < 16 && m_shown[static_cast<std::size_t>(channel)];
    }

private:
    std::array<bool, 16> m_shown;
};

// x + 0.5 truncated toward zero; values beyond the range of long long are
// clamped to it, and NaN gives the lowest value.
long long roundHalfUp(double x);

struct SpanSettings {
    matrix::TimeUnit unit = matrix::TimeUnit::Beats;
    double unusedMarker = -1000.0;
    int ticksPerQuarterNote = 1;
    ChannelFilter filter;
    // Adds "\tCH_<MIDI channel>" to each line.
    bool debugChannel = false;
};

// How writeSpans puts the notes in time order: streamed as they are made
// (when the file allows it, else kept), or all kept and sorted.
enum class RowOrdering { Streamed, Kept };

// One "Note\t<start>\t<end>\t<key>" line per NOTE row of the events of
// every track, in time order (absolute ticks), rows that start before 0 or
// lie on a hidden channel left out. Drum-channel notes (channel 9) make no
// row. Seconds scale the whole tick count by the latest tempo seen before
// the event (60 beats per minute before the first), not by the tempo map.
void writeSpans(smf::TextBuffer& out, const smf::Tunefolio& file, const SpanSettings& settings,
                RowOrdering ordering = RowOrdering::Streamed);

}  // namespace spans
