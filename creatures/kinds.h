// What sets the three creature kinds apart: looks, beam, pace and the push out of the tunnel.
#pragma once

#include "app/game_state.h"
#include "presentation/bitmap32.h"

// Every creature ends up heading for the cell in front of the orb.
constexpr int HomeCellX = 9;
constexpr int HomeCellY = 1;

// The four facings, as offsets from a kind's first picture and as a creature's Variant.
enum Facing { FaceDown = 0, FaceUp = 1, FaceLeft = 2, FaceRight = 3 };

struct KindTraits {
  int FirstPicture;  // facing down; up, left and right follow
  int FirstExclaim;  // three frames
  Pixel BeamColour;
  int StepInterval;
  int Push;  // rows up the field a creature fresh out of its tunnel is pushed
};

KindTraits TraitsOfKind(const TGameState& game, MibbetKind kind);
