// Builder robots and the order queue.
#include "app/main_window.h"

namespace {
constexpr int kBuilderHomeX = 9;
constexpr int kBuilderHomeY = 1;
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

void TForm1::AssignOrders() {}

void TForm1::CompleteOrder(TOrder&) {}
