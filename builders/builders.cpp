// Builder robots and the order queue.
#include <algorithm>
#include <cmath>

#include "app/main_window.h"

namespace {
constexpr int kBuilderHomeX = 9;
constexpr int kBuilderHomeY = 1;
constexpr double kNoDistance = 9999999999.0;
constexpr int kNoCandidate = -1;

// Straight-line distance in cells; gather orders count as if they lay farther away, so that
// builders see to the signs first.
double WeightedDistance(const TSprite& builder, const TOrder& order, int nonSignPenalty) {
  const int dx = builder.CellX - order.CellX;
  const int dy = builder.CellY - order.CellY;
  const double distance = std::sqrt(double(dx * dx + dy * dy));
  return order.Kind == SignOrder ? distance : distance + nonSignPenalty;
}
}  // namespace

void TForm1::AddBuilder() {
  Builders.push_back(std::make_unique<TSprite>(Playfield.Image));
  TSprite& builder = *Builders.back();
  ShowPicture(builder, BmpBuilder);
  builder.SetCellX(kBuilderHomeX);
  builder.SetCellY(kBuilderHomeY);
  builder.DestX = kBuilderHomeX;
  builder.DestY = kBuilderHomeY;
  builder.Place();
  builder.Glide = true;
  HeldBuilder = int(Builders.size()) - 1;
  RefreshSignCounter();
}

// A builder that lost its nearest order to a nearer builder proposes again in the next pass,
// so one call settles every idle builder that can get work.
void TForm1::AssignOrders() {
  while (AssignOrdersPass()) {
  }
}

bool TForm1::AssignOrdersPass() {
  for (auto& queued : Orders) {
    queued->Candidate = kNoCandidate;
    queued->CandidateDist = kNoDistance;
  }
  if (!Orders.empty())
    for (int i = 0; i < int(Builders.size()); ++i)
      if (!Builders[std::size_t(i)]->Order && i != HeldBuilder) ProposeNearestOrder(i);

  bool handedOut = false;
  for (int j = int(Orders.size()) - 1; j >= 0; --j) {
    TOrder& queued = *Orders[std::size_t(j)];
    if (queued.Candidate == kNoCandidate) continue;
    handedOut = true;
    HandOutOrder(queued, j);
  }
  std::erase_if(Orders, [](const std::unique_ptr<TOrder>& queued) { return queued->Taken; });
  return handedOut;
}

void TForm1::ProposeNearestOrder(int builderIndex) {
  const TSprite& builder = *Builders[std::size_t(builderIndex)];
  TOrder* nearest = nullptr;
  double nearestDistance = kNoDistance;
  for (auto& queued : Orders) {
    if (queued->Taken) continue;
    const double d = WeightedDistance(builder, *queued, NONSIGNPRIREDUCTION);
    if (d < nearestDistance) {
      nearest = queued.get();
      nearestDistance = d;
    }
  }
  // Strictly nearer only: of two builders at the same distance the lower index keeps the order.
  if (nearest && nearest->CandidateDist > nearestDistance) {
    nearest->Candidate = builderIndex;
    nearest->CandidateDist = nearestDistance;
  }
}

void TForm1::HandOutOrder(TOrder& queued, int queueIndex) {
  LogDebug("Builder %d assigned order %d", queued.Candidate, queueIndex);
  TSprite& builder = *Builders[std::size_t(queued.Candidate)];
  builder.Order = std::make_unique<TOrder>(this);
  TOrder& carried = *builder.Order;
  carried.CellX = queued.CellX;
  carried.CellY = queued.CellY;
  carried.Action = queued.Action;
  carried.TargetId = queued.TargetId;
  carried.Kind = queued.Kind;
  carried.BuilderIndex = queued.Candidate;
  queued.Taken = true;
  builder.DestX = queued.CellX;
  builder.DestY = queued.CellY;
}

TOrder& TForm1::QueueOrder(int x, int y, OrderKind kind) {
  Orders.push_back(std::make_unique<TOrder>(this));
  TOrder& order = *Orders.back();
  order.CellX = x;
  order.CellY = y;
  order.Kind = kind;
  return order;
}

void TForm1::CompleteOrder(TOrder& order) {
  if (order.AdvancesTutorial) {
    AdvanceTutorial(true);
    // The last stage leads into a fresh game, where this order's target no longer exists.
    if (GameMode != ModeTutorial) return;
  }
  if (order.Kind == SignOrder) CompleteSignOrder(order);
  if (order.Kind == GatherOrder) CompleteGatherOrder(order);
}
