// An image with a bitmap of its own and a stack of tagged bitmap layers above it.
//
// Layers are drawn in stack order, each either opaque (a plain copy) or blended with a master
// alpha. The window is composed once per frame, so there is no need to batch redraws.
// Every caller sizes a layer's rectangle to its picture, so layers are never stretched.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "presentation/bitmap32.h"
#include "presentation/damage.h"
#include "presentation/recycling_pool.h"

enum class DrawMode { Opaque, Blend };

using PicturePtr = std::shared_ptr<const Bitmap32>;

struct LayerRect {
  float Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const LayerRect&) const = default;
};

// What a layer looks like on a frame: two equal looks paint the same pixels.
struct LayerLook {
  ClipRect Area;  // in the image's pixels
  const Bitmap32* Picture = nullptr;
  std::uint64_t Revision = 0;
  std::optional<Pixel> Tint;
  DrawMode Mode = DrawMode::Opaque;
  int MasterAlpha = 255;
  bool operator==(const LayerLook&) const = default;
};

class BitmapLayer : public RecycledStorage<BitmapLayer> {
 public:
  // Shows a picture as a catalogue picture is: opaque, master alpha 255, at the picture's size.
  void ShowPicture(PicturePtr picture);
  const Bitmap32& Picture() const;
  int PictureWidth() const { return Picture().Width(); }
  int PictureHeight() const { return Picture().Height(); }

  // The picture's pixel at (x, y) as the layer shows it: in the tint's colour where it has one.
  Pixel ShownAt(int x, int y) const;

  LayerRect Location;
  bool Visible = true;
  int Tag = 0;
  DrawMode Mode = DrawMode::Opaque;
  int MasterAlpha = 255;
  // When set, the picture only gives the shape: every pixel it covers takes this colour. Beams
  // share their shapes this way and keep their own colours.
  std::optional<Pixel> Tint;

 private:
  friend class LayeredImage;
  // None while the layer is hidden.
  std::optional<LayerLook> LookNow() const;

  // Where the layer stands in its image's stack, so that it is found without a search.
  std::size_t slot_ = 0;
  PicturePtr picture_;
  // How the last composed frame showed it.
  std::optional<LayerLook> composed_;
};

class LayeredImage {
 public:
  LayeredImage() = default;
  LayeredImage(const LayeredImage&) = delete;
  LayeredImage& operator=(const LayeredImage&) = delete;

  Bitmap32 Bitmap;

  BitmapLayer& CreateLayer();  // on top of the stack
  // Frees a layer of this image; each layer is destroyed once, by its owner.
  void DestroyLayer(const BitmapLayer* layer);
  void DestroyLayerAt(int index);
  void SendToBack(const BitmapLayer* layer);
  void BringToFront(const BitmapLayer* layer);
  int LayerCount() const;
  BitmapLayer& LayerAt(int index);
  const BitmapLayer& LayerAt(int index) const;
  int IndexOf(const BitmapLayer* layer) const;

  // Draws the bitmap and the visible layers with the image's top-left at (x, y) of target.
  void Render(Bitmap32& target, int x, int y, const ClipRect& clip) const;
  // Adds, offset by (x, y) and within clip, where the image would now render otherwise than when
  // this was last asked: layers that came, went, moved, changed their look or their place in the
  // stack, and all of clip when the bitmap changed.
  void CollectChanges(DamageList& damage, int x, int y, const ClipRect& clip);

 private:
  // The area a layer showed on the last composed frame must be repainted.
  void Vacate(const BitmapLayer& layer);

  // A destroyed layer leaves an empty slot behind: a battle destroys thousands of layers a tick
  // deep in a stack of thousands, and closing each gap at once would move the stack above it
  // every time. Below the lowest gap a slot is the layer's stack position, so a walk down the
  // stack that destroys as it goes never waits for the gaps to close. They close when a
  // position above the lowest gap is asked for, or once they outnumber the layers, so that the
  // stack and every walk over it stay as long as the layers themselves.
  void LeaveGap(std::size_t slot);
  void CloseGaps() const;
  // Makes slots and stack positions agree up to position.
  void CloseGapsBelow(std::size_t position) const;
  void Renumber(std::size_t from, std::size_t to) const;
  // The slot of a layer of this image, or none.
  std::optional<std::size_t> SlotOf(const BitmapLayer* layer) const;

  static constexpr std::size_t kNoGap = SIZE_MAX;
  mutable std::vector<std::unique_ptr<BitmapLayer>> layers_;
  mutable std::size_t gaps_ = 0;
  mutable std::size_t lowestGap_ = kNoGap;
  // In the image's pixels: where layers destroyed or restacked since the last collection were.
  DamageList vacated_;
  std::optional<std::uint64_t> composedRevision_;
};
