#include "smf/midi_text.h"

#include <charconv>
#include <ostream>
#include <vector>

#include "smf/midi_layout.h"
#include "smf/midi_writer.h"
#include "smf/text_buffer.h"
#include "smf/tunefolio.h"

namespace smf {

namespace {

// Text of a meta message, with anything unprintable escaped so that the
// comment stays on its line.
std::string printableText(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        if (byte >= 0x20 && byte < 0x7F) {
            text.push_back(static_cast<char>(byte));
        } else {
            char escaped[4] = {'\\', 'x'};
            toCharsHex2(escaped + 2, byte);
            text.append(escaped, 4);
        }
    }
    return text;
}

std::string textMetaName(int type) {
    switch (type) {
        case 0x01: return "text";
        case 0x02: return "copyright";
        case 0x03: return "track name";
        case 0x04: return "instrument name";
        case 0x05: return "lyric";
        case 0x06: return "marker";
        case 0x07: return "cue point";
        case 0x08: return "program name";
        case 0x09: return "device name";
        default: return "text of type " + std::to_string(type);
    }
}

std::string keySignatureText(std::span<const std::uint8_t> data) {
    static constexpr const char* kMajor[15] = {"Cb", "Gb", "Db", "Ab", "Eb", "Bb", "F", "C",
                                               "G",  "D",  "A",  "E",  "B",  "F#", "C#"};
    static constexpr const char* kMinor[15] = {"Ab", "Eb", "Bb", "F",  "C",  "G",  "D", "A",
                                               "E",  "B",  "F#", "C#", "G#", "D#", "A#"};
    if (data.size() < 2) {
        return "key signature";
    }
    const int sharps = static_cast<std::int8_t>(data[0]);
    if (sharps < -7 || sharps > 7 || data[1] > 1) {
        return "key signature";
    }
    const bool minor = data[1] == 1;
    return std::string("key signature ") + (minor ? kMinor[sharps + 7] : kMajor[sharps + 7]) +
           (minor ? " minor" : " major");
}

std::string describeMeta(const MidiMessage& message) {
    const int type = message.getMetaType();
    const auto data = message.getMetaData();
    if (type >= 0x01 && type <= 0x0F) {
        return textMetaName(type) + ": " + printableText(data);
    }
    switch (type) {
        case 0x00: return "sequence number";
        case 0x20: return data.empty() ? "channel prefix" : "channel prefix " + std::to_string(data[0] + 1);
        case 0x21: return data.empty() ? "port" : "port " + std::to_string(data[0]);
        case 0x2F: return "end of track";
        case 0x51:
            return message.isTempo() ? "tempo " + formatDouble(message.getTempoBPM()) + " bpm" : "tempo";
        case 0x54: return "SMPTE offset";
        case 0x58:
            if (data.size() >= 2 && data[1] < 16) {
                return "meter " + std::to_string(data[0]) + "/" + std::to_string(1 << data[1]);
            }
            return "meter";
        case 0x59: return keySignatureText(data);
        case 0x7F: return "sequencer-specific data";
        default: return "meta event of type " + std::to_string(type);
    }
}

// The comment of one header field, after the field's tokens.
void putField(TextBuffer& out, std::string_view tokens, int tabs, std::string_view comment, bool comments) {
    out.put(tokens);
    if (comments) {
        for (int i = 0; i < tabs; ++i) {
            out.put('\t');
        }
        out.put("; ").put(comment);
    }
    out.put('\n');
}

void putHeader(TextBuffer& out, const FileHeader& header, bool comments) {
    putField(out, "+M +T +h +d", 3, "MIDI file header chunk marker", comments);
    putField(out, "4'6", 4, "bytes in header to follow", comments);
    putField(out, header.format == 0 ? "2'0" : "2'1", 4,
             header.format == 0 ? "format: Type-0 (single track)" : "format: Type-1 (multi-track)", comments);
    putField(out, "2'" + std::to_string(header.trackCount), 4,
             "track count: " + std::to_string(header.trackCount) + (header.trackCount == 1 ? " track" : " tracks"),
             comments);
    if (header.division & 0x8000) {
        std::string tokens;
        for (int shift : {12, 8, 4, 0}) {
            tokens.push_back(hexDigit(header.division >> shift));
            if (shift == 8) {
                tokens.push_back(' ');
            }
        }
        const int fps = 256 - (header.division >> 8);
        putField(out, tokens, 4,
                 "SMPTE timing: " + std::to_string(fps) + " frames per second, " +
                     std::to_string(header.division & 0xFF) + " ticks per frame",
                 comments);
    } else {
        putField(out, "2'" + std::to_string(header.division), 4, "ticks per quarter note", comments);
    }
}

int decimalDigits(std::uint32_t value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

// Characters putEventBytes writes for the message.
std::size_t printedSize(const MidiMessage& message) {
    if (message.empty()) {
        return 0;
    }
    std::size_t size = 3 * message.size() - 1;
    if (message.isSysex()) {
        size += 2 + static_cast<std::size_t>(decimalDigits(static_cast<std::uint32_t>(message.size() - 1)));
    }
    return size;
}

void putEventBytes(TextBuffer& out, const MidiMessage& message) {
    if (message.isSysex()) {
        out.putHex2(message[0]).put(" v").putInt(static_cast<long long>(message.size() - 1));
        for (std::size_t i = 1; i < message.size(); ++i) {
            out.put(' ').putHex2(message[i]);
        }
        return;
    }
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (i > 0) {
            out.put(' ');
        }
        out.putHex2(message[i]);
    }
}

// "v", the delta, a tab and the bytes. Short messages, the bulk of a file,
// are written in place as one piece.
void putLongDeltaAndBytes(TextBuffer& out, std::uint32_t delta, const MidiMessage& message, bool endLine) {
    out.put('v').putInt(delta).put('\t');
    putEventBytes(out, message);
    if (endLine) {
        out.put('\n');
    }
}

// Inline, with the three-byte channel message spelt out: this is most of
// the work of a listing of millions of events. With endLine, the line's
// newline goes into the same piece.
inline void putDeltaAndBytes(TextBuffer& out, std::uint32_t delta, const MidiMessage& message, bool endLine) {
    constexpr std::size_t kShort = 8;
    const std::size_t size = message.size();
    if (size > kShort || message.isSysex()) {
        putLongDeltaAndBytes(out, delta, message, endLine);
        return;
    }
    char* const line = out.claim(16 + 3 * kShort + 1);
    char* end = line;
    *end++ = 'v';
    end = toCharsUnsigned(end, line + 16, delta);
    *end++ = '\t';
    const std::uint8_t* bytes = message.data();
    if (size == 3) {
        end = toCharsHex2(end, bytes[0]);
        *end++ = ' ';
        end = toCharsHex2(end, bytes[1]);
        *end++ = ' ';
        end = toCharsHex2(end, bytes[2]);
    } else {
        for (std::size_t i = 0; i < size; ++i) {
            if (i > 0) {
                *end++ = ' ';
            }
            end = toCharsHex2(end, bytes[i]);
        }
    }
    if (endLine) {
        *end++ = '\n';
    }
    out.commit(end);
}

// The end of every text written: all of it handed to the stream.
Result flushed(TextBuffer& out) {
    if (!out.flush()) {
        return Result::failure("could not write to the output stream");
    }
    return {};
}

}  // namespace

namespace {

// Channel messages are the bulk of a file: their descriptions go straight
// into the buffer, without building strings.
void putNote(TextBuffer& out, int key) {
    out.put(pitchClassName(key)).putInt(key / 12 - 1).put(" (").putInt(key).put(')');
}

void putChannelDescription(TextBuffer& out, const MidiMessage& message) {
    const int p1 = message.getP1();
    const int p2 = message.getP2();
    switch (message.getCommandNibble()) {
        case 0x80:
            out.put("note-off ");
            putNote(out, p1);
            out.put(" velocity ").putInt(p2);
            break;
        case 0x90:
            out.put(p2 == 0 ? "note-off " : "note-on ");
            putNote(out, p1);
            if (p2 == 0) {
                out.put(" (note-on, velocity 0)");
            } else {
                out.put(" velocity ").putInt(p2);
            }
            break;
        case 0xA0:
            out.put("key pressure ");
            putNote(out, p1);
            out.put(" value ").putInt(p2);
            break;
        case 0xB0: out.put("controller ").putInt(p1).put(" value ").putInt(p2); break;
        case 0xC0: out.put("program ").putInt(p1); break;
        case 0xD0: out.put("channel pressure ").putInt(p1); break;
        case 0xE0: out.put("pitch bend ").putInt(p1 + (p2 << 7)); break;
        default: out.put("message"); return;
    }
    out.put(", channel ").putInt(message.getChannelNibble() + 1);
}

void putDescription(TextBuffer& out, const MidiMessage& message) {
    if (message.isChannelMessage() && message.size() >= 2) {
        putChannelDescription(out, message);
    } else {
        out.put(describeMessage(message));
    }
}

}  // namespace

std::string describeMessage(const MidiMessage& message) {
    if (message.empty()) {
        return "empty message";
    }
    const int status = message[0];
    if (message.isMeta()) {
        return describeMeta(message);
    }
    if (status == 0xF0) {
        return "system exclusive, " + std::to_string(message.size() - 1) + " bytes";
    }
    if (status == 0xF7) {
        return "system exclusive continuation, " + std::to_string(message.size() - 1) + " bytes";
    }
    if (!message.isChannelMessage() || message.size() < 2) {
        return "message";
    }
    TextBuffer text(64);
    putChannelDescription(text, message);
    return text.str();
}

Result writeMidiHexscribe(std::ostream& output, const Tunefolio& file, HexscribeComments comments) {
    FileHeader header;
    if (Result result = fileHeader(file, header); !result) {
        return result;
    }
    // Check every track before writing anything, so that a file that cannot
    // be written leaves no partial text behind.
    const bool delta = file.isDeltaTicks();
    std::vector<std::uint64_t> sizes(static_cast<std::size_t>(header.trackCount));
    for (int t = 0; t < header.trackCount; ++t) {
        if (Result result = trackChunkSize(file[t], delta, sizes[static_cast<std::size_t>(t)]); !result) {
            return Result::failure("track " + std::to_string(t) + ": " + result.reason());
        }
        if (sizes[static_cast<std::size_t>(t)] > 0xFFFFFFFFu) {
            return Result::failure("track " + std::to_string(t) + " larger than 4 GiB");
        }
    }
    const bool withComments = comments == HexscribeComments::Full;
    const bool showTicks = withComments && file.isAbsoluteTicks();
    TextBuffer out(output);
    putHeader(out, header, withComments);
    for (int t = 0; t < header.trackCount; ++t) {
        out.put('\n');
        putField(out, "+M +T +r +k", 3, "Track chunk marker (track " + std::to_string(t) + ")", withComments);
        putField(out, "4'" + std::to_string(sizes[static_cast<std::size_t>(t)]), 4,
                 "number of bytes to follow in track", withComments);
        out.put('\n');
        if (!withComments) {
            // Apart: this small loop body is the whole work of a plain listing.
            forEachFileEvent(
                file[t], delta,
                [&out](const FileEvent& e) {
                    putDeltaAndBytes(out, e.delta, e.event ? *e.event : endOfTrackMessage(), true);
                },
                false);
            continue;
        }
        forEachFileEvent(
            file[t], delta,
            [&](const FileEvent& e) {
                const MidiMessage& message = e.event ? *e.event : endOfTrackMessage();
                putDeltaAndBytes(out, e.delta, message, false);
                // Line the comments up at column 40 (tabs of 8) where the bytes allow.
                const std::size_t deltaColumns = 8 * static_cast<std::size_t>((1 + decimalDigits(e.delta)) / 8 + 1);
                std::size_t column = deltaColumns + printedSize(message);
                do {
                    out.put('\t');
                    column = (column / 8 + 1) * 8;
                } while (column < 40);
                out.put("; ");
                if (showTicks) {
                    out.put("tick ").putInt(e.tick).put(": ");
                }
                putDescription(out, message);
                out.put('\n');
            },
            false);
    }
    return flushed(out);
}

Result writeHexBytes(std::ostream& output, std::span<const std::uint8_t> bytes, int bytesPerLine) {
    if (bytesPerLine < 1) {
        bytesPerLine = 1;
    }
    TextBuffer out(output);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool lineStart = i % static_cast<std::size_t>(bytesPerLine) == 0;
        if (!lineStart) {
            out.put(' ');
        }
        out.putHex2(bytes[i]);
        if ((i + 1) % static_cast<std::size_t>(bytesPerLine) == 0 || i + 1 == bytes.size()) {
            out.put('\n');
        }
    }
    return flushed(out);
}

}  // namespace smf
