// A sign on the playfield, and also a turret, which is a sign object showing the turret.
#pragma once

#include <vector>

#include "presentation/sprite.h"

class TSign : public TSprite {
 public:
  using TSprite::TSprite;
  // The creatures this sign has already pushed, by Id.
  std::vector<int> SteeredIds;
  // Built: only a finished sign steers. An ordered sign is a placeholder until its builder is done.
  bool Finished = false;
};

// How faintly an ordered placeholder is drawn, and how a finished sign is.
constexpr int PlaceholderSignAlpha = 64;
constexpr int FinishedSignAlpha = 255;
