// Builds Standard MIDI File bytes for tests, chunk by chunk.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace testbytes {

using Bytes = std::vector<std::uint8_t>;

inline void append(Bytes& out, std::initializer_list<int> bytes) {
    for (int b : bytes) {
        out.push_back(static_cast<std::uint8_t>(b));
    }
}

inline void appendBig(Bytes& out, std::uint32_t value, int count) {
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline Bytes header(int format, int tracks, int division, std::uint32_t length = 6) {
    Bytes out = {'M', 'T', 'h', 'd'};
    appendBig(out, length, 4);
    appendBig(out, static_cast<std::uint32_t>(format), 2);
    appendBig(out, static_cast<std::uint32_t>(tracks), 2);
    appendBig(out, static_cast<std::uint32_t>(division), 2);
    return out;
}

inline Bytes chunk(const char* tag, const Bytes& data) {
    Bytes out(tag, tag + 4);
    appendBig(out, static_cast<std::uint32_t>(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline Bytes track(std::initializer_list<int> events) {
    Bytes data;
    append(data, events);
    return chunk("MTrk", data);
}

// A track chunk of the given events.
inline Bytes trackOf(const Bytes& data) {
    return chunk("MTrk", data);
}

// A track chunk whose length field says `length`, whatever the data: the
// damage a hand-edited or cut file shows.
inline Bytes trackWithLength(const Bytes& data, std::uint32_t length) {
    Bytes out = {'M', 'T', 'r', 'k'};
    appendBig(out, length, 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// The parts one after another.
inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

inline Bytes file(const Bytes& head, std::initializer_list<Bytes> chunks) {
    Bytes out = head;
    for (const Bytes& c : chunks) {
        out.insert(out.end(), c.begin(), c.end());
    }
    return out;
}

}  // namespace testbytes
