// A sign on the playfield, and also a turret, which is a sign object showing the turret.
#pragma once

#include <vector>

#include "presentation/sprite.h"

class TSign : public TSprite {
 public:
  using TSprite::TSprite;
  // The creatures this sign has already pushed, by Id.
  std::vector<int> SteeredIds;
};

// The master alpha that tells an ordered placeholder from a finished sign.
constexpr int PlaceholderSignAlpha = 64;
constexpr int FinishedSignAlpha = 255;
