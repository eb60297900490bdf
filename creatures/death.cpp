// Damage to creatures and their death: the flash, the explosion, scrap, the tutorial hook, score.
#include "app/main_window.h"

void TForm1::RemoveMibbetAt(int index) {
  if (!MibbetAt(index)) return;
  Census.Remove(*Mibbets[std::size_t(index)]);
  Mibbets.erase(Mibbets.begin() + index);
  // Later entries move down by one: so does the creature whose step is running, if it was one.
  if (index == SteppingMibbet) SteppingMibbet = -1;
  else if (index < SteppingMibbet) --SteppingMibbet;
}

void TForm1::RemoveAllMibbets() {
  for (int i = int(Mibbets.size()) - 1; i >= 0; --i) RemoveMibbetAt(i);
}

void TForm1::PlayExplosionSound() { PlaySfx(Rng.RandomRange(1, 3) == 1 ? "explosion1" : "explosion2", 3); }

void TForm1::DamageMibbet(int index, Shooter shooter, double amount) {
  TMibbet* m = MibbetAt(index);
  if (!m || m->HitThisTick) return;
  m->HitThisTick = true;
  AddEffect(m->CellX, m->CellY, HitFlash, BmpSplode);
  m->Health -= amount;
  if (m->Health > 0) return;

  const int x = m->CellX, y = m->CellY, id = m->Id;
  PlayExplosionSound();
  AddEffect(x, y, DeathExplosion, BmpSplode);
  if (Rng.RandomRange(0, 100) <= MIBBETSCRAPPERC) MakeScrap(x, y, true);
  if (m->TutorialMark) {
    AdvanceTutorial(false);
    // The tutorial's last stage starts a game: nothing of this shot may act on the new world.
    if (GameMode != ModeTutorial) return;
  }
  // The tutorial may have rearranged the field: only the creature that died is removed.
  if (const TMibbet* still = MibbetAt(index); still && still->Id == id) RemoveMibbetAt(index);
  Score = AddToTotal(Score, shooter == Shooter::Creature ? MIBBETKILL : TURRETKILL);
  DrawCounter(imScore, std::to_string(Score));
}
