// A creature of one of the three kinds.
#pragma once

#include "presentation/bitmap32.h"
#include "presentation/sprite.h"

// Kind indices as stored in creatures and tunnels; a kind's type number is its index + 1.
enum MibbetKind { KindF = 0, KindS = 1, KindE = 2 };

class TMibbet : public TSprite {
 public:
  explicit TMibbet(LayeredImage& image) : TSprite(image) { Health = 15.0; }

  int Kind = 0;
  int KindBitmap = 0;
  int ForceX = 0, ForceY = 0;
  int HomeX = 0, HomeY = 0;
  int LookPhase = 0, LookTimer = 0;
  int TargetIndex = -1;
  Pixel BeamColour = 0;
  bool LooksAround = true;
  int TargetType = 0;  // 0 creature, 1 turret, 2 orb
  int StepInterval = 0;
  int StepCounter = 0;
  bool Active = true;
  bool CanAttack = true;
  bool Arrived = false;
  bool TutorialMark = false;
};
