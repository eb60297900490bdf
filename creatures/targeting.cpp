// What a creature shoots at, its shot, and what the shot does to turrets and the orb.
#include <algorithm>
#include <optional>

#include "app/main_window.h"

namespace {
constexpr int kShotFrom = 17;  // pixels into the shooter's cell
constexpr int kShotAtTarget = 10;  // pixels into a creature's or turret's cell
constexpr int kShotAtOrb = 17;
constexpr int kOrbIndex = 1;  // the orb is one: its index only has to differ from -1
}  // namespace

int TForm1::AcquireTarget(int i) {
  TMibbet* m = MibbetAt(i);
  if (!m || !m->CanAttack) return -1;
  LogDebug("Mibbet %d force params %d %d", i, m->ForceX, m->ForceY);
  const auto take = [&](TargetKind type, int index) {
    LogDebug("Mibbet %d acquired target type %d id %d", i, int(type), index);
    m->TargetType = type;
    return index;
  };
  // Turrets first, then the orb (never in the tutorial), and only then a hated creature.
  if (const int t = FindTurretTarget(i); t != -1) return take(TargetKind::Turret, t);
  if (const int t = GameMode == ModeTutorial ? -1 : FindOrbTarget(i); t != -1) return take(TargetKind::Orb, t);
  if (const int t = FindHatedMibbet(i); t != -1) return take(TargetKind::Creature, t);
  return -1;
}

bool TForm1::InReach(int x, int y, TargetKind type, int index) {
  switch (type) {
    case TargetKind::Creature: {
      const TMibbet* m = MibbetAt(index);
      return m && InReachOf(x, y, m->CellX, m->CellY);
    }
    case TargetKind::Turret: {
      const TSign* t = TurretAt(index);
      return t && InReachOf(x, y, t->CellX, t->CellY);
    }
    case TargetKind::Orb:
      return index != -1 && Orb && Orb->Health > 0 && InReachOf(x, y, Orb->CellX, Orb->CellY);
  }
  return false;
}

int TForm1::FindTurretTarget(int i) {
  const TMibbet& m = *MibbetAt(i);
  for (int t = int(Turrets.size()) - 1; t >= 0; --t)
    if (InReach(m.CellX, m.CellY, TargetKind::Turret, t)) return t;
  return -1;
}

int TForm1::FindOrbTarget(int i) {
  // The orb cannot be attacked while any turret of the base stands.
  for (const auto& t : Turrets)
    if (t->BaseTurret) return -1;
  const TMibbet& m = *MibbetAt(i);
  return InReach(m.CellX, m.CellY, TargetKind::Orb, kOrbIndex) ? kOrbIndex : -1;
}

int TForm1::IndexOfMibbet(int id) const {
  // Ids rise along the list: creatures get the next Id and join at its end.
  const auto at = std::lower_bound(Mibbets.begin(), Mibbets.end(), id,
                                   [](const std::unique_ptr<TMibbet>& m, int wanted) { return m->Id < wanted; });
  return at != Mibbets.end() && (*at)->Id == id ? int(at - Mibbets.begin()) : -1;
}

int TForm1::FindHatedMibbet(int i) {
  const TMibbet& hunter = *MibbetAt(i);
  // No kind hates its own, so the census never names the hunter itself.
  if (Census.Counting())
    if (const std::optional<int> id = Census.LatestPreyNear(HatredState, hunter.Kind, hunter.CellX, hunter.CellY))
      return *id == CellCensus::kNoPrey ? -1 : IndexOfMibbet(*id);
  for (int j = int(Mibbets.size()) - 1; j >= 0; --j) {
    if (j == i || !Hates(HatredState, hunter.Kind, Mibbets[std::size_t(j)]->Kind)) continue;
    if (InReach(hunter.CellX, hunter.CellY, TargetKind::Creature, j)) return j;
  }
  return -1;
}

void TForm1::FireShot(int i) {
  TMibbet* shooter = MibbetAt(i);
  if (!shooter) return;
  shooter->Engaged = false;
  const int index = shooter->TargetIndex;
  // The target was found in this very step; a position that no longer holds it is skipped.
  if (!InReach(shooter->CellX, shooter->CellY, shooter->TargetType, index)) return;
  PlaySfx("beamshot1", 1);
  switch (shooter->TargetType) {
    case TargetKind::Creature: {
      const TMibbet& target = *MibbetAt(index);
      AddBeam(shooter->CellX, shooter->CellY, kShotFrom, kShotFrom, target.CellX, target.CellY, kShotAtTarget,
              kShotAtTarget, shooter->BeamColour, true);
      DamageMibbet(index, Shooter::Creature, MIBBETSHOTSTRENGTH);
      break;
    }
    case TargetKind::Turret: {
      const TSign& turret = *TurretAt(index);
      AddBeam(shooter->CellX, shooter->CellY, kShotFrom, kShotFrom, turret.CellX, turret.CellY, kShotAtTarget,
              kShotAtTarget, shooter->BeamColour, true);
      DamageTurret(index);
      break;
    }
    case TargetKind::Orb:
      AddBeam(shooter->CellX, shooter->CellY, kShotFrom, kShotFrom, Orb->CellX, Orb->CellY, kShotAtOrb, kShotAtOrb,
              shooter->BeamColour, true);
      DamageOrb();
      break;
  }
}

namespace {
double DefenceDamage(const TGameState& game) {
  return game.DEBUG != 0 && game.DbgInvincible ? 0.0 : game.MIBBETSHOTSTRENGTH;
}
}  // namespace

bool TForm1::HitDefence(TSprite& defence) {
  if (defence.HitThisTick) return false;
  defence.HitThisTick = true;
  AddEffect(defence.CellX, defence.CellY, HitFlash, BmpSplode);
  defence.Health -= DefenceDamage(*this);
  if (defence.Health > 0) return false;
  PlayExplosionSound();
  return true;
}

void TForm1::DamageTurret(int index) {
  TSign* turret = TurretAt(index);
  if (!turret || !HitDefence(*turret)) return;
  AddEffect(turret->CellX, turret->CellY, DeathExplosion, BmpSplode);
  RemoveTurretAt(index);
}

void TForm1::DamageOrb() {
  if (!Orb || !HitDefence(*Orb)) return;
  AddEffect(Orb->CellX, Orb->CellY, OrbBlast, BmpSplode).EndsGame = true;
  // The orb stays among the effects, hidden; with no health left it is never in reach again.
  Orb->SetShown(false);
}
