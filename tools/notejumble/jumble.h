// Moving pitches among the notes of a file while every note keeps its place
// in time, its velocity, its channel and its track.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "smf/tunefolio.h"

namespace notejumble {

// The pitches of the notes that may move, one byte a note: every note-on
// (velocity above 0) linked to its note-off, track 0 first, each track in
// list order. The file's note pairs must be linked (linkNotePairs).
std::vector<std::uint8_t> notePitches(const smf::Tunefolio& file);

// Gives the same notes, in the same order, their pitches from the list: the
// note-on and its note-off alike.
void setNotePitches(smf::Tunefolio& file, std::span<const std::uint8_t> pitches);

// Reverses the sequence of pitches over the whole list: the first note
// exchanges its pitch with the last, the second with the one before, and so
// on.
void reversePitches(std::span<std::uint8_t> pitches);

// How many random keys the shuffle holds at once: beyond this it draws the
// keys again for each part of their range, so that memory stays small
// however many notes a file holds.
inline constexpr std::size_t kKeysAtOnce = std::size_t{1} << 19;

// Shuffles the pitches: each position draws a key in [0, 100) from two
// successive outputs of the engine, the positions are sorted by key (largest
// first; equal keys, which practically never occur, in no defined order),
// and the k-th position exchanges its pitch with the one sorted k-th, one
// exchange after the other.
void shufflePitches(std::span<std::uint8_t> pitches, std::mt19937& engine, std::size_t keysAtOnce = kKeysAtOnce);

// The random key of one position: two 32-bit draws u1 then u2 make
// (u1 + u2 * 2^32) / 2^64 * 100.
double drawKey(std::mt19937& engine);

// A seed from /dev/urandom, or from std::random_device when the device
// cannot be read.
std::uint32_t randomSeed();

}  // namespace notejumble
