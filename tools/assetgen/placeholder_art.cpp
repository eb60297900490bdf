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
Bitmap32 Cell(Rgb c) { return Box(kCell, kCell, c); }
Bitmap32 Label(int w, int h, const std::string& text, Rgb bg, Rgb fg, bool transparent) {
  Bitmap32 b(w, h, transparent ? 0 : Px(bg));
  if (transparent) Rect(b, 0, 0, w, h, Px(bg, 230));
  TextStyle st{2, Px(fg)};
  DrawString(b, text, 2, (h - TextHeight(st)) / 2, st);
  return b;
}
const Rgb kKinds[3] = {pal::kF, pal::kS, pal::kE};
}  // namespace

Bitmap32 DrawMibbet(int kind, int) { return Cell(kKinds[kind]); }
Bitmap32 DrawTunnel(int kind) { return Cell(Scale(kKinds[kind], 0.6)); }
Bitmap32 DrawExclaim(int kind, int) { return Cell(Scale(kKinds[kind], 1.2)); }
Bitmap32 DrawTile(bool snow) { return Bitmap32(kCell, kCell, Px(snow ? pal::kSnow : pal::kSand)); }
Bitmap32 DrawCursor() { Bitmap32 b(kCell, kCell); Frame(b, 0, 0, kCell, kCell, 2, Px(pal::kWhite)); return b; }
Bitmap32 DrawBuilder(int) { return Cell(pal::kMetal); }
Bitmap32 DrawBaseFloor() { return Bitmap32(kCell, kCell, Px(pal::kStone)); }
Bitmap32 DrawTurret() { return Cell(pal::kMetalDark); }
Bitmap32 DrawSign(int) { return Cell(pal::kWood); }
Bitmap32 DrawCancel() { return Cell(pal::kSignal); }
Bitmap32 DrawDestroy() { return Cell(pal::kSignal); }
Bitmap32 DrawGet() { return Cell(pal::kBrass); }
Bitmap32 DrawScrap(int) { return Cell(pal::kRust); }
Bitmap32 DrawTree(int) { return Cell(pal::kLeaf); }
Bitmap32 DrawRock(int) { return Cell(pal::kStoneDark); }
Bitmap32 DrawRuin() { return Cell(pal::kStoneLight); }
Bitmap32 DrawOrb(int) { return Cell(pal::kGlow); }
Bitmap32 DrawSplode(int) { return Cell(pal::kFire); }
Bitmap32 DrawSpeech(bool) { return Cell(pal::kPaper); }
Bitmap32 DrawRedSquare() { return Cell(pal::kSignal); }
Bitmap32 DrawBump() { return Cell(pal::kSandDark); }
Bitmap32 DrawHole() { return Cell(pal::kEarthDark); }
Bitmap32 DrawTrans() { return Bitmap32(kCell, kCell); }
Bitmap32 DrawGift(int) { return Cell(pal::kSignal); }
Bitmap32 DrawArrow(int d) { return d < 2 ? Box(35, 70, pal::kWhite) : Box(50, 35, pal::kWhite); }
Bitmap32 DrawRedCross() { return Cell(pal::kSignal); }
const std::string& GlyphOrder() { static const std::string s = "0123456789/ABCDEFGHIJKLMNOPQRSTUVWXYZ _-"; return s; }
std::string GlyphName(int set, int index) {
  const char c = GlyphOrder()[index];
  std::string tail = c == '/' ? "of" : std::string(1, (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c);
  return "font/f" + std::to_string(set) + tail;
}
Bitmap32 DrawGlyph(int set, char c) {
  return Label(set ? 24 : 12, set ? 40 : 18, std::string(1, c), set ? pal::kBlack : pal::kWhite,
               set ? pal::kWhite : pal::kInk, false);
}
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
