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

std::optional<LayerLook> BitmapLayer::LookNow() const {
  if (!Visible) return std::nullopt;
  const Bitmap32& picture = Picture();
  const int left = int(std::lround(Location.Left)), top = int(std::lround(Location.Top));
  return LayerLook{{left, top, left + picture.Width(), top + picture.Height()},
                   &picture,
                   picture.Revision(),
                   Tint,
                   Mode,
                   MasterAlpha};
}

BitmapLayer& LayeredImage::CreateLayer() {
  layers_.push_back(std::make_unique<BitmapLayer>());
  layers_.back()->slot_ = layers_.size() - 1;
  return *layers_.back();
}

void LayeredImage::Renumber(std::size_t from, std::size_t to) const {
  for (std::size_t i = from; i < to; ++i)
    if (layers_[i]) layers_[i]->slot_ = i;
}

std::optional<std::size_t> LayeredImage::SlotOf(const BitmapLayer* layer) const {
  if (!layer || layer->slot_ >= layers_.size() || layers_[layer->slot_].get() != layer) return std::nullopt;
  return layer->slot_;
}

void LayeredImage::LeaveGap(std::size_t slot) {
  layers_[slot].reset();
  lowestGap_ = std::min(lowestGap_, slot);
  // Closing costs at most the gaps and layers above the lowest gap, so it is paid for by the
  // destructions since the last closing.
  if (++gaps_ > layers_.size() / 2) CloseGaps();
}

void LayeredImage::CloseGaps() const {
  if (gaps_ == 0) return;
  layers_.erase(std::remove(layers_.begin() + std::ptrdiff_t(lowestGap_), layers_.end(), nullptr), layers_.end());
  Renumber(lowestGap_, layers_.size());
  gaps_ = 0;
  lowestGap_ = kNoGap;
}

void LayeredImage::CloseGapsBelow(std::size_t position) const {
  if (position >= lowestGap_) CloseGaps();
}

int LayeredImage::LayerCount() const { return int(layers_.size() - gaps_); }

BitmapLayer& LayeredImage::LayerAt(int index) {
  CloseGapsBelow(std::size_t(index));
  return *layers_.at(std::size_t(index));
}

const BitmapLayer& LayeredImage::LayerAt(int index) const {
  CloseGapsBelow(std::size_t(index));
  return *layers_.at(std::size_t(index));
}

int LayeredImage::IndexOf(const BitmapLayer* layer) const {
  const std::optional<std::size_t> slot = SlotOf(layer);
  if (!slot) return -1;
  CloseGapsBelow(*slot);
  return int(layer->slot_);
}

void LayeredImage::Vacate(const BitmapLayer& layer) {
  if (layer.composed_) vacated_.Add(layer.composed_->Area);
}

void LayeredImage::DestroyLayer(const BitmapLayer* layer) {
  const std::optional<std::size_t> slot = SlotOf(layer);
  if (!slot) return;
  Vacate(*layer);
  LeaveGap(*slot);
}

void LayeredImage::DestroyLayerAt(int index) {
  if (index < 0 || index >= LayerCount()) return;
  CloseGapsBelow(std::size_t(index));
  Vacate(*layers_[std::size_t(index)]);
  LeaveGap(std::size_t(index));
}

void LayeredImage::SendToBack(const BitmapLayer* layer) {
  const int index = IndexOf(layer);
  if (index <= 0) return;
  Vacate(*layer);
  // Every slot up to the layer's holds a layer now: only those move.
  std::rotate(layers_.begin(), layers_.begin() + index, layers_.begin() + index + 1);
  Renumber(0, std::size_t(index) + 1);
}

void LayeredImage::BringToFront(const BitmapLayer* layer) {
  // The layer moves past everything above it, gaps included: close them first.
  CloseGaps();
  const int index = IndexOf(layer);
  if (index < 0) return;
  Vacate(*layer);
  std::rotate(layers_.begin() + index, layers_.begin() + index + 1, layers_.end());
  Renumber(std::size_t(index), layers_.size());
}

void LayeredImage::Render(Bitmap32& target, int x, int y, const ClipRect& clip) const {
  target.DrawOpaque(Bitmap, x, y, clip);
  for (const auto& layer : layers_) {
    if (!layer || !layer->Visible) continue;
    const int left = x + int(std::lround(layer->Location.Left));
    const int top = y + int(std::lround(layer->Location.Top));
    if (layer->Tint) target.DrawTinted(layer->Picture(), left, top, *layer->Tint, layer->MasterAlpha, clip);
    else if (layer->Mode == DrawMode::Opaque) target.DrawOpaque(layer->Picture(), left, top, clip);
    else target.DrawBlended(layer->Picture(), left, top, layer->MasterAlpha, clip);
  }
}

namespace {
ClipRect Offset(const ClipRect& area, int x, int y) {
  return {area.Left + x, area.Top + y, area.Right + x, area.Bottom + y};
}
}  // namespace

void LayeredImage::CollectChanges(DamageList& damage, int x, int y, const ClipRect& clip) {
  if (composedRevision_ != Bitmap.Revision()) {
    composedRevision_ = Bitmap.Revision();
    damage.Add(clip);
  }
  for (const ClipRect& area : vacated_.Areas()) damage.Add(Intersection(Offset(area, x, y), clip));
  vacated_.Clear();
  for (const auto& layer : layers_) {
    if (!layer) continue;
    std::optional<LayerLook> now = layer->LookNow();
    if (now == layer->composed_) continue;
    if (layer->composed_) damage.Add(Intersection(Offset(layer->composed_->Area, x, y), clip));
    if (now) damage.Add(Intersection(Offset(now->Area, x, y), clip));
    layer->composed_ = std::move(now);
  }
}
