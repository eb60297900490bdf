// A creature of one of the three kinds.
#pragma once

#include "presentation/bitmap32.h"
#include "presentation/sprite.h"

// Kind indices as stored in creatures and tunnels. Holes, tunnel moves and spawning name a
// kind by its type number instead (1 F, 2 S, 3 E): TypeOfKind and KindOfType convert.
enum MibbetKind { KindF = 0, KindS = 1, KindE = 2 };

constexpr int TypeOfKind(MibbetKind kind) { return int(kind) + 1; }
// A type number outside 1..3 gives no kind.
constexpr bool IsKindType(int type) { return type >= 1 && type <= 3; }
constexpr MibbetKind KindOfType(int type) { return type == 1 ? KindF : type == 2 ? KindS : KindE; }

// What a creature's TargetIndex points into; the numbers are those the state dump shows.
enum class TargetKind { Creature = 0, Turret = 1, Orb = 2 };

// Who fired a shot that hits a creature: it decides the score of a kill.
enum class Shooter { Creature, Turret };

// The kind a hunter shoots in a state of the hatred meter, or none: in state 1 F hunts S,
// S hunts E and E hunts F; state 2 reverses the circle; any other state hunts nothing.
constexpr bool Hates(int hatredState, MibbetKind hunter, MibbetKind prey) {
  const int step = (int(prey) - int(hunter) + 3) % 3;
  return (hatredState == 1 && step == 1) || (hatredState == 2 && step == 2);
}

class TMibbet : public TSprite {
 public:
  explicit TMibbet(LayeredImage& image) : TSprite(image) { Health = 15.0; }

  MibbetKind Kind = KindF;
  int KindBitmap = 0;
  int ForceX = 0, ForceY = 0;
  int HomeX = 0, HomeY = 0;
  int LookPhase = 0, LookTimer = 0;
  int TargetIndex = -1;
  Pixel BeamColour = 0;
  bool LooksAround = true;
  TargetKind TargetType = TargetKind::Creature;
  int StepInterval = 0;
  int StepCounter = 0;
  bool Active = true;
  bool CanAttack = true;
  bool Arrived = false;
  bool TutorialMark = false;
};
