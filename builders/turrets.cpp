// Turrets: creation, loss and their fire.
#include <vector>

#include "app/main_window.h"

namespace {
constexpr int kBeamFromX = 17, kBeamFromY = 5;  // the turret's muzzle, pixels into its cell
constexpr int kBeamAt = 17;
const Pixel kTurretBeam = MakePixel(0, 0, 255);
}  // namespace

void TForm1::CreateTurret(int x, int y) {
  Turrets.push_back(std::make_unique<TSign>(Playfield.Image));
  TSign& turret = *Turrets.back();
  ShowPicture(turret, BmpTurret);
  turret.Health = TURRETHEALTH;
  turret.SetCellX(x);
  turret.SetCellY(y);
  turret.Place();
}

TSign* TForm1::TurretAt(int i) {
  if (i < 0 || i >= int(Turrets.size())) return nullptr;
  return Turrets[std::size_t(i)].get();
}

void TForm1::RemoveTurretAt(int index) {
  if (TurretAt(index)) Turrets.erase(Turrets.begin() + index);
}

std::vector<TForm1::CellXY> TForm1::CrowdCells() const {
  std::vector<CellXY> cells;
  cells.reserve(Mibbets.size());
  for (const auto& m : Mibbets) cells.push_back({m->CellX, m->CellY});
  return cells;
}

void TForm1::TurretsFire() {
  // No reload and no limit: every turret shoots every creature in its block, every tick.
  // A creature's HitThisTick keeps several beams from doing more harm than one.
  // Each turret looks along a row of the crowd's cells, read once, rather than visiting every
  // creature of a crowd of thousands.
  std::vector<CellXY> cells = CrowdCells();
  for (int t = int(Turrets.size()) - 1; t >= 0; --t) {
    for (int i = int(Mibbets.size()) - 1; i >= 0; --i) {
      const TSign* turret = TurretAt(t);
      if (!turret) break;
      if (std::size_t(i) >= cells.size()) continue;
      const CellXY at = cells[std::size_t(i)];
      if (!InReachOf(turret->CellX, turret->CellY, at.X, at.Y)) continue;
      AddBeam(turret->CellX, turret->CellY, kBeamFromX, kBeamFromY, at.X, at.Y, kBeamAt, kBeamAt, kTurretBeam, true);
      PlaySfx("turret", 2);
      const std::size_t crowd = Mibbets.size();
      const bool tutorial = GameMode == ModeTutorial;
      DamageMibbet(i, Shooter::Turret, TURRETSHOTSTRENGTH);
      // A kill in the tutorial may rearrange the field, or start a game.
      if (tutorial) cells = CrowdCells();
      else if (Mibbets.size() < crowd) cells.erase(cells.begin() + i);
    }
  }
}
