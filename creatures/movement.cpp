// How creatures walk: their steps, what they meet on a cell, the pushes of signs, and the
// look-around when they arrive.
#include <algorithm>
#include <cmath>

#include "app/main_window.h"
#include "creatures/kinds.h"

namespace {

constexpr int kEngagePause = 5;
constexpr int kSignPush = 5;
constexpr int kLastCell = FieldCells - 1;
constexpr int kFreshLookTimer = 10;
constexpr int kFreshLookPhase = 4;
constexpr int kLookPhaseHome = 5;

// A creature only steps when its picture stands on a tenth of a cell. With short step
// intervals that also happens mid-glide, 28 px past a cell, where the rounded cell is
// already the next one: such a creature steps on without stopping.
bool OnGridPoint(float pixel) {
  const double cells = double(pixel) / CellSize;
  return std::abs(cells - std::round(cells * 10.0) / 10.0) <= 0.0001;
}

int NearestCell(float pixel) { return int(std::lround(double(pixel) / CellSize)); }

struct SignPush {
  int ForceX, ForceY;
  const char* LogFormat;
};

// Pushes are subtracted from the cell, so a push "up" is a positive ForceY.
constexpr SignPush kSignPushes[4] = {{0, -kSignPush, "Mibbet %d sign %d D_D %d %d "},
                                     {0, kSignPush, "Mibbet %d sign %d D_U %d %d "},
                                     {kSignPush, 0, "Mibbet %d sign %d D_L %d %d "},
                                     {-kSignPush, 0, "Mibbet %d sign %d D_R %d %d "}};

}  // namespace

TMibbet* TForm1::MibbetAt(int i) {
  if (i < 0 || i >= int(Mibbets.size())) return nullptr;
  return Mibbets[std::size_t(i)].get();
}

void TForm1::FaceMibbet(TMibbet& m, int facing) {
  ShowPicture(m, m.KindBitmap + facing);
  m.Variant = facing;
}

void TForm1::UpdateMibbets() {
  if (DEBUG != 0 && DbgFreeze) return;
  Census.Count(Mibbets);
  struct StopCounting {
    CellCensus& census;
    ~StopCounting() { census.Stop(); }
  } stopCounting{Census};
  // From the last entry down, by position: a kill removes a creature at once, and when it was
  // listed before the shooter, the shooter moves down into the next position and is visited
  // again (its step counter was just reset, so it only glides once more).
  for (int i = int(Mibbets.size()) - 1; i >= 0; --i) {
    TMibbet* m = MibbetAt(i);
    if (!m) continue;
    // A frozen creature holds back itself and everyone listed before it.
    if (!m->Active) return;
    StepMibbet(*m, i);
  }
}

void TForm1::StepMibbet(TMibbet& m, int i) {
  SteppingMibbet = i;
  TakeStep(m);
  SteppingMibbet = -1;
}

void TForm1::TakeStep(TMibbet& m) {
  ++m.StepCounter;
  if (OnGridPoint(m.Location.Left) && OnGridPoint(m.Location.Top) && m.StepCounter >= m.StepInterval) {
    m.StepCounter = 0;
    const int gx = NearestCell(m.Location.Left), gy = NearestCell(m.Location.Top);
    CheckCell(gx, gy, SteppingMibbet);
    ApplyPush(m, SteppingMibbet);
    if (m.Engaged) {
      FireShot(SteppingMibbet);
      // A kill may have shifted this creature down the list (RemoveMibbetAt keeps
      // SteppingMibbet on it), and the tutorial may have cleared the field altogether.
      if (SteppingMibbet < 0) return;
    }
    if (m.EngagePause > 0) --m.EngagePause;
    if (!m.Engaged && m.EngagePause <= 0) WalkMibbet(m, gx, gy, SteppingMibbet);
  }
  m.Place();
}

void TForm1::ApplyPush(TMibbet& m, int i) {
  if (m.ForceX == 0 && m.ForceY == 0) return;
  m.HomeX = HomeCellX;
  m.HomeY = HomeCellY;
  m.DestX = std::clamp(m.CellX - m.ForceX, 0, kLastCell);
  m.DestY = std::clamp(m.CellY - m.ForceY, 0, kLastCell);
  LogDebug("Mibbet %d target M0 now %d %d", i, m.DestX, m.DestY);
  m.ForceX = 0;
  m.ForceY = 0;
}

void TForm1::WalkMibbet(TMibbet& m, int gx, int gy, int i) {
  // One cell per axis at most; the vertical picture wins a diagonal step.
  if (m.CellX == gx && m.CellX < m.DestX) {
    MoveMibbetTo(m, m.CellX + 1, m.CellY);
    FaceMibbet(m, FaceRight);
  }
  if (m.CellX == gx && m.CellX > m.DestX) {
    MoveMibbetTo(m, m.CellX - 1, m.CellY);
    FaceMibbet(m, FaceLeft);
  }
  if (m.CellY == gy && m.CellY < m.DestY) {
    MoveMibbetTo(m, m.CellX, m.CellY + 1);
    FaceMibbet(m, FaceDown);
  }
  if (m.CellY == gy && m.CellY > m.DestY) {
    MoveMibbetTo(m, m.CellX, m.CellY - 1);
    FaceMibbet(m, FaceUp);
  }
  m.Arrived = m.CellX == gx && gx == m.DestX && m.CellY == gy && gy == m.DestY;
  // A creature no push ever reached has no home to turn to: it simply stays.
  if (m.Arrived && m.HomeX != 0 && m.HomeY != 0) LookAround(m, gx, gy, i);
}

void TForm1::MoveMibbetTo(TMibbet& m, int x, int y) {
  Census.Remove(m);
  m.SetCellX(x);
  m.SetCellY(y);
  Census.Add(m);
}

void TForm1::LookAround(TMibbet& m, int gx, int gy, int i) {
  if (!m.LooksAround) {
    // Straight out of the ground there is nothing to look at: turn for home in this step.
    m.LookTimer = kFreshLookTimer;
    m.LookPhase = kFreshLookPhase;
    m.LooksAround = true;
  }
  if (m.LookPhase == 0 && m.LookTimer == 0)
    AddEffect(gx, gy, LookExclamation, TraitsOfKind(*this, m.Kind).FirstExclaim);
  ++m.LookTimer;
  const int pause = m.LookPhase == 0 ? CONFSTATERPAUSEA : CONFSTATERPAUSEB;
  if (m.LookTimer < pause) return;
  m.LookTimer = 0;
  ++m.LookPhase;
  if (m.LookPhase < kLookPhaseHome) {
    // Phases 1 to 4 face down, up, left and right in turn.
    FaceMibbet(m, m.LookPhase - 1);
    return;
  }
  m.DestX = m.HomeX;
  m.DestY = m.HomeY;
  m.LookPhase = 0;
  LogDebug("Mibbet %d target M2 now %d %d", i, m.DestX, m.DestY);
}

void TForm1::CheckCell(int gx, int gy, int i) {
  TMibbet* m = MibbetAt(i);
  if (!m) return;
  m->TargetIndex = AcquireTarget(i);
  if (m->TargetIndex != -1) {
    m->Engaged = true;
    m->EngagePause = kEngagePause;
  }
  TrampleTrees(gx, gy);
  SteerBySign(*m, gx, gy, i);
}

void TForm1::TrampleTrees(int gx, int gy) {
  for (int r = int(Resources.size()) - 1; r >= 0; --r) {
    const TSprite& resource = *Resources[std::size_t(r)];
    if (resource.Resource != ResourceKind::Tree || resource.CellX != gx || resource.CellY != gy) continue;
    AddEffect(gx, gy, HitFlash, BmpSplode);
    RemoveResourceAt(r);
  }
}

void TForm1::SteerBySign(TMibbet& m, int gx, int gy, int i) {
  for (std::size_t s = 0; s < Signs.size(); ++s) {
    TSign& sign = *Signs[s];
    // An ordered placeholder stands there too, but only a finished sign steers.
    if (sign.CellX != gx || sign.CellY != gy || !sign.Finished) continue;
    LogDebug("Mibbet %d at sign %d", i, int(s));
    m.LooksAround = true;
    auto& seen = sign.SteeredIds;
    if (std::find(seen.begin(), seen.end(), m.Id) != seen.end()) continue;
    seen.push_back(m.Id);
    LogDebug("Mibbet %d not seen by sign %d", i, int(s));
    if (sign.Variant >= 0 && sign.Variant < 4) {
      const SignPush& push = kSignPushes[sign.Variant];
      m.ForceX = push.ForceX;
      m.ForceY = push.ForceY;
      LogDebug(push.LogFormat, i, int(s), m.ForceX, m.ForceY);
    }
    return;
  }
}
