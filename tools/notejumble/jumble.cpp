#include "jumble.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <fstream>

namespace notejumble {

namespace {

struct RandomKey {
    std::size_t position;
    double key;
};

// A note-on (velocity above 0) linked to its note-off. The test of
// MidiMessage::isNoteOn is written out here: it is asked of every event
// twice.
bool movable(const smf::MidiEvent& event) {
    return event.isLinked() && event.size() >= 3 && (event[0] & 0xF0) == 0x90 && event[2] > 0;
}

// Calls fn(noteOn) for every note that may move, in list order.
template <class File, class Fn>
void forEachNote(File& file, Fn fn) {
    for (int track = 0; track < file.getNumTracks(); ++track) {
        for (auto& event : file[track]) {
            if (movable(event)) {
                fn(event);
            }
        }
    }
}

}  // namespace

std::vector<std::uint8_t> notePitches(const smf::Tunefolio& file) {
    std::vector<std::uint8_t> pitches;
    forEachNote(file, [&pitches](const smf::MidiEvent& note) {
        pitches.push_back(static_cast<std::uint8_t>(note.getKeyNumber()));
    });
    return pitches;
}

void setNotePitches(smf::Tunefolio& file, std::span<const std::uint8_t> pitches) {
    std::size_t next = 0;
    forEachNote(file, [&](smf::MidiEvent& note) {
        const std::uint8_t pitch = pitches[next++];
        note.setKeyNumber(pitch);
        note.getLinkedEvent()->setKeyNumber(pitch);
    });
}

void reversePitches(std::span<std::uint8_t> pitches) {
    std::reverse(pitches.begin(), pitches.end());
}

double drawKey(std::mt19937& engine) {
    const double low = static_cast<double>(engine());
    const double high = static_cast<double>(engine());
    constexpr double k2To32 = 4294967296.0;
    constexpr double k2To64 = k2To32 * k2To32;
    return (low + high * k2To32) / k2To64 * 100.0;
}

void shufflePitches(std::span<std::uint8_t> pitches, std::mt19937& engine, std::size_t keysAtOnce) {
    const std::size_t count = pitches.size();
    // The range of keys is cut into parts of about keysAtOnce keys each,
    // largest first; each part draws every key again and keeps its own.
    const std::size_t parts = std::max<std::size_t>(1, (count + keysAtOnce - 1) / std::max<std::size_t>(1, keysAtOnce));
    const std::mt19937 start = engine;
    std::vector<RandomKey> keys;
    keys.reserve(std::min(count, count / parts + count / parts / 8 + 16));
    std::size_t k = 0;
    for (std::size_t part = 0; part < parts; ++part) {
        const double low = 100.0 * static_cast<double>(parts - part - 1) / static_cast<double>(parts);
        const double high = 100.0 * static_cast<double>(parts - part) / static_cast<double>(parts);
        engine = start;
        keys.clear();
        for (std::size_t i = 0; i < count; ++i) {
            const double key = drawKey(engine);
            if (key >= low && (part == 0 || key < high)) {
                keys.push_back({i, key});
            }
        }
        std::sort(keys.begin(), keys.end(), [](const RandomKey& x, const RandomKey& y) { return x.key > y.key; });
        // The exchanges act on the pitches as they stand after the previous
        // ones, so the result is their product, not the sorted order itself.
        for (const RandomKey& entry : keys) {
            std::swap(pitches[k++], pitches[entry.position]);
        }
    }
}

std::uint32_t randomSeed() {
    std::uint32_t seed = 0;
    std::ifstream device("/dev/urandom", std::ios::binary);
    if (device.read(reinterpret_cast<char*>(&seed), sizeof seed)) {
        return seed;
    }
    try {
        std::random_device fallback;
        return fallback();
    } catch (const std::exception&) {
        // No entropy source at all: the clock still makes runs differ.
        return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
}

}  // namespace notejumble
