#include "presentation/layered_image.h"

#include <algorithm>
#include <cmath>

namespace {
const Bitmap32& NoPicture() {
  static const Bitmap32 empty;
  return empty;
}
}  // namespace

void BitmapLayer::ShowPicture(PicturePtr picture) {
  picture_ = std::move(picture);
  Mode = DrawMode::Opaque;
  MasterAlpha = 255;
  Tint.reset();
}

Pixel BitmapLayer::ShownAt(int x, int y) const {
  const Pixel p = Picture().At(x, y);
  return Tint ? (*Tint & 0x00FFFFFFu) | (p & 0xFF000000u) : p;
}

const Bitmap32& BitmapLayer::Picture() const { return picture_ ? *picture_ : NoPicture(); }

BitmapLayer& LayeredImage::CreateLayer() {
  layers_.push_back(std::make_unique<BitmapLayer>());
  return *layers_.back();
}

int LayeredImage::IndexOf(const BitmapLayer* layer) const {
  // From the top: the layers that come and go (beams, flashes) are the newest.
  for (int i = LayerCount() - 1; i >= 0; --i)
    if (layers_[std::size_t(i)].get() == layer) return i;
  return -1;
}

void LayeredImage::DestroyLayer(const BitmapLayer* layer) { DestroyLayerAt(IndexOf(layer)); }

void LayeredImage::DestroyLayerAt(int index) {
  if (index < 0 || index >= LayerCount()) return;
  layers_.erase(layers_.begin() + index);
}

void LayeredImage::SendToBack(const BitmapLayer* layer) {
  const int index = IndexOf(layer);
  if (index <= 0) return;
  std::rotate(layers_.begin(), layers_.begin() + index, layers_.begin() + index + 1);
}

void LayeredImage::BringToFront(const BitmapLayer* layer) {
  const int index = IndexOf(layer);
  if (index < 0) return;
  std::rotate(layers_.begin() + index, layers_.begin() + index + 1, layers_.end());
}

void LayeredImage::Render(Bitmap32& target, int x, int y, const ClipRect& clip) const {
  target.DrawOpaque(Bitmap, x, y, clip);
  for (const auto& layer : layers_) {
    if (!layer->Visible) continue;
    const int left = x + int(std::lround(layer->Location.Left));
    const int top = y + int(std::lround(layer->Location.Top));
    if (layer->Tint)
      target.DrawTinted(layer->Picture(), left, top, *layer->Tint, layer->MasterAlpha, clip);
    else if (layer->Mode == DrawMode::Opaque)
      target.DrawOpaque(layer->Picture(), left, top, clip);
    else
      target.DrawBlended(layer->Picture(), left, top, layer->MasterAlpha, clip);
  }
}
