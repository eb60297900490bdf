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
  layers_.back()->slot_ = layers_.size() - 1;
  return *layers_.back();
}

void LayeredImage::Renumber(std::size_t from) const {
  for (std::size_t i = from; i < layers_.size(); ++i)
    if (layers_[i]) layers_[i]->slot_ = i;
}

std::optional<std::size_t> LayeredImage::SlotOf(const BitmapLayer* layer) const {
  if (!layer || layer->slot_ >= layers_.size() || layers_[layer->slot_].get() != layer) return std::nullopt;
  return layer->slot_;
}

void LayeredImage::CloseGaps() const {
  if (!gaps_) return;
  std::erase(layers_, nullptr);
  gaps_ = false;
  Renumber(0);
}

int LayeredImage::LayerCount() const {
  CloseGaps();
  return int(layers_.size());
}

BitmapLayer& LayeredImage::LayerAt(int index) {
  CloseGaps();
  return *layers_.at(std::size_t(index));
}

const BitmapLayer& LayeredImage::LayerAt(int index) const {
  CloseGaps();
  return *layers_.at(std::size_t(index));
}

int LayeredImage::IndexOf(const BitmapLayer* layer) const {
  CloseGaps();
  const std::optional<std::size_t> slot = SlotOf(layer);
  return slot ? int(*slot) : -1;
}

void LayeredImage::DestroyLayer(const BitmapLayer* layer) {
  const std::optional<std::size_t> slot = SlotOf(layer);
  if (!slot) return;
  layers_[*slot].reset();
  gaps_ = true;
}

void LayeredImage::DestroyLayerAt(int index) {
  if (index < 0 || index >= LayerCount()) return;
  layers_[std::size_t(index)].reset();
  gaps_ = true;
}

void LayeredImage::SendToBack(const BitmapLayer* layer) {
  const int index = IndexOf(layer);
  if (index <= 0) return;
  std::rotate(layers_.begin(), layers_.begin() + index, layers_.begin() + index + 1);
  Renumber(0);
}

void LayeredImage::BringToFront(const BitmapLayer* layer) {
  const int index = IndexOf(layer);
  if (index < 0) return;
  std::rotate(layers_.begin() + index, layers_.begin() + index + 1, layers_.end());
  Renumber(std::size_t(index));
}

void LayeredImage::Render(Bitmap32& target, int x, int y, const ClipRect& clip) const {
  target.DrawOpaque(Bitmap, x, y, clip);
  for (const auto& layer : layers_) {
    if (!layer || !layer->Visible) continue;
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
