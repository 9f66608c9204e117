// What the accuracy measurement's parts share: MIDI and wave files, the harmonic comb that
// measures a rendered note's true pitch, and a few statistics. Bench code; every function may
// allocate and none keeps state.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace corvane::accuracy {

// MIDI: a big-endian 32-bit number and a variable-length quantity, appended to `s`.
void put32(std::string &s, uint32_t v);
void putVar(std::string &s, uint32_t v);
// A format-0 MIDI file of one track (its events, end-of-track included) at 960 ticks per second
// (480 per quarter at the default 120 beats per minute).
std::string midiFile(const std::string &track);

// 16-bit or 32-bit float PCM, mixed to mono, -1 ... 1; empty on any error. `rate` is set to the
// file's frame rate.
std::vector<float> readWave(const std::string &path, int &rate);
// 16-bit mono PCM; samples outside -1 ... 1 are clipped.
void writeWave(const std::string &path, const std::vector<float> &x, int rate);
std::vector<uint8_t> pcm16(const std::vector<float> &x);

// Energy of harmonics 1 ... 6 of `f` Hz in a Hann-windowed stretch [from, to) of `x`.
double combEnergy(const std::vector<float> &x, size_t from, size_t to, double f, int rate);

// "time Hz" per line, as aubiopitch and the Praat script write them; anything that is not a
// positive number is a frame without pitch (0 Hz). Empty when the file is missing.
std::vector<std::pair<double, double>> readListing(const std::string &path);

double median(std::vector<double> v);  // 0 for none
double percent(long part, long whole); // 0 for a whole of 0

} // namespace corvane::accuracy
