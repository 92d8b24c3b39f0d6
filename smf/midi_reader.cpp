#include "smf/midi_reader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

#include "smf/file_io.h"
#include "smf/hexscribe_compile.h"
#include "smf/printable_name.h"
#include "smf/tunefolio.h"

namespace smf {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint32_t bigEndian(Bytes bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

std::uint32_t littleEndian32(Bytes bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (std::uint32_t(bytes[at + 3]) << 24);
}

bool hasTag(Bytes bytes, std::size_t at, std::string_view tag) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, tag.data(), 4) == 0;
}

// Number of data bytes that follow a channel status byte.
int dataByteCount(std::uint8_t status) {
    const int command = status & 0xF0;
    return command == 0xC0 || command == 0xD0 ? 1 : 2;
}

// The SMF inside a RIFF "RMID" wrapper: the payload of its "data" chunk.
bool unwrapRiff(Bytes bytes, Bytes& inner, std::string& error) {
    if (bytes.size() < 12 || !hasTag(bytes, 8, "RMID")) {
        error = "RIFF file that is not RMID";
        return false;
    }
    std::size_t pos = 12;
    while (bytes.size() - pos >= 8) {
        const std::uint32_t length = littleEndian32(bytes, pos + 4);
        if (length > bytes.size() - pos - 8) {
            error = "truncated RIFF chunk";
            return false;
        }
        if (hasTag(bytes, pos, "data")) {
            inner = bytes.subspan(pos + 8, length);
            return true;
        }
        pos += 8 + length + (length & 1);
        if (pos > bytes.size()) {
            break;
        }
    }
    error = "RIFF RMID file without a data chunk";
    return false;
}

// Reads the events of one track chunk into a list.
class TrackParser {
public:
    TrackParser(Bytes chunk, int trackNumber) : m_chunk(chunk), m_track(trackNumber) {}

    bool store(MidiEventList& list, std::string& error) { return run(list, error); }

private:
    bool fail(std::string& error, const char* what) const {
        error = "track " + std::to_string(m_track) + ": " + what + " at byte " + std::to_string(m_pos);
        return false;
    }

    // 0: fine; otherwise the reason.
    const char* readVarlen(std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (m_pos >= m_chunk.size()) {
                return "truncated variable-length value";
            }
            const std::uint8_t byte = m_chunk[m_pos++];
            value = (value << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0) {
                return nullptr;
            }
        }
        return "variable-length value longer than four bytes";
    }

    bool run(MidiEventList& list, std::string& error) {
        m_pos = 0;
        std::uint8_t runningStatus = 0;
        std::int64_t tick = 0;
        while (m_pos < m_chunk.size()) {
            std::uint32_t delta = 0;
            if (const char* why = readVarlen(delta)) {
                return fail(error, why);
            }
            tick += delta;
            if (tick > INT_MAX) {
                return fail(error, "time beyond 2^31 - 1 ticks");
            }
            if (m_pos >= m_chunk.size()) {
                return fail(error, "delta time without an event");
            }
            const std::uint8_t first = m_chunk[m_pos];
            bool endOfTrack = false;
            if (first == 0xFF) {
                if (!readMeta(list, static_cast<int>(tick), endOfTrack, error)) {
                    return false;
                }
            } else if (first == 0xF0 || first == 0xF7) {
                if (!readSysex(list, static_cast<int>(tick), error)) {
                    return false;
                }
            } else if (!readChannelMessage(list, static_cast<int>(tick), runningStatus, error)) {
                return false;
            }
            if (endOfTrack) {
                // Whatever follows the end of the track is not part of it.
                break;
            }
        }
        return true;
    }

    bool readMeta(MidiEventList& list, int tick, bool& endOfTrack, std::string& error) {
        const std::size_t start = m_pos;
        m_pos += 1;
        if (m_pos >= m_chunk.size()) {
            return fail(error, "truncated meta event");
        }
        const std::uint8_t type = m_chunk[m_pos++];
        if (type > 0x7F) {
            return fail(error, "meta event type above 0x7F");
        }
        std::uint32_t length = 0;
        if (const char* why = readVarlen(length)) {
            return fail(error, why);
        }
        if (length > m_chunk.size() - m_pos) {
            return fail(error, "meta event longer than its track");
        }
        m_pos += length;
        endOfTrack = type == 0x2F;
        list.append(MidiEvent(tick, m_track, m_chunk.subspan(start, m_pos - start)));
        return true;
    }

    bool readSysex(MidiEventList& list, int tick, std::string& error) {
        const std::uint8_t status = m_chunk[m_pos++];
        std::uint32_t length = 0;
        if (const char* why = readVarlen(length)) {
            return fail(error, why);
        }
        if (length > m_chunk.size() - m_pos) {
            return fail(error, "system exclusive message longer than its track");
        }
        // Stored without the length: the writer derives it again.
        MidiEvent event;
        event.tick = tick;
        event.track = m_track;
        event.resize(1 + length);
        event[0] = status;
        if (length > 0) {
            std::memcpy(event.data() + 1, m_chunk.data() + m_pos, length);
        }
        list.append(std::move(event));
        m_pos += length;
        return true;
    }

    bool readChannelMessage(MidiEventList& list, int tick, std::uint8_t& runningStatus, std::string& error) {
        std::uint8_t status = m_chunk[m_pos];
        if (status >= 0x80) {
            if (status >= 0xF0) {
                return fail(error, "system message not allowed in a file");
            }
            runningStatus = status;
            ++m_pos;
        } else if (runningStatus == 0) {
            return fail(error, "running status without a status byte");
        } else {
            status = runningStatus;
        }
        const int count = dataByteCount(status);
        if (m_chunk.size() - m_pos < static_cast<std::size_t>(count)) {
            return fail(error, "truncated channel message");
        }
        std::uint8_t message[3] = {status, 0, 0};
        for (int i = 0; i < count; ++i) {
            const std::uint8_t byte = m_chunk[m_pos];
            if (byte > 0x7F) {
                return fail(error, "data byte above 0x7F");
            }
            message[1 + i] = byte;
            ++m_pos;
        }
        list.append(MidiEvent(tick, m_track, Bytes(message, static_cast<std::size_t>(1 + count))));
        return true;
    }

    Bytes m_chunk;
    int m_track;
    std::size_t m_pos = 0;
};

bool readHeader(Bytes bytes, int& format, int& trackCount, std::uint16_t& division, std::size_t& next,
                std::string& error) {
    if (!hasTag(bytes, 0, "MThd")) {
        error = "not a MIDI file (no MThd header)";
        return false;
    }
    if (bytes.size() < 8) {
        error = "truncated header chunk";
        return false;
    }
    const std::uint32_t length = bigEndian(bytes, 4, 4);
    if (length < 6) {
        error = "header chunk shorter than 6 bytes";
        return false;
    }
    if (length > bytes.size() - 8) {
        error = "truncated header chunk";
        return false;
    }
    format = static_cast<int>(bigEndian(bytes, 8, 2));
    trackCount = static_cast<int>(bigEndian(bytes, 10, 2));
    division = static_cast<std::uint16_t>(bigEndian(bytes, 12, 2));
    next = 8 + length;
    if (format > 2) {
        error = "unknown MIDI file format " + std::to_string(format);
        return false;
    }
    if (division == 0) {
        error = "zero ticks per quarter note";
        return false;
    }
    if (division & 0x8000) {
        const int fps = 256 - (division >> 8);
        if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || (division & 0xFF) == 0) {
            error = "invalid SMPTE time division";
            return false;
        }
    }
    return true;
}

bool looksLikeMidiBytes(Bytes bytes) {
    return hasTag(bytes, 0, "MThd") || hasTag(bytes, 0, "RIFF");
}

bool parseMidiBytes(Bytes bytes, Tunefolio& file, std::string& error) {
    if (hasTag(bytes, 0, "RIFF")) {
        Bytes inner;
        if (!unwrapRiff(bytes, inner, error)) {
            return false;
        }
        bytes = inner;
    }
    int format = 0;
    int declaredTracks = 0;
    std::uint16_t division = 0;
    std::size_t pos = 0;
    if (!readHeader(bytes, format, declaredTracks, division, pos, error)) {
        return false;
    }
    // Find every track chunk first: its length must lie within the bytes.
    std::vector<Bytes> chunks;
    while (bytes.size() - pos >= 8) {
        const std::uint32_t length = bigEndian(bytes, pos + 4, 4);
        if (length > bytes.size() - pos - 8) {
            error = "truncated chunk at byte " + std::to_string(pos);
            return false;
        }
        if (hasTag(bytes, pos, "MTrk")) {
            if (static_cast<int>(chunks.size()) == declaredTracks) {
                error = "more track chunks than the header's count of " + std::to_string(declaredTracks);
                return false;
            }
            chunks.push_back(bytes.subspan(pos + 8, length));
        }
        pos += 8 + length;
    }
    if (static_cast<int>(chunks.size()) != declaredTracks) {
        error = "header announces " + std::to_string(declaredTracks) + " tracks but the file holds " +
                std::to_string(chunks.size());
        return false;
    }
    // A file of no tracks reads as one empty track: every file object has a
    // track 0 that programs can rely on.
    file.addTracks(static_cast<int>(chunks.size()) - 1);
    if (division & 0x8000) {
        file.setSmpteTiming(256 - (division >> 8), division & 0xFF);
    } else {
        file.setTicksPerQuarterNote(division);
    }
    for (std::size_t t = 0; t < chunks.size(); ++t) {
        MidiEventList& list = file[static_cast<int>(t)];
        // An event takes at least two bytes (a delta and, under running
        // status, one data byte) and most take three or four: room for a
        // third of the chunk's bytes is rarely outgrown, and memory that no
        // event fills is never touched. It is bounded by bytes really there.
        list.reserve(static_cast<int>(chunks[t].size() / 3 + 1));
        TrackParser parser(chunks[t], static_cast<int>(t));
        if (!parser.store(list, error)) {
            return false;
        }
    }
    (void)format;
    return true;
}

// Hexscribe text describing MIDI bytes, compiled.
bool compileMidiText(Bytes bytes, std::vector<std::uint8_t>& compiled, std::string& error) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (Result result = compileHexscribe(text, compiled); !result) {
        error = result.reason();
        return false;
    }
    if (compiled.empty()) {
        error = "empty input";
        return false;
    }
    if (!looksLikeMidiBytes(compiled)) {
        error = "not a MIDI file (no MThd header)";
        return false;
    }
    return true;
}

}  // namespace

Result readMidi(std::span<const std::uint8_t> bytes, Tunefolio& file) {
    Tunefolio parsed;
    std::string error;
    std::vector<std::uint8_t> compiled;
    bool ok = looksLikeMidiBytes(bytes) ? parseMidiBytes(bytes, parsed, error)
                                        : compileMidiText(bytes, compiled, error) &&
                                              parseMidiBytes(compiled, parsed, error);
    if (!ok) {
        file.clear();
        return Result::failure(error);
    }
    file = std::move(parsed);
    return {};
}

Result readMidiFile(const std::string& name, Tunefolio& file) {
    auto bytes = readFileBytes(name);
    Result result = bytes ? readMidi(*bytes, file) : Result::failure("cannot open " + printableName(name));
    if (!bytes) {
        file.clear();
    }
    file.setFilename(name);
    return result;
}

Result readMidiStream(std::istream& input, Tunefolio& file) {
    auto bytes = readStreamBytes(input);
    if (!bytes) {
        file.clear();
        return Result::failure("cannot read the input stream");
    }
    return readMidi(*bytes, file);
}

}  // namespace smf
