// Scrap: the counter, scrap piles and gathering.
#include "app/main_window.h"
#include "platform/files.h"

namespace {
constexpr int kScrapPileVariant = 5;
constexpr int kMarkedForGatheringAlpha = 128;
constexpr int kGiftMultiplier = 5;
constexpr const char* kGiftFanfare = "hooray.wav";

// Draw 0 steps up, 1 steps down, 2 stays.
int NeighbourCoordinate(int coordinate, int draw) {
  if (draw == 0) return coordinate + 1;
  if (draw == 1) return coordinate - 1;
  return coordinate;
}
}  // namespace

int TForm1::FindGatherable(int x, int y) const {
  for (std::size_t i = 0; i < Resources.size(); ++i) {
    const TSprite& r = *Resources[i];
    if (r.Gatherable && r.CellX == x && r.CellY == y) return int(i);
  }
  return -1;
}

void TForm1::MakeScrap(int x, int y, bool retry) {
  LogDebug("Making scrap at %d %d", x, y);
  bool grew = false;
  const std::size_t existing = Resources.size();
  for (std::size_t i = 0; i < existing; ++i) {
    TSprite& item = *Resources[i];
    if (item.CellX != x || item.CellY != y) continue;
    if (item.Resource == ResourceKind::LargeScrap) {
      if (!retry) {
        LogDebug("Too much scrap, too many retries, aborting");
        return;
      }
      LogDebug("Too much scrap, trying nearby cell!");
      // The neighbour may be the cell itself, or off the field beside an edge: that scrap is lost.
      const int nearX = NeighbourCoordinate(x, Rng.RandomRange(0, 3));
      const int nearY = NeighbourCoordinate(y, Rng.RandomRange(0, 3));
      MakeScrap(nearX, nearY, false);
      return;
    }
    if (item.Resource == ResourceKind::SmallScrap || item.Resource == ResourceKind::MediumScrap) {
      LogDebug("Scrap already present, increased");
      item.Resource = item.Resource == ResourceKind::SmallScrap ? ResourceKind::MediumScrap : ResourceKind::LargeScrap;
      ShowPicture(item, item.Bitmap + 1);
      item.Place();
      grew = true;
    }
  }
  if (grew) return;
  Resources.push_back(std::make_unique<TSprite>(Playfield.Image));
  TSprite& pile = *Resources.back();
  pile.Variant = kScrapPileVariant;
  pile.Resource = ResourceKind::SmallScrap;
  ShowPicture(pile, BmpScrap);
  pile.Gatherable = true;
  pile.Id = ++NextId;
  pile.SetCellX(x);
  pile.SetCellY(y);
  pile.Place();
}

bool TForm1::OrderGather(int x, int y) {
  const int index = FindGatherable(x, y);
  if (index == -1) return false;
  TSprite& item = *Resources[std::size_t(index)];
  QueueOrder(x, y, GatherOrder).TargetId = item.Id;
  // Half transparent: already promised to a builder.
  item.Alpha = kMarkedForGatheringAlpha;
  item.Layer->MasterAlpha = kMarkedForGatheringAlpha;
  item.Place();
  HeldBuilder = -1;
  return true;
}

void TForm1::RemoveResourceAt(int index) {
  if (index >= 0 && index < int(Resources.size())) Resources.erase(Resources.begin() + index);
}

void TForm1::CompleteGatherOrder(const TOrder& order) {
  for (int i = int(Resources.size()) - 1; i >= 0; --i) {
    TSprite& item = *Resources[std::size_t(i)];
    if (item.Id != order.TargetId) continue;
    item.SetShown(false);
    item.Place();
    int amount = GATHER_SCRAP;
    if (item.Resource == ResourceKind::MediumScrap) amount *= 2;
    if (item.Resource == ResourceKind::LargeScrap) amount *= 3;
    if (item.Resource == ResourceKind::Gift) {
      amount *= kGiftMultiplier;
      PlayGiftFanfare();
      // The gift leaves a turret where it lay, drawn below whatever walks over it.
      CreateTurret(item.CellX, item.CellY);
      Playfield.Image.SendToBack(Turrets.back()->Layer);
    }
    RemoveResourceAt(i);
    Scrap = AddToTotal(Scrap, amount);
    RedrawScrap();
    return;
  }
}

// The fanfare is the one cue that ignores the sound switch and the channels.
void TForm1::PlayGiftFanfare() {
  Ports.Sound.Stop();
  const std::string path = AssetDir + kGiftFanfare;
  if (FileExists(path)) Ports.Sound.Play(path, false);
}

void TForm1::RedrawScrap() { DrawCounter(imScrapCt, std::to_string(Scrap)); }
