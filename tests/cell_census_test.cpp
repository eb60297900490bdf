// The census of who stands where answers as a look through the whole crowd would, however the
// crowd comes, moves and goes while it counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "creatures/cell_census.h"
#include "presentation/layered_image.h"

namespace {

bool PreyNearByLooking(const std::vector<std::unique_ptr<TMibbet>>& crowd, int hatredState, MibbetKind hunter, int x,
                       int y) {
  for (const auto& m : crowd)
    if (Hates(hatredState, hunter, m->Kind) && std::abs(m->CellX - x) <= 1 && std::abs(m->CellY - y) <= 1)
      return true;
  return false;
}

TEST(CellCensus, AnswersAsALookThroughTheCrowdWhateverComesMovesAndGoes) {
  LayeredImage image;
  std::mt19937 random(2026);
  // The field and a border of two cells, where creatures come out of the ground.
  std::uniform_int_distribution<int> cell(-2, FieldCells + 1), kind(0, 2), step(-1, 1), state(0, 2);
  std::vector<std::unique_ptr<TMibbet>> crowd;
  const auto create = [&] {
    auto m = std::make_unique<TMibbet>(image);
    m->Kind = MibbetKind(kind(random));
    m->CellX = cell(random);
    m->CellY = cell(random);
    return m;
  };
  for (int i = 0; i < 200; ++i) crowd.push_back(create());
  CellCensus census;
  census.Count(crowd);
  for (int round = 0; round < 5000; ++round) {
    const int what = int(random() % 3);
    if (what == 0 || crowd.empty()) {
      crowd.push_back(create());
      census.Add(*crowd.back());
    } else if (what == 1) {
      const std::size_t gone = random() % crowd.size();
      census.Remove(*crowd[gone]);
      crowd.erase(crowd.begin() + std::ptrdiff_t(gone));
    } else {
      TMibbet& m = *crowd[random() % crowd.size()];
      census.Remove(m);
      m.CellX = std::clamp(m.CellX + step(random), -2, FieldCells + 1);
      m.CellY = std::clamp(m.CellY + step(random), -2, FieldCells + 1);
      census.Add(m);
    }
    const int x = cell(random), y = cell(random), hatred = state(random);
    const auto hunter = MibbetKind(kind(random));
    ASSERT_EQ(census.PreyNear(hatred, hunter, x, y), PreyNearByLooking(crowd, hatred, hunter, x, y))
        << "round " << round;
  }
}

TEST(CellCensus, ACreatureFarOffTheFieldSendsEveryHunterOfItsHatersLooking) {
  LayeredImage image;
  std::vector<std::unique_ptr<TMibbet>> crowd;
  crowd.push_back(std::make_unique<TMibbet>(image));
  crowd.back()->Kind = KindS;
  crowd.back()->CellX = -50;
  CellCensus census;
  census.Count(crowd);
  EXPECT_TRUE(census.PreyNear(1, KindF, 10, 10)) << "F hunts S in state 1";
  EXPECT_FALSE(census.PreyNear(1, KindS, 10, 10)) << "nobody hunts its own kind";
  census.Stop();
  EXPECT_FALSE(census.Counting());
}

}  // namespace
