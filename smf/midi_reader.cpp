// Reading MIDI files, as players read them.
//
// A damaged file is read wherever its structure leaves no doubt, and every
// problem met on the way goes into the result with what was done about it;
// only what cannot be a MIDI file (or hexscribe text describing one) fails.
// Everything happens in one pass over the bytes, and a well-formed file
// meets no step that an unforgiving reader would not take too.
#include "smf/midi_reader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

#include "smf/file_io.h"
#include "smf/hexscribe_compile.h"
#include "smf/printable_name.h"
#include "smf/tunefolio.h"
#include "smf/varlen.h"

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

bool looksLikeMidiBytes(Bytes bytes) {
    return hasTag(bytes, 0, "MThd") || hasTag(bytes, 0, "RIFF");
}

// Number of data bytes that follow a channel status byte.
int dataByteCount(std::uint8_t status) {
    const int command = status & 0xF0;
    return command == 0xC0 || command == 0xD0 ? 1 : 2;
}

// A chunk's type as it can be printed: "XFIH", or \xNN for odd bytes.
std::string chunkType(Bytes bytes, std::size_t at) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string type;
    for (std::size_t i = at; i < at + 4; ++i) {
        const std::uint8_t byte = bytes[i];
        if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"') {
            type += static_cast<char>(byte);
        } else {
            type += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
        }
    }
    return type;
}

// "1 byte", "2 bytes".
std::string countText(std::uint64_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string bytesText(std::uint64_t count) {
    return countText(count, "byte");
}

// Whether a chunk header could stand at `at`: four letters, digits or
// blanks and a length. A track whose length disagrees with its
// end-of-track is trusted to end there only when such a header follows.
bool chunkHeaderAt(Bytes bytes, std::size_t at) {
    if (bytes.size() - at < 8) {
        return false;
    }
    for (std::size_t i = at; i < at + 4; ++i) {
        const std::uint8_t c = bytes[i];
        const bool letterOrDigit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != ' ') {
            return false;
        }
    }
    return true;
}

// Whether eight bytes at `at` hold a chunk whose length lies within the
// file: what follows a track there is taken for the next chunk, as it
// always has been.
bool chunkFitsAt(Bytes bytes, std::size_t at) {
    return bytes.size() - at >= 8 && bigEndian(bytes, at + 4, 4) <= bytes.size() - at - 8;
}

// Problems go into the result with offsets in the file: the bytes read may
// be the inside of a RIFF wrapper.
class Report {
public:
    Report(Result& result, std::uint64_t base, bool fromText) : m_result(result), m_base(base), m_text(fromText) {}

    void add(std::size_t offset, int track, std::string what, std::string action) {
        m_result.addProblem({m_base + offset, track, std::move(what), std::move(action), 0});
    }
    std::size_t count() const { return m_result.problems().size(); }
    void keep(std::size_t count) { m_result.keepProblems(count); }
    // Whether the bytes are described by hexscribe text, where a track's
    // length is the count after "+M +T +r +k".
    bool fromText() const { return m_text; }
    std::uint64_t base() const { return m_base; }

private:
    Result& m_result;
    std::uint64_t m_base;
    bool m_text;
};

// Reads the events of one track chunk (the chunk's header at `chunk`).
//
// The events are read up to the end-of-track event. The track's length
// says where that should be; where the two disagree the reader decides,
// once, which to trust:
// - an end-of-track before the length's end is trusted when a chunk header
//   or the end of the file follows it (the count was too large);
// - where the length ends without an end-of-track and no chunk starts
//   there, reading goes on past it, and an end-of-track found later is
//   trusted on the same terms (the count was too small, as after adding a
//   line to hexscribe text by hand); otherwise the length holds.
class TrackReader {
public:
    TrackReader(Bytes bytes, std::size_t chunk, int track, MidiEventList& list, Report& report,
                std::vector<std::uint64_t>* offsets)
        : m_bytes(bytes),
          m_chunk(chunk),
          m_start(chunk + 8),
          m_length(bigEndian(bytes, chunk + 4, 4)),
          m_lengthEnd(m_start + m_length),
          m_end(static_cast<std::size_t>(std::min<std::uint64_t>(m_lengthEnd, bytes.size()))),
          m_pos(m_start),
          m_track(track),
          m_list(list),
          m_report(report),
          m_offsets(offsets) {}

    // Reads the track and returns where the next chunk starts.
    std::size_t read() {
        bool withDelta = true;
        Step step = Step::Clean;
        while (true) {
            if (withDelta) {
                readPlainChannelEvents();
            }
            if (!has(1)) {
                break;
            }
            step = readEvent(withDelta);
            if (step == Step::Next || step == Step::Resume) {
                withDelta = step == Step::Next;
                step = Step::Clean;
                continue;
            }
            break;
        }
        return step == Step::EndOfTrack ? finishAtEndOfTrack() : finishWithoutEndOfTrack(step);
    }

private:
    enum class Step {
        Next,        // an event was read (or passed over)
        Resume,      // go on with the status byte at m_pos, at the same tick
        EndOfTrack,  // the end-of-track event was read
        Clean,       // the bytes ran out between events
        Cut,         // the bytes ran out inside an event
        Damaged,     // bytes no reader can go past (m_damage says which)
    };

    // Most of a track is channel messages well inside its length: they are
    // read here in one tight loop, which stops, before the delta time, at
    // anything else (meta, sysex, a stray byte, the track's last bytes) for
    // readEvent to read with all its checks. Both read the same bytes alike.
    void readPlainChannelEvents() {
        // A delta time of up to four bytes and a message of up to three.
        constexpr std::size_t kLongest = 7;
        const std::uint8_t* bytes = m_bytes.data();
        std::size_t pos = m_pos;
        std::int64_t tick = m_tick;
        std::uint8_t running = m_runningStatus;
        bool metaSinceStatus = m_metaSinceStatus;
        // Locals: the compiler cannot tell that appending leaves them alone.
        const int track = m_track;
        std::vector<std::uint64_t>* const offsets = m_offsets;
        MidiEventList& list = m_list;
        const std::size_t end = m_end;
        while (end - pos >= kLongest) {
            std::size_t at = pos;
            std::uint8_t byte = bytes[at++];
            std::uint32_t delta = byte;
            if (byte > 0x7F) {
                delta = byte & 0x7F;
                int varlenBytes = 1;
                do {
                    byte = bytes[at++];
                    delta = (delta << 7) | (byte & 0x7F);
                } while (byte > 0x7F && ++varlenBytes < 4);
                if (byte > 0x7F) {
                    break;
                }
            }
            if (tick + delta > INT_MAX) {
                break;
            }
            const std::size_t start = at;
            std::uint8_t status = bytes[at];
            if (status >= 0x80) {
                if (status >= 0xF0) {
                    break;
                }
                ++at;
            } else if (running == 0 || metaSinceStatus) {
                break;
            } else {
                status = running;
            }
            const std::uint8_t message[3] = {status, bytes[at], bytes[at + 1]};
            const bool twoDataBytes = dataByteCount(status) == 2;
            if (message[1] > 0x7F || (twoDataBytes && message[2] > 0x7F)) {
                break;
            }
            tick += delta;
            if (twoDataBytes) {
                list.append(static_cast<int>(tick), track, std::span<const std::uint8_t, 3>(message, 3));
            } else {
                list.append(static_cast<int>(tick), track, std::span<const std::uint8_t, 2>(message, 2));
            }
            if (offsets) {
                offsets->push_back(m_report.base() + start);
            }
            pos = at + (twoDataBytes ? 2 : 1);
            running = status;
            metaSinceStatus = false;
        }
        m_pos = pos;
        m_tick = tick;
        m_runningStatus = running;
        m_metaSinceStatus = metaSinceStatus;
    }

    // Whether n more bytes can be read. Where the track's length runs out,
    // the choice to read on past it is made once (see the class comment).
    bool has(std::size_t n) { return m_end - m_pos >= n || (readOnPastLength() && m_end - m_pos >= n); }

    bool readOnPastLength() {
        if (m_pastLength || m_end >= m_bytes.size() || chunkFitsAt(m_bytes, m_end) ||
            hasTag(m_bytes, m_end, "MTrk")) {
            return false;
        }
        m_pastLength = true;
        m_eventsWithinLength = m_list.size();
        m_problemsWithinLength = m_report.count();
        m_end = m_bytes.size();
        return true;
    }

    void append(std::size_t at, std::span<const std::uint8_t> message) {
        m_list.append(static_cast<int>(m_tick), m_track, message);
        if (m_offsets) {
            m_offsets->push_back(m_report.base() + at);
        }
    }

    void problem(std::size_t at, std::string what, std::string action) {
        m_report.add(at, m_track, std::move(what), std::move(action));
    }

    Step damaged(std::size_t at, const char* what) {
        m_damageAt = at;
        m_damage = what;
        return Step::Damaged;
    }

    Step readVarlen(std::uint32_t& value) {
        VarlenRead read = smf::readVarlen(m_bytes.subspan(m_pos, m_end - m_pos));
        if (read.status == VarlenRead::Status::Truncated && readOnPastLength()) {
            read = smf::readVarlen(m_bytes.subspan(m_pos, m_end - m_pos));
        }
        switch (read.status) {
        case VarlenRead::Status::Complete:
            value = read.value;
            m_pos += read.length;
            return Step::Next;
        case VarlenRead::Status::Truncated:
            m_pos = m_end;
            return Step::Cut;
        case VarlenRead::Status::TooLong:
            break;
        }
        const std::size_t start = m_pos;
        m_pos += 4;
        return damaged(start, "variable-length value longer than four bytes");
    }

    Step readEvent(bool withDelta) {
        if (withDelta) {
            const std::size_t start = m_pos;
            std::uint32_t delta = 0;
            if (Step step = readVarlen(delta); step != Step::Next) {
                return step;
            }
            m_tick += delta;
            if (m_tick > INT_MAX) {
                return damaged(start, "time beyond 2^31 - 1 ticks");
            }
            if (!has(1)) {
                return Step::Cut;
            }
        }
        const std::uint8_t first = m_bytes[m_pos];
        if (first == 0xFF) {
            return readMeta();
        }
        if (first == 0xF0 || first == 0xF7) {
            return readSysex();
        }
        if (first > 0xF0) {
            return skipSystemMessage();
        }
        return readChannelMessage();
    }

    Step readMeta() {
        const std::size_t start = m_pos++;
        if (!has(1)) {
            return Step::Cut;
        }
        const std::uint8_t type = m_bytes[m_pos++];
        std::uint32_t length = 0;
        if (Step step = readVarlen(length); step != Step::Next) {
            return step;
        }
        if (!has(length)) {
            return Step::Cut;
        }
        m_pos += length;
        m_metaSinceStatus = true;
        if (type > 0x7F) {
            problem(start, "meta event of a type above 0x7F", "the event is skipped");
            return Step::Next;
        }
        append(start, m_bytes.subspan(start, m_pos - start));
        return type == 0x2F ? Step::EndOfTrack : Step::Next;
    }

    Step readSysex() {
        const std::size_t start = m_pos;
        const std::uint8_t status = m_bytes[m_pos++];
        std::uint32_t length = 0;
        if (Step step = readVarlen(length); step != Step::Next) {
            return step;
        }
        if (!has(length)) {
            return Step::Cut;
        }
        // Stored without the length: the writer derives it again.
        MidiEvent event;
        event.tick = static_cast<int>(m_tick);
        event.track = m_track;
        event.resize(1 + length);
        event[0] = status;
        if (length > 0) {
            std::memcpy(event.data() + 1, m_bytes.data() + m_pos, length);
        }
        m_list.append(std::move(event));
        if (m_offsets) {
            m_offsets->push_back(m_report.base() + start);
        }
        m_pos += length;
        m_metaSinceStatus = true;
        return Step::Next;
    }

    // A system common or real-time message: a file has no place for it.
    // Its data bytes are passed over with it, as many as MIDI gives it (up
    // to the next status byte for the two undefined ones).
    Step skipSystemMessage() {
        const std::size_t start = m_pos;
        const std::uint8_t status = m_bytes[m_pos++];
        problem(start, "system message that a file cannot hold", "the message is skipped");
        const int dataBytes = status == 0xF2 ? 2 : status == 0xF1 || status == 0xF3 ? 1 : 0;
        if (status == 0xF4 || status == 0xF5) {
            return skipDataBytes();
        }
        for (int i = 0; i < dataBytes; ++i) {
            if (!has(1)) {
                return Step::Cut;
            }
            if (m_bytes[m_pos] > 0x7F) {
                return Step::Resume;
            }
            ++m_pos;
        }
        return Step::Next;
    }

    // Passes over data bytes up to the next status byte.
    Step skipDataBytes() {
        while (has(1) && m_bytes[m_pos] < 0x80) {
            ++m_pos;
        }
        return has(1) ? Step::Resume : Step::Clean;
    }

    Step readChannelMessage() {
        const std::size_t start = m_pos;
        std::uint8_t status = m_bytes[m_pos];
        if (status >= 0x80) {
            m_runningStatus = status;
            m_metaSinceStatus = false;
            ++m_pos;
        } else if (m_runningStatus == 0) {
            problem(start, "data bytes with no status byte before them", "they are skipped up to the next status byte");
            return skipDataBytes();
        } else {
            status = m_runningStatus;
            if (m_metaSinceStatus) {
                problem(start, "running status carried across a meta or system exclusive event",
                        "the data bytes are read with the status before it");
                m_metaSinceStatus = false;
            }
        }
        const int count = dataByteCount(status);
        std::uint8_t message[3] = {status, 0, 0};
        for (int i = 0; i < count; ++i) {
            if (!has(1)) {
                return Step::Cut;
            }
            const std::uint8_t byte = m_bytes[m_pos];
            if (byte > 0x7F) {
                problem(m_pos, "a byte above 0x7F where a data byte is expected",
                        "the message it cuts short is dropped, and reading goes on from that byte as a status byte");
                return Step::Resume;
            }
            message[1 + i] = byte;
            ++m_pos;
        }
        // Fixed sizes let the copy into the event unroll.
        if (count == 2) {
            append(start, std::span<const std::uint8_t, 3>(message, 3));
        } else {
            append(start, std::span<const std::uint8_t, 2>(message, 2));
        }
        return Step::Next;
    }

    // ---- where the track ends ----

    std::string lengthText() const {
        return m_report.fromText() ? "the track's byte count 4'" + std::to_string(m_length)
                                   : "the track length " + std::to_string(m_length);
    }

    // "the track is read ..." with, for hexscribe text, the count to write.
    std::string readUpToEndOfTrack(std::size_t end) const {
        std::string action = "the track is read up to its end-of-track";
        if (m_report.fromText()) {
            action += " (the count should be 4'" + std::to_string(end - m_start) + ")";
        }
        return action;
    }

    bool endsHere(std::size_t at) const { return at == m_bytes.size() || chunkHeaderAt(m_bytes, at); }

    std::size_t nextChunk() const { return m_end < m_lengthEnd ? m_end : static_cast<std::size_t>(m_lengthEnd); }

    std::size_t finishAtEndOfTrack() {
        const std::size_t end = m_pos;
        if (!m_pastLength && end == m_lengthEnd) {
            return end;
        }
        if (m_pastLength) {
            const auto past = m_bytes.begin() + static_cast<std::ptrdiff_t>(m_lengthEnd);
            const auto at = m_bytes.begin() + static_cast<std::ptrdiff_t>(end);
            const std::string_view track = "MTrk";
            if (!endsHere(end) || std::search(past, at, track.begin(), track.end()) != at) {
                return keepLength();
            }
        } else if (!endsHere(end)) {
            // Events (or anything) after the end-of-track, inside the length.
            const std::size_t next = nextChunk();
            problem(end, bytesText(next - end) + " after the end-of-track", "they are ignored");
            if (m_lengthEnd > m_bytes.size()) {
                problem(m_chunk + 4, lengthText() + " runs past the end of the file", "the track ends with the file");
            }
            return next;
        }
        problem(m_chunk + 4, lengthText() + " disagrees with its end-of-track, after " + bytesText(end - m_start),
                readUpToEndOfTrack(end));
        return end;
    }

    std::size_t finishWithoutEndOfTrack(Step step) {
        if (m_pastLength) {
            return keepLength();
        }
        const bool pastFile = m_lengthEnd > m_bytes.size();
        switch (step) {
            case Step::Damaged:
                problem(m_damageAt, m_damage, "the rest of the track is ignored");
                break;
            case Step::Cut:
                if (pastFile) {
                    problem(m_chunk + 4, lengthText() + " runs past the end of the file, which cuts an event short",
                            "the events before it are kept");
                } else {
                    problem(m_pos, "the track's length cuts its last event short", "the incomplete event is dropped");
                }
                break;
            default:
                if (pastFile) {
                    problem(m_chunk + 4, lengthText() + " runs past the end of the file",
                            "the track ends with the file");
                } else {
                    problem(m_end, "no end-of-track event", "the track ends with its chunk");
                }
                break;
        }
        return nextChunk();
    }

    // Reading past the track's length found no end-of-track to trust: the
    // length holds after all, and what was read past it is forgotten.
    std::size_t keepLength() {
        m_list.truncate(m_eventsWithinLength);
        if (m_offsets) {
            m_offsets->resize(static_cast<std::size_t>(m_eventsWithinLength));
        }
        m_report.keep(m_problemsWithinLength);
        const std::size_t end = static_cast<std::size_t>(m_lengthEnd);
        problem(end, "no end-of-track event where the track's length ends it, and none to trust after it",
                "the track ends with its length (an event cut there is dropped)");
        return end;
    }

    Bytes m_bytes;             // the whole file
    std::size_t m_chunk;       // the chunk header
    std::size_t m_start;       // the first event byte
    std::uint32_t m_length;    // the chunk's length field
    std::uint64_t m_lengthEnd; // where the length says the track ends (maybe past the file)
    std::size_t m_end;         // where reading stops
    std::size_t m_pos;
    int m_track;
    MidiEventList& m_list;
    Report& m_report;
    std::vector<std::uint64_t>* m_offsets;

    std::int64_t m_tick = 0;
    std::uint8_t m_runningStatus = 0;
    bool m_metaSinceStatus = false;  // a meta or sysex event since the last status byte

    bool m_pastLength = false;
    int m_eventsWithinLength = 0;
    std::size_t m_problemsWithinLength = 0;

    std::size_t m_damageAt = 0;
    const char* m_damage = "";
};

struct Header {
    int format = 0;
    int trackCount = 0;
    std::uint16_t division = 0;
    std::size_t end = 0;  // where the first chunk after the header starts
};

// The header chunk; it fails for what cannot be a MIDI file.
Result readHeader(Bytes bytes, Header& header, Report& report) {
    if (!hasTag(bytes, 0, "MThd")) {
        return Result::failure("no MThd header");
    }
    if (bytes.size() < 14) {
        return Result::failure("header chunk cut short");
    }
    const std::uint32_t length = bigEndian(bytes, 4, 4);
    if (length < 6) {
        return Result::failure("header chunk shorter than 6 bytes");
    }
    if (length > bytes.size() - 8) {
        return Result::failure("header chunk cut short (it declares " + bytesText(length) + ")");
    }
    header.format = static_cast<int>(bigEndian(bytes, 8, 2));
    header.trackCount = static_cast<int>(bigEndian(bytes, 10, 2));
    header.division = static_cast<std::uint16_t>(bigEndian(bytes, 12, 2));
    header.end = 8 + length;
    if (header.division == 0) {
        return Result::failure("zero ticks per quarter note");
    }
    if (header.division & 0x8000) {
        const int fps = 256 - (header.division >> 8);
        if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || (header.division & 0xFF) == 0) {
            return Result::failure("invalid SMPTE time division");
        }
    }
    if (header.format > 2) {
        report.add(8, -1, "format " + std::to_string(header.format) + " is none of 0, 1 and 2",
                   "the tracks are read as they stand");
    }
    return {};
}

// The Standard MIDI File bytes inside a RIFF "RMID" wrapper: the payload of
// its "data" chunk, and where it starts.
Result unwrapRiff(Bytes bytes, Bytes& inner, std::size_t& innerStart, Result& result) {
    if (bytes.size() < 12 || !hasTag(bytes, 8, "RMID")) {
        return Result::failure("RIFF file that is not RMID");
    }
    std::size_t pos = 12;
    while (bytes.size() - pos >= 8) {
        const std::uint32_t length = littleEndian32(bytes, pos + 4);
        const std::size_t room = bytes.size() - pos - 8;
        if (hasTag(bytes, pos, "data")) {
            if (length > room) {
                result.addProblem({pos + 4, -1, "RIFF data chunk runs past the end of the file",
                                   "the bytes there are read", 0});
            }
            innerStart = pos + 8;
            inner = bytes.subspan(innerStart, std::min<std::size_t>(length, room));
            return {};
        }
        if (length > room) {
            return Result::failure("truncated RIFF chunk");
        }
        pos += 8 + length + (length & 1);
        if (pos > bytes.size()) {
            break;
        }
    }
    return Result::failure("RIFF RMID file without a data chunk");
}

// Reads Standard MIDI File bytes (the file is newly built).
void readSmfBytes(Bytes bytes, bool fromText, Tunefolio& file, Result& result, ReadDetails* details) {
    std::size_t base = 0;
    if (hasTag(bytes, 0, "RIFF")) {
        Bytes inner;
        if (Result unwrapped = unwrapRiff(bytes, inner, base, result); !unwrapped) {
            result.fail(unwrapped.reason());
            return;
        }
        bytes = inner;
    }
    Report report(result, base, fromText);
    Header header;
    if (Result read = readHeader(bytes, header, report); !read) {
        result.fail(read.reason());
        return;
    }
    if (header.division & 0x8000) {
        file.setSmpteTiming(256 - (header.division >> 8), header.division & 0xFF);
    } else {
        file.setTicksPerQuarterNote(header.division);
    }
    if (details) {
        details->format = header.format;
        details->declaredTracks = header.trackCount;
    }

    // A file of no tracks reads as one empty track: every file object has a
    // track 0 that programs can rely on.
    int tracks = 0;
    std::size_t pos = header.end;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < 8) {
            report.add(pos, -1, bytesText(bytes.size() - pos) + " after the last chunk", "they are ignored");
            break;
        }
        const std::uint32_t length = bigEndian(bytes, pos + 4, 4);
        const std::size_t room = bytes.size() - pos - 8;
        if (hasTag(bytes, pos, "MTrk")) {
            const int t = tracks++;
            if (t > 0) {
                file.addTrack();
            }
            MidiEventList& list = file[t];
            // An event takes at least two bytes (a delta and, under running
            // status, one data byte) and most take three or four: room for a
            // third of the chunk's bytes is rarely outgrown, and memory that
            // no event fills is never touched. It is bounded by bytes really
            // there.
            list.reserve(static_cast<int>(std::min<std::size_t>(length, room) / 3 + 1));
            std::vector<std::uint64_t>* offsets = nullptr;
            if (details) {
                details->eventOffsets.emplace_back();
                offsets = &details->eventOffsets.back();
            }
            pos = TrackReader(bytes, pos, t, list, report, offsets).read();
        } else if (length <= room) {
            report.add(pos, -1, "chunk of unknown type \"" + chunkType(bytes, pos) + "\"", "it is skipped");
            pos += 8 + length;
        } else {
            report.add(pos, -1, bytesText(bytes.size() - pos) + " after the last chunk that are no whole chunk",
                       "they are ignored");
            break;
        }
    }
    if (tracks != header.trackCount) {
        report.add(10, -1,
                   "the header announces " + countText(static_cast<std::uint64_t>(header.trackCount), "track") +
                       ", the file holds " + std::to_string(tracks),
                   "the tracks found are read");
    }
    if (header.format == 0 && tracks != 1) {
        report.add(8, -1, "format 0 (one track) with " + countText(static_cast<std::uint64_t>(tracks), "track"),
                   "every track is read");
    }
}

}  // namespace

Result readMidi(std::span<const std::uint8_t> bytes, Tunefolio& file, ReadDetails* details) {
    if (details) {
        *details = ReadDetails();
    }
    Result result;
    Tunefolio parsed;
    if (bytes.empty()) {
        result.fail("empty file");
    } else if (looksLikeMidiBytes(bytes)) {
        readSmfBytes(bytes, false, parsed, result, details);
    } else {
        // Hexscribe text describing the bytes.
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        std::vector<std::uint8_t> compiled;
        if (details) {
            details->fromText = true;
        }
        if (Result compiling = compileHexscribe(text, compiled, details ? &details->lines : nullptr); !compiling) {
            result.fail("no MThd header, and not hexscribe text: " + compiling.reason());
        } else if (compiled.empty()) {
            result.fail("hexscribe text describing no bytes");
        } else if (!looksLikeMidiBytes(compiled)) {
            result.fail("hexscribe text describing bytes without an MThd header");
        } else {
            readSmfBytes(compiled, true, parsed, result, details);
        }
    }
    if (!result) {
        file.clear();
        return result;
    }
    file = std::move(parsed);
    return result;
}

Result readMidiFile(const std::string& name, Tunefolio& file, ReadDetails* details) {
    auto bytes = readFileBytes(name);
    Result result = bytes ? readMidi(*bytes, file, details) : Result::failure("cannot open " + printableName(name));
    if (!bytes) {
        file.clear();
    }
    file.setFilename(name);
    return result;
}

Result readMidiStream(std::istream& input, Tunefolio& file, ReadDetails* details) {
    auto bytes = readStreamBytes(input);
    if (!bytes) {
        file.clear();
        return Result::failure("cannot read the input stream");
    }
    return readMidi(*bytes, file, details);
}

}  // namespace smf
