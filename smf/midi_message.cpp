#include "smf/midi_message.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "smf/varlen.h"

namespace smf {

MidiMessage::MidiMessage(std::initializer_list<std::uint8_t> bytes) : MidiMessage() {
    assign(bytes);
}

MidiMessage::MidiMessage(int command, int p1) : MidiMessage() {
    assign({static_cast<std::uint8_t>(command), static_cast<std::uint8_t>(p1)});
}

MidiMessage::MidiMessage(int command, int p1, int p2) : MidiMessage() {
    assign({static_cast<std::uint8_t>(command), static_cast<std::uint8_t>(p1),
            static_cast<std::uint8_t>(p2)});
}

MidiMessage::MidiMessage(const MidiMessage& other) : MidiMessage() {
    assign(other.bytes());
}

MidiMessage& MidiMessage::operator=(const MidiMessage& other) {
    if (this != &other) {
        assign(other.bytes());
    }
    return *this;
}

MidiMessage& MidiMessage::operator=(MidiMessage&& other) noexcept {
    if (this != &other) {
        releaseHeap();
        std::memcpy(&m_storage, &other.m_storage, sizeof m_storage);
        m_size = other.m_size;
        other.m_size = 0;
    }
    return *this;
}

// A heap block starts with its capacity; the bytes follow.
std::uint8_t* MidiMessage::allocateBlock(std::size_t capacity) {
    std::uint8_t* block = std::allocator<std::uint8_t>().allocate(kBlockPrefix + capacity);
    std::memcpy(block, &capacity, sizeof capacity);
    return block;
}

void MidiMessage::freeBlock(std::uint8_t* block) {
    std::size_t capacity = 0;
    std::memcpy(&capacity, block, sizeof capacity);
    std::allocator<std::uint8_t>().deallocate(block, kBlockPrefix + capacity);
}

std::size_t MidiMessage::capacity() const {
    if (!onHeap()) {
        return kInlineCapacity;
    }
    std::size_t capacity = 0;
    std::memcpy(&capacity, m_storage.heap, sizeof capacity);
    return capacity;
}

void MidiMessage::releaseHeap() {
    if (onHeap()) {
        freeBlock(m_storage.heap);
        m_size = 0;
    }
}

// Changes the size keeping the first bytes; new bytes are not set. Short
// messages live inside the object, longer ones in a block of their own.
void MidiMessage::setSizeKeeping(std::size_t size, std::size_t spareCapacity) {
    const std::size_t kept = std::min<std::size_t>(size, m_size);
    if (size <= kInlineCapacity) {
        if (onHeap()) {
            std::uint8_t* block = m_storage.heap;
            std::memcpy(m_storage.bytes, block + kBlockPrefix, kept);
            freeBlock(block);
        }
    } else if (size > capacity()) {
        std::uint8_t* block = allocateBlock(std::max(size, spareCapacity));
        std::memcpy(block + kBlockPrefix, data(), kept);
        releaseHeap();
        m_storage.heap = block;
    }
    m_size = static_cast<std::uint32_t>(size);
}

void MidiMessage::assign(std::span<const std::uint8_t> source) {
    if (source.size() > kInlineCapacity && source.size() > capacity()) {
        // A fresh block: the old contents need not be kept.
        std::uint8_t* block = allocateBlock(source.size());
        releaseHeap();
        m_storage.heap = block;
    } else if (source.size() <= kInlineCapacity && onHeap()) {
        // The source may lie in the block about to be freed.
        std::uint8_t bytes[kInlineCapacity];
        std::memcpy(bytes, source.data(), source.size());
        releaseHeap();
        std::memcpy(m_storage.bytes, bytes, source.size());
        m_size = static_cast<std::uint32_t>(source.size());
        return;
    }
    m_size = static_cast<std::uint32_t>(source.size());
    if (!source.empty()) {
        std::memmove(data(), source.data(), source.size());
    }
}

void MidiMessage::assign(std::initializer_list<std::uint8_t> source) {
    assign(std::span<const std::uint8_t>(source.begin(), source.size()));
}

void MidiMessage::resize(std::size_t size) {
    const std::size_t old = m_size;
    setSizeKeeping(size, 0);
    if (size > old) {
        std::memset(data() + old, 0, size - old);
    }
}

void MidiMessage::push_back(std::uint8_t byte) {
    const std::size_t old = m_size;
    setSizeKeeping(old + 1, 2 * capacity());
    data()[old] = byte;
}

void MidiMessage::setByte(std::size_t index, int value) {
    if (index >= m_size) {
        resize(index + 1);
    }
    data()[index] = static_cast<std::uint8_t>(value);
}

bool MidiMessage::isChannelMessage() const {
    return m_size >= 1 && data()[0] >= 0x80 && data()[0] < 0xF0;
}

bool MidiMessage::hasCommand(int command, std::size_t minimumSize) const {
    return m_size >= minimumSize && (data()[0] & 0xF0) == command;
}

int MidiMessage::getCommandNibble() const {
    return isChannelMessage() ? (data()[0] & 0xF0) : -1;
}

int MidiMessage::getChannelNibble() const {
    return isChannelMessage() ? (data()[0] & 0x0F) : -1;
}

void MidiMessage::setCommandNibble(int command) {
    if (m_size == 0) {
        resize(1);
    }
    data()[0] = static_cast<std::uint8_t>((command & 0xF0) | (data()[0] & 0x0F));
}

void MidiMessage::setChannelNibble(int channel) {
    if (m_size == 0) {
        resize(1);
    }
    data()[0] = static_cast<std::uint8_t>((data()[0] & 0xF0) | (channel & 0x0F));
}

bool MidiMessage::isNoteOn() const {
    return hasCommand(0x90, 3) && data()[2] > 0;
}

bool MidiMessage::isNoteOff() const {
    return hasCommand(0x80, 3) || (hasCommand(0x90, 3) && data()[2] == 0);
}

bool MidiMessage::isNote() const {
    return hasCommand(0x80, 3) || hasCommand(0x90, 3);
}

int MidiMessage::getKeyNumber() const {
    return isNote() ? data()[1] : -1;
}

void MidiMessage::setKeyNumber(int key) {
    if (isNote()) {
        data()[1] = static_cast<std::uint8_t>(key & 0x7F);
    }
}

int MidiMessage::getVelocity() const {
    return isNote() ? data()[2] : -1;
}

void MidiMessage::setVelocity(int velocity) {
    if (isNote()) {
        data()[2] = static_cast<std::uint8_t>(velocity & 0x7F);
    }
}

int MidiMessage::getMetaType() const {
    return isMeta() ? data()[1] : -1;
}

bool MidiMessage::isText() const {
    int type = getMetaType();
    return type >= 0x01 && type <= 0x0F;
}

bool parseMetaLength(std::span<const std::uint8_t> message, std::size_t& dataStart,
                     std::size_t& dataLength) {
    if (message.size() < 3 || message[0] != 0xFF) {
        return false;
    }
    const VarlenRead length = readVarlen(message.subspan(2));
    if (length.status != VarlenRead::Status::Complete || length.value != message.size() - 2 - length.length) {
        return false;
    }
    dataStart = 2 + length.length;
    dataLength = length.value;
    return true;
}

std::span<const std::uint8_t> MidiMessage::getMetaData() const {
    std::size_t start = 0;
    std::size_t length = 0;
    if (!parseMetaLength(bytes(), start, length)) {
        return {};
    }
    return bytes().subspan(start, length);
}

std::string MidiMessage::getMetaContent() const {
    auto payload = getMetaData();
    return std::string(payload.begin(), payload.end());
}

int MidiMessage::getTempoMicroseconds() const {
    if (!isTempo()) {
        return -1;
    }
    const std::uint8_t* d = data();
    return (d[3] << 16) | (d[4] << 8) | d[5];
}

double MidiMessage::getTempoBPM() const {
    int microseconds = getTempoMicroseconds();
    if (microseconds <= 0) {
        return -1.0;
    }
    return 60000000.0 / microseconds;
}

double MidiMessage::getTempoSeconds() const {
    int microseconds = getTempoMicroseconds();
    return microseconds < 0 ? -1.0 : microseconds / 1000000.0;
}

void MidiMessage::setTempoMicroseconds(int microseconds) {
    int value = std::clamp(microseconds, 1, 0xFFFFFF);
    assign({0xFF, 0x51, 0x03, static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

void MidiMessage::setMetaTempo(double bpm) {
    double microseconds = bpm > 0.0 ? 60000000.0 / bpm + 0.5 : double(0xFFFFFF);
    setTempoMicroseconds(static_cast<int>(std::min(microseconds, double(0xFFFFFF))));
}

void MidiMessage::makeNoteOn(int channel, int key, int velocity) {
    assign({static_cast<std::uint8_t>(0x90 | (channel & 0x0F)), static_cast<std::uint8_t>(key & 0x7F),
            static_cast<std::uint8_t>(velocity & 0x7F)});
}

void MidiMessage::makeNoteOff(int channel, int key, int velocity) {
    assign({static_cast<std::uint8_t>(0x80 | (channel & 0x0F)), static_cast<std::uint8_t>(key & 0x7F),
            static_cast<std::uint8_t>(velocity & 0x7F)});
}

void MidiMessage::makeController(int channel, int controller, int value) {
    assign({static_cast<std::uint8_t>(0xB0 | (channel & 0x0F)),
            static_cast<std::uint8_t>(controller & 0x7F), static_cast<std::uint8_t>(value & 0x7F)});
}

void MidiMessage::makePatchChange(int channel, int program) {
    assign({static_cast<std::uint8_t>(0xC0 | (channel & 0x0F)), static_cast<std::uint8_t>(program & 0x7F)});
}

void MidiMessage::makeMetaMessage(int type, std::span<const std::uint8_t> payload) {
    std::uint8_t length[kLongestVarlen];
    const auto count = static_cast<std::size_t>(
        writeVarlen(length, static_cast<std::uint32_t>(payload.size())) - length);
    resize(2 + count + payload.size());
    std::uint8_t* d = data();
    d[0] = 0xFF;
    d[1] = static_cast<std::uint8_t>(type & 0x7F);
    std::memcpy(d + 2, length, count);
    if (!payload.empty()) {
        std::memcpy(d + 2 + count, payload.data(), payload.size());
    }
}

void MidiMessage::makeMetaMessage(int type, std::string_view text) {
    makeMetaMessage(type, std::span<const std::uint8_t>(
                              reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void MidiMessage::makeEndOfTrack() {
    assign({0xFF, 0x2F, 0x00});
}

bool operator==(const MidiMessage& a, const MidiMessage& b) {
    return std::ranges::equal(a.bytes(), b.bytes());
}

std::string keyName(int key) {
    if (key < 0) {
        return "?";
    }
    return std::string(pitchClassName(key)) + std::to_string(key / 12 - 1);
}

}  // namespace smf
