#include "check.h"

#include <algorithm>
#include <array>

#include "smf/midi_reader.h"
#include "smf/tunefolio.h"

namespace smfcheck {

namespace {

using Offsets = std::vector<std::uint64_t>;

// A note left unpaired: one problem per kind, channel and key in a track,
// counting the others as repeats (a track may hold thousands).
class UnpairedNotes {
public:
    UnpairedNotes(int track, std::vector<smf::Problem>& problems) : m_track(track), m_problems(problems) {
        m_first.fill(kNone);
    }

    void add(const smf::MidiEvent& note, std::uint64_t offset) {
        const int key = note.getKeyNumber();
        const int channel = note.getChannelNibble();
        if (key < 0 || key > 127 || channel < 0) {
            return;
        }
        const bool on = note.isNoteOn();
        const std::size_t slot = (on ? 0 : kSlots / 2) + static_cast<std::size_t>(channel * 128 + key);
        if (m_first[slot] != kNone) {
            ++m_problems[m_first[slot]].repeats;
            return;
        }
        m_first[slot] = m_problems.size();
        const std::string which = "of key " + std::to_string(key) + ", channel " + std::to_string(channel + 1);
        m_problems.push_back(on ? smf::Problem{offset, m_track, "note-on " + which + ", never released",
                                               "it is kept, a note without an end", 0}
                                : smf::Problem{offset, m_track, "note-off " + which + ", with no note-on before it",
                                               "it is kept, ending no note", 0});
    }

private:
    static constexpr std::size_t kSlots = 2 * 16 * 128;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    int m_track;
    std::vector<smf::Problem>& m_problems;
    std::array<std::size_t, kSlots> m_first{};
};

bool endsWithF7(const smf::MidiEvent& message) {
    return message.size() >= 2 && message[message.size() - 1] == 0xF7;
}

// What the events of a track say, once its notes are paired.
void checkEvents(const smf::MidiEventList& track, int t, const Offsets& offsets, std::vector<smf::Problem>& problems) {
    if (track.empty()) {
        return;
    }
    UnpairedNotes unpaired(t, problems);
    // A system exclusive message may come in packets: an F0 message without
    // its F7, then F7 messages up to one that ends with F7.
    int openSysex = -1;
    const auto unclosed = [&](int index) {
        problems.push_back({offsets[static_cast<std::size_t>(index)], t,
                            "system exclusive message without its closing F7", "it is kept as it stands", 0});
    };
    for (int i = 0; i < track.size(); ++i) {
        const smf::MidiEvent& event = track[i];
        const std::uint64_t offset = offsets[static_cast<std::size_t>(i)];
        if (event.isNote()) {
            if (!event.isLinked()) {
                unpaired.add(event, offset);
            }
        } else if (event.isTempo() && event.getTempoMicroseconds() == 0) {
            problems.push_back({offset, t, "tempo of 0 microseconds per quarter note", "the tempo map passes over it", 0});
        } else if (!event.empty() && event[0] == 0xF0) {
            if (openSysex >= 0) {
                unclosed(openSysex);
            }
            openSysex = endsWithF7(event) ? -1 : i;
        } else if (!event.empty() && event[0] == 0xF7 && openSysex >= 0 && endsWithF7(event)) {
            openSysex = -1;
        }
    }
    if (openSysex >= 0) {
        unclosed(openSysex);
    }
}

}  // namespace

Report check(std::span<const std::uint8_t> bytes) {
    Report report;
    smf::Tunefolio file;
    smf::ReadDetails details;
    const smf::Result result = smf::readMidi(bytes, file, &details);
    report.readable = result.ok();
    report.why = result.reason();
    report.problems = result.problems();
    if (report.readable) {
        file.linkNotePairs();
        for (std::size_t t = 0; t < details.eventOffsets.size(); ++t) {
            checkEvents(file[static_cast<int>(t)], static_cast<int>(t), details.eventOffsets[t], report.problems);
        }
    }
    std::stable_sort(report.problems.begin(), report.problems.end(),
                     [](const smf::Problem& a, const smf::Problem& b) { return a.offset < b.offset; });
    if (details.fromText) {
        for (smf::Problem& problem : report.problems) {
            problem.what = "line " + std::to_string(details.lines.lineOf(problem.offset)) + ": " + problem.what;
        }
    }
    return report;
}

std::string problemLines(std::string_view name, const Report& report) {
    std::string lines;
    for (const smf::Problem& problem : report.problems) {
        lines += name;
        lines += ": byte " + std::to_string(problem.offset);
        if (problem.track >= 0) {
            lines += ", track " + std::to_string(problem.track);
        }
        lines += ": " + problem.what;
        if (problem.repeats > 0) {
            lines += " (and " + std::to_string(problem.repeats) + " more";
            lines += problem.track >= 0 ? " in this track)" : ")";
        }
        lines += "; " + problem.action + "\n";
    }
    return lines;
}

std::string summaryLine(std::string_view name, const Report& report) {
    std::string line(name);
    if (!report.readable) {
        return line + ": not a MIDI file (" + report.why + ")\n";
    }
    if (report.problems.empty()) {
        return line + ": ok\n";
    }
    const std::size_t count = report.problems.size();
    return line + ": " + std::to_string(count) + (count == 1 ? " problem" : " problems") + ", readable\n";
}

}  // namespace smfcheck
