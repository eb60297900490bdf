// Tunnel moves, emergence-interval swaps and emergence holes: what keeps the horde unpredictable.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/main_window.h"
#include "creatures/kinds.h"

namespace {
constexpr int kTunnelColumns = FieldCells - 1;  // a tunnel never moves to the last column
constexpr int kTunnelSpacing = 2;  // a new column lies more than this from every tunnel
constexpr int kHoleColumns = FieldCells - 1;
constexpr int kHoleTopRow = 7, kHoleBottomRow = 13;
constexpr int kHoleCellTries = 10000;
constexpr int kTutorialHoleStage = 3;
}  // namespace

int TimerPeriodMs(std::int64_t seconds) {
  constexpr std::int64_t kLongestPeriod = 86400;
  return int(std::clamp<std::int64_t>(seconds, 1, kLongestPeriod) * 1000);
}

std::int64_t TForm1::RandomPeriodSeconds(int base, int spread, int shortest) {
  const int r = spread > 0 ? Rng.RandomRange(-spread, spread) : 0;
  return std::max<std::int64_t>(shortest, std::int64_t(base) - spread + r);
}

void TForm1::tmrTunnelTimer() {
  // One move at a time: the timer keeps its pace until the announced move is done.
  if (TunnelMovePending) return;
  tmrTunnel.SetEnabled(false);
  const int type = Rng.RandomRange(1, 4);
  TunnelRec& tunnel = TunnelOfKind(KindOfType(type));
  std::vector<int> columns;
  for (int c = 0; c < kTunnelColumns; ++c) {
    const auto tooClose = [c](const TunnelRec& t) { return std::abs(c - t.X) <= kTunnelSpacing; };
    if (!tooClose(FTunnel) && !tooClose(STunnel) && !tooClose(ETunnel)) columns.push_back(c);
  }
  // Three tunnels rule out at most 15 of the 19 columns, so there is always a place to go.
  if (!columns.empty()) {
    const int column = columns[std::size_t(Rng.Random(int(columns.size())))];
    AddEffect(column, tunnel.Y - 1, TunnelMoveExclamation, TraitsOfKind(*this, tunnel.Kind).FirstExclaim);
    TSprite& preview = AddEffect(column, tunnel.Y, TunnelPreview, tunnel.Bitmap);
    preview.MovesTunnel = true;
    preview.TunnelKind = type;
    TunnelMovePending = true;
    if (GameMode != ModeGameOver) PlaySfx("tunnelwarn", 0);
  }
  tmrTunnel.SetInterval(TimerPeriodMs(RandomPeriodSeconds(MIBBETTUNNELSWAP, MIBBETTUNNELSWAPRED, MIBBETTUNNELSWAPMIN)));
  tmrTunnel.SetEnabled(true);
}

void TForm1::MoveTunnel(int x, int y, int type) {
  TunnelMovePending = false;
  if (!IsKindType(type)) return;
  TunnelRec& tunnel = TunnelOfKind(KindOfType(type));
  tunnel.X = x;
  tunnel.Y = y;
  if (!tunnel.Sprite) return;
  tunnel.Sprite->SetShown(false);
  tunnel.Sprite->SetCellX(x);
  tunnel.Sprite->SetCellY(y);
  tunnel.Sprite->Place();
  tunnel.Sprite->SetShown(true);
}

void TForm1::tmrEmergeSwapTimer() {
  tmrEmergeSwap.SetEnabled(false);
  // The three emergence settings go round the three tunnels; counters are left as they are.
  const int settings[3] = {FMIBBETBASEEMERGE, SMIBBETBASEEMERGE, EMIBBETBASEEMERGE};
  const int shift = Rng.RandomRange(0, 3);
  FTunnel.Interval = settings[shift];
  STunnel.Interval = settings[(shift + 1) % 3];
  ETunnel.Interval = settings[(shift + 2) % 3];
  tmrEmergeSwap.SetEnabled(true);
}

bool TForm1::IsFreeHoleCell(int x, int y) const {
  const auto on = [x, y](const auto& entry) { return entry->CellX == x && entry->CellY == y; };
  if (std::any_of(Resources.begin(), Resources.end(), on) || std::any_of(Signs.begin(), Signs.end(), on)) return false;
  return std::none_of(Effects.begin(), Effects.end(),
                      [&](const auto& e) { return on(e) && (e->LeavesHoleMark || e->HoleKind != -1); });
}

void TForm1::tmrEmergeHoleTimer() {
  tmrEmergeHole.SetEnabled(false);
  int tries = 0, x = 0, y = 0;
  do {
    // No free cell after this many tries: holes stop until play starts or resumes again.
    if (++tries > kHoleCellTries) return;
    x = Rng.Random(kHoleColumns);
    y = Rng.RandomRange(kHoleTopRow, kHoleBottomRow + 1);
  } while (!IsFreeHoleCell(x, y));
  WarnHole(x, y, Rng.RandomRange(1, 4));
  tmrEmergeHole.SetInterval(
      TimerPeriodMs(RandomPeriodSeconds(MIBBETEMERGEHOLE, MIBBETEMERGEHOLERED, MIBBETEMERGEHOLEMIN)));
  tmrEmergeHole.SetEnabled(true);
}

void TForm1::WarnHole(int x, int y, int type) {
  if (!IsKindType(type)) return;
  PlaySfx("holewarn", 0);
  AddEffect(x, y, HoleExclamation, TraitsOfKind(*this, KindOfType(type)).FirstExclaim);
  TSprite& bump = AddEffect(x, y, HoleBump, BmpBump);
  bump.OpensHole = true;
  bump.HoleKind = type;
  // Holes lie on the ground: every creature, builder and turret walks over them.
  Playfield.Image.SendToBack(bump.Layer);
}

void TForm1::OpenEmergenceHole(int x, int y, int type) {
  TSprite& hole = AddEffect(x, y, OpenHole, BmpHole);
  hole.HoleKind = type;
  hole.LeavesHoleMark = true;
  Playfield.Image.SendToBack(hole.Layer);
  if (GameMode == ModeTutorial && TutorialStage != kTutorialHoleStage) AdvanceTutorial(true);
}
