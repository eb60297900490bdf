// The one game-wide random generator. Every draw of the game goes through it, so the
// simulator's seed reproduces a whole run.
#pragma once

#include <cstdint>
#include <random>

class GameRandom {
 public:
  void Seed(std::uint32_t seed) { engine_.seed(seed); }
  // A uniform integer from 0 to n - 1; 0 when n is 1 or less.
  int Random(int n);
  // A uniform integer from a to b - 1.
  int RandomRange(int a, int b) { return a + Random(b - a); }

 private:
  std::mt19937 engine_{1};
};
