// Drawing entry points of the picture families (one source file per family).
#pragma once

#include <string>

#include "presentation/bitmap32.h"

namespace assetgen {

constexpr int kCell = 35;

// Kinds as the game numbers them: 0 F, 1 S, 2 E. Facings and directions: 0 down, 1 up, 2 left, 3 right.
Bitmap32 DrawMibbet(int kind, int facing);
Bitmap32 DrawTunnel(int kind);
Bitmap32 DrawExclaim(int kind, int frame);

Bitmap32 DrawTile(bool snow);
Bitmap32 DrawCursor();
Bitmap32 DrawBuilder(int facing);
Bitmap32 DrawBaseFloor();
Bitmap32 DrawTurret();
Bitmap32 DrawSign(int direction);
Bitmap32 DrawCancel();
Bitmap32 DrawDestroy();
Bitmap32 DrawGet();
Bitmap32 DrawScrap(int size);
Bitmap32 DrawTree(int variant);
Bitmap32 DrawRock(int variant);
Bitmap32 DrawRuin();
Bitmap32 DrawOrb(int frame);
Bitmap32 DrawSplode(int frame);
Bitmap32 DrawSpeech(bool second);
Bitmap32 DrawRedSquare();
Bitmap32 DrawBump();
Bitmap32 DrawHole();
Bitmap32 DrawTrans();
Bitmap32 DrawGift(int theme);
Bitmap32 DrawArrow(int direction);
Bitmap32 DrawRedCross();

// Glyph sets: set 0 dark on white for the counters, set 1 light on black for the high scores.
const std::string& GlyphOrder();  // the 40 characters in catalogue order
std::string GlyphName(int set, int index);
Bitmap32 DrawGlyph(int set, char c);

Bitmap32 DrawTutorialPage(int page);

// High-score captions: 0 highscores, 1 entername, 2 presstocont, 3 clicktocont, 4 postonline.
Bitmap32 DrawCaption(int which);

Bitmap32 DrawMenuFrame();
Bitmap32 DrawOrbMenuFrame();
Bitmap32 DrawScrapCount();
Bitmap32 DrawSignCount();
Bitmap32 DrawHatredPanel(int state);
Bitmap32 DrawSplash();
Bitmap32 DrawStartText();
Bitmap32 DrawEndText();
Bitmap32 DrawGameOverTop();
Bitmap32 DrawGameOverBottom();
Bitmap32 DrawGameOverLeft();
Bitmap32 DrawPlayTutorialQuestion();
Bitmap32 DrawLeaveTutorial();

Bitmap32 DrawLoadingBanner();
Bitmap32 DrawPausedPicture();
Bitmap32 DrawKeyLegend(bool soundOn, bool musicOn);
Bitmap32 DrawCreditsPicture();

}  // namespace assetgen
