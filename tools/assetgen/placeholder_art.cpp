// Temporary stand-ins while the real families are drawn.
#include "tools/assetgen/art.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/pixel_font.h"

namespace assetgen {
namespace {
Bitmap32 Box(int w, int h, Rgb c, bool transparent = true) {
  Bitmap32 b(w, h, transparent ? 0 : Px(pal::kSand));
  Rect(b, w / 6, h / 6, w * 2 / 3, h * 2 / 3, Px(c));
  return b;
}
Bitmap32 Label(int w, int h, const std::string& text, Rgb bg, Rgb fg, bool transparent) {
  Bitmap32 b(w, h, transparent ? 0 : Px(bg));
  if (transparent) Rect(b, 0, 0, w, h, Px(bg, 230));
  TextStyle st{2, Px(fg)};
  DrawString(b, text, 2, (h - TextHeight(st)) / 2, st);
  return b;
}
const Rgb kKinds[3] = {pal::kF, pal::kS, pal::kE};
}  // namespace

Bitmap32 DrawTutorialPage(int page) { return Label(300, 18, "PAGE " + std::to_string(page), pal::kPaper, pal::kInk, true); }
Bitmap32 DrawCaption(int which) { return Label(400, 30, "CAPTION " + std::to_string(which), pal::kBlack, pal::kWhite, false); }
Bitmap32 DrawMenuFrame() { return Box(85, 165, pal::kStone, false); }
Bitmap32 DrawOrbMenuFrame() { return Box(82, 78, pal::kStone, false); }
Bitmap32 DrawScrapCount() { return Box(35, 35, pal::kRust, false); }
Bitmap32 DrawSignCount() { return Box(35, 35, pal::kWood, false); }
Bitmap32 DrawHatredPanel(int) { return Box(100, 172, pal::kPaper, false); }
Bitmap32 DrawSplash() { return Label(700, 700, "MIBBETFALL", pal::kSky, pal::kWhite, false); }
Bitmap32 DrawStartText() { return Label(600, 600, "HOW TO PLAY", pal::kBlack, pal::kWhite, false); }
Bitmap32 DrawEndText() { return Label(550, 450, "GAME OVER", pal::kBlack, pal::kWhite, false); }
Bitmap32 DrawGameOverTop() { return Box(700, 101, pal::kSignal, false); }
Bitmap32 DrawGameOverBottom() { return Box(700, 100, pal::kSignal, false); }
Bitmap32 DrawGameOverLeft() { return Box(50, 499, pal::kSignal, false); }
Bitmap32 DrawPlayTutorialQuestion() { return Label(654, 60, "PLAY THE TUTORIAL? Y OR N", pal::kBlack, pal::kWhite, false); }
Bitmap32 DrawLeaveTutorial() { return Label(628, 30, "ESC LEAVES THE TUTORIAL", pal::kBlack, pal::kWhite, false); }
Bitmap32 DrawLoadingBanner() { return Label(351, 40, "LOADING...", pal::kBlack, pal::kWhite, false); }
Bitmap32 DrawPausedPicture() { return Label(336, 84, "PAUSED", pal::kBlack, pal::kWhite, false); }
Bitmap32 DrawKeyLegend() { return Label(76, 40, "[S]", pal::kWhite, pal::kBlack, false); }
Bitmap32 DrawCreditsPicture() { return Label(183, 200, "CREDITS", pal::kWhite, pal::kBlack, false); }
}  // namespace assetgen
