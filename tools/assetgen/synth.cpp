#include "tools/assetgen/synth.h"

#include <cmath>

namespace assetgen {

namespace {
constexpr double kTau = 6.283185307179586;
}

double Sine(double c) { return std::sin(kTau * c); }

double Triangle(double c) {
  const double f = c - std::floor(c);
  return f < 0.5 ? 4 * f - 1 : 3 - 4 * f;
}

double Square(double c, int harmonics) {
  double v = 0;
  for (int k = 1; k <= harmonics; k += 2) v += std::sin(kTau * k * c) / k;
  return v * 4 / M_PI * 0.8;
}

double Saw(double c, int harmonics) {
  double v = 0;
  for (int k = 1; k <= harmonics; ++k) v += std::sin(kTau * k * c) / k * ((k & 1) ? 1 : -1);
  return v * 2 / M_PI * 0.8;
}

double HashNoise(std::uint32_t seed, std::int64_t n) {
  std::uint64_t z = (std::uint64_t(n) + 0x9E3779B97F4A7C15ull * (seed + 1));
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return double(z >> 11) / double(1ull << 52) - 1.0;
}

double Envelope(double t, double attack, double decayRate, double length, double release) {
  if (t < 0 || t >= length) return 0;
  double e = t < attack ? t / attack : std::exp(-(t - attack) * decayRate);
  if (t > length - release) e *= (length - t) / release;
  return e;
}

double Midi(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

void Mix(Samples& buf, int rate, double start, double length, const Voice& voice, bool wrap) {
  if (buf.empty()) return;
  const std::int64_t first = std::llround(start * rate);
  const std::int64_t count = std::llround(length * rate);
  const std::int64_t size = std::int64_t(buf.size());
  for (std::int64_t i = 0; i < count; ++i) {
    std::int64_t at = first + i;
    if (wrap) at = ((at % size) + size) % size;
    else if (at < 0 || at >= size) continue;
    buf[std::size_t(at)] += float(voice(double(i) / rate, i));
  }
}

void LowPass(Samples& s, int rate, const std::function<double(double t)>& cutoff) {
  double y = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double a = 1 - std::exp(-2 * M_PI * cutoff(double(i) / rate) / rate);
    y += a * (s[i] - y);
    s[i] = float(y);
  }
}

}  // namespace assetgen
