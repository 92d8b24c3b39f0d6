// Writes damaged-but-readable MIDI files, one per kind of damage the reader
// recovers from, each beside the sound file whose reading it must equal:
// FOLDER/damaged/NAME and FOLDER/sound/NAME. Every program given the one
// must print and write exactly what it does for the other.
//
// usage: make_damaged_files FOLDER
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "../unit/midi_bytes.h"

using namespace testbytes;

namespace {

std::filesystem::path g_folder;

void save(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void pair(const std::string& name, const Bytes& damaged, const Bytes& sound) {
    save(g_folder / "damaged" / name, damaged);
    save(g_folder / "sound" / name, sound);
}

// A tempo, a track name and a short melody on channel 1, ended.
const Bytes kMelodyEvents = {
    0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,              // 120 bpm
    0x00, 0xFF, 0x03, 0x05, 't', 'u', 'n', 'e', '1',       // track name
    0x00, 0x90, 60, 90, 0x60, 0x80, 60, 0,                 // C4
    0x00, 0x90, 64, 90, 0x60, 0x80, 64, 0,                 // E4
    0x00, 0x90, 67, 90, 0x81, 0x40, 0x80, 67, 0,           // G4, two beats
};
const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};
// Chords on channel 2.
const Bytes kChordEvents = {
    0x00, 0x91, 48, 70, 0x00, 0x91, 52, 70, 0x83, 0x00, 0x81, 48, 0, 0x00, 0x81, 52, 0,
    0x00, 0x91, 55, 70, 0x83, 0x00, 0x81, 55, 0,
};

Bytes melody() {
    return concat({kMelodyEvents, kEnd});
}

Bytes chords() {
    return concat({kChordEvents, kEnd});
}

Bytes twoTracks(int declared) {
    return concat({header(1, declared, 96), trackOf(melody()), trackOf(chords())});
}

void writeChunkDamage() {
    pair("track-count-too-high", concat({header(1, 4, 96), trackOf(melody()), trackOf(chords())}), twoTracks(2));
    pair("track-count-too-low", twoTracks(1), twoTracks(2));
    pair("padding-after-last-chunk", concat({twoTracks(2), Bytes(5, 0)}), twoTracks(2));
    {
        const std::string note = "appended by a mail program\n";
        pair("data-after-last-chunk", concat({twoTracks(2), Bytes(note.begin(), note.end())}), twoTracks(2));
    }
    pair("unknown-chunk", concat({header(1, 2, 96), chunk("XFIH", {0, 1, 2, 3}), trackOf(melody()),
                                  chunk("XFKM", {9, 9}), trackOf(chords())}),
         twoTracks(2));
    pair("format-0-with-two-tracks", concat({header(0, 2, 96), trackOf(melody()), trackOf(chords())}),
         twoTracks(2));
}

void writeLengthDamage() {
    const Bytes first = melody();
    pair("track-length-too-large",
         concat({header(1, 2, 96), trackWithLength(first, static_cast<std::uint32_t>(first.size() + 40)),
                 trackOf(chords())}),
         twoTracks(2));
    pair("track-length-too-small",
         concat({header(1, 2, 96), trackWithLength(first, static_cast<std::uint32_t>(first.size() - 9)),
                 trackOf(chords())}),
         twoTracks(2));
    pair("track-length-past-end-of-file",
         concat({header(1, 2, 96), trackOf(melody()), trackWithLength(chords(), 100000)}), twoTracks(2));
    {
        // The file stops inside the chord track's last note-off: the events
        // before it are what a player plays.
        Bytes cut = twoTracks(2);
        cut.resize(cut.size() - kEnd.size() - 2);
        Bytes kept(kChordEvents.begin(), kChordEvents.end() - 5);
        pair("file-cut-inside-a-track", cut,
             concat({header(1, 2, 96), trackOf(melody()), trackOf(kept)}));
    }
    {
        // Sound: a track with no end-of-track, which readers always took.
        const Bytes open(kChordEvents.begin(), kChordEvents.end());
        pair("missing-end-of-track", concat({header(1, 2, 96), trackOf(melody()), trackOf(open)}),
             concat({header(1, 2, 96), trackOf(melody()), trackOf(open)}));
    }
}

void writeEventDamage() {
    // A note-on cut short by a program change: the program change stays.
    Bytes cutShort = concat({Bytes{0x00, 0x90, 72, 0xC0, 5}, kMelodyEvents, kEnd});
    Bytes withoutIt = concat({Bytes{0x00, 0xC0, 5}, kMelodyEvents, kEnd});
    pair("status-byte-where-data-expected", concat({header(1, 2, 96), trackOf(cutShort), trackOf(chords())}),
         concat({header(1, 2, 96), trackOf(withoutIt), trackOf(chords())}));

    // Data bytes with no status before them, then the chords.
    Bytes orphan = concat({Bytes{0x00, 50, 60}, kChordEvents, kEnd});
    pair("data-without-status", concat({header(1, 2, 96), trackOf(melody()), trackOf(orphan)}), twoTracks(2));

    // A system common message and a clock byte, which a file cannot hold.
    Bytes system = concat({Bytes{0x00, 0xF2, 0x10, 0x20, 0x00, 0xF8}, kChordEvents, kEnd});
    pair("system-messages", concat({header(1, 2, 96), trackOf(melody()), trackOf(system)}), twoTracks(2));

    Bytes meta = concat({Bytes{0x00, 0xFF, 0x90, 0x02, 1, 2}, kChordEvents, kEnd});
    pair("meta-type-above-7f", concat({header(1, 2, 96), trackOf(melody()), trackOf(meta)}), twoTracks(2));

    // A five-byte delta time: the rest of the track cannot be read.
    Bytes broken = concat({kChordEvents, Bytes{0x81, 0x81, 0x81, 0x81, 0x01, 0x91, 60, 1}, kEnd});
    const Bytes chordsOnly(kChordEvents.begin(), kChordEvents.end());
    pair("undecodable-delta", concat({header(1, 2, 96), trackOf(melody()), trackOf(broken)}),
         concat({header(1, 2, 96), trackOf(melody()), trackOf(chordsOnly)}));
}

// The README's workflow: smftext output with a line added, so that the
// track's byte count is stale.
void writeEditedText() {
    const std::string text =
        "+M +T +h +d\n4'6\n2'0\n2'1\n2'96\n\n"
        "+M +T +r +k\n"
        "4'16\n"
        "\n"
        "v0\t90 3c 5a\n"
        "v96\t80 3c 00\n"
        "v0\t90 40 5a\n"
        "v96\t80 40 00\n"
        "v0\tff 2f 00\n";
    const Bytes sound = concat({header(0, 1, 96),
                                trackOf({0x00, 0x90, 60, 90, 0x60, 0x80, 60, 0, 0x00, 0x90, 64, 90, 0x60, 0x80, 64,
                                         0, 0x00, 0xFF, 0x2F, 0x00})});
    pair("edited-hexscribe-text", Bytes(text.begin(), text.end()), sound);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_damaged_files FOLDER\n";
        return 1;
    }
    g_folder = argv[1];
    std::filesystem::create_directories(g_folder / "damaged");
    std::filesystem::create_directories(g_folder / "sound");
    writeChunkDamage();
    writeLengthDamage();
    writeEventDamage();
    writeEditedText();
    return 0;
}
