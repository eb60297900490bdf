// Effects: timed animations on the playfield and their end actions; beam flashes.
#include <algorithm>
#include <cstdlib>

#include "app/main_window.h"

namespace {
constexpr int kBeamLife = 4;
}  // namespace

TSprite& TForm1::AddEffect(int x, int y, int alpha, int life, int frameCount, int firstBitmap) {
  Effects.push_back(std::make_unique<TSprite>(Playfield.Image));
  TSprite& effect = *Effects.back();
  effect.Bitmap = firstBitmap;
  effect.FrameCount = frameCount;
  effect.Life = life;
  effect.Alpha = alpha;
  effect.ShowFrame(Sprites, firstBitmap);
  effect.Layer->MasterAlpha = alpha;
  effect.SetCellX(x);
  effect.SetCellY(y);
  effect.Place();
  return effect;
}

TSprite& TForm1::AddEffect(int x, int y, const EffectPreset& preset, int firstBitmap) {
  return AddEffect(x, y, preset.Alpha, preset.Life, preset.FrameCount, firstBitmap);
}

void TForm1::RemoveEffectAt(int index) {
  if (index < 0 || index >= int(Effects.size())) return;
  if (Effects[std::size_t(index)].get() == Orb) Orb = nullptr;
  Effects.erase(Effects.begin() + index);
}

namespace {

// What an ended effect leaves behind: a closing hole's flicker, an end action to run once the
// walk is over, an explosion's sound.
void EndEffect(TForm1& g, const TSprite& effect, std::vector<TMBType>& queued) {
  if (effect.LeavesHoleMark) {
    TSprite& flicker = g.AddEffect(effect.CellX, effect.CellY, ClosingHole, g.BmpHole);
    flicker.ClosingHoleMark = true;
    g.Playfield.Image.SendToBack(flicker.Layer);
  }
  if (effect.MovesTunnel || effect.OpensHole || effect.EndsGame) {
    TMBType action{effect.CellX, effect.CellY, effect.TunnelKind, 0};
    if (effect.MovesTunnel) action.Action = TMBType::MoveTunnel;
    if (effect.OpensHole) {
      action.Action = TMBType::OpenHole;
      action.Param = effect.HoleKind;
    }
    if (effect.EndsGame) action.Action = TMBType::GameOver;
    queued.push_back(action);
  }
  if (effect.ExplodeSound) g.PlaySfx("explosion" + std::to_string(g.Rng.RandomRange(1, 15)), 0);
}

bool Ended(const std::unique_ptr<TSprite>& effect) { return effect->Life <= 0; }

}  // namespace

void TForm1::UpdateEffects() {
  std::vector<TMBType> queued;
  for (int i = int(Effects.size()) - 1; i >= 0; --i) {
    TSprite& effect = *Effects[std::size_t(i)];
    // Pictures change on every second update; Life counts those changes.
    if (++effect.FrameTick >= 2) {
      effect.Frame = effect.FrameCount > 0 ? (effect.Frame + 1) % effect.FrameCount : 0;
      effect.ShowFrame(Sprites, effect.Bitmap + effect.Frame);
      effect.Layer->MasterAlpha = effect.Alpha;
      effect.Place();
      effect.FrameTick = 0;
      --effect.Life;
    }
    if (effect.Life <= 0) EndEffect(*this, effect, queued);
  }
  // The ended effects leave together, in one pass: removing each at once would move every later
  // entry, once for every ended effect. A flicker just left by a hole is alive, so it stays.
  if (Orb && Orb->Life <= 0) Orb = nullptr;
  std::erase_if(Effects, Ended);
  for (auto it = queued.rbegin(); it != queued.rend(); ++it) RunEndAction(*it);
  for (auto& beam : KillAnims) --beam->Life;
  std::erase_if(KillAnims, [](const auto& beam) { return beam->Life <= 0; });
}

void TForm1::RunEndAction(const TMBType& action) {
  switch (action.Action) {
    case TMBType::MoveTunnel:
      // A lost game moves no tunnel and opens no hole.
      if (!GameOver) MoveTunnel(action.X, action.Y, action.Param);
      break;
    case TMBType::OpenHole:
      if (!GameOver) OpenEmergenceHole(action.X, action.Y, action.Param);
      break;
    case TMBType::GameOver:
      EndGame();
      break;
  }
}

namespace {

void DrawLine(Bitmap32& picture, int x0, int y0, int x1, int y1, Pixel colour) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    if (x0 >= 0 && y0 >= 0 && x0 < picture.Width() && y0 < picture.Height()) picture.Set(x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    const int doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      x0 += sx;
    }
    if (doubled <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

}  // namespace

void TForm1::AddBeam(int x1, int y1, int startX, int startY, int x2, int y2, int endX, int endY, Pixel colour,
                     bool jitter) {
  if (jitter) {
    const int shift = Rng.RandomRange(-30, 30);
    const auto moved = [shift](int channel) { return std::clamp(channel + shift, 0, 255); };
    colour = MakePixel(moved(PixelRed(colour)), moved(PixelGreen(colour)), moved(PixelBlue(colour)));
  }
  const int left = std::min(x1, x2), top = std::min(y1, y2);
  const int width = CellSize * (std::max(x1, x2) + 1 - left), height = CellSize * (std::max(y1, y2) + 1 - top);
  const int fromX = CellSize * (x1 - left) + startX, fromY = CellSize * (y1 - top) + startY;
  const int toX = CellSize * (x2 - left) + endX, toY = CellSize * (y2 - top) + endY;
  // A battle draws thousands of beams of a few shapes: each shape is drawn once and shared,
  // and every beam shows it in its own colour.
  PicturePtr& shape = BeamShapes[{width, height, fromX, fromY, toX, toY}];
  if (!shape) {
    auto line = std::make_shared<Bitmap32>(width, height, 0);
    for (int ox = -1; ox <= 1; ++ox)
      for (int oy = -1; oy <= 1; ++oy) DrawLine(*line, fromX + ox, fromY + oy, toX + ox, toY + oy, 0xFFFFFFFFu);
    shape = std::move(line);
  }
  // A new layer lies on top of the stack already, above every sprite.
  BitmapLayer& layer = Playfield.Image.CreateLayer();
  layer.ShowPicture(shape);
  layer.Mode = DrawMode::Blend;
  layer.Tint = colour | 0xFF000000u;
  layer.Location = {float(CellSize * left), float(CellSize * top), float(CellSize * left + width),
                    float(CellSize * top + height)};
  KillAnims.push_back(std::make_unique<TAnimKill>(Playfield.Image, layer));
  KillAnims.back()->Life = kBeamLife;
}
