// How creatures come into the world: out of the tunnels, out of open holes, and on demand.
#include <algorithm>

#include "app/main_window.h"
#include "creatures/kinds.h"

TMibbet& TForm1::AddMibbet(MibbetKind kind, int x, int y, int forceY) {
  Mibbets.push_back(std::make_unique<TMibbet>(Playfield.Image));
  TMibbet& m = *Mibbets.back();
  m.Id = ++NextId;
  const KindTraits traits = TraitsOfKind(*this, kind);
  m.Kind = kind;
  m.KindBitmap = traits.FirstPicture;
  m.BeamColour = traits.BeamColour;
  m.StepInterval = traits.StepInterval;
  ShowPicture(m, m.KindBitmap + FaceDown);
  m.Health = double(BASEMIBBETHEALTH);
  m.SetCellX(x);
  m.SetCellY(y);
  Census.Add(m);
  // Fresh out of the ground: no look-around yet, so the first arrival turns for home at once.
  m.LooksAround = false;
  m.ForceX = 0;
  m.ForceY = forceY;
  m.DestX = HomeCellX;
  m.DestY = HomeCellY;
  // Stand exactly on the cell first; only later moves glide.
  m.Place();
  m.Glide = true;
  return m;
}

void TForm1::EmergeFromTunnel(TunnelRec& tunnel) {
  if (++tunnel.Counter <= tunnel.Interval) return;
  tunnel.Counter = 0;
  AddMibbet(tunnel.Kind, tunnel.X, tunnel.Y - 1, TraitsOfKind(*this, tunnel.Kind).Push);
  EmergeFromHoles(TypeOfKind(tunnel.Kind));
}

void TForm1::SpawnMibbet(int x, int y, int type) {
  const MibbetKind kind = KindOfType(type);
  // The push is meant to carry a tunnel's creature up the field; one placed higher up needs
  // less of it, and the tutorial places its creatures exactly where it wants them.
  const int push = GameMode == ModeTutorial ? 0 : std::max(TraitsOfKind(*this, kind).Push - y, 0);
  AddMibbet(kind, x, y, push);
}

void TForm1::EmergeFromHoles(int type) {
  for (std::size_t e = 0; e < Effects.size(); ++e) {
    const TSprite& hole = *Effects[e];
    if (hole.LeavesHoleMark && hole.HoleKind == type) SpawnMibbet(hole.CellX, hole.CellY, type);
  }
}
