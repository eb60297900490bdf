// The three Mibbet kinds, their tunnels and their warning marks. Each kind has its own outline
// (F a horned block, S a round ball, E a diamond with feelers) so colour is never the only cue.
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/canvas.h"

namespace assetgen {

namespace {

// The hides keep each kind's hue but sit far apart in lightness, F dark, S middling, E light, so the
// kinds stay apart in grey too (for a colour-blind player, or at a squint across a crowd). The
// beams keep the pure kind colours of the palette.
constexpr Rgb kHide[3] = {{54, 54, 64}, {224, 52, 44}, pal::kE};
constexpr int kDown = 0, kUp = 1, kLeft = 2, kRight = 3;

Pixel Body(int kind) { return Px(kHide[kind]); }
Pixel Shade(int kind, double f) { return Px(Scale(kHide[kind], f)); }

void GroundShadow(Bitmap32& b) { Disc(b, 17.5, 30.5, 11, 3.2, Px(pal::kEarthDark, 90)); }

// Feet sit under the body; a side view shows them one behind the other, mid-stride.
void Feet(Bitmap32& b, int facing, double y, int kind) {
  const Pixel p = Shade(kind, 0.55);
  if (facing == kLeft || facing == kRight) {
    Disc(b, 13.5, y, 3.5, 2.2, p);
    Disc(b, 21.5, y + 0.5, 3.5, 2.2, p);
  } else {
    Disc(b, 12.5, y, 3.2, 2.4, p);
    Disc(b, 22.5, y, 3.2, 2.4, p);
  }
}

// Eyes follow the facing: both in front when facing down, both on one side in profile, none from behind.
void Eyes(Bitmap32& b, int facing, double cy, double spread, double radius) {
  if (facing == kUp) return;
  double xs[2] = {17.5 - spread, 17.5 + spread};
  double look = 0;
  if (facing == kLeft) xs[0] = 17.5 - spread - 4, xs[1] = 17.5 - 2, look = -1.2;
  if (facing == kRight) xs[0] = 17.5 + 2, xs[1] = 17.5 + spread + 4, look = 1.2;
  for (double x : xs) {
    Disc(b, x, cy, radius, radius, Px(pal::kWhite));
    Disc(b, x + look, cy + (facing == kDown ? 0.8 : 0), radius * 0.5, radius * 0.55, Px(pal::kInk));
  }
}

void Finish(Bitmap32& b) {
  RimShade(b, 1.35, 0.72);
  Outline(b, Px(pal::kInk));
}

// F: a squat block with two horns.
Bitmap32 DrawF(int facing) {
  Bitmap32 b(kCell, kCell);
  const Pixel body = Body(0);
  const double lean = facing == kLeft ? -2 : (facing == kRight ? 2 : 0);
  Poly(b, {{9, 13}, {13, 12}, {6 + lean, 2}}, body);
  Poly(b, {{22, 12}, {26, 13}, {29 + lean, 2}}, body);
  RoundRect(b, 7, 11, 21, 18, 3, body);
  Feet(b, facing, 29.5, 0);
  if (facing == kUp) {  // from behind: an armoured back with chevrons down the spine and a stub of a tail
    RoundRect(b, 10, 13, 15, 14, 2, Shade(0, 0.7));
    for (int i = 0; i < 3; ++i) {  // chevrons down the spine
      const double y = 19.0 + 4 * i;
      Poly(b, {{12.5, y}, {17.5, y - 5}, {22.5, y}}, Shade(0, 1.5));
      Poly(b, {{12.5, y + 2}, {17.5, y - 3}, {22.5, y + 2}}, Shade(0, 0.7));
    }
    Poly(b, {{15, 27}, {20, 27}, {17.5, 32}}, body);
  }
  Finish(b);
  // Slit eyes glow pale against the dark hide.
  if (facing != kUp) {
    const int x0 = facing == kLeft ? 8 : (facing == kRight ? 18 : 10);
    const int x1 = facing == kLeft ? 14 : (facing == kRight ? 24 : 20);
    Rect(b, x0, 17, 5, 3, Px(pal::kWhite));
    Rect(b, x1, 17, 5, 3, Px(pal::kWhite));
    Rect(b, x0 + (facing == kRight ? 3 : 1), 18, 2, 2, Px(pal::kInk));
    Rect(b, x1 + (facing == kRight ? 3 : 1), 18, 2, 2, Px(pal::kInk));
    if (facing == kDown) Rect(b, 13, 24, 9, 1, Px(pal::kInk));
  }
  return b;
}

// S: a round ball with big eyes and a short tuft on top.
Bitmap32 DrawS(int facing) {
  Bitmap32 b(kCell, kCell);
  const Pixel body = Body(1);
  Feet(b, facing, 29.5, 1);
  const double dx = facing == kLeft ? -1 : (facing == kRight ? 1 : 0);
  Disc(b, 17.5 + dx, 18.5, 11.5, 11, body);
  Line(b, 17.5 + dx, 8, 17.5 + dx * 4, 3, 2.2, body);
  if (facing == kUp) {  // from behind: the tuft curls over a paler crown, a round tail below
    Disc(b, 17.5, 14, 7, 4.5, Shade(1, 1.3));
    Line(b, 17.5, 8, 13.5, 3, 2.2, body);
    Line(b, 17.5, 8, 21.5, 3, 2.2, body);
    Disc(b, 17.5, 26.5, 4.2, 3.7, Px(pal::kInk));
    Disc(b, 17.5, 26.5, 3.2, 2.7, Shade(1, 1.45));
  }
  Finish(b);
  Eyes(b, facing, 16.5, 4.5, 3.4);
  if (facing == kDown) Line(b, 14.5, 23.5, 20.5, 23.5, 1.4, Px(pal::kInk));
  return b;
}

// E: a tall diamond on stilts with two long feelers.
Bitmap32 DrawE(int facing) {
  Bitmap32 b(kCell, kCell);
  const Pixel body = Body(2);
  const double lean = facing == kLeft ? -3 : (facing == kRight ? 3 : 0);
  Line(b, 15, 10, 10 + lean, 1.5, 1.6, body);
  Line(b, 20, 10, 25 + lean, 1.5, 1.6, body);
  Disc(b, 10 + lean, 2.5, 2, 2, body);
  Disc(b, 25 + lean, 2.5, 2, 2, body);
  Line(b, 14, 25, 12 + lean / 2, 30, 2, Shade(2, 0.55));
  Line(b, 21, 25, 23 + lean / 2, 30, 2, Shade(2, 0.55));
  Poly(b, {{17.5, 6.5}, {28.5, 17.5}, {17.5, 28.5}, {6.5, 17.5}}, body);
  if (facing == kUp) {  // from behind: the shell's two halves meet in a seam, feelers rise from the top
    Poly(b, {{17.5, 9}, {26, 17.5}, {17.5, 26}}, Shade(2, 0.85));
    Line(b, 17.5, 8, 17.5, 27, 1, Shade(2, 0.5));
    Disc(b, 12.5, 17.5, 1.3, 1.3, Shade(2, 0.6));
    Disc(b, 22.5, 17.5, 1.3, 1.3, Shade(2, 0.6));
  }
  Finish(b);
  // One big eye.
  if (facing != kUp) {
    const double ex = 17.5 + (facing == kLeft ? -5 : (facing == kRight ? 5 : 0));
    Disc(b, ex, 16.5, 4.2, 4.2, Px(pal::kWhite));
    Disc(b, ex + (facing == kLeft ? -1.5 : (facing == kRight ? 1.5 : 0)), 17.5, 2, 2.2, Px(pal::kInk));
  }
  return b;
}

// The kind's own outline as a badge shape, used by its tunnel and its warning mark.
void KindBadge(Bitmap32& b, int kind, double cx, double cy, double r, Pixel p) {
  if (kind == 0) {
    Rect(b, int(cx - r), int(cy - r * 0.8), int(2 * r), int(1.8 * r), p);
    Poly(b, {{cx - r, cy - r * 0.8}, {cx - r * 0.5, cy - r * 0.8}, {cx - r * 1.1, cy - r * 1.45}}, p);
    Poly(b, {{cx + r * 0.5, cy - r * 0.8}, {cx + r, cy - r * 0.8}, {cx + r * 1.1, cy - r * 1.45}}, p);
  } else if (kind == 1) {
    Disc(b, cx, cy, r, r, p);
  } else {
    Poly(b, {{cx, cy - r * 1.15}, {cx + r * 1.1, cy}, {cx, cy + r * 1.15}, {cx - r * 1.1, cy}}, p);
  }
}

}  // namespace

Bitmap32 DrawMibbet(int kind, int facing) {
  Bitmap32 b(kCell, kCell);
  GroundShadow(b);
  const Bitmap32 body = kind == 0 ? DrawF(facing) : (kind == 1 ? DrawS(facing) : DrawE(facing));
  Stamp(b, body, 0, 0);
  return b;
}

Bitmap32 DrawTunnel(int kind) {
  Bitmap32 b(kCell, kCell);
  Disc(b, 17.5, 22, 16.5, 11, Px(pal::kWoodDark));  // heaped earth
  Disc(b, 17.5, 21, 15, 9.5, Px(Scale(pal::kWood, 1.1)));
  Rng rng(50 + kind);
  for (int i = 0; i < 14; ++i) Disc(b, 5 + rng.Unit() * 25, 15 + rng.Unit() * 13, 1.2, 1, Px(pal::kWoodDark));
  // The mouth is framed in the kind's colour and cut in the kind's outline.
  KindBadge(b, kind, 17.5, 17, 10.5, Body(kind));
  Outline(b, Px(pal::kInk));
  KindBadge(b, kind, 17.5, 18, 6.5, Px(pal::kInk));
  Disc(b, 17.5, 22, 4, 2, Px(pal::kEarthDark));
  return b;
}

// The mark is shown over the creature itself, so it is a light badge in the kind's outline, rimmed
// in the kind's colour and ringed in ink: it stands out on its own kind and on any floor.
Bitmap32 DrawExclaim(int kind, int frame) {
  Bitmap32 b(kCell, kCell);
  // Frames: steady, swollen, faded: played in turn they blink.
  const double size[3] = {10, 12, 9.5};
  const double fade[3] = {1.0, 1.0, 0.45};
  const double r = size[frame], cy = 18.5;
  KindBadge(b, kind, 17.5, cy, r, Body(kind));
  Outline(b, Px(pal::kInk));
  const Pixel face = Px(frame == 1 ? pal::kWhite : pal::kPaper);
  if (kind == 0) Rect(b, int(17.5 - r + 3), int(cy - r * 0.8 + 3), int(2 * r - 6), int(1.8 * r - 6), face);
  else KindBadge(b, kind, 17.5, cy, r - 3, face);
  const Pixel mark = Px(pal::kInk);
  const double top = kind == 0 ? cy - r * 0.8 + 4.5 : cy - r * 0.62, dot = cy + r * 0.5;
  Line(b, 17.5, top, 17.5, dot - 3.2, 3, mark);
  Rect(b, 16, int(dot) - 1, 3, 3, mark);
  FadeAlpha(b, fade[frame]);
  return b;
}

}  // namespace assetgen
