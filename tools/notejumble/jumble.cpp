#include "jumble.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <fstream>

namespace notejumble {

namespace {

// Most files hold fewer notes than this; reserving once avoids regrowth.
constexpr std::size_t kExpectedNotes = 123456;

struct RandomKey {
    std::size_t position;
    double key;
};

}  // namespace

std::vector<smf::MidiEvent*> collectNotes(smf::Tunefolio& file) {
    std::vector<smf::MidiEvent*> notes;
    notes.reserve(kExpectedNotes);
    for (int track = 0; track < file.getNumTracks(); ++track) {
        smf::MidiEventList& events = file[track];
        for (int i = 0; i < events.size(); ++i) {
            smf::MidiEvent& event = events[i];
            if (event.isNoteOn() && event.isLinked()) {
                notes.push_back(&event);
            }
        }
    }
    return notes;
}

void exchangePitches(std::span<smf::MidiEvent* const> notes, std::size_t a, std::size_t b) {
    smf::MidiEvent* noteA = notes[a];
    smf::MidiEvent* noteB = notes[b];
    if (noteA == nullptr || noteB == nullptr) {
        return;
    }
    smf::MidiEvent* offA = noteA->getLinkedEvent();
    smf::MidiEvent* offB = noteB->getLinkedEvent();
    if (offA == nullptr || offB == nullptr) {
        return;
    }
    const int keyA = noteA->getKeyNumber();
    const int keyB = noteB->getKeyNumber();
    if (keyA < 0 || keyB < 0 || keyA == keyB) {
        return;
    }
    noteA->setKeyNumber(keyB);
    offA->setKeyNumber(keyB);
    noteB->setKeyNumber(keyA);
    offB->setKeyNumber(keyA);
}

void reversePitches(std::span<smf::MidiEvent* const> notes) {
    const std::size_t count = notes.size();
    for (std::size_t j = 0; j < count / 2; ++j) {
        exchangePitches(notes, j, count - 1 - j);
    }
}

double drawKey(std::mt19937& engine) {
    const double low = static_cast<double>(engine());
    const double high = static_cast<double>(engine());
    constexpr double k2To32 = 4294967296.0;
    constexpr double k2To64 = k2To32 * k2To32;
    return (low + high * k2To32) / k2To64 * 100.0;
}

void shufflePitches(std::span<smf::MidiEvent* const> notes, std::mt19937& engine) {
    std::vector<RandomKey> keys;
    keys.reserve(notes.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        keys.push_back({i, drawKey(engine)});
    }
    std::sort(keys.begin(), keys.end(), [](const RandomKey& x, const RandomKey& y) { return x.key > y.key; });
    // The exchanges act on the pitches as they stand after the previous ones,
    // so the result is their product, not the sorted order itself.
    for (std::size_t k = 0; k < keys.size(); ++k) {
        exchangePitches(notes, k, keys[k].position);
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
