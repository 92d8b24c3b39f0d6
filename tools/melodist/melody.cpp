#include "melody.h"

#include <algorithm>
#include <array>
#include <optional>

namespace melodist {

namespace {

constexpr int kRestKey = 0;
constexpr int kKeyCount = 128;

void printLine(smf::TextBuffer& out, double ticks, int ticksPerQuarter, int key) {
    out.putDouble(ticks / ticksPerQuarter).put('\t').putInt(key).put('\n');
}

}  // namespace

std::vector<Note> extractNotes(const smf::MidiEventList& track) {
    // The tick at which each key was struck, empty while it is silent.
    std::array<std::optional<int>, kKeyCount> onsets{};
    std::vector<Note> notes;
    notes.reserve(static_cast<std::size_t>(track.size()));
    for (const smf::MidiEvent& event : track) {
        const int key = event.getKeyNumber();
        if (key < 0 || key >= kKeyCount) {
            continue;
        }
        std::optional<int>& onset = onsets[static_cast<std::size_t>(key)];
        if (event.isNoteOn()) {
            onset = event.tick;
        } else if (onset) {
            notes.push_back({double(*onset), double(event.tick) - double(*onset), key});
            onset.reset();
        }
    }
    return notes;
}

void sortNotes(std::vector<Note>& notes) {
    std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
        return a.start != b.start ? a.start < b.start : a.key < b.key;
    });
}

void printMelody(const std::vector<Note>& notes, int ticksPerQuarter, smf::TextBuffer& out) {
    if (notes.empty()) {
        return;
    }
    const double end = notes.back().start + notes.back().duration;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const Note& note = notes[i];
        const double nextStart = i + 1 < notes.size() ? notes[i + 1].start : end;
        const double gap = nextStart - note.start;
        // A higher key starting at the same tick is printed instead.
        if (gap == 0.0) {
            continue;
        }
        printLine(out, note.start, ticksPerQuarter, note.key);
        if (gap > note.duration) {
            printLine(out, note.start + note.duration, ticksPerQuarter, kRestKey);
        }
    }
    printLine(out, end, ticksPerQuarter, kRestKey);
}

}  // namespace melodist
