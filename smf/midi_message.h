// MidiMessage: the bytes of one MIDI message, status byte first.
//
// Channel messages hold their status and data bytes (0x90 0x3c 0x64). Meta
// messages hold 0xFF, the type, the variable-length data length and the data
// (0xFF 0x51 0x03 0x07 0xA1 0x20), as they stand in a file. System exclusive
// messages hold 0xF0 (or 0xF7) and the data, without the length that a file
// puts after the status byte: the writer adds it.
//
// Messages of up to eight bytes (every channel message, tempo, meter and key
// signature) are stored inside the object; longer ones take one heap block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace smf {

class MidiMessage {
public:
    MidiMessage() noexcept : m_storage{} {}
    MidiMessage(std::initializer_list<std::uint8_t> bytes);
    // Inline: a reader builds millions of short messages, and the call
    // would cost more than the copy.
    explicit MidiMessage(std::span<const std::uint8_t> bytes) : m_storage{} {
        if (bytes.size() <= kInlineCapacity) {
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                m_storage.bytes[i] = bytes[i];
            }
            m_size = static_cast<std::uint32_t>(bytes.size());
        } else {
            assign(bytes);
        }
    }
    // A one- or two-data-byte channel message (values are masked to a byte).
    MidiMessage(int command, int p1);
    MidiMessage(int command, int p1, int p2);

    MidiMessage(const MidiMessage& other);
    MidiMessage(MidiMessage&& other) noexcept : m_storage(other.m_storage), m_size(other.m_size) {
        // Whichever member of the union is in use, its eight bytes move as they are.
        other.m_size = 0;
    }
    MidiMessage& operator=(const MidiMessage& other);
    MidiMessage& operator=(MidiMessage&& other) noexcept;
    ~MidiMessage() {
        if (onHeap()) {
            freeBlock(m_storage.heap);
        }
    }

    // ---- the bytes ----
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::uint8_t* data() { return onHeap() ? m_storage.heap + kBlockPrefix : m_storage.bytes; }
    const std::uint8_t* data() const { return onHeap() ? m_storage.heap + kBlockPrefix : m_storage.bytes; }
    std::uint8_t& operator[](std::size_t index) { return data()[index]; }
    const std::uint8_t& operator[](std::size_t index) const { return data()[index]; }
    std::uint8_t* begin() { return data(); }
    std::uint8_t* end() { return data() + m_size; }
    const std::uint8_t* begin() const { return data(); }
    const std::uint8_t* end() const { return data() + m_size; }
    std::span<const std::uint8_t> bytes() const { return {data(), m_size}; }

    void assign(std::span<const std::uint8_t> bytes);
    void assign(std::initializer_list<std::uint8_t> bytes);
    // Grows with zero bytes or shrinks.
    void resize(std::size_t size);
    void push_back(std::uint8_t byte);
    void clear() { resize(0); }

    // ---- status and data bytes ----
    // Byte 0, 1 or 2 of the message, or -1 where the message is shorter.
    int getP0() const { return byteOr(0); }
    int getP1() const { return byteOr(1); }
    int getP2() const { return byteOr(2); }
    int getP3() const { return byteOr(3); }
    // Sets byte 0, 1 or 2 (growing the message with zeros where needed).
    void setP0(int value) { setByte(0, value); }
    void setP1(int value) { setByte(1, value); }
    void setP2(int value) { setByte(2, value); }

    // The status byte, or -1 for an empty message.
    int getCommandByte() const { return byteOr(0); }
    // High four bits of a channel message's status (0x80..0xE0), else -1.
    int getCommandNibble() const;
    // Low four bits of a channel message's status (0..15), else -1.
    int getChannelNibble() const;
    int getChannel() const { return getChannelNibble(); }
    // Replace the high four bits of the status byte, keeping the channel.
    void setCommandNibble(int command);
    // Replace the low four bits of the status byte (channel 0..15).
    void setChannelNibble(int channel);
    void setChannel(int channel) { setChannelNibble(channel); }

    // ---- channel message kinds ----
    bool isChannelMessage() const;
    // 0x9n with velocity > 0.
    bool isNoteOn() const;
    // 0x8n, or 0x9n with velocity 0.
    bool isNoteOff() const;
    bool isNote() const;
    bool isAftertouch() const { return hasCommand(0xA0, 3); }
    bool isController() const { return hasCommand(0xB0, 3); }
    bool isPatchChange() const { return hasCommand(0xC0, 2); }
    bool isTimbre() const { return isPatchChange(); }
    bool isPressure() const { return hasCommand(0xD0, 2); }
    bool isPitchbend() const { return hasCommand(0xE0, 3); }

    // Key number of a note message, else -1.
    int getKeyNumber() const;
    // Sets the key of a note message (masked to 0..127); other messages are left alone.
    void setKeyNumber(int key);
    // Velocity of a note message, else -1.
    int getVelocity() const;
    void setVelocity(int velocity);

    // ---- meta and system exclusive ----
    bool isMeta() const { return m_size >= 2 && data()[0] == 0xFF; }
    // Meta type (0x51 tempo, 0x2F end of track, ...), else -1.
    int getMetaType() const;
    bool isTempo() const { return m_size >= 6 && data()[0] == 0xFF && data()[1] == 0x51; }
    bool isEndOfTrack() const { return m_size >= 2 && data()[0] == 0xFF && data()[1] == 0x2F; }
    bool isTrackName() const { return getMetaType() == 0x03; }
    // Meta types 0x01..0x0F carry text.
    bool isText() const;
    bool isSysex() const { return m_size >= 1 && (data()[0] == 0xF0 || data()[0] == 0xF7); }
    // The data of a meta message (after its length), empty when malformed.
    std::span<const std::uint8_t> getMetaData() const;
    std::string getMetaContent() const;

    // Microseconds per quarter note of a tempo message, else -1.
    int getTempoMicroseconds() const;
    // Beats per minute of a tempo message (60000000 / microseconds), else -1.
    double getTempoBPM() const;
    // Seconds per quarter note of a tempo message, else -1.
    double getTempoSeconds() const;
    // Turns the message into a tempo meta message (clamped to 1..0xFFFFFF).
    void setTempoMicroseconds(int microseconds);
    void setMetaTempo(double bpm);
    void setTempo(double bpm) { setMetaTempo(bpm); }

    // ---- builders ----
    void makeNoteOn(int channel, int key, int velocity);
    // 0x8n note-off.
    void makeNoteOff(int channel, int key, int velocity = 0);
    void makeController(int channel, int controller, int value);
    void makePatchChange(int channel, int program);
    void makeMetaMessage(int type, std::span<const std::uint8_t> payload);
    void makeMetaMessage(int type, std::string_view text);
    void makeTempo(double bpm) { setMetaTempo(bpm); }
    void makeEndOfTrack();
    void makeTrackName(std::string_view name) { makeMetaMessage(0x03, name); }

    friend bool operator==(const MidiMessage& a, const MidiMessage& b);

private:
    static constexpr std::size_t kInlineCapacity = 8;
    static constexpr std::size_t kBlockPrefix = sizeof(std::size_t);

    int byteOr(std::size_t index) const { return index < m_size ? data()[index] : -1; }
    void setByte(std::size_t index, int value);
    bool hasCommand(int command, std::size_t minimumSize) const;
    bool onHeap() const { return m_size > kInlineCapacity; }
    std::size_t capacity() const;
    void setSizeKeeping(std::size_t size, std::size_t spareCapacity);
    void releaseHeap();
    static std::uint8_t* allocateBlock(std::size_t capacity);
    static void freeBlock(std::uint8_t* block);

    // Messages of up to eight bytes are kept in place; a longer one in a
    // heap block owned by this object (its capacity first, then the bytes).
    union Storage {
        std::uint8_t bytes[kInlineCapacity];
        std::uint8_t* heap;
    } m_storage;
    std::uint32_t m_size = 0;
};

// The length of a meta message's data and where it starts; false when the
// variable-length value is malformed or disagrees with the message size.
bool parseMetaLength(std::span<const std::uint8_t> message, std::size_t& dataStart,
                     std::size_t& dataLength);

// The name of the pitch class of a key number (0 or more), sharps for the
// black keys: "C", "C#", "D", ... "B".
constexpr std::string_view pitchClassName(int key) {
    constexpr std::string_view kNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    return kNames[key % 12];
}

// The name of a key number in scientific pitch notation ("C4" is 60, "F#3").
std::string keyName(int key);

}  // namespace smf
