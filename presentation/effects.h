// Beam flashes and the deferred end actions of effects.
#pragma once

#include "presentation/layered_image.h"

// A beam flash: its own layer on the playfield, shown for a few effect updates.
class TAnimKill {
 public:
  TAnimKill(LayeredImage& image, BitmapLayer& layer) : Layer(&layer), image_(image) {}
  ~TAnimKill() { image_.DestroyLayer(Layer); }
  TAnimKill(const TAnimKill&) = delete;
  TAnimKill& operator=(const TAnimKill&) = delete;

  BitmapLayer* Layer;
  int Life = 2;

 private:
  LayeredImage& image_;
};

// What an ended effect leaves to be done once the walk over the effects is over.
struct TMBType {
  enum ActionKind { MoveTunnel = 1, OpenHole = 2, GameOver = 3 };
  int X = 0, Y = 0;
  int Param = 0;
  int Action = 0;
};
