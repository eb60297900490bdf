// The areas of a picture that changed since it was last composed, as a few rectangles.
#pragma once

#include <vector>

#include "presentation/bitmap32.h"

class DamageList {
 public:
  // Rectangles that overlap or touch become one, so a sprite moving a step damages one area; past
  // a handful they become their bounding box, because walking the layers once per rectangle
  // costs more than repainting a little too much.
  void Add(const ClipRect& area);
  void Clear() { areas_.clear(); }
  bool Empty() const { return areas_.empty(); }
  const std::vector<ClipRect>& Areas() const { return areas_; }

 private:
  static constexpr std::size_t kMostAreas = 12;
  std::vector<ClipRect> areas_;
};
