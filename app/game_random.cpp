#include "app/game_random.h"

int GameRandom::Random(int n) {
  if (n <= 1) return 0;
  // Rejection keeps every value equally likely without relying on a library distribution,
  // whose results differ between standard libraries.
  const std::uint32_t bound = std::uint32_t(n);
  const std::uint32_t limit = std::uint32_t(0xFFFFFFFFu - (0xFFFFFFFFu % bound + 1) % bound);
  std::uint32_t draw;
  do draw = std::uint32_t(engine_());
  while (draw > limit);
  return int(draw % bound);
}
