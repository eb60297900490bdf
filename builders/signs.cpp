// Signs: creation, placement and removal orders, the cell tests of the build menu, no-build
// marks and the sign counter.
#include <algorithm>

#include "app/main_window.h"

namespace {
// Beyond this every sign's block already covers the whole field.
constexpr int kMaxBlockRadius = FieldCells - 1;
constexpr int kRemoveSign = -1;

// A mark off the field blocks nothing: no sign can be ordered there.
bool OnField(int x, int y) { return x >= 0 && x < FieldCells && y >= 0 && y < FieldCells; }
std::size_t FieldCellIndex(int x, int y) { return std::size_t(y * FieldCells + x); }
}  // namespace

TSign& TForm1::CreateSign(int x, int y, bool solid, int direction) {
  Signs.push_back(std::make_unique<TSign>(Playfield.Image));
  TSign& sign = *Signs.back();
  ShowPicture(sign, BmpSign + direction);
  sign.Id = ++NextId;
  sign.Variant = direction;
  sign.SetCellX(x);
  sign.SetCellY(y);
  sign.Finished = solid;
  sign.Layer->MasterAlpha = solid ? FinishedSignAlpha : PlaceholderSignAlpha;
  sign.Place();
  return sign;
}

int TForm1::FindSign(int x, int y) const {
  for (std::size_t i = 0; i < Signs.size(); ++i)
    if (Signs[i]->CellX == x && Signs[i]->CellY == y) return int(i);
  return -1;
}

bool TForm1::IsNoBuildCell(int x, int y) const { return OnField(x, y) && NoBuildCells[FieldCellIndex(x, y)]; }

void TForm1::ShowNoBuildMarks(bool show) {
  if (!show) {
    NoBuildCells.reset();
    for (int i = int(Effects.size()) - 1; i >= 0; --i)
      if (Effects[std::size_t(i)]->NoBuildMark) RemoveEffectAt(i);
    return;
  }
  const int reach = std::min(BLOCKSIGNBUILDBY, kMaxBlockRadius);
  for (const auto& sign : Signs)
    for (int dx = -reach; dx <= reach; ++dx)
      for (int dy = -reach; dy <= reach; ++dy) AddNoBuildMark(sign->CellX + dx, sign->CellY + dy);
  // Holes and hole warnings; the marks added here must not be visited again.
  for (int i = int(Effects.size()) - 1; i >= 0; --i) {
    const TSprite& effect = *Effects[std::size_t(i)];
    if (effect.HoleKind != -1) AddNoBuildMark(effect.CellX, effect.CellY);
  }
  for (const auto& baseCell : BaseCells) {
    if (!baseCell) continue;
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) AddNoBuildMark(baseCell->CellX + dx, baseCell->CellY + dy);
  }
}

// The red square only shows the mark; the rules remember the cell.
void TForm1::AddNoBuildMark(int x, int y) {
  AddEffect(x, y, 255, EndlessLife, 1, BmpRedSquare).NoBuildMark = true;
  if (OnField(x, y)) NoBuildCells.set(FieldCellIndex(x, y));
}

TForm1::SignRefusal TForm1::SignPlacementRefusal(int x, int y) const {
  if (FindSign(x, y) != -1) return SignRefusal::SignThere;
  if (IsNoBuildCell(x, y)) return SignRefusal::NoBuildMark;
  // The counter as last shown, not the live list; "at or above" keeps the cap after two quick orders.
  if (ShownSignCount >= int(Builders.size()) * MAX_SIGN) return SignRefusal::SignLimit;
  if (Scrap - SIGNCOST < 0) return SignRefusal::NoScrap;
  return SignRefusal::None;
}

void TForm1::OrderSign(int x, int y, int direction) {
  Scrap = AddToTotal(Scrap, -SIGNCOST);
  RedrawScrap();
  TOrder& order = QueueOrder(x, y, SignOrder);
  order.Action = direction;
  order.TargetId = CreateSign(x, y, false, direction).Id;
  HeldBuilder = -1;
}

// The refund is paid when the removal is ordered, once a sign: a second removal of a sign whose
// removal is queued or under way is refused, or every further order would pay scrap from nothing.
bool TForm1::OrderSignRemoval(int x, int y) {
  HeldBuilder = -1;
  const int index = FindSign(x, y);
  if (index == -1) return true;
  const int signId = Signs[std::size_t(index)]->Id;
  if (SignRemovalOrdered(signId)) return false;
  Scrap = AddToTotal(Scrap, SIGNCOST / 2);
  RedrawScrap();
  TOrder& order = QueueOrder(x, y, SignOrder);
  order.Action = kRemoveSign;
  order.TargetId = signId;
  return true;
}

bool TForm1::SignRemovalOrdered(int signId) const {
  const auto removes = [signId](const TOrder* order) {
    return order && order->Kind == SignOrder && order->Action == kRemoveSign && order->TargetId == signId;
  };
  return std::any_of(Orders.begin(), Orders.end(), [&](const auto& queued) { return removes(queued.get()); }) ||
         std::any_of(Builders.begin(), Builders.end(),
                     [&](const auto& builder) { return removes(builder->Order.get()); });
}

void TForm1::CompleteSignOrder(const TOrder& order) {
  for (int i = int(Signs.size()) - 1; i >= 0; --i) {
    TSign& sign = *Signs[std::size_t(i)];
    if (sign.Id != order.TargetId) continue;
    if (order.Action == kRemoveSign) {
      sign.SetShown(false);
      sign.Place();
      Signs.erase(Signs.begin() + i);
      return;
    }
    sign.Finished = true;
    sign.Layer->MasterAlpha = FinishedSignAlpha;
    // The builder stands on the sign it has just built and should be seen above it.
    if (order.BuilderIndex >= 0 && order.BuilderIndex < int(Builders.size()))
      Playfield.Image.BringToFront(Builders[std::size_t(order.BuilderIndex)]->Layer);
    sign.Place();
    return;
  }
}

void TForm1::RefreshSignCounter() {
  ShownSignCount = int(Signs.size());
  DrawCounter(imSignsCt, std::to_string(ShownSignCount) + "/" + std::to_string(int(Builders.size()) * MAX_SIGN));
}
