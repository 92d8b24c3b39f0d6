// Writes a folder of small Standard MIDI Files shaped like the ones people
// collect: COUNT files (default 1000) of 2 to 50 KB, sizes spread evenly on
// a log scale (half of them under 10 KB), from fixed seeds, so every machine
// measures the same bytes.
//
// Each file is a song: a conductor track (name, copyright, meter, key,
// tempo, tempo changes and section markers) and two to eight instrument
// tracks (name, controller set-up, program, notes as on/off pairs with
// chords, sustain pedal, modulation and pitch-bend sweeps), one of them a
// drum track in about half the files. A fifth of the files are format 0
// (everything in one track). The bytes are written here rather than through
// the library so that they use running status the way sequencers write it
// (note-offs mostly as note-ons of velocity 0) and cancel it after meta and
// system exclusive events.
//
// usage: make_small_midi FOLDER [COUNT]
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A small linear congruential generator: fixed output on every platform.
struct Lcg {
    std::uint32_t state;
    int next(int range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(range));
    }
    bool chance(int percent) { return next(100) < percent; }
    template <typename T, std::size_t N>
    const T& pick(const std::array<T, N>& choices) { return choices[next(static_cast<int>(N))]; }
};

struct Event {
    std::uint32_t tick;
    int rank;  // at one tick: meta first, then controllers, note-offs, note-ons
    Bytes bytes;  // status first; a meta event holds FF, type, length, data
};

struct Track {
    std::vector<Event> events;
    void add(std::uint32_t tick, int rank, Bytes bytes) { events.push_back({tick, rank, std::move(bytes)}); }
    void meta(std::uint32_t tick, std::uint8_t type, std::string_view text) {
        Bytes bytes{0xFF, type, static_cast<std::uint8_t>(text.size())};
        bytes.insert(bytes.end(), text.begin(), text.end());
        add(tick, 0, std::move(bytes));
    }
    void tempo(std::uint32_t tick, int bpm) {
        const std::uint32_t micros = 60000000u / static_cast<std::uint32_t>(bpm);
        add(tick, 0, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(micros >> 16),
                      static_cast<std::uint8_t>(micros >> 8), static_cast<std::uint8_t>(micros)});
    }
    void controller(std::uint32_t tick, int channel, int number, int value) {
        add(tick, 1, {static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(number),
                      static_cast<std::uint8_t>(value)});
    }
};

void putVarlen(Bytes& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

void putNumber(Bytes& out, std::uint32_t value, int width) {
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// The track chunk, with running status for channel messages.
Bytes encodeTrack(std::vector<Event> events) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.rank < b.rank;
    });
    Bytes body;
    std::uint32_t last = 0;
    std::uint8_t running = 0;
    for (const Event& event : events) {
        putVarlen(body, event.tick - last);
        last = event.tick;
        const std::uint8_t status = event.bytes[0];
        const bool channelMessage = status < 0xF0;
        const bool skipStatus = channelMessage && status == running;
        running = channelMessage ? status : 0;
        body.insert(body.end(), event.bytes.begin() + (skipStatus ? 1 : 0), event.bytes.end());
    }
    body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
    Bytes chunk{'M', 'T', 'r', 'k'};
    putNumber(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

struct Song {
    int ticksPerQuarter;
    int beatsPerBar;
    int beatTicks;
    std::uint32_t end;  // tick of the last bar line
};

void writeConductor(Track& track, const Song& song, int number, Lcg& random) {
    track.meta(0, 0x03, "Song " + std::to_string(number));
    if (random.chance(40)) track.meta(0, 0x02, "(c) 2024 The Small Files Band");
    const bool compound = song.beatTicks != song.ticksPerQuarter;
    track.add(0, 0, {0xFF, 0x58, 0x04, static_cast<std::uint8_t>(compound ? 6 : song.beatsPerBar),
                     static_cast<std::uint8_t>(compound ? 3 : 2), 24, 8});
    track.add(0, 0, {0xFF, 0x59, 0x02, static_cast<std::uint8_t>(random.next(8)), 0});
    int bpm = 70 + random.next(100);
    track.tempo(0, bpm);
    if (random.chance(15)) {  // a sequencer's greeting
        track.add(0, 0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
    }
    const std::uint32_t bar = static_cast<std::uint32_t>(song.beatsPerBar * song.beatTicks);
    static constexpr std::array<const char*, 4> sections{"Verse", "Chorus", "Bridge", "Outro"};
    for (std::uint32_t tick = bar * 8; tick < song.end; tick += bar * 8) {
        track.meta(tick, 0x06, random.pick(sections));
        if (random.chance(30)) {
            bpm = std::clamp(bpm + random.next(21) - 10, 40, 220);
            track.tempo(tick, bpm);
        }
    }
}

struct Part {
    int channel;
    int program;
    bool drums;
    bool chords;
    bool pedal;
    bool bends;
};

void writePart(Track& track, const Part& part, const Song& song, int notes, bool offAsNoteOn, Lcg& random) {
    static constexpr std::array<const char*, 8> names{"Piano", "Bass", "Strings", "Lead",
                                                      "Guitar", "Organ", "Pad", "Brass"};
    const auto channel = static_cast<std::uint8_t>(part.channel);
    track.meta(0, 0x03, part.drums ? "Drums" : random.pick(names));
    track.controller(0, part.channel, 121, 0);
    track.controller(0, part.channel, 7, 80 + random.next(48));
    track.controller(0, part.channel, 10, random.next(128));
    track.controller(0, part.channel, 91, random.next(64));
    track.add(0, 1, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(part.program)});

    static constexpr std::array<int, 5> steps{1, 2, 2, 4, 8};  // in eighths of a beat
    const int low = part.drums ? 35 : 36 + random.next(24);
    std::uint32_t tick = static_cast<std::uint32_t>(song.beatTicks);
    int key = low + 12;
    std::uint32_t nextPedal = 0;
    int written = 0;
    while (written < notes) {
        const int step = random.pick(steps) * song.beatTicks / 8;
        const int size = part.chords && random.chance(35) ? 3 : 1;
        for (int n = 0; n < size && written < notes; ++n, ++written) {
            static constexpr std::array<int, 6> drumKeys{36, 38, 42, 42, 46, 49};
            const int pitch = part.drums ? random.pick(drumKeys) : std::clamp(key + 4 * n, 0, 127);
            const int length = part.drums ? song.beatTicks / 8 : std::max(1, step - random.next(step / 4 + 1));
            const auto k = static_cast<std::uint8_t>(pitch);
            track.add(tick, 3, {static_cast<std::uint8_t>(0x90 | channel), k,
                                static_cast<std::uint8_t>(50 + random.next(70))});
            if (offAsNoteOn) {
                track.add(tick + static_cast<std::uint32_t>(length), 2, {static_cast<std::uint8_t>(0x90 | channel), k, 0});
            } else {
                track.add(tick + static_cast<std::uint32_t>(length), 2, {static_cast<std::uint8_t>(0x80 | channel), k, 64});
            }
        }
        if (part.pedal && tick >= nextPedal) {
            track.controller(tick, part.channel, 64, 127);
            nextPedal = tick + static_cast<std::uint32_t>(song.beatsPerBar * song.beatTicks);
            track.controller(nextPedal - 1, part.channel, 64, 0);
        }
        if (part.bends && random.chance(8)) {  // a sweep up and back
            for (int i = 0; i <= 8; ++i) {
                const int value = 8192 + (i <= 4 ? i : 8 - i) * 700;
                track.add(tick + static_cast<std::uint32_t>(i * step / 8), 1,
                          {static_cast<std::uint8_t>(0xE0 | channel), static_cast<std::uint8_t>(value & 0x7F),
                           static_cast<std::uint8_t>(value >> 7)});
            }
        }
        if (!part.drums && random.chance(5)) track.controller(tick, part.channel, 1, random.next(128));
        key = std::clamp(key + random.next(9) - 4, low, low + 30);
        tick += static_cast<std::uint32_t>(step);
    }
}

// The file's bytes with about notesPerPart notes in each instrument track.
Bytes makeSong(int number, std::uint32_t seed, int notesPerPart) {
    Lcg random{seed};
    static constexpr std::array<int, 6> resolutions{96, 120, 192, 384, 480, 960};
    Song song{};
    song.ticksPerQuarter = random.pick(resolutions);
    const int meter = random.next(10);  // 4/4 mostly, some 3/4 and 6/8
    song.beatsPerBar = meter < 7 ? 4 : meter < 9 ? 3 : 2;
    song.beatTicks = meter == 9 ? song.ticksPerQuarter * 3 / 2 : song.ticksPerQuarter;
    const bool format0 = random.chance(20);
    const bool offAsNoteOn = random.chance(75);
    const int parts = 2 + random.next(7);
    const bool drums = random.chance(50);

    std::vector<Track> tracks(1 + static_cast<std::size_t>(parts));
    std::vector<Part> plan;
    for (int p = 0; p < parts; ++p) {
        const bool drumPart = drums && p == parts - 1;
        plan.push_back({drumPart ? 9 : p % 9, random.next(128), drumPart, random.chance(40), random.chance(30),
                        random.chance(25)});
    }
    // The song ends near where the notes of an average part do.
    song.end = static_cast<std::uint32_t>(notesPerPart * song.beatTicks * 3 / 8);
    writeConductor(tracks[0], song, number, random);
    for (int p = 0; p < parts; ++p) {
        writePart(tracks[static_cast<std::size_t>(p) + 1], plan[static_cast<std::size_t>(p)], song, notesPerPart,
                  offAsNoteOn, random);
    }
    if (format0) {
        for (std::size_t t = 1; t < tracks.size(); ++t) {
            tracks[0].events.insert(tracks[0].events.end(), tracks[t].events.begin(), tracks[t].events.end());
        }
        tracks.resize(1);
    }

    Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    putNumber(file, format0 ? 0 : 1, 2);
    putNumber(file, static_cast<std::uint32_t>(tracks.size()), 2);
    putNumber(file, static_cast<std::uint32_t>(song.ticksPerQuarter), 2);
    for (Track& track : tracks) {
        const Bytes chunk = encodeTrack(std::move(track.events));
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

// A file of close to target bytes: the note count is corrected by the size
// the first guess gave (the shape, drawn from the seed, stays the same).
Bytes makeSongOfSize(int number, std::uint32_t seed, double target) {
    int notes = 40;
    Bytes file = makeSong(number, seed, notes);
    for (int round = 0; round < 4; ++round) {
        notes = std::max(1, static_cast<int>(notes * target / static_cast<double>(file.size())));
        file = makeSong(number, seed, notes);
    }
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: make_small_midi FOLDER [COUNT]\n";
        return 1;
    }
    const std::string folder = argv[1];
    const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
    Lcg sizes{19841105};
    for (int number = 1; number <= count; ++number) {
        // 2 KB to 50 KB, evenly on a log scale, kept a little inside the ends
        // so that the rounding of the note count cannot cross them.
        const double target = 2200.0 * std::pow(46000.0 / 2200.0, sizes.next(10001) / 10000.0);
        const Bytes bytes = makeSongOfSize(number, 7919u * static_cast<std::uint32_t>(number), target);
        char name[32];
        std::snprintf(name, sizeof name, "/song-%04d.mid", number);
        std::ofstream out(folder + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::cerr << "make_small_midi: cannot write " << folder << name << "\n";
            return 1;
        }
    }
    return 0;
}
