// Turrets: creation and their fire.
#include "app/main_window.h"

void TForm1::CreateTurret(int x, int y) {
  Turrets.push_back(std::make_unique<TSign>(Playfield.Image));
  TSign& turret = *Turrets.back();
  ShowPicture(turret, BmpTurret);
  turret.Health = TURRETHEALTH;
  turret.SetCellX(x);
  turret.SetCellY(y);
  turret.Place();
}

void TForm1::TurretsFire() {}
