#include "presentation/sprite.h"

#include "builders/order.h"
#include "presentation/catalogue.h"

TSprite::TSprite(LayeredImage& image) : Layer(&image.CreateLayer()), image_(image) {}

TSprite::~TSprite() { image_.DestroyLayer(Layer); }

void TSprite::ShowPicture(const Catalogue& catalogue, int index) {
  Bitmap = index;
  ShowFrame(catalogue, index);
}

void TSprite::ShowFrame(const Catalogue& catalogue, int index) {
  ShownPicture = index;
  Layer->ShowPicture(catalogue.At(index));
}

void TSprite::SetShown(bool shown) {
  Visible = shown;
  Layer->Visible = shown;
}

namespace {

// One glide step: 4 pixels toward the target, snapping once closer than 5.
float GlideToward(float coordinate, float target) {
  if (coordinate == target) return coordinate;
  coordinate += target > coordinate ? 4.0f : -4.0f;
  if (coordinate > target - 5.0f && coordinate < target + 5.0f) coordinate = target;
  return coordinate;
}

constexpr int kMenuSlotLeft[2] = {3, 44};
constexpr int kMenuSlotTop[3] = {17, 58, 99};
constexpr int kDwellTicksToComplete = 5;

}  // namespace

bool TSprite::StandsOnCell() const {
  return Location.Left == float(CellSize * CellX) && Location.Top == float(CellSize * CellY);
}

bool TSprite::Place() {
  Layer->Visible = Visible;
  float left, top;
  if (InBuildMenu) {
    left = float(kMenuSlotLeft[CellX == 1 ? 1 : 0]);
    top = float(kMenuSlotTop[CellY >= 0 && CellY <= 2 ? CellY : 0]);
  } else if (InOrbMenu) {
    left = 24;
    top = 16;
  } else if (Glide) {
    left = GlideToward(Location.Left, float(CellSize * CellX));
    top = GlideToward(Location.Top, float(CellSize * CellY));
  } else {
    left = float(CellSize * CellX);
    top = float(CellSize * CellY);
  }
  Location = {left, top, left + float(Layer->PictureWidth()), top + float(Layer->PictureHeight())};
  Layer->Location = Location;
  Layer->Mode = DrawMode::Blend;
  if (!Glide || !Order || !StandsOnCell()) return false;
  return ++Order->DwellTicks > kDwellTicksToComplete;
}
