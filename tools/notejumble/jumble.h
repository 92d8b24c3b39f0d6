// Moving pitches among the notes of a file while every note keeps its place
// in time, its velocity, its channel and its track.
#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "smf/tunefolio.h"

namespace notejumble {

// The notes whose pitch may move: every note-on (velocity above 0) linked to
// its note-off, track 0 first, each track in list order. The file's note
// pairs must be linked (linkNotePairs) and its event lists must not change
// while the list is in use.
std::vector<smf::MidiEvent*> collectNotes(smf::Tunefolio& file);

// Swaps the key numbers of the notes at positions a and b, each note-on
// together with its note-off. Notes without a partner, without a key or
// with the same key are left alone.
void exchangePitches(std::span<smf::MidiEvent* const> notes, std::size_t a, std::size_t b);

// Reverses the sequence of pitches over the whole list.
void reversePitches(std::span<smf::MidiEvent* const> notes);

// Shuffles the pitches: each position draws a key in [0, 100) from two
// successive outputs of the engine, the positions are sorted by key (largest
// first), and the k-th position is exchanged with the one sorted k-th, one
// exchange after the other.
void shufflePitches(std::span<smf::MidiEvent* const> notes, std::mt19937& engine);

// The random key of one position: two 32-bit draws u1 then u2 make
// (u1 + u2 * 2^32) / 2^64 * 100.
double drawKey(std::mt19937& engine);

// A seed from /dev/urandom, or from std::random_device when the device
// cannot be read.
std::uint32_t randomSeed();

}  // namespace notejumble
