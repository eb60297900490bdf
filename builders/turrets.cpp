// Turrets: creation, loss and their fire.
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

void TForm1::TurretsFire() {
  // No reload and no limit: every turret shoots every creature in its block, every tick.
  // A creature's HitThisTick keeps several beams from doing more harm than one.
  for (int t = int(Turrets.size()) - 1; t >= 0; --t) {
    for (int i = int(Mibbets.size()) - 1; i >= 0; --i) {
      const TSign* turret = TurretAt(t);
      if (!turret) break;
      const TMibbet* m = MibbetAt(i);
      if (!m || !InReachOf(turret->CellX, turret->CellY, m->CellX, m->CellY)) continue;
      AddBeam(turret->CellX, turret->CellY, kBeamFromX, kBeamFromY, m->CellX, m->CellY, kBeamAt, kBeamAt, kTurretBeam,
              true);
      PlaySfx("turret", 2);
      DamageMibbet(i, Shooter::Turret, TURRETSHOTSTRENGTH);
    }
  }
}
