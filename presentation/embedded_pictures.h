// The pictures built into the executable. Their pixels are generated at build time by
// mibbetfall-assetgen (--embedded), from the same drawing code as the Assets folder.
#pragma once

#include "presentation/bitmap32.h"

Bitmap32 EmbeddedLoadingBanner();  // 351 x 40: a small red figure and LOADING... on black
Bitmap32 EmbeddedPaused();  // 336 x 84: PAUSED and how to go on, pixel letters on black
// 100 x 40: [S]OUNDS, [M]USIC, [P]AUSE, black on white; a switch that is off struck through.
Bitmap32 EmbeddedKeyLegend(bool soundOn, bool musicOn);
Bitmap32 EmbeddedCredits();  // 183 x 200: the credits picture
