// The fixed geometry of the world and the laying out of a fresh one.
#include <iostream>

#include "app/main_window.h"

namespace {

struct Cell {
  int X, Y;
};
constexpr Cell kBaseCells[6] = {{8, 0}, {9, 0}, {10, 0}, {8, 1}, {9, 1}, {10, 1}};
constexpr int kBaseTurretCells[4] = {0, 2, 3, 5};
constexpr int kOrbBaseCell = 1;
// Resources and gifts never lie in the last column or row.
constexpr int kResourceCells = FieldCells - 1;

bool IsBaseCell(int x, int y) {
  for (const Cell& c : kBaseCells)
    if (c.X == x && c.Y == y) return true;
  return false;
}

}  // namespace

void TForm1::LayOutWorld() {
  PaintFloor();
  LayOutBase();
  PlaceStartingResources();
  ScatterGifts();
  LayOutTunnels();
  AddBuilder();
  HeldBuilder = -1;
  RefreshSignCounter();
}

void TForm1::PaintFloor() {
  const Bitmap32& tile = *Sprites.At(Theme == ThemeSnow ? BmpTile + 1 : BmpTile);
  for (int i = 0; i <= FieldCells; ++i)
    for (int j = 0; j <= FieldCells; ++j) Playfield.Image.Bitmap.DrawOpaque(tile, CellSize * i, CellSize * j);
}

void TForm1::LayOutBase() {
  for (int i = 0; i < 6; ++i) {
    BaseCells[i].reset();
    BaseCells[i] = std::make_unique<TSprite>(Playfield.Image);
    TSprite& marker = *BaseCells[i];
    marker.SetCellX(kBaseCells[i].X);
    marker.SetCellY(kBaseCells[i].Y);
    Playfield.Image.Bitmap.DrawOpaque(*Sprites.At(BmpBaseFloor), CellSize * marker.CellX, CellSize * marker.CellY);
    ShowPicture(marker, BmpTrans);
    marker.Visible = false;
    marker.Place();
  }
  LayOutBaseTurrets();
  Orb = &AddEffect(kBaseCells[kOrbBaseCell].X, kBaseCells[kOrbBaseCell].Y, 255, EndlessLife, 4, BmpOrb);
  Orb->Health = BASEORBHEALTH;
}

void TForm1::LayOutBaseTurrets() {
  for (int cell : kBaseTurretCells) {
    CreateTurret(kBaseCells[cell].X, kBaseCells[cell].Y);
    Turrets.back()->BaseTurret = true;
  }
}

bool TForm1::ChooseFreeResourceCell(TSprite& item) {
  const auto taken = [&](int x, int y) {
    if (IsBaseCell(x, y)) return true;
    for (const auto& other : Resources)
      if (other.get() != &item && other->CellX == x && other->CellY == y) return true;
    return false;
  };
  bool anyFree = false;
  for (int x = 0; x < kResourceCells && !anyFree; ++x)
    for (int y = 0; y < kResourceCells && !anyFree; ++y) anyFree = !taken(x, y);
  if (!anyFree) {
    // Asking for more items than free cells would search for ever: stop placing instead.
    std::cerr << "mibbetfall: no free cell left for starting resources; placed " << Resources.size() - 1 << "\n";
    Resources.pop_back();
    return false;
  }
  do {
    item.SetCellX(Rng.Random(kResourceCells));
    item.SetCellY(Rng.Random(kResourceCells));
  } while (taken(item.CellX, item.CellY));
  return true;
}

void TForm1::PlaceStartingResources() {
  static constexpr int kPictureOffsets[5][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}};  // family, member
  static constexpr ResourceKind kFamilyKinds[3] = {ResourceKind::Tree, ResourceKind::Rock, ResourceKind::Ruin};
  for (int n = 0; n <= NUMSTARTRES; ++n) {
    Resources.push_back(std::make_unique<TSprite>(Playfield.Image));
    TSprite& resource = *Resources.back();
    resource.Variant = Rng.Random(5);
    const int families[3] = {BmpTree, BmpRock, BmpRuin};
    const auto& [family, member] = kPictureOffsets[resource.Variant];
    resource.Resource = kFamilyKinds[family];
    ShowPicture(resource, families[family] + member);
    resource.Gatherable = resource.Variant >= 2;
    resource.Id = ++NextId;
    if (!ChooseFreeResourceCell(resource)) return;
    resource.Place();
  }
}

void TForm1::LayOutTunnels() {
  struct Layout {
    TunnelRec& Tunnel;
    MibbetKind Kind;
    int Bitmap, X, Interval;
  };
  const Layout layouts[3] = {{ETunnel, KindE, BmpETunnel, 1, EMIBBETBASEEMERGE},
                             {STunnel, KindS, BmpSTunnel, 10, SMIBBETBASEEMERGE},
                             {FTunnel, KindF, BmpFTunnel, 18, FMIBBETBASEEMERGE}};
  for (const Layout& l : layouts) {
    TunnelRec& t = l.Tunnel;
    t.Kind = l.Kind;
    t.Bitmap = l.Bitmap;
    t.X = l.X;
    t.Y = FieldCells - 1;
    t.Sprite.reset();
    t.Sprite = std::make_unique<TSprite>(Playfield.Image);
    ShowPicture(*t.Sprite, t.Bitmap);
    t.Sprite->FrameCount = 1;
    t.Sprite->Life = EndlessLife;
    t.Sprite->Alpha = 255;
    t.Sprite->SetCellX(t.X);
    t.Sprite->SetCellY(t.Y);
    t.Sprite->Place();
    t.Counter = 0;
    t.Interval = l.Interval;
  }
}

void TForm1::CreateCursorSprites() {
  Cursor = std::make_unique<TSprite>(Playfield.Image);
  MenuHighlight = std::make_unique<TSprite>(MenuImg.Image);
  MenuHighlight->InBuildMenu = true;
  OrbMenuHighlight = std::make_unique<TSprite>(OrbMenuImg.Image);
  OrbMenuHighlight->InOrbMenu = true;
  for (TSprite* s : {Cursor.get(), MenuHighlight.get(), OrbMenuHighlight.get()}) {
    ShowPicture(*s, BmpCursor);
    s->Place();
  }
}

void TForm1::ResetCursorSprites() {
  MenuHighlight->InBuildMenu = true;
  OrbMenuHighlight->InOrbMenu = true;
  for (TSprite* s : {Cursor.get(), MenuHighlight.get(), OrbMenuHighlight.get()}) {
    ShowPicture(*s, BmpCursor);
    s->SetShown(true);
    s->SetCellX(0);
    s->SetCellY(0);
    s->Place();
  }
}
