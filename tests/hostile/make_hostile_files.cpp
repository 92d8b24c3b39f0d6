// Writes a fixed set of hostile inputs into a folder, the same bytes on every
// run. Files named bad-* are not readable MIDI files: every program that reads
// MIDI must refuse them with exit code 1 and a message. Files named odd-* are
// readable but extreme, and files named damaged-* are broken in ways the
// reader recovers from: a program may accept or refuse them (exit 0 or 1), but
// must end by itself, quickly and within bounded memory.
//
// usage: make_hostile_files FOLDER
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string g_folder;

void save(const std::string& name, const Bytes& bytes) {
    std::ofstream out(g_folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void saveText(const std::string& name, const std::string& text) {
    save(name, Bytes(text.begin(), text.end()));
}

void big(Bytes& out, std::uint32_t value, int count) {
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void varlen(Bytes& out, std::uint32_t value) {
    Bytes groups;
    do {
        groups.push_back(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    for (std::size_t i = groups.size(); i-- > 0;) {
        out.push_back(static_cast<std::uint8_t>(groups[i] | (i > 0 ? 0x80 : 0)));
    }
}

Bytes header(int format, int tracks, int division, std::uint32_t length = 6) {
    Bytes out = {'M', 'T', 'h', 'd'};
    big(out, length, 4);
    big(out, static_cast<std::uint32_t>(format), 2);
    big(out, static_cast<std::uint32_t>(tracks), 2);
    big(out, static_cast<std::uint32_t>(division), 2);
    return out;
}

void addTrack(Bytes& out, const Bytes& events, std::uint32_t declared) {
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    big(out, declared, 4);
    out.insert(out.end(), events.begin(), events.end());
}

void addTrack(Bytes& out, const Bytes& events) {
    addTrack(out, events, static_cast<std::uint32_t>(events.size()));
}

Bytes oneTrack(const Bytes& events, int division = 96) {
    Bytes out = header(0, 1, division);
    addTrack(out, events);
    return out;
}

const Bytes kNote = {0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0};
const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};

Bytes withEnd(Bytes events) {
    events.insert(events.end(), kEnd.begin(), kEnd.end());
    return events;
}

struct Lcg {
    std::uint32_t state;
    std::uint8_t next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(state >> 24);
    }
};

Bytes randomBytes(std::size_t size, std::uint32_t seed) {
    Lcg random{seed};
    Bytes out(size);
    for (auto& b : out) {
        b = random.next();
    }
    return out;
}

void writeBadFiles() {
    save("bad-empty", {});
    save("bad-random-1", randomBytes(1, 1));
    save("bad-random-100", randomBytes(100, 2));
    save("bad-random-4096", randomBytes(4096, 3));
    save("bad-random-1m", randomBytes(1 << 20, 4));
    save("bad-mthd-only", {'M', 'T', 'h', 'd'});
    save("bad-header-length-0", header(0, 1, 96, 0));
    save("bad-header-length-5", header(0, 1, 96, 5));
    save("bad-header-length-huge", header(0, 1, 96, 0xFFFFFFFF));
    save("bad-tpq-0", oneTrack(withEnd(kNote), 0));
    save("bad-smpte-27fps", oneTrack(withEnd(kNote), 0xE528));
    save("bad-riff-without-data", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'R', 'M', 'I', 'D'});
    saveText("bad-hexscribe-token", "+M +T +h +d 4'6 2'0 2'1 2'96\n+M +T +r +k 4'4 v0 ff 2f 00 zz9\n");
    saveText("bad-hexscribe-decimal", "+M +T +h +d 4'6 2'0 2'1 '256\n");
    saveText("bad-hexscribe-varlen", "+M +T +h +d 4'6 2'0 2'1 2'96 +M +T +r +k 4'5 v999999999999 ff 2f 00\n");
    {
        std::string line;
        line.reserve(10u << 20);
        while (line.size() < (10u << 20)) {
            line += "7f ";
        }
        saveText("bad-10mb-line-of-bytes", line);
        saveText("bad-10mb-token", std::string(10u << 20, 'a'));
        saveText("bad-10mb-comment", "; " + std::string(10u << 20, 'x'));
    }
}

// Damage the reader recovers from (once refused with the bad files).
void writeDamagedFiles() {
    {
        Bytes f = header(1, 3, 96);
        addTrack(f, withEnd(kNote));
        save("damaged-track-count-too-high", f);
    }
    {
        Bytes f = header(1, 1, 96);
        addTrack(f, withEnd(kNote));
        addTrack(f, withEnd(kNote));
        save("damaged-track-count-too-low", f);
    }
    save("damaged-format-7", [] {
        Bytes f = header(7, 1, 96);
        addTrack(f, withEnd(kNote));
        return f;
    }());
    save("damaged-varlen-5-bytes", oneTrack({0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 100}));
    save("damaged-running-status-without-status", oneTrack({0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00}));
    save("damaged-data-byte-above-7f", oneTrack({0x00, 0x90, 0xC0, 100}));
    save("damaged-sysex-length-0fffffff", oneTrack({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0x01, 0x02}));
    save("damaged-meta-length-0fffffff", oneTrack({0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}));
    {
        Bytes f = header(0, 1, 96);
        addTrack(f, withEnd(kNote), 0x0FFFFFFF);
        save("damaged-chunk-length-0fffffff", f);
    }
    {
        Bytes f = header(0, 1, 96);
        addTrack(f, withEnd(kNote));
        f.erase(f.end() - 5, f.end());
        save("damaged-truncated-chunk", f);
    }
    {
        Bytes events;
        for (int i = 0; i < 9; ++i) {
            varlen(events, 0x0FFFFFFF);
            events.insert(events.end(), {0x90, 60, 100});
        }
        save("damaged-deltas-past-2-31", oneTrack(withEnd(events)));
    }
    save("damaged-system-message", oneTrack({0x00, 0xF2, 0x01, 0x02}));
    saveText("damaged-hexscribe-length-mismatch", "+M +T +h +d 4'6 2'0 2'1 2'96 +M +T +r +k 4'400 v0 ff 2f 00\n");
}

void writeOddFiles() {
    save("odd-no-end-of-track", oneTrack(kNote));
    save("odd-smpte-25fps", oneTrack(withEnd(kNote), 0xE728));
    save("odd-smpte-29fps", oneTrack(withEnd(kNote), 0xE302));
    {
        Bytes f = header(2, 2, 96);
        addTrack(f, withEnd(kNote));
        addTrack(f, withEnd(kNote));
        save("odd-format-2", f);
    }
    save("odd-zero-tracks", header(1, 0, 96));
    {
        Bytes f = header(1, 65535, 96);
        for (int t = 0; t < 65535; ++t) {
            addTrack(f, t == 1 ? withEnd(kNote) : Bytes{});
        }
        save("odd-65535-tracks", f);
    }
    save("odd-tpq-1", oneTrack(withEnd(kNote), 1));
    save("odd-tpq-32767", oneTrack(withEnd(kNote), 32767));
    save("odd-tempo-zero", oneTrack(withEnd({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00, 0x00, 0x90, 60, 100, 0x60, 0x80,
                                              60, 0})));
    save("odd-tempo-short", oneTrack(withEnd({0x00, 0xFF, 0x51, 0x01, 0x07, 0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0})));
    save("odd-tempo-fast", oneTrack(withEnd({0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x01, 0x00, 0x90, 60, 100, 0x60,
                                              0x80, 60, 0})));
    save("odd-short-messages", oneTrack(withEnd({0x00, 0xFF, 0x58, 0x01, 0x04, 0x00, 0xFF, 0x59, 0x00, 0x00, 0xFF,
                                                  0x03, 0x00, 0x00, 0xF0, 0x00, 0x00, 0xF7, 0x00})));
    {
        Bytes events;
        for (int i = 0; i < 20000; ++i) {
            events.insert(events.end(), {0x00, 0x90, static_cast<std::uint8_t>(i % 128), 100});
        }
        for (int i = 0; i < 20000; ++i) {
            events.insert(events.end(), {0x00, 0x80, static_cast<std::uint8_t>(i % 128), 0});
        }
        save("odd-all-at-one-tick", oneTrack(withEnd(events)));
    }
    {
        Bytes events;
        for (int i = 0; i < 20000; ++i) {
            events.insert(events.end(), {0x01, 0x90, 60, 100});
        }
        for (int i = 0; i < 20000; ++i) {
            events.insert(events.end(), {0x00, 0x80, 60, 0});
        }
        save("odd-overlapping-one-key", oneTrack(withEnd(events)));
    }
    {
        Bytes events;
        for (int i = 0; i < 1000; ++i) {
            events.insert(events.end(), {0x00, 0x80, 60, 0});
        }
        save("odd-unmatched-note-offs", oneTrack(withEnd(events)));
    }
    {
        Bytes events;
        varlen(events, 0x0FFFFFFF);
        events.insert(events.end(), {0x90, 60, 100});
        for (int i = 0; i < 6; ++i) {
            varlen(events, 0x0FFFFFFF);
            events.insert(events.end(), {0x80, 60, 0});
        }
        save("odd-deltas-near-2-31", oneTrack(withEnd(events)));
    }
    {
        Bytes events = {0x00, 0xF0};
        varlen(events, 1u << 20);
        Bytes payload = randomBytes(1u << 20, 5);
        for (auto& b : payload) {
            b &= 0x7F;
        }
        events.insert(events.end(), payload.begin(), payload.end());
        save("odd-1mb-sysex", oneTrack(withEnd(events)));
    }
    {
        Bytes events = {0x00, 0xFF, 0x03};
        Bytes text = randomBytes(5000, 6);
        varlen(events, static_cast<std::uint32_t>(text.size()));
        events.insert(events.end(), text.begin(), text.end());
        save("odd-binary-track-name", oneTrack(withEnd(events)));
    }
    saveText("odd-hexscribe-text",
             "+M +T +h +d 4'6 2'0 2'1 2'96 ; header\n"
             "+M +T +r +k 4'12\n"
             "v0 90 '60 '100 v96 80 3c 00 v0 ff 2f 00\n");
    {
        Bytes f = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
        Bytes inner = oneTrack(withEnd(kNote));
        f.insert(f.end(), {static_cast<std::uint8_t>(inner.size()), 0, 0, 0});
        f.insert(f.end(), inner.begin(), inner.end());
        save("odd-riff-rmid", f);
    }
    {
        Bytes events;
        for (int key = 0; key < 128; ++key) {
            for (int channel = 0; channel < 16; ++channel) {
                events.insert(events.end(), {0x00, static_cast<std::uint8_t>(0x90 | channel),
                                             static_cast<std::uint8_t>(key), 1});
            }
        }
        events.insert(events.end(), {0x60, 0xB0, 0x7F, 0x7F, 0x00, 0xE0, 0x7F, 0x7F, 0x00, 0xC9, 0x7F});
        save("odd-every-key-and-channel", oneTrack(withEnd(events)));
    }
}

// Inputs that never end or are too large to hold: every program must refuse
// them within seconds, without growing to the memory limit. A link to
// /dev/zero stands for an endless device or pipe; a sparse file of 2 GiB
// for a regular file beyond the size limit.
void writeEndlessFiles() {
    namespace fs = std::filesystem;
    if (fs::exists("/dev/zero")) {
        fs::create_symlink("/dev/zero", g_folder + "/bad-endless-zeros");
    }
    save("bad-sparse-2gib", {});
    fs::resize_file(g_folder + "/bad-sparse-2gib", std::uintmax_t{2} << 30);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_hostile_files FOLDER\n";
        return 1;
    }
    g_folder = argv[1];
    writeBadFiles();
    writeDamagedFiles();
    writeOddFiles();
    writeEndlessFiles();
    return 0;
}
