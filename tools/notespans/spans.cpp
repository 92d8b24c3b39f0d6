#include "spans.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

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

namespace {

using matrix::kNoLaterPosition;
using matrix::kNoPosition;

// Whether a row's line is written: it starts at 0 or later (its start
// times 1000, plus 0.5, truncates to 0 or more), on a channel shown.
bool printed(const matrix::Row& row, int channel, const ChannelFilter& filter) {
    return row[0] * 1000.0 + 0.5 > -1.0 && filter.shows(channel);
}

// "Note", start, end and key (and the channel), written in place.
void writeLine(smf::TextBuffer& out, const matrix::Row& row, bool debugChannel) {
    constexpr std::size_t kLineRoom = 4 * smf::kNumberRoom + 16;
    char* at = out.claim(kLineRoom);
    const auto number = [&at](long long value) {
        at = std::to_chars(at, at + smf::kNumberRoom, value).ptr;
    };
    at = std::copy_n("Note\t", 5, at);
    number(roundHalfUp(row[0] * 1000.0));
    *at++ = '\t';
    number(roundHalfUp((row[0] + row[2]) * 1000.0));
    *at++ = '\t';
    number(roundHalfUp(row[3]));
    if (debugChannel) {
        at = std::copy_n("\tCH_", 4, at);
        number(roundHalfUp(row[5]) + 1);
    }
    *at++ = '\n';
    out.commit(at);
}

// Turns events into NOTE rows, keeping those that are printed and whose
// onsets lie in a stretch of positions.
class NoteConverter {
public:
    // uses: how far each note-on is used, counted from firstNoteOn, when a
    // survey found it out.
    NoteConverter(const SpanSettings& settings, const matrix::NoteUses* uses = nullptr, std::size_t firstNoteOn = 0,
                  std::int32_t firstSource = kNoPosition, std::int32_t endSource = kNoLaterPosition)
        : m_settings(settings), m_uses(uses), m_noteOns(firstNoteOn), m_firstSource(firstSource),
          m_endSource(endSource) {}

    // Whether the event changes the tempo (a tempo of zero microseconds per
    // quarter note would stop the clock, so it is passed over).
    static bool changesTempo(const smf::MidiEvent& event) { return matrix::tempoMicroseconds(event) > 0; }

    // The note kind of an event the rows use: drum-channel notes are none.
    static matrix::NoteKind usedNoteKind(const smf::MidiEvent& event) {
        const matrix::NoteKind kind = matrix::noteKind(event);
        return kind != matrix::NoteKind::None && (event[0] & 0x0F) == kDrumChannel ? matrix::NoteKind::None : kind;
    }

    // The time of the event under the current tempo.
    double timeOf(const smf::MidiEvent& event) const { return spanTime(event.tick, m_settings, m_tempo); }

    template <class Sink>
    void convert(const smf::MidiEvent& event, int track, std::int32_t position, Sink& sink) {
        if (changesTempo(event)) {
            m_tempo = 60.0 / matrix::tempoMicroseconds(event) * 1000000.0;
        }
        const matrix::NoteKind kind = usedNoteKind(event);
        if (kind == matrix::NoteKind::None) {
            return;
        }
        const double time = timeOf(event);
        if (kind == matrix::NoteKind::On) {
            const std::int32_t lastUse = m_uses != nullptr ? m_uses->lastUse(m_noteOns++) : kNoLaterPosition;
            m_memory.noteOn(event[1], time, event[2], position, lastUse);
            return;
        }
        const int channel = event[0] & 0x0F;
        m_row.fill(m_settings.unusedMarker);
        m_memory.fillNoteRow(m_row, event[1], time, channel, track);
        const std::int32_t source = m_memory.onsetSource(event[1]);
        if (m_row[1] != m_settings.unusedMarker && source >= m_firstSource && source < m_endSource &&
            printed(m_row, channel, m_settings.filter)) {
            sink.add(m_row, source);
        }
    }

    std::int32_t earliestSourceFrom(std::int32_t position) const { return m_memory.earliestSourceFrom(position); }

private:
    const SpanSettings& m_settings;
    const matrix::NoteUses* m_uses;
    std::size_t m_noteOns;
    std::int32_t m_firstSource;
    std::int32_t m_endSource;
    double m_tempo = 60.0;
    matrix::NoteOnMemory m_memory;
    matrix::Row m_row{};
};

// A stretch of events in which every time is taken at one tempo, so times
// grow with positions: the whole file, or (for seconds) from one tempo
// change to the next.
struct Stretch {
    std::int32_t first = 0;  // the position of its first event
    // The index in each track of the first event a walk from there takes.
    std::vector<int> nextInTrack;
    std::size_t firstNoteOn = 0;
    // The last position a walk making its rows must reach: its own last
    // event, or the last note-off timed from one of its note-ons.
    std::int32_t last = kNoPosition;
};

// The most track places the stretches may keep together.
constexpr std::size_t kMostPlaces = std::size_t{1} << 20;

struct Survey {
    matrix::NoteUses noteUses;
    // The time order of the events, when it could be recorded.
    matrix::TrackSequence order;
    bool orderRecorded = false;
    std::vector<Stretch> stretches;
    // Within each stretch the onsets' times never fall.
    bool timesInOrder = true;
};

Survey surveyEvents(const smf::Tunefolio& file, const SpanSettings& settings) {
    Survey survey;
    const bool timesFollowTempo =
        settings.unit == matrix::TimeUnit::Seconds || settings.unit == matrix::TimeUnit::Milliseconds;
    std::vector<int> taken(static_cast<std::size_t>(file.getTrackCount()), 0);
    std::array<std::int32_t, 128> stretchOfKey;  // the stretch of each key's latest onset
    stretchOfKey.fill(-1);
    double tempo = 60.0;
    double latestOnset = 0.0;
    bool fewStretches = true;
    std::int32_t position = 0;
    survey.orderRecorded = survey.order.record(file, [&](const smf::MidiEvent& event, int track) {
        const bool tempoChange = timesFollowTempo && NoteConverter::changesTempo(event);
        if (survey.stretches.empty() || tempoChange) {
            // Each stretch keeps a place in every track: too many of them
            // cost more than keeping the rows.
            fewStretches = fewStretches && (survey.stretches.size() + 1) * taken.size() <= kMostPlaces;
            if (fewStretches) {
                if (!survey.stretches.empty()) {
                    survey.stretches.back().last = position - 1;
                }
                survey.stretches.push_back({position, taken, survey.noteUses.noteOnCount(), position});
            }
            latestOnset = 0.0;
        }
        if (timesFollowTempo) {
            ++taken[static_cast<std::size_t>(track)];
        }
        if (tempoChange) {
            tempo = 60.0 / matrix::tempoMicroseconds(event) * 1000000.0;
        }
        const matrix::NoteKind kind = NoteConverter::usedNoteKind(event);
        if (kind == matrix::NoteKind::On) {
            survey.noteUses.noteOn(event[1]);
            stretchOfKey[event[1]] = static_cast<std::int32_t>(survey.stretches.size() - 1);
            if (timesFollowTempo) {
                // Times at one tempo grow with the tick; this only checks.
                const double time = spanTime(event.tick, settings, tempo);
                survey.timesInOrder = survey.timesInOrder && time >= latestOnset;
                latestOnset = time;
            }
        } else if (kind == matrix::NoteKind::Off && survey.noteUses.noteOff(event[1], position)) {
            Stretch& onsets = survey.stretches[static_cast<std::size_t>(stretchOfKey[event[1]])];
            onsets.last = std::max(onsets.last, position);
        }
        ++position;
    });
    survey.orderRecorded = survey.orderRecorded && fewStretches;
    if (!survey.stretches.empty()) {
        survey.stretches.back().last = position - 1;
    }
    return survey;
}

// Whether the rows can be streamed: walks over stretches that do not reach
// far past their ends (else the file is walked too often).
bool streamable(const Survey& survey) {
    if (!survey.orderRecorded || !survey.timesInOrder) {
        return false;
    }
    std::int64_t walked = 0;
    for (const Stretch& stretch : survey.stretches) {
        walked += stretch.last - stretch.first + 1;
    }
    return walked <= 4 * static_cast<std::int64_t>(survey.order.size());
}

using NoteWalk = matrix::RowWalk<NoteConverter>;

// Rows of each stretch come in time order from a walk of their own; the
// walks are merged by time, then by source.
void streamRows(smf::TextBuffer& out, const smf::Tunefolio& file, const SpanSettings& settings,
                const Survey& survey) {
    std::vector<NoteWalk> walks;
    walks.reserve(survey.stretches.size());
    for (std::size_t i = 0; i < survey.stretches.size(); ++i) {
        const Stretch& stretch = survey.stretches[i];
        const std::int32_t end = i + 1 < survey.stretches.size() ? survey.stretches[i + 1].first : kNoLaterPosition;
        walks.emplace_back(matrix::SequenceWalk(file, survey.order, static_cast<std::size_t>(stretch.first),
                                                stretch.nextInTrack),
                           stretch.first, stretch.last,
                           NoteConverter(settings, &survey.noteUses, stretch.firstNoteOn, stretch.first, end));
    }
    if (walks.size() == 1) {
        while (const matrix::SourcedRow* made = walks.front().next()) {
            writeLine(out, made->row, settings.debugChannel);
        }
        return;
    }
    std::vector<const matrix::SourcedRow*> heads(walks.size());
    std::vector<std::size_t> heap;
    const auto later = [&heads](std::size_t a, std::size_t b) {
        const matrix::SourcedRow& x = *heads[a];
        const matrix::SourcedRow& y = *heads[b];
        return x.row[0] != y.row[0] ? x.row[0] > y.row[0] : x.source > y.source;
    };
    for (std::size_t i = 0; i < walks.size(); ++i) {
        heads[i] = walks[i].next();
        if (heads[i] != nullptr) {
            heap.push_back(i);
        }
    }
    std::make_heap(heap.begin(), heap.end(), later);
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), later);
        const std::size_t first = heap.back();
        writeLine(out, heads[first]->row, settings.debugChannel);
        heads[first] = walks[first].next();
        if (heads[first] != nullptr) {
            std::push_heap(heap.begin(), heap.end(), later);
        } else {
            heap.pop_back();
        }
    }
}

// Every printed row kept, then sorted.
void keepRows(smf::TextBuffer& out, const smf::Tunefolio& file, const SpanSettings& settings) {
    matrix::RowList rows;
    NoteConverter converter(settings);
    std::int32_t position = 0;
    smf::forEachEventInTimeOrder(file, [&](const smf::MidiEvent& event, int track) {
        converter.convert(event, track, position++, rows);
    });
    for (std::uint32_t index : matrix::timeOrder(rows)) {
        writeLine(out, rows.rows[index], settings.debugChannel);
    }
}

}  // namespace

void writeSpans(smf::TextBuffer& out, const smf::Tunefolio& file, const SpanSettings& settings,
                RowOrdering ordering) {
    if (ordering == RowOrdering::Streamed) {
        const Survey survey = surveyEvents(file, settings);
        if (streamable(survey)) {
            streamRows(out, file, settings, survey);
            return;
        }
    }
    keepRows(out, file, settings);
}

}  // namespace spans
