#include "creatures/kinds.h"

KindTraits TraitsOfKind(const TGameState& game, MibbetKind kind) {
  switch (kind) {
    case KindF:
      return {game.BmpFMibbet, game.BmpFExclaim, MakePixel(75, 75, 75), game.FMIBBETBASESPEED, game.FMIBBETFORCEY};
    case KindS:
      return {game.BmpSMibbet, game.BmpSExclaim, MakePixel(245, 0, 0), game.SMIBBETBASESPEED, game.SMIBBETFORCEY};
    case KindE:
      break;
  }
  return {game.BmpEMibbet, game.BmpEExclaim, MakePixel(185, 245, 120), game.EMIBBETBASESPEED, game.EMIBBETFORCEY};
}
