// A small deterministic generator shared by pictures and sounds.
#pragma once

#include <cstdint>

namespace assetgen {

// Every picture draws its noise from its own fixed seed.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
  std::uint32_t Next();
  int Range(int lo, int hiInclusive);
  double Unit();  // [0, 1)
  double Signed() { return Unit() * 2.0 - 1.0; }

 private:
  std::uint64_t state_;
};

}  // namespace assetgen
