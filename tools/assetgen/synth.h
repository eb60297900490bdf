// Small synthesis kit shared by the sound cues and the music: oscillators, envelopes, noise,
// filters and a note renderer that can wrap around a loop.
#pragma once

#include <cstdint>
#include <functional>

#include "tools/assetgen/audio.h"

namespace assetgen {

double Sine(double cycles);
double Triangle(double cycles);
double Square(double cycles, int harmonics = 9);  // band-limited: no aliasing whistle
double Saw(double cycles, int harmonics = 12);
// White noise in -1..1 that depends only on (seed, n): identical in every run.
double HashNoise(std::uint32_t seed, std::int64_t n);
// Attack-then-exponential-decay envelope; zero before 0 and after length.
double Envelope(double t, double attack, double decayRate, double length, double release = 0.02);
double Midi(double note);  // frequency of a MIDI note number

// A sound of `length` seconds described as a function of time (and the sample index).
using Voice = std::function<double(double t, std::int64_t n)>;
// Mixes voice into buf from `start` seconds on; with wrap set, samples past the end fold back
// to the start, so a note that rings over a loop's end is heard at its beginning instead.
void Mix(Samples& buf, int rate, double start, double length, const Voice& voice, bool wrap = false);

// One-pole low-pass filter with a cutoff that may change over the sound (cutoff(t) in Hz).
void LowPass(Samples& s, int rate, const std::function<double(double t)>& cutoff);

}  // namespace assetgen
