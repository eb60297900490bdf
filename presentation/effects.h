// Beam flashes and the deferred end actions of effects.
#pragma once

#include "presentation/layered_image.h"
#include "presentation/recycling_pool.h"

// A beam flash: its own layer on the playfield, shown for a few effect updates.
class TAnimKill : public RecycledStorage<TAnimKill> {
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

// A fixed recipe of an effect: how it is drawn and for how many picture changes it lives.
struct EffectPreset {
  int Alpha, Life, FrameCount;
};
// A hit that does not kill, and a trampled tree.
constexpr EffectPreset HitFlash{255, 3, 2};
// A creature's or a turret's death.
constexpr EffectPreset DeathExplosion{255, 7, 7};
// The orb's last blast: it ends the game when it ends.
constexpr EffectPreset OrbBlast{255, 14, 7};
// The exclamation marks: a creature looking around, a tunnel move, a hole.
constexpr EffectPreset LookExclamation{255, 7, 3};
constexpr EffectPreset TunnelMoveExclamation{255, 35, 3};
constexpr EffectPreset HoleExclamation{255, 20, 3};
// The half-transparent tunnel standing on the cell it will move to.
constexpr EffectPreset TunnelPreview{128, 80, 1};
// A hole's life: the bump that announces it, the open hole, and its closing flicker.
constexpr EffectPreset HoleBump{255, 50, 1};
constexpr EffectPreset OpenHole{255, 100, 1};
constexpr EffectPreset ClosingHole{128, 15, 2};

// What an ended effect leaves to be done once the walk over the effects is over.
struct TMBType {
  enum ActionKind { MoveTunnel = 1, OpenHole = 2, GameOver = 3 };
  int X = 0, Y = 0;
  int Param = 0;
  int Action = 0;
};
