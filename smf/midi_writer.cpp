#include "smf/midi_writer.h"

#include <ostream>

#include "smf/file_io.h"
#include "smf/midi_layout.h"
#include "smf/printable_name.h"
#include "smf/tunefolio.h"
#include "smf/varlen.h"

namespace smf {

namespace {

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void appendChunkTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

std::size_t fileMessageSize(const MidiMessage& message) {
    if (message.empty()) {
        return 0;
    }
    const std::uint8_t status = message[0];
    if (status >= 0x80 && status < 0xF0) {
        const std::size_t expected = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 2 : 3;
        if (message.size() != expected) {
            return 0;
        }
        for (std::size_t i = 1; i < expected; ++i) {
            if (message[i] > 0x7F) {
                return 0;
            }
        }
        return expected;
    }
    if (status == 0xFF) {
        std::size_t start = 0;
        std::size_t length = 0;
        if (!parseMetaLength(message.bytes(), start, length) || message[1] > 0x7F) {
            return 0;
        }
        return message.size();
    }
    if (status == 0xF0 || status == 0xF7) {
        const std::size_t length = message.size() - 1;
        if (length > kMaxDelta) {
            return 0;
        }
        return 1 + static_cast<std::size_t>(varlenSize(static_cast<std::uint32_t>(length))) + length;
    }
    return 0;
}

const MidiMessage& endOfTrackMessage() {
    static const MidiMessage message{0xFF, 0x2F, 0x00};
    return message;
}

Result trackChunkSize(const MidiEventList& track, bool deltaTicks, std::uint64_t& size) {
    // Each message is sized once, which checks it too; the first failure in
    // file order is the one reported.
    size = 0;
    bool cannotHold = false;
    Result result = forEachFileEvent(
        track, deltaTicks,
        [&](const FileEvent& e) {
            const std::size_t messageSize = e.event ? fileMessageSizeFast(*e.event) : endOfTrackMessage().size();
            cannotHold = cannotHold || messageSize == 0;
            size += static_cast<std::uint64_t>(varlenSize(e.delta)) + messageSize;
        },
        false);
    return cannotHold ? Result::failure("a message a MIDI file cannot hold") : result;
}

void appendFileMessage(std::vector<std::uint8_t>& out, const MidiMessage& message) {
    if (message.isSysex()) {
        out.push_back(message[0]);
        appendVarlen(out, static_cast<std::uint32_t>(message.size() - 1));
        out.insert(out.end(), message.begin() + 1, message.end());
        return;
    }
    out.insert(out.end(), message.begin(), message.end());
}

Result fileHeader(const Tunefolio& file, FileHeader& header) {
    header.trackCount = file.getTrackCount();
    header.format = header.trackCount == 1 ? 0 : 1;
    if (header.trackCount > 0xFFFF) {
        return Result::failure("more than 65535 tracks");
    }
    if (file.isSmpte()) {
        const int fps = file.getSmpteFramesPerSecond();
        header.division = static_cast<std::uint16_t>(((256 - fps) << 8) | file.getSmpteTicksPerFrame());
        return {};
    }
    const int tpq = file.getTicksPerQuarterNote();
    if (tpq < 1 || tpq > 32767) {
        return Result::failure("ticks per quarter note outside 1..32767");
    }
    header.division = static_cast<std::uint16_t>(tpq);
    return {};
}

Result writeMidi(const Tunefolio& file, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    FileHeader header;
    if (Result result = fileHeader(file, header); !result) {
        return result;
    }
    const bool delta = file.isDeltaTicks();
    std::vector<std::uint64_t> sizes(static_cast<std::size_t>(header.trackCount));
    std::uint64_t total = 14;
    for (int t = 0; t < header.trackCount; ++t) {
        std::uint64_t& size = sizes[static_cast<std::size_t>(t)];
        if (Result result = trackChunkSize(file[t], delta, size); !result) {
            return Result::failure("track " + std::to_string(t) + ": " + result.reason());
        }
        if (size > 0xFFFFFFFFu) {
            return Result::failure("track " + std::to_string(t) + " larger than 4 GiB");
        }
        total += 8 + size;
    }
    bytes.reserve(static_cast<std::size_t>(total));
    appendChunkTag(bytes, "MThd");
    appendBigEndian(bytes, 6, 4);
    appendBigEndian(bytes, static_cast<std::uint32_t>(header.format), 2);
    appendBigEndian(bytes, static_cast<std::uint32_t>(header.trackCount), 2);
    appendBigEndian(bytes, header.division, 2);
    for (int t = 0; t < header.trackCount; ++t) {
        appendChunkTag(bytes, "MTrk");
        appendBigEndian(bytes, static_cast<std::uint32_t>(sizes[static_cast<std::size_t>(t)]), 4);
        forEachFileEvent(
            file[t], delta,
            [&bytes](const FileEvent& e) {
                appendVarlen(bytes, e.delta);
                appendFileMessage(bytes, e.event ? *e.event : endOfTrackMessage());
            },
            false);
    }
    return {};
}

Result writeMidiFile(const Tunefolio& file, const std::string& name) {
    std::vector<std::uint8_t> bytes;
    if (Result result = writeMidi(file, bytes); !result) {
        return result;
    }
    if (!writeFileBytes(name, bytes)) {
        return Result::failure("could not write file " + printableName(name));
    }
    return {};
}

Result writeMidiStream(const Tunefolio& file, std::ostream& output) {
    std::vector<std::uint8_t> bytes;
    if (Result result = writeMidi(file, bytes); !result) {
        return result;
    }
    output.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    output.flush();
    if (!output) {
        return Result::failure("could not write to the output stream");
    }
    return {};
}

}  // namespace smf
