// An image with a bitmap of its own and a stack of tagged bitmap layers above it.
//
// Layers are drawn in stack order, each either opaque (a plain copy) or blended with a master
// alpha. The window is composed once per frame, so there is no need to batch redraws.
// Every caller sizes a layer's rectangle to its picture, so layers are never stretched.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "presentation/bitmap32.h"

enum class DrawMode { Opaque, Blend };

using PicturePtr = std::shared_ptr<const Bitmap32>;

struct LayerRect {
  float Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const LayerRect&) const = default;
};

class BitmapLayer {
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
  PicturePtr picture_;
};

class LayeredImage {
 public:
  LayeredImage() = default;
  LayeredImage(const LayeredImage&) = delete;
  LayeredImage& operator=(const LayeredImage&) = delete;

  Bitmap32 Bitmap;

  BitmapLayer& CreateLayer();  // on top of the stack
  void DestroyLayer(const BitmapLayer* layer);
  void DestroyLayerAt(int index);
  void SendToBack(const BitmapLayer* layer);
  void BringToFront(const BitmapLayer* layer);
  int LayerCount() const { return int(layers_.size()); }
  BitmapLayer& LayerAt(int index) { return *layers_.at(std::size_t(index)); }
  const BitmapLayer& LayerAt(int index) const { return *layers_.at(std::size_t(index)); }
  int IndexOf(const BitmapLayer* layer) const;

  // Draws the bitmap and the visible layers with the image's top-left at (x, y) of target.
  void Render(Bitmap32& target, int x, int y, const ClipRect& clip) const;

 private:
  std::vector<std::unique_ptr<BitmapLayer>> layers_;
};
